// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/protocol/ReportFrame.h"

#include <algorithm>
#include <cstdio>

namespace device {

std::uint16_t ReportFrame::Checksum(const Report& report) {
    unsigned sum = 0;
    for (std::size_t i = 3; i < kReportSize; ++i) sum += report[i];
    return static_cast<std::uint16_t>(sum);
}

Report ReportFrame::MakeRequest(std::uint8_t command, std::uint8_t byte4, std::uint16_t offset,
                                std::span<const std::uint8_t> payload) {
    Report report{};
    report[0] = kCommandReportId;
    report[3] = command;
    report[4] = byte4;
    report[5] = static_cast<std::uint8_t>(offset & 0xFF);
    report[6] = static_cast<std::uint8_t>(offset >> 8);
    report[7] = 0;
    const std::size_t n = std::min(payload.size(), kChunkSize);
    std::copy_n(payload.begin(), n, report.begin() + kPayloadOffset);
    const std::uint16_t sum = Checksum(report);
    report[1] = static_cast<std::uint8_t>(sum & 0xFF);
    report[2] = static_cast<std::uint8_t>(sum >> 8);
    return report;
}

std::string ReportFrame::TraceLine(std::span<const std::uint8_t, 32> b) {
    char line[160];
    std::snprintf(line, sizeof line,
                  "%02x %02x %02x %02x   %02x %02x %02x %02x   %02x %02x %02x %02x   "
                  "%02x %02x %02x %02x  %02x %02x %02x %02x  %02x %02x %02x %02x  "
                  "%02x %02x %02x %02x  %02x %02x %02x %02x",
                  b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12],
                  b[13], b[14], b[15], b[16], b[17], b[18], b[19], b[20], b[21], b[22], b[23],
                  b[24], b[25], b[26], b[27], b[28], b[29], b[30], b[31]);
    return line;
}

}  // namespace device
