// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as the program's arguments (separated by zero bytes): the parser either
// refuses with a message or yields only options it declares, each with a value exactly
// when it takes one.
#include <algorithm>

#include "app/CommandLine.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string_view rest = fuzz::AsText(data, size);
    while (!rest.empty()) {
        const auto [arg, after] = fuzz::SplitAt(rest, std::string_view("\0", 1));
        args.emplace_back(arg);
        if (after.data() == nullptr) break;
        rest = after;
    }
    std::string error;
    const std::optional<app::CommandLine> line = app::ParseCommandLine(args, error);
    if (!line) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    const auto& known = app::KnownOptions();
    for (const auto& option : line->options) {
        const auto spec = std::find_if(known.begin(), known.end(), [&](const app::OptionSpec& s) {
            return s.name == option.first;
        });
        FUZZ_CHECK(spec != known.end());
        if (spec->valueName.empty()) FUZZ_CHECK(option.second.empty());
    }
    return 0;
}
