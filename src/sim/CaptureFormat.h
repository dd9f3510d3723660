// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device capture file: one JSON document that --diagnose --capture writes and
// --simulate=capture: reads. Both sides take their names and limits from here, so that a
// file the program writes is always one it reads back.
//
// Reports and tables are hex text; the reader also takes spaces between the bytes, so a
// user may lay a hand-edited file out as they like.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sim::capture {

inline constexpr const char* kFormatName = "telix-tx512 device capture";
inline constexpr int kFormatVersion = 1;

// A capture of four devices with their whole connection is some 40 KiB; anything far
// beyond that was not written by this program, and is refused before it is parsed.
inline constexpr std::size_t kMaxFileBytes = 512u << 10;
inline constexpr std::size_t kMaxDevices = 8;
inline constexpr std::size_t kMaxInterfaces = 8;
inline constexpr std::size_t kMaxDescriptorBytes = 4096;
inline constexpr std::size_t kMaxExchangeEntries = 2048;
inline constexpr std::size_t kMaxReportBytes = 64;
inline constexpr std::size_t kInfoBytes = 34;
inline constexpr std::size_t kMaxTableBytes = 512;
inline constexpr std::size_t kMaxSettingsBytes = 512;
inline constexpr std::size_t kMaxStatusBytes = 56;

// "keyboard", "pad", "mouse", "mouse6" (behind a receiver), "headset": the names
// --simulate uses.
bool IsKindName(std::string_view kind);

std::string HexOf(std::span<const std::uint8_t> bytes);
// Pairs of hex digits, optionally separated by spaces; nothing when the text holds
// anything else, an odd digit, or more than maxBytes bytes.
std::optional<std::vector<std::uint8_t>> BytesOfHex(std::string_view text, std::size_t maxBytes);
// Four hex digits ("320f").
std::string Hex16(std::uint16_t value);
std::optional<std::uint16_t> Hex16Of(std::string_view text);

}  // namespace sim::capture
