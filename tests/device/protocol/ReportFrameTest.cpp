// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "device/protocol/ReportFrame.h"

namespace device {
namespace {

TEST(ReportFrame, RequestLayoutAndChecksumOverBytes3To63) {
    const Report empty = ReportFrame::MakeRequest(1, 0, 0);
    EXPECT_EQ(empty[0], 4);
    EXPECT_EQ(empty[1], 0x01);
    EXPECT_EQ(empty[2], 0x00);
    for (std::size_t i = 4; i < kReportSize; ++i) EXPECT_EQ(empty[i], 0) << i;

    const std::vector<std::uint8_t> payload = {0x10, 0x20, 0x30};
    const Report r = ReportFrame::MakeRequest(9, 3, 0x0150, payload);
    EXPECT_EQ(r[3], 9);
    EXPECT_EQ(r[4], 3);
    EXPECT_EQ(r[5], 0x50);
    EXPECT_EQ(r[6], 0x01);
    EXPECT_EQ(r[7], 0);
    EXPECT_EQ(r[8], 0x10);
    EXPECT_EQ(r[10], 0x30);
    EXPECT_EQ(r[11], 0);
    const unsigned sum = 9 + 3 + 0x50 + 0x01 + 0x10 + 0x20 + 0x30;
    EXPECT_EQ(r[1] | r[2] << 8, sum);
    EXPECT_EQ(ReportFrame::Offset(r), 0x0150);
}

TEST(ReportFrame, ChecksumOfTheLargestFrameFitsSixteenBitsAndPayloadIsCutAt56) {
    const std::vector<std::uint8_t> full(80, 0xFF);
    const Report r = ReportFrame::MakeRequest(0xFF, 0xFF, 0xFFFF, full);
    // Bytes 3..6 and 8..63 are 0xFF, byte 7 stays 0: 60 x 255.
    EXPECT_EQ(r[7], 0);
    EXPECT_EQ(r[1] | r[2] << 8, 60 * 255);
    EXPECT_EQ(ReportFrame::Checksum(r), 60 * 255);
}

TEST(ReportFrame, TraceLineGroupsBytesInFoursWithThreeThenTwoBlanks) {
    std::uint8_t bytes[32];
    for (int i = 0; i < 32; ++i) bytes[i] = static_cast<std::uint8_t>(i * 9);
    EXPECT_EQ(ReportFrame::TraceLine(std::span<const std::uint8_t, 32>(bytes, 32)),
              "00 09 12 1b   24 2d 36 3f   48 51 5a 63   6c 75 7e 87  90 99 a2 ab  "
              "b4 bd c6 cf  d8 e1 ea f3  fc 05 0e 17");
}

}  // namespace
}  // namespace device
