// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's command line. Options are declared once in a table (name, value name,
// help text) so that --help and the parser cannot disagree.
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace app {

struct OptionSpec {
    std::string name;       // without the leading "--"
    std::string valueName;  // empty for a flag
    std::string help;
    bool optionalValue = false;  // the value may only follow as --name=VALUE
};

const std::vector<OptionSpec>& KnownOptions();

struct CommandLine {
    std::map<std::string, std::string> options;  // flag -> "" ; option -> value
    bool Has(const std::string& name) const { return options.count(name) != 0; }
    std::string Value(const std::string& name) const;
};

// Parses argv[1..]; on error returns nothing and puts a user-facing message in `error`.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error);

std::string HelpText();
// The same as a manual page (troff), for telix-tx512.1.
std::string ManualPage();
std::string VersionText();

}  // namespace app
