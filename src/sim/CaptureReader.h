// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a device capture (CaptureFormat.h) as what it is: a file from a stranger. Every
// size is checked against the format's limits before anything is kept, hex must be
// whole bytes, and the JSON is vetted for nesting and value count before it is parsed.
// A file that breaks a rule is refused whole, with the place it broke it
// ("devices[0].exchange[12].hex: ...").
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct CapturedReport {
    double ms = 0;     // since the capture began
    bool out = false;  // host to device
    std::vector<std::uint8_t> bytes;
};

struct CapturedInterface {
    int number = 0;
    std::vector<std::uint8_t> descriptor;
};

struct CapturedDevice {
    std::string where;  // "devices[N]", for what is said about it later
    std::string kind;   // a --simulate name (capture::IsKindName)
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t releaseNumber = 0;
    int commandInterface = -1;  // -1: not given
    std::vector<CapturedInterface> interfaces;
    std::vector<CapturedReport> exchange;
    std::optional<std::vector<std::uint8_t>> info;
    std::optional<std::vector<std::uint8_t>> keyTable;
    std::optional<std::vector<std::uint8_t>> ledMap;
    std::optional<std::vector<std::uint8_t>> status;
    std::size_t settingsOffset = 0;
    std::vector<std::uint8_t> settings;
};

struct CaptureReadResult {
    std::vector<CapturedDevice> devices;
    std::string error;  // empty when the file was taken
    bool Ok() const { return error.empty(); }
};

CaptureReadResult ReadCapture(std::string_view text);
CaptureReadResult ReadCaptureFile(const std::filesystem::path& file);

}  // namespace sim
