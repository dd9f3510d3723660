// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/CliRequest.h"

#include <charconv>
#include <cstdio>
#include <filesystem>

namespace app::cli {

namespace {

constexpr std::size_t kMaxNameBytes = 256;
constexpr std::size_t kMaxPathBytes = 4096;

// What a shell may hand us that no profile or mode name holds: a name with a path in it is
// a slip (a file given where a name belongs), and control characters would reach the
// terminal of whoever reads the error message.
std::string NameProblem(const std::string& what, const std::string& name) {
    if (name.empty()) return what + " is empty";
    if (name.size() > kMaxNameBytes) return what + " is longer than 256 bytes";
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return what + " holds a control character";
        if (c == '/' || c == '\\')
            return what + " holds '" + std::string(1, c) +
                   "': give the profile's name or number; files go to 'profile import'";
    }
    return {};
}

std::string PathProblem(const std::string& path) {
    if (path.empty()) return "the file name is empty";
    if (path.size() > kMaxPathBytes) return "the file name is longer than 4096 bytes";
    for (char c : path)
        if (static_cast<unsigned char>(c) < 0x20) return "the file name holds a control character";
    return {};
}

struct Cursor {
    const std::vector<std::string>& args;
    std::size_t next = 0;
    bool AtEnd() const { return next >= args.size(); }
    const std::string& Take() { return args[next++]; }
};

}  // namespace

const char* DeviceWord(CliRequest::Device device) {
    switch (device) {
        case CliRequest::Device::Pad:
            return "pad";
        case CliRequest::Device::Mouse:
            return "mouse";
        case CliRequest::Device::Headset:
            return "headset";
        default:
            return "keyboard";
    }
}

std::optional<CliRequest::Device> DeviceOfWord(const std::string& word) {
    for (CliRequest::Device device : kEveryDevice)
        if (word == DeviceWord(device)) return device;
    return std::nullopt;
}

bool CliRequest::Writes() const {
    return verb == Verb::ProfileApply || verb == Verb::ProfileImport || verb == Verb::LightMode;
}

std::vector<std::string> CliRequest::Words(const std::string& workingDir) const {
    const auto absolute = [&workingDir](const std::string& path) {
        const std::filesystem::path p(path);
        return p.is_absolute()
                   ? path
                   : (std::filesystem::path(workingDir) / p).lexically_normal().string();
    };
    std::vector<std::string> words;
    const char* deviceWord = DeviceWord(device);
    switch (verb) {
        case Verb::ProfileList:
            words = {"profile", "list"};
            break;
        case Verb::ProfileApply:
            words = {"profile", "apply", profile};
            break;
        case Verb::ProfileExport:
            words = {"profile", "export", profile, absolute(file)};
            break;
        case Verb::ProfileImport:
            words = {"profile", "import", absolute(file)};
            break;
        case Verb::LightMode:
            words = {"light", "mode", mode};
            if (brightness)
                words.insert(words.end(), {"--brightness", std::to_string(*brightness)});
            if (speed) words.insert(words.end(), {"--speed", std::to_string(*speed)});
            if (colour) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "%06X", static_cast<unsigned>(*colour));
                words.insert(words.end(), {"--colour", hex});
            }
            break;
        case Verb::Status:
            words = {"status"};
            break;
    }
    words.insert(words.end(), {"--device", deviceWord});
    if (json) words.emplace_back("--json");
    return words;
}

namespace {

bool IsSimulate(const std::string& word) {
    return word == "--simulate" || word.rfind("--simulate=", 0) == 0;
}

// "--simulate" may also come before the command, as it does before the program's options.
std::size_t CommandWord(const std::vector<std::string>& args) {
    std::size_t i = 0;
    while (i < args.size() && IsSimulate(args[i])) ++i;
    return i;
}

}  // namespace

bool IsCommand(const std::vector<std::string>& args) {
    const std::size_t i = CommandWord(args);
    return i < args.size() && (args[i] == "profile" || args[i] == "light" || args[i] == "status");
}

std::optional<int> ParseNumber(const std::string& text, int low, int high) {
    int value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (text.empty() || error != std::errc() || end != last || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<std::uint32_t> ParseColour(const std::string& text) {
    std::string_view digits(text);
    if (!digits.empty() && digits.front() == '#') digits.remove_prefix(1);
    if (digits.size() != 6) return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

ParsedRequest ParseRequest(const std::vector<std::string>& args) {
    ParsedRequest parsed;
    const auto fail = [&parsed](std::string why) {
        parsed.error = std::move(why);
        return parsed;
    };
    if (!IsCommand(args)) return fail("expected a command: profile, light or status");
    CliRequest request;
    Cursor at{args};
    for (; at.next < CommandWord(args); ++at.next) {
        const auto eq = args[at.next].find('=');
        request.simulate = eq == std::string::npos ? "" : args[at.next].substr(eq + 1);
    }
    const std::string& group = at.Take();
    std::vector<std::string> operands;
    std::string verb;
    if (group != "status") {
        if (at.AtEnd()) return fail("'" + group + "' needs a command: see 'telix-tx512 --help'");
        verb = at.Take();
    }
    struct Form {
        const char* group;
        const char* verb;
        CliRequest::Verb is;
        std::size_t operands;
    };
    static const Form kForms[] = {
        {"status", "", CliRequest::Verb::Status, 0},
        {"profile", "list", CliRequest::Verb::ProfileList, 0},
        {"profile", "apply", CliRequest::Verb::ProfileApply, 1},
        {"profile", "export", CliRequest::Verb::ProfileExport, 2},
        {"profile", "import", CliRequest::Verb::ProfileImport, 1},
        {"light", "mode", CliRequest::Verb::LightMode, 1},
    };
    const Form* form = nullptr;
    for (const Form& f : kForms)
        if (group == f.group && verb == f.verb) form = &f;
    if (form == nullptr) return fail("unknown command '" + group + " " + verb + "'");
    request.verb = form->is;
    const std::size_t wanted = form->operands;

    const bool light = request.verb == CliRequest::Verb::LightMode;
    const bool jsonAllowed =
        request.verb == CliRequest::Verb::ProfileList || request.verb == CliRequest::Verb::Status;
    while (!at.AtEnd()) {
        std::string word = at.Take();
        if (word.size() < 2 || word.compare(0, 2, "--") != 0) {
            operands.push_back(word);
            continue;
        }
        std::string value;
        bool hasValue = false;
        if (const auto eq = word.find('='); eq != std::string::npos) {
            value = word.substr(eq + 1);
            word.resize(eq);
            hasValue = true;
        }
        const auto needValue = [&]() -> bool {
            if (hasValue) return true;
            if (at.AtEnd()) return false;
            value = at.Take();
            return true;
        };
        if (word == "--json" && jsonAllowed && !hasValue) {
            request.json = true;
        } else if (word == "--device") {
            const std::string choices = kDeviceChoices;
            if (!needValue()) return fail("--device needs a value: " + choices);
            const std::optional<CliRequest::Device> device = DeviceOfWord(value);
            if (!device) return fail("--device takes " + choices + ", not '" + value + "'");
            request.device = *device;
        } else if (word == "--simulate") {
            // Only as --simulate or --simulate=WHICH: a separate word would be an operand.
            request.simulate = value;
        } else if (light && (word == "--brightness" || word == "--speed")) {
            const bool isBrightness = word == "--brightness";
            const int high = isBrightness ? 5 : 4;
            if (!needValue()) return fail(word + " needs a number");
            const auto number = ParseNumber(value, 0, high);
            if (!number)
                return fail(word + " takes a whole number from 0 to " + std::to_string(high) +
                            ", not '" + value + "'");
            (isBrightness ? request.brightness : request.speed) = number;
        } else if (light && (word == "--colour" || word == "--color")) {
            if (!needValue()) return fail("--colour needs a colour as RRGGBB");
            request.colour = ParseColour(value);
            if (!request.colour)
                return fail("--colour takes six hexadecimal digits RRGGBB, not '" + value + "'");
        } else {
            return fail("unknown option '" + word + "' for '" + group +
                        (verb.empty() ? "" : " " + verb) + "'");
        }
    }
    if (operands.size() != wanted) {
        return fail(std::string(operands.size() < wanted ? "missing" : "too many") +
                    " arguments; usage: telix-tx512 " +
                    CommandHelps()[static_cast<std::size_t>(request.verb)].synopsis);
    }
    switch (request.verb) {
        case CliRequest::Verb::ProfileApply:
            request.profile = operands[0];
            break;
        case CliRequest::Verb::ProfileExport:
            request.profile = operands[0];
            request.file = operands[1];
            break;
        case CliRequest::Verb::ProfileImport:
            request.file = operands[0];
            break;
        case CliRequest::Verb::LightMode:
            request.mode = operands[0];
            break;
        default:
            break;
    }
    if (!request.profile.empty() || request.verb == CliRequest::Verb::ProfileApply ||
        request.verb == CliRequest::Verb::ProfileExport) {
        if (std::string why = NameProblem("the profile name", request.profile); !why.empty())
            return fail(why);
    }
    if (light) {
        if (std::string why = NameProblem("the mode", request.mode); !why.empty()) return fail(why);
    }
    if (!request.file.empty() || request.verb == CliRequest::Verb::ProfileImport ||
        request.verb == CliRequest::Verb::ProfileExport) {
        if (std::string why = PathProblem(request.file); !why.empty()) return fail(why);
    }
    parsed.request = std::move(request);
    return parsed;
}

const std::vector<CommandHelp>& CommandHelps() {
    static const std::vector<CommandHelp> helps = {
        {"profile list [--device keyboard|pad|mouse|headset] [--json]",
         "list the device's profiles by index and name; the applied one is marked with *"},
        {"profile apply NAME|INDEX [--device keyboard|pad|mouse|headset]",
         "make the profile the device's own, as choosing it in the profile list does (it is "
         "written to the device)"},
        {"profile export NAME|INDEX FILE [--device keyboard|pad|mouse|headset]",
         "save the profile into FILE"},
        {"profile import FILE [--device keyboard|pad|mouse|headset]",
         "add the profile in FILE to the device's profiles"},
        {"light mode N|NAME [--brightness 0-5] [--speed 0-4] [--colour RRGGBB] [--device "
         "keyboard|pad|mouse|headset]",
         "set the lighting effect, by number or name, and with it the brightness, speed and "
         "colour"},
        {"status [--json]",
         "every kind of device, whether it is connected, and of each connected one its firmware "
         "release, profile and lighting"},
    };
    return helps;
}

}  // namespace app::cli
