// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A command given on the command line ("telix-tx512 profile apply FPS"): what to do, to
// which device, with which values. Parsing checks everything a user can get wrong before
// anything is sent, so that a command either runs whole or is refused as bad usage.
// The same words reach the running copy over the local socket and are parsed there
// again: nothing that comes from another process is trusted more than a shell's argv.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app::cli {

// The exit codes of a command.
inline constexpr int kDone = 0;
inline constexpr int kRefused = 1;  // no such profile, no device, device busy or failing
inline constexpr int kBadUsage = 2;

struct CliRequest {
    enum class Verb { ProfileList, ProfileApply, ProfileExport, ProfileImport, LightMode, Status };
    // Every kind the window shows a page of; each has profiles and lighting.
    enum class Device { Keyboard, Pad, Mouse, Headset };

    Verb verb = Verb::Status;
    Device device = Device::Keyboard;
    bool json = false;
    std::string profile;  // display name or index, as typed
    std::string file;     // export target / import source
    std::string mode;     // number or name, as typed
    std::optional<int> brightness;
    std::optional<int> speed;
    std::optional<std::uint32_t> colour;  // 0xRRGGBB
    // --simulate on a command: the work is done on the simulated devices when no copy runs.
    std::optional<std::string> simulate;

    // Whether the request changes the device or the profile files.
    bool Writes() const;
    // The words that give this request again, with every file made absolute against
    // `workingDir` (the running copy has a folder of its own).
    std::vector<std::string> Words(const std::string& workingDir) const;
};

// The word of a device kind on the command line and in "status --json", and back.
inline constexpr const char* kDeviceChoices = "keyboard|pad|mouse|headset";
inline constexpr CliRequest::Device kEveryDevice[] = {
    CliRequest::Device::Keyboard, CliRequest::Device::Pad, CliRequest::Device::Mouse,
    CliRequest::Device::Headset};
const char* DeviceWord(CliRequest::Device device);
std::optional<CliRequest::Device> DeviceOfWord(const std::string& word);

// Whether `args` (argv without the program) starts with a command word rather than an
// option.
bool IsCommand(const std::vector<std::string>& args);

struct ParsedRequest {
    std::optional<CliRequest> request;
    std::string error;  // for the user, when there is no request
};
ParsedRequest ParseRequest(const std::vector<std::string>& args);

// "RRGGBB" or "#RRGGBB", hexadecimal.
std::optional<std::uint32_t> ParseColour(const std::string& text);
// A whole decimal number in [low, high].
std::optional<int> ParseNumber(const std::string& text, int low, int high);
// The help text of the commands, shared by --help, the manual page and the usage
// messages; in the order of CliRequest::Verb.
struct CommandHelp {
    std::string synopsis;
    std::string help;
};
const std::vector<CommandHelp>& CommandHelps();

}  // namespace app::cli
