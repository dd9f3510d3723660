// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ControlName.h"

#include <array>

#include "platform/TextCompare.h"
#include "ui/AttributeText.h"

namespace app {

namespace {

// These answer only to their exact spelling; a name that differs from one of them in
// case alone is another control.
constexpr std::array<std::string_view, 5> kExactCaseNames = {
    "profile_fun_spread_btn", "macro_inset_moveleftkey_btn", "macro_inset_moverightkey_btn",
    "macro_inset_moveupkey_btn", "macro_inset_movedownkey_btn"};

}  // namespace

ControlNameParts SplitControlName(std::string_view name) {
    const size_t underscore = name.rfind('_');
    if (underscore == std::string_view::npos) return {};
    return {true, name.substr(0, underscore + 1), ui::attr::ParseInt(name.substr(underscore + 1))};
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
