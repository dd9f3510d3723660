#include "app/ControlName.h"

#include <array>
#include <cctype>
#include <climits>

#include "platform/TextCompare.h"

namespace app {

namespace {

// These answer only to their exact spelling; a name that differs from one of them in
// case alone is another control.
constexpr std::array<std::string_view, 5> kExactCaseNames = {
    "profile_fun_spread_btn", "macro_inset_moveleftkey_btn", "macro_inset_moverightkey_btn",
    "macro_inset_moveupkey_btn", "macro_inset_movedownkey_btn"};

long ReadLong(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) {
            value = static_cast<long long>(INT_MAX) + 1;
            break;
        }
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<long>(value);
}

}  // namespace

ControlNameParts SplitControlName(std::string_view name) {
    const size_t underscore = name.rfind('_');
    if (underscore == std::string_view::npos) return {};
    return {true, name.substr(0, underscore + 1), ReadLong(name.substr(underscore + 1))};
}

NameCase CaseRuleFor(std::string_view tableName) {
    for (std::string_view exact : kExactCaseNames) {
        if (exact == tableName) return NameCase::Exact;
    }
    return NameCase::Ignore;
}

bool NameEquals(std::string_view sender, std::string_view tableName, NameCase rule) {
    return rule == NameCase::Exact ? sender == tableName
                                   : platform::EqualsNoCase(sender, tableName);
}

}  // namespace app
