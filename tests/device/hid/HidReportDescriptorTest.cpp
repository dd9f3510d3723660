// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "device/hid/HidDevice.h"
#include "device/hid/HidReportDescriptor.h"
#include "device/hid/TestDescriptors.h"

using namespace device;

namespace {

HidReportDescriptor MustParse(const std::vector<uint8_t>& bytes) {
    std::string error;
    auto parsed = HidReportDescriptor::Parse(bytes, &error);
    EXPECT_TRUE(parsed) << error;
    return parsed ? *parsed : HidReportDescriptor{};
}

// The data list HidDevice builds on open, its usage lists filled with a mark that shows
// which places an unpack wrote.
std::vector<HidData> InputDataList(const HidCollection& c) {
    std::vector<HidData> list = HidDevice::MakeDataList(c, HidReportType::Input);
    for (HidData& d : list) std::fill(d.button.usages.begin(), d.button.usages.end(), 0xEEEE);
    return list;
}

}  // namespace

TEST(HidReportDescriptor, ConfigInterfaceHasFourNumberedCollectionsWithIdByteInLengths) {
    auto d = MustParse(testdesc::ConfigInterface());
    ASSERT_EQ(d.Collections().size(), 4u);
    EXPECT_TRUE(d.UsesReportIds());
    const auto& keyboard = d.Collections()[0];
    EXPECT_EQ(keyboard.UsagePage(), 0x01);
    EXPECT_EQ(keyboard.Usage(), 0x06);
    EXPECT_EQ(keyboard.Caps().inputReportByteLength, 5);  // id + 32 bits
    EXPECT_EQ(d.Collections()[1].Caps().inputReportByteLength, 2);

    const auto& consumer = d.Collections()[2];
    EXPECT_EQ(consumer.Number(), 3);
    EXPECT_EQ(consumer.UsagePage(), 0x000C);
    EXPECT_EQ(consumer.Usage(), 0x0001);
    EXPECT_EQ(consumer.Caps().inputReportByteLength, 3);
    EXPECT_EQ(consumer.Caps().outputReportByteLength, 0);
    EXPECT_EQ(consumer.ReportIds(HidReportType::Input), std::vector<uint8_t>{3});

    const auto& vendor = d.Collections()[3];
    HidCaps caps = vendor.Caps();
    EXPECT_EQ(caps.usagePage, 0xFF1C);
    EXPECT_EQ(caps.usage, 0x92);
    EXPECT_EQ(caps.inputReportByteLength, 64);
    EXPECT_EQ(caps.outputReportByteLength, 64);
    EXPECT_EQ(caps.numberInputValueCaps, 1);
    EXPECT_EQ(caps.numberOutputValueCaps, 1);
    EXPECT_TRUE(vendor.OwnsReportId(HidReportType::Output, 4));
    EXPECT_FALSE(vendor.OwnsReportId(HidReportType::Input, 3));
    EXPECT_EQ(d.CollectionOfReport(HidReportType::Input, 3), &consumer);
    EXPECT_EQ(d.MaxInputReportBytes(), 64);
}

TEST(HidReportDescriptor, ConsumerArrayUnpacksTheEventUsage) {
    auto d = MustParse(testdesc::ConfigInterface());
    const auto& consumer = d.Collections()[2];
    auto list = InputDataList(consumer);
    ASSERT_EQ(list.size(), 1u);
    ASSERT_TRUE(list[0].isButton);
    EXPECT_EQ(list[0].button.maxUsageLength, 1u);
    EXPECT_EQ(list[0].button.usageMin, 0);
    EXPECT_EQ(list[0].button.usageMax, 0x06FF);

    const uint8_t press[] = {3, 0x03, 0x05};  // usage 0x0503, little-endian
    ASSERT_TRUE(HidDevice::UnpackInputReport(list, press, sizeof press, HidReportType::Input, consumer));
    EXPECT_EQ(list[0].button.usages[0], 0x0503);
    EXPECT_EQ(list[0].isSet, 1u);

    // Nothing on: the list starts with 0.
    const uint8_t none[] = {3, 0, 0};
    ASSERT_TRUE(HidDevice::UnpackInputReport(list, none, sizeof none, HidReportType::Input, consumer));
    EXPECT_EQ(list[0].button.usages[0], 0);

    // A report of another id changes nothing and still succeeds.
    list[0].button.usages[0] = 0x0401;
    const uint8_t other[] = {4, 0x02, 0x04};
    ASSERT_TRUE(HidDevice::UnpackInputReport(list, other, sizeof other, HidReportType::Input, consumer));
    EXPECT_EQ(list[0].button.usages[0], 0x0401);

    // A value above the logical maximum is an empty slot, not a usage.
    const uint8_t beyond[] = {3, 0x00, 0x07};
    ASSERT_TRUE(HidDevice::UnpackInputReport(list, beyond, sizeof beyond, HidReportType::Input, consumer));
    EXPECT_EQ(list[0].button.usages[0], 0);
}

TEST(HidReportDescriptor, BootKeyboardWithoutIdsCountsAZeroIdByte) {
    auto d = MustParse(testdesc::BootKeyboard());
    EXPECT_FALSE(d.UsesReportIds());
    ASSERT_EQ(d.Collections().size(), 1u);
    const auto& c = d.Collections()[0];
    EXPECT_FALSE(c.Numbered());
    HidCaps caps = c.Caps();
    EXPECT_EQ(caps.inputReportByteLength, 9);   // 0 + modifiers + reserved + 6 keys
    EXPECT_EQ(caps.outputReportByteLength, 2);  // 0 + LED byte
    EXPECT_EQ(c.ReportIds(HidReportType::Input), std::vector<uint8_t>{0});
    EXPECT_EQ(c.MaxUsageListLength(HidReportType::Input, 0x07), 8u + 6u);

    // Left Shift held, keys A and B down, one empty array slot in the middle.
    const uint8_t report[] = {0, 0x02, 0x00, 0x04, 0x00, 0x05, 0, 0, 0};
    std::vector<uint16_t> usages;
    EXPECT_EQ(c.GetUsages(HidReportType::Input, 0x07, report, usages), HidStatus::Success);
    EXPECT_EQ(usages, (std::vector<uint16_t>{0xE1, 0x04, 0x05}));

    // The modifier entry (range E0..E7) keeps only its own usages, in order, then a 0.
    auto list = InputDataList(c);
    ASSERT_EQ(list.size(), 2u);
    ASSERT_TRUE(HidDevice::UnpackInputReport(list, report, sizeof report, HidReportType::Input, c));
    EXPECT_EQ(list[0].button.usages[0], 0xE1);
    EXPECT_EQ(list[0].button.usages[1], 0);
    EXPECT_EQ(list[1].button.usages[0], 0x04);
    EXPECT_EQ(list[1].button.usages[1], 0x05);
    EXPECT_EQ(list[1].button.usages[2], 0);

    // A report too short for its layout is refused, not read past its end.
    const uint8_t shortReport[] = {0, 0x02};
    EXPECT_EQ(c.GetUsages(HidReportType::Input, 0x07, shortReport, usages), HidStatus::InvalidReportLength);
}

TEST(HidReportDescriptor, NestedMouseWithLongItemPushPopAndExtendedUsage) {
    auto d = MustParse(testdesc::NestedMouse());
    ASSERT_EQ(d.Collections().size(), 1u);  // the physical collection is nested, not top-level
    const auto& c = d.Collections()[0];
    EXPECT_EQ(c.Usage(), 0x02);
    EXPECT_EQ(c.LinkCollectionCount(), 2);
    EXPECT_EQ(c.Caps().inputReportByteLength, 7);  // 0 + 1 + 2 + 2 + 1

    auto buttons = c.ButtonCaps(HidReportType::Input);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_TRUE(buttons[0].isRange);
    EXPECT_EQ(buttons[0].usagePage, 0x09);
    EXPECT_EQ(buttons[0].linkCollection, 1);

    auto values = c.ValueCaps(HidReportType::Input);
    ASSERT_EQ(values.size(), 4u);  // X, Y, vendor, wheel
    EXPECT_EQ(values[2].usagePage, 0xFF00);
    EXPECT_EQ(values[2].usageMin, 0x0001);
    EXPECT_EQ(values[2].bitSize, 16);
    EXPECT_EQ(values[3].usageMin, 0x38);
    EXPECT_EQ(values[3].bitSize, 8);       // Pop restored the 8-bit size
    EXPECT_EQ(values[3].logicalMin, -127);  // and the signed range
    EXPECT_FALSE(values[3].isAbsolute);

    // Button 2, X = -5, Y = 3, vendor = 500 (scaled to 50), wheel = -1.
    const uint8_t report[] = {0, 0x02, 0xFB, 0x03, 0xF4, 0x01, 0xFF};
    uint32_t raw = 0;
    int32_t scaled = 0;
    EXPECT_EQ(c.GetUsageValue(HidReportType::Input, 0x01, 0x30, report, raw), HidStatus::Success);
    EXPECT_EQ(raw, 0xFFFFFFFBu);  // sign-extended raw bits of -5
    EXPECT_EQ(c.GetScaledUsageValue(HidReportType::Input, 0x01, 0x30, report, scaled), HidStatus::Success);
    EXPECT_EQ(scaled, -5);
    EXPECT_EQ(c.GetScaledUsageValue(HidReportType::Input, 0xFF00, 0x01, report, scaled), HidStatus::Success);
    EXPECT_EQ(scaled, 50);
    EXPECT_EQ(c.GetScaledUsageValue(HidReportType::Input, 0x01, 0x38, report, scaled), HidStatus::Success);
    EXPECT_EQ(scaled, -1);
    EXPECT_EQ(c.GetUsageValue(HidReportType::Input, 0x01, 0x32, report, raw), HidStatus::UsageNotFound);

    auto list = InputDataList(c);
    ASSERT_EQ(list.size(), 5u);
    ASSERT_TRUE(HidDevice::UnpackInputReport(list, report, sizeof report, HidReportType::Input, c));
    EXPECT_EQ(list[0].button.usages[0], 2);
    EXPECT_EQ(list[2].value.scaledValue, 3);  // Y
}

TEST(HidReportDescriptor, UnpackStopsAtAValueItCannotRead) {
    auto d = MustParse(testdesc::NestedMouse());
    const auto& c = d.Collections()[0];
    auto list = InputDataList(c);
    // Long enough for the buttons and X, too short for the rest.
    const uint8_t report[] = {0, 0x01, 0x07};
    EXPECT_FALSE(HidDevice::UnpackInputReport(list, report, sizeof report, HidReportType::Input, c));
    EXPECT_EQ(list[0].button.usages[0], 1);  // handled before the failure: kept
    EXPECT_EQ(list[1].value.rawValue, 7u);
    EXPECT_EQ(list[2].isSet, 0u);
}

TEST(HidReportDescriptor, RefusesBrokenDescriptors) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"truncated item", {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x26, 0xFF}},
        {"truncated long item", {0xA1, 0x01, 0xFE, 0x05, 0x10, 0x01, 0xC0}},
        {"end without collection", {0xC0}},
        {"unclosed collection", {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01}},
        {"report id 0", {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x00, 0xC0}},
        {"main item outside collection", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02}},
        {"pop without push", {0xB4}},
        {"no collection", {0x05, 0x01}},
        {"huge report count", {0xA1, 0x01, 0x75, 0x08, 0x96, 0xFF, 0xFF, 0x81, 0x02, 0xC0}},
        {"report past the limit",
         {0xA1, 0x01, 0x75, 0x20, 0x96, 0x00, 0x10, 0x81, 0x02, 0x81, 0x02, 0xC0}},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(HidReportDescriptor::Parse(c.bytes, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
    std::vector<uint8_t> tooLong(HidReportDescriptor::kMaxDescriptorBytes + 1, 0);
    EXPECT_FALSE(HidReportDescriptor::Parse(tooLong));
}

TEST(HidReportDescriptor, DelimiterKeepsOnlyTheFirstAlias) {
    const std::vector<uint8_t> bytes = {
        0x05, 0x0C,  // Usage Page (Consumer)
        0x09, 0x01,  // Usage (Consumer Control)
        0xA1, 0x01,  // Collection (Application)
        0xA9, 0x01,  //   Delimiter (open)
        0x09, 0xE9,  //   Usage (Volume Up)
        0x09, 0xEA,  //   Usage (Volume Down)     an alias: ignored
        0xA9, 0x00,  //   Delimiter (close)
        0x09, 0xE2,  //   Usage (Mute)
        0x15, 0x00,  //   Logical Minimum (0)
        0x25, 0x01,  //   Logical Maximum (1)
        0x75, 0x01,  //   Report Size (1)
        0x95, 0x02,  //   Report Count (2)
        0x81, 0x02,  //   Input (Data, Variable, Absolute)
        0x95, 0x06,  //   Report Count (6)
        0x81, 0x01,  //   Input (Constant)
        0xC0,        // End Collection
    };
    auto d = MustParse(bytes);
    const auto& c = d.Collections()[0];
    const uint8_t report[] = {0, 0x03};
    std::vector<uint16_t> usages;
    EXPECT_EQ(c.GetUsages(HidReportType::Input, 0x0C, report, usages), HidStatus::Success);
    EXPECT_EQ(usages, (std::vector<uint16_t>{0xE9, 0xE2}));
}
