// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 64-byte vendor report that carries every command, the same layout both ways:
//
//   byte 0      report id, always 4
//   bytes 1-2   checksum, little-endian: the sum of bytes 3..63 as unsigned bytes
//               (requests only; the host never checks one in a reply)
//   byte 3      command code; the reply repeats it (the echo)
//   byte 4      payload length of this report (0..56), or a command parameter
//   bytes 5-6   offset into the addressed area, little-endian
//   byte 7      0 in a request; the device's status in a reply (0xFF, 0xFE = error)
//   bytes 8-63  payload; unused bytes are 0
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace device {

inline constexpr std::size_t kReportSize = 64;
inline constexpr std::uint8_t kCommandReportId = 4;
inline constexpr std::size_t kPayloadOffset = 8;
inline constexpr std::size_t kChunkSize = 56;  // payload room of one report

using Report = std::array<std::uint8_t, kReportSize>;

class ReportFrame {
public:
    // Sum of bytes 3..63 (at most 61 x 255, so it always fits 16 bits).
    static std::uint16_t Checksum(const Report& report);

    // A sealed request: id 4, command, byte 4, offset, status 0, payload from byte 8
    // (at most 56 bytes taken), the checksum computed last over the final bytes.
    static Report MakeRequest(std::uint8_t command, std::uint8_t byte4, std::uint16_t offset,
                              std::span<const std::uint8_t> payload = {});

    static std::uint16_t Offset(const Report& report) {
        return static_cast<std::uint16_t>(report[5] | report[6] << 8);
    }

    // One trace line of 32 bytes: groups of four, three blanks between the first four
    // groups and two between the later ones.
    static std::string TraceLine(std::span<const std::uint8_t, 32> bytes);
};

}  // namespace device
