// SPDX-License-Identifier: GPL-3.0-or-later
// The firmware as a pure request-to-reply machine: what every command does to the
// memories and what the reply carries.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "RequestFrame.h"
#include "sim/DeviceCatalog.h"
#include "sim/Firmware.h"

namespace sim {
namespace {

using test::Request;

std::vector<std::uint8_t> Data(const Frame& reply, std::size_t n) {
    return {reply.begin() + 8, reply.begin() + 8 + static_cast<std::ptrdiff_t>(n)};
}

TEST(Firmware, ReplyEchoesCommandOffsetAndLengthWithOkStatusAndChecksum) {
    Firmware fw(KeyboardDefinition());
    const Frame reply = fw.Handle(Request(5, 26, 25));
    EXPECT_EQ(reply[0], 4);
    EXPECT_EQ(reply[3], 5);
    EXPECT_EQ(reply[4], 26);
    EXPECT_EQ(reply[5], 25);
    EXPECT_EQ(reply[6], 0);
    EXPECT_EQ(reply[7], Firmware::kStatusOk);
    EXPECT_EQ(reply[1] | reply[2] << 8, Firmware::Checksum(reply));
}

TEST(Firmware, BadChecksumIsAnsweredWithStatusFFAndNotActedOn) {
    Firmware fw(KeyboardDefinition());
    Frame write = Request(6, 2, 100, {0xAB, 0xCD});
    write[1] ^= 0x01;
    const Frame reply = fw.Handle(write);
    EXPECT_EQ(reply[3], 6);
    EXPECT_EQ(reply[7], Firmware::kStatusBadChecksum);
    EXPECT_EQ(fw.Settings().Bytes()[100], 0);

    // A checksum over bytes 0..63 instead of 3..63 is just as wrong.
    Frame wide = Request(1, 0, 0);
    const unsigned sum = Firmware::Checksum(wide) + 4;
    wide[1] = static_cast<std::uint8_t>(sum & 0xFF);
    wide[2] = static_cast<std::uint8_t>(sum >> 8);
    EXPECT_EQ(fw.Handle(wide)[7], Firmware::kStatusBadChecksum);
    EXPECT_FALSE(fw.InConfig());
}

TEST(Firmware, InformationBlockGivesKeySlotsAndMacroUnits) {
    Firmware kb(KeyboardDefinition());
    const Frame reply = kb.Handle(Request(3, 34, 0));
    ASSERT_EQ(reply[7], Firmware::kStatusOk);
    EXPECT_EQ(reply[8 + 5], 126);
    EXPECT_EQ(std::size_t{reply[8 + 6]} * 128, KeyboardDefinition().MacroCapacity());
    EXPECT_GT(KeyboardDefinition().MacroCapacity(), 0u);
    EXPECT_EQ(kb.KeySlots(), 126u);
    // 34 bytes is the whole block: one byte more does not exist.
    EXPECT_EQ(kb.Handle(Request(3, 35, 0))[7], Firmware::kStatusRefused);

    Firmware pad(MousePadDefinition());
    EXPECT_EQ(pad.Handle(Request(3, 34, 0))[7], Firmware::kStatusOk);
    EXPECT_NE(KeyboardDefinition().productId, MousePadDefinition().productId);
}

// The factory entries of the 126 key positions (type, byte 1, byte 0).
const std::uint8_t kFactory[126][3] = {
    {0x20, 0, 0x29}, {0x20, 0, 0x3A}, {0x20, 0, 0x3B}, {0x20, 0, 0x3C}, {0x20, 0, 0x3D},
    {0x20, 0, 0x3E}, {0x20, 0, 0x3F}, {0x20, 0, 0x40}, {0x20, 0, 0x41}, {0x20, 0, 0x42},
    {0x20, 0, 0x43}, {0x20, 0, 0x44}, {0x20, 0, 0x45}, {0x20, 0, 0x46}, {0x20, 0, 0x47},
    {0x20, 0, 0x48}, {0xA0, 0x1B, 0}, {0xA0, 0x24, 0}, {0x20, 0, 0},    {0x20, 0, 0},
    {0x20, 0, 0},    {0x20, 0, 0x35}, {0x20, 0, 0x1E}, {0x20, 0, 0x1F}, {0x20, 0, 0x20},
    {0x20, 0, 0x21}, {0x20, 0, 0x22}, {0x20, 0, 0x23}, {0x20, 0, 0x24}, {0x20, 0, 0x25},
    {0x20, 0, 0x26}, {0x20, 0, 0x27}, {0x20, 0, 0x2D}, {0x20, 0, 0x2E}, {0x20, 0, 0x2A},
    {0x20, 0, 0x49}, {0x20, 0, 0x4A}, {0x20, 0, 0x4B}, {0x20, 0, 0x53}, {0x20, 0, 0x54},
    {0x20, 0, 0x55}, {0x20, 0, 0x56}, {0x20, 0, 0x2B}, {0x20, 0, 0x14}, {0x20, 0, 0x1A},
    {0x20, 0, 0x08}, {0x20, 0, 0x15}, {0x20, 0, 0x17}, {0x20, 0, 0x1C}, {0x20, 0, 0x18},
    {0x20, 0, 0x0C}, {0x20, 0, 0x12}, {0x20, 0, 0x13}, {0x20, 0, 0x2F}, {0x20, 0, 0x30},
    {0x20, 0, 0x31}, {0x20, 0, 0x4C}, {0x20, 0, 0x4D}, {0x20, 0, 0x4E}, {0x20, 0, 0x5F},
    {0x20, 0, 0x60}, {0x20, 0, 0x61}, {0x20, 0, 0},    {0x20, 0, 0x39}, {0x20, 0, 0x04},
    {0x20, 0, 0x16}, {0x20, 0, 0x07}, {0x20, 0, 0x09}, {0x20, 0, 0x0A}, {0x20, 0, 0x0B},
    {0x20, 0, 0x0D}, {0x20, 0, 0x0E}, {0x20, 0, 0x0F}, {0x20, 0, 0x33}, {0x20, 0, 0x34},
    {0x20, 0, 0x28}, {0x20, 0, 0x5C}, {0x20, 0, 0x5D}, {0x20, 0, 0x5E}, {0x20, 0, 0x8A},
    {0x20, 0, 0x8B}, {0x20, 0, 0x90}, {0x20, 0, 0x91}, {0x20, 0, 0x88}, {0x20, 0x02, 0},
    {0x20, 0, 0x1D}, {0x20, 0, 0x1B}, {0x20, 0, 0x06}, {0x20, 0, 0x19}, {0x20, 0, 0x05},
    {0x20, 0, 0x11}, {0x20, 0, 0x10}, {0x20, 0, 0x36}, {0x20, 0, 0x37}, {0x20, 0, 0x38},
    {0x20, 0x20, 0}, {0x20, 0, 0x52}, {0x20, 0, 0x59}, {0x20, 0, 0x5A}, {0x20, 0, 0x5B},
    {0x20, 0, 0x87}, {0x20, 0, 0x89}, {0x20, 0, 0x64}, {0x20, 0, 0x85}, {0x20, 0, 0x32},
    {0x20, 0x01, 0}, {0x20, 0x08, 0}, {0x20, 0x04, 0}, {0x20, 0, 0x2C}, {0x20, 0x40, 0},
    {0xA0, 0x01, 0}, {0x20, 0, 0x65}, {0x20, 0x10, 0}, {0x20, 0, 0x50}, {0x20, 0, 0x51},
    {0x20, 0, 0x4F}, {0x20, 0, 0x62}, {0x20, 0, 0x63}, {0x20, 0, 0x58}, {0x20, 0, 0x57},
    {0xD0, 0xA2, 1}, {0xD0, 0xA2, 2}, {0xD0, 0xA2, 3}, {0xD0, 0xA2, 4}, {0xD0, 0xA2, 5},
    {0x20, 0x80, 0},
};

int FactoryPosition(const std::uint8_t* entry) {
    for (int p = 0; p < 126; ++p) {
        if (std::equal(entry, entry + 3, kFactory[p])) return p;
    }
    return -1;
}

TEST(Firmware, KeyTableHoldsFactoryEntriesInTheDevicesOwnOrderWithSomeAbsent) {
    Firmware fw(KeyboardDefinition());
    const auto table = fw.KeyTable().Bytes();
    const auto leds = fw.LedMap().Bytes();
    ASSERT_EQ(table.size(), 126u * 3);
    ASSERT_EQ(leds.size(), 126u);

    std::vector<int> slotOf(126, -1);
    std::set<int> ledsUsed;
    int present = 0;
    bool inPositionOrder = true;
    int lastPosition = -1;
    for (int slot = 0; slot < 126; ++slot) {
        const std::uint8_t* entry = &table[static_cast<std::size_t>(slot) * 3];
        const bool empty = entry[0] == 0 && entry[1] == 0 && entry[2] == 0;
        if (empty) {
            EXPECT_EQ(leds[static_cast<std::size_t>(slot)], kNoLed) << "slot " << slot;
            continue;
        }
        const int p = FactoryPosition(entry);
        ASSERT_GE(p, 0) << "slot " << slot << " holds no factory entry";
        EXPECT_EQ(slotOf[static_cast<std::size_t>(p)], -1) << "entry of " << p << " twice";
        slotOf[static_cast<std::size_t>(p)] = slot;
        if (p < lastPosition) inPositionOrder = false;
        lastPosition = p;
        ++present;
        // Every key lights its own LED, and the colour stream has room for it.
        const std::uint8_t led = leds[static_cast<std::size_t>(slot)];
        EXPECT_LT(led, 170);
        EXPECT_TRUE(ledsUsed.insert(led).second) << "LED " << int{led} << " twice";
    }
    EXPECT_FALSE(inPositionOrder);
    EXPECT_GT(present, 100);
    EXPECT_LT(present, 126);

    // The key table reads back over the wire exactly as held, chunk by chunk.
    std::vector<std::uint8_t> wire;
    for (std::uint16_t p = 0; p < 378; p += 56) {
        const auto n = static_cast<std::uint8_t>(std::min(56, 378 - p));
        const Frame reply = fw.Handle(Request(7, n, p));
        ASSERT_EQ(reply[7], Firmware::kStatusOk);
        const auto chunk = Data(reply, n);
        wire.insert(wire.end(), chunk.begin(), chunk.end());
    }
    EXPECT_TRUE(std::equal(wire.begin(), wire.end(), table.begin(), table.end()));
    EXPECT_EQ(Data(fw.Handle(Request(27, 56, 56)), 56),
              std::vector<std::uint8_t>(leds.begin() + 56, leds.begin() + 112));
}

TEST(Firmware, KeyTableReadsBackTheLayoutEvenAfterAssignmentsAreWritten) {
    Firmware fw(KeyboardDefinition());
    const auto layout = Data(fw.Handle(Request(7, 6, 0)), 6);
    const std::vector<std::uint8_t> remap = {0x70, 0x01, 0x00, 0x20, 0x02, 0x04};
    ASSERT_EQ(fw.Handle(Request(9, 6, 0, remap))[7], Firmware::kStatusOk);
    EXPECT_EQ(
        std::vector<std::uint8_t>(fw.KeyTable().Bytes().begin(), fw.KeyTable().Bytes().begin() + 6),
        remap);
    // A host that connects again must still find each key by its factory entry.
    EXPECT_EQ(Data(fw.Handle(Request(7, 6, 0)), 6), layout);
    EXPECT_EQ(fw.Readback(), KeyTableReadback::Layout);
}

TEST(Firmware, KeyTableReadsBackWhatWasWrittenWhenDeclaredOrSwitchedSo) {
    SimDeviceDefinition def = KeyboardDefinition();
    def.keyTableReadback = KeyTableReadback::Written;
    Firmware fw(def);
    const std::vector<std::uint8_t> layout(fw.KeyLayout().Bytes().begin(),
                                           fw.KeyLayout().Bytes().end());
    // Nothing written yet: the table is still the factory one.
    EXPECT_EQ(Data(fw.Handle(Request(7, 56, 0)), 56),
              std::vector<std::uint8_t>(layout.begin(), layout.begin() + 56));

    // Slot 0 becomes a macro key, slot 125 (the last) takes slot 1's entry.
    const std::vector<std::uint8_t> macro = {0x70, 0x01, 0x00};
    const std::vector<std::uint8_t> moved(layout.begin() + 3, layout.begin() + 6);
    ASSERT_EQ(fw.Handle(Request(9, 3, 0, macro))[7], Firmware::kStatusOk);
    ASSERT_EQ(fw.Handle(Request(9, 3, 375, moved))[7], Firmware::kStatusOk);
    const auto head = Data(fw.Handle(Request(7, 6, 0)), 6);
    EXPECT_EQ(std::vector<std::uint8_t>(head.begin(), head.begin() + 3), macro);
    EXPECT_EQ(std::vector<std::uint8_t>(head.begin() + 3, head.end()), moved);
    EXPECT_EQ(Data(fw.Handle(Request(7, 3, 375)), 3), moved);
    // Reads stay inside the table whichever memory answers them.
    EXPECT_EQ(fw.Handle(Request(7, 4, 375))[7], Firmware::kStatusRefused);

    // Switched at run time, both ways; the written table is kept meanwhile.
    fw.SetReadback(KeyTableReadback::Layout);
    EXPECT_EQ(Data(fw.Handle(Request(7, 3, 0)), 3),
              std::vector<std::uint8_t>(layout.begin(), layout.begin() + 3));
    EXPECT_TRUE(std::equal(layout.begin(), layout.end(), fw.KeyLayout().Bytes().begin(),
                           fw.KeyLayout().Bytes().end()));
    fw.SetReadback(KeyTableReadback::Written);
    EXPECT_EQ(Data(fw.Handle(Request(7, 3, 0)), 3), macro);
    // The LED map is the device's wiring, not an assignment: never rewritten.
    EXPECT_EQ(Data(fw.Handle(Request(27, 1, 0)), 1)[0], KeyboardDefinition().keySlots[0].led);
}

TEST(Firmware, SettingsMemoryKeepsBlocksAndActiveIndex) {
    Firmware fw(KeyboardDefinition());
    EXPECT_EQ(Data(fw.Handle(Request(5, 1, 0)), 1)[0], 0);

    std::vector<std::uint8_t> block(26);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i + 1);
    ASSERT_EQ(fw.Handle(Request(6, 26, 2 * 25, block))[7], Firmware::kStatusOk);
    EXPECT_EQ(Data(fw.Handle(Request(5, 26, 50)), 26), block);

    fw.SetActiveProfile(3);
    EXPECT_EQ(Data(fw.Handle(Request(5, 1, 0)), 1)[0], 3);
    // The host writing block 0 makes profile 0 active again.
    block[0] = 0;
    ASSERT_EQ(fw.Handle(Request(6, 21, 0, block))[7], Firmware::kStatusOk);
    EXPECT_EQ(fw.Settings().Bytes()[0], 0);
}

TEST(Firmware, StrictAreasRefuseOutOfRangeAndOverlongWithoutTouchingMemory) {
    Firmware fw(KeyboardDefinition());
    const std::size_t end = fw.Settings().Size();
    const std::vector<std::uint8_t> ones(56, 1);
    EXPECT_EQ(fw.Handle(Request(6, 2, static_cast<std::uint16_t>(end - 1), ones))[7],
              Firmware::kStatusRefused);
    EXPECT_EQ(fw.Settings().Bytes()[end - 1], 0);
    EXPECT_EQ(fw.Handle(Request(6, 57, 0, ones))[7], Firmware::kStatusRefused);
    EXPECT_EQ(fw.Handle(Request(7, 10, 376))[7], Firmware::kStatusRefused);
    EXPECT_EQ(fw.Handle(Request(9, 2, 376, ones))[7], Firmware::kStatusOk);
    EXPECT_EQ(fw.Handle(Request(9, 3, 376, ones))[7], Firmware::kStatusRefused);

    // Colour pages: page 1 starts at 512; past the last page nothing is taken.
    const std::size_t pages = KeyboardDefinition().colourPages;
    EXPECT_EQ(fw.Handle(Request(11, 3, 512, {9, 8, 7}))[7], Firmware::kStatusOk);
    EXPECT_EQ(fw.Colours().Bytes()[512], 9);
    EXPECT_EQ(fw.Handle(Request(11, 1, static_cast<std::uint16_t>(pages * 512), {1}))[7],
              Firmware::kStatusRefused);

    // The keyboard keeps no recoil data; the pad streams no colours.
    EXPECT_EQ(fw.Handle(Request(23, 1, 0, {1}))[7], Firmware::kStatusRefused);
    Firmware pad(MousePadDefinition());
    EXPECT_EQ(pad.Handle(Request(11, 1, 0, {1}))[7], Firmware::kStatusRefused);
}

TEST(Firmware, MacroMemoryRefusesNothingButHoldsOnlyItsCapacity) {
    Firmware fw(KeyboardDefinition());
    const std::size_t capacity = KeyboardDefinition().MacroCapacity();
    const std::vector<std::uint8_t> chunk(56, 0x5A);
    std::uint16_t offset = 0;
    while (offset < capacity + 100) {
        ASSERT_EQ(fw.Handle(Request(21, 56, offset, chunk))[7], Firmware::kStatusOk) << offset;
        offset = static_cast<std::uint16_t>(offset + 56);
    }
    EXPECT_EQ(fw.MacroMemory().Size(), capacity);
    EXPECT_TRUE(std::all_of(fw.MacroMemory().Bytes().begin(), fw.MacroMemory().Bytes().end(),
                            [](std::uint8_t b) { return b == 0x5A; }));
    EXPECT_EQ(fw.MacroMemory().DroppedBytes(), std::size_t{offset} - capacity);
}

TEST(Firmware, BracketStatusBlockHostLightingLinkAndUnknownCommands) {
    Firmware fw(KeyboardDefinition());
    fw.Handle(Request(1, 0, 0));
    EXPECT_TRUE(fw.InConfig());
    fw.Handle(Request(2, 0, 0));
    EXPECT_FALSE(fw.InConfig());
    EXPECT_EQ(fw.EndConfigCount(), 1);

    const Frame status = fw.Handle(Request(26, 6, 0));
    EXPECT_EQ(Data(status, 6), std::vector<std::uint8_t>(KeyboardDefinition().statusBlock.begin(),
                                                         KeyboardDefinition().statusBlock.end()));
    EXPECT_EQ(fw.Handle(Request(26, 57, 0))[7], Firmware::kStatusRefused);

    EXPECT_FALSE(fw.HostLighting());
    fw.Handle(Request(28, 0, 0));
    EXPECT_TRUE(fw.HostLighting());

    const Frame link = fw.Handle(Request(170, 0, 0));
    EXPECT_EQ(link[3], 170);
    EXPECT_EQ(link[7], Firmware::kStatusOk);
    EXPECT_EQ(link[8], 0xFF);

    EXPECT_EQ(fw.Handle(Request(99, 0, 0))[7], Firmware::kStatusRefused);
}

}  // namespace
}  // namespace sim
