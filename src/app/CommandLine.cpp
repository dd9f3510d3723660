// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <sstream>

#include "Version.h"
#include "app/cli/CliRequest.h"

namespace app {

const std::vector<OptionSpec>& KnownOptions() {
    static const std::vector<OptionSpec> options = {
        {"help", "", "show this help and exit"},
        {"version", "", "print the version and exit"},
        {"hidden", "", "start in the tray without showing the window (how the program starts at login)"},
        {"simulate", "WHICH",
         "use simulated devices instead of USB ones: keyboard and pad, or =keyboard, =pad, =mouse, =mouse6 (behind a receiver), =headset, =all, =none, or =capture:FILE (the devices of a capture)", true},
        {"headless", "", "run without a display, driven by --script"},
        {"script", "FILE", "with --headless: JSON-line commands from FILE, or - for standard input"},
        {"list-devices", "", "list the supported devices attached, one JSON object per line, and exit"},
        {"diagnose", "", "check device access (hidraw nodes, permissions, udev rule) and exit"},
        {"capture", "FILE", "with --diagnose: write what the attached devices say to FILE (JSON, no key presses), to attach to a report"},
        {"screenshot", "FILE", "render the main window to a PNG file and exit (no display needed)"},
        {"dpi", "N", "with --screenshot: the DPI to render at (48-192, default 96)"},
        {"language", "FILE", "with --screenshot: the language file of the skin folder (default lan_cn.xml)"},
        {"man", "", "print this help as a manual page (troff) and exit"},
    };
    return options;
}

std::string CommandLine::Value(const std::string& name) const {
    auto it = options.find(name);
    return it == options.end() ? std::string() : it->second;
}

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error) {
    CommandLine result;
    const auto& known = KnownOptions();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0 || arg.size() == 2) {
            error = "unexpected argument '" + arg + "'";
            return std::nullopt;
        }
        std::string name = arg.substr(2);
        std::string inlineValue;
        bool hasInline = false;
        if (auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
            hasInline = true;
        }
        const OptionSpec* option = nullptr;
        for (const auto& o : known) {
            if (o.name == name) option = &o;
        }
        if (!option) {
            error = "unknown option '--" + name + "'";
            return std::nullopt;
        }
        if (option->valueName.empty() || (option->optionalValue && !hasInline)) {
            if (hasInline && !option->optionalValue) {
                error = "option '--" + name + "' takes no value";
                return std::nullopt;
            }
            result.options[name] = "";
        } else if (hasInline) {
            result.options[name] = inlineValue;
        } else if (i + 1 < args.size()) {
            result.options[name] = args[++i];
        } else {
            error = "option '--" + name + "' needs a value (" + option->valueName + ")";
            return std::nullopt;
        }
    }
    return result;
}

namespace {

constexpr const char* kSummary =
    "Configures the TELIX TX512 keyboard, its lit mouse pad, the mouse and the headset.";
constexpr const char* kCommandsIntro =
    "A command is handed to the copy of the program that runs in this session, which changes its "
    "window as a click would; with none running, the program does the work itself without a "
    "window and exits. Profiles are named by their name (in any case) or their number. "
    "With --simulate[=WHICH] a command works on the simulated devices when no copy runs.";
constexpr const char* kExitCodes = "0 done; 1 refused (no such profile, no device, the device busy or "
                                   "failing); 2 bad usage. Messages go to standard error.";

std::string OptionLeft(const OptionSpec& o) {
    std::string left = "--" + o.name;
    if (!o.valueName.empty()) left += (o.optionalValue ? "[=" + o.valueName + "]" : " " + o.valueName);
    return left;
}

// troff takes a line that starts with '.' or '\'' as a request, and '\' as an escape.
std::string Roff(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

}  // namespace

std::string HelpText() {
    std::ostringstream out;
    out << "Usage: telix-tx512 [options]\n"
        << "       telix-tx512 COMMAND [arguments]\n"
        << kSummary << "\n\nOptions:\n";
    for (const auto& o : KnownOptions()) {
        const std::string left = OptionLeft(o);
        out << "  " << left;
        for (size_t pad = left.size(); pad < 24; ++pad) out << ' ';
        out << ' ' << o.help << '\n';
    }
    out << "\nCommands:\n";
    for (const auto& command : cli::CommandHelps())
        out << "  " << command.synopsis << "\n      " << command.help << "\n";
    out << "\n" << kCommandsIntro << "\n\nExit codes: " << kExitCodes << "\n";
    return out.str();
}

std::string ManualPage() {
    std::ostringstream out;
    out << ".TH TELIX-TX512 1 \"\" \"telix-tx512 " << TX512_VERSION << "\" \"User Commands\"\n"
        << ".SH NAME\ntelix\\-tx512 \\- " << Roff(kSummary) << "\n"
        << ".SH SYNOPSIS\n.B telix\\-tx512\n[\\fIoptions\\fR]\n.br\n.B telix\\-tx512\n"
        << "\\fICOMMAND\\fR [\\fIarguments\\fR]\n"
        << ".SH DESCRIPTION\nWithout a command the program runs in the tray and shows its window. "
        << Roff(kCommandsIntro) << "\n.SH OPTIONS\n";
    for (const auto& o : KnownOptions()) out << ".TP\n.B " << Roff(OptionLeft(o)) << "\n" << Roff(o.help) << "\n";
    out << ".SH COMMANDS\n";
    for (const auto& command : cli::CommandHelps())
        out << ".TP\n.B " << Roff(command.synopsis) << "\n" << Roff(command.help) << "\n";
    out << ".SH EXIT STATUS\n"
        << Roff(kExitCodes) << "\n"
        << ".SH FILES\n.TP\n.I $XDG_CONFIG_HOME/autostart/telix\\-tx512.desktop\n"
        << "present when the program starts at login (the settings window's choice)\n"
        << ".TP\n.I /usr/share/telix\\-tx512\nthe skin, the default profiles and the language "
           "files\n"
        << ".TP\n.I $XDG_DATA_HOME/TELIX TX512 keyboard Driver\nprofiles, macros and light files\n"
        << ".TP\n.I $XDG_RUNTIME_DIR/TELIX_TX512_keyboard_Driver.sock\nthe running copy's socket\n";
    return out.str();
}

std::string VersionText() {
    // The first line stays "telix-tx512 VERSION" alone: scripts read the version from it.
    return std::string("telix-tx512 ") + TX512_VERSION + "\n" + TX512_COPYRIGHT + "\n" +
           "License " TX512_LICENSE
           ": GNU GPL version 3 or later "
           "<https://www.gnu.org/licenses/gpl-3.0.html>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

}  // namespace app
