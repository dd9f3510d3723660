#include "app/CommandLine.h"

#include <sstream>

#include "Version.h"

namespace app {

const std::vector<OptionSpec>& KnownOptions() {
    static const std::vector<OptionSpec> options = {
        {"help", "", "show this help and exit"},
        {"version", "", "print the version and exit"},
        {"simulate", "WHICH",
         "use simulated devices instead of USB ones: both, or =keyboard, =pad, =none", true},
        {"headless", "", "run without a display, driven by --script"},
        {"script", "FILE", "with --headless: JSON-line commands from FILE, or - for standard input"},
        {"list-devices", "", "list the supported devices attached, one JSON object per line, and exit"},
        {"diagnose", "", "check device access (hidraw nodes, permissions, udev rule) and exit"},
        {"screenshot", "FILE", "render the main window to a PNG file and exit (no display needed)"},
        {"dpi", "N", "with --screenshot: the DPI to render at (48-192, default 96)"},
        {"language", "FILE", "with --screenshot: the language file of the skin folder (default lan_cn.xml)"},
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

std::string HelpText() {
    std::ostringstream out;
    out << "Usage: telix-tx512 [options]\n"
        << "Configures the TELIX TX512 keyboard and its lit mouse pad.\n\nOptions:\n";
    for (const auto& o : KnownOptions()) {
        std::string left = "--" + o.name;
        if (!o.valueName.empty()) left += (o.optionalValue ? "[=" + o.valueName + "]" : " " + o.valueName);
        out << "  " << left;
        for (size_t pad = left.size(); pad < 24; ++pad) out << ' ';
        out << ' ' << o.help << '\n';
    }
    return out.str();
}

std::string VersionText() { return std::string("telix-tx512 ") + TX512_VERSION + "\n"; }

}  // namespace app
