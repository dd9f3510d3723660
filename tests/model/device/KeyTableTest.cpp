// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard's key table encodings: which slot carries which key, the renumbering of
// the macros keys play, and the bytes of the macro image.
#include <gtest/gtest.h>

#include <vector>

#include "data/macro/MacroFile.h"
#include "model/device/FactoryKeyTable.h"
#include "model/device/KeyTableBuilder.h"
#include "model/device/MacroImage.h"
#include "model/device/PositionMaps.h"
#include "sim/DeviceCatalog.h"

namespace model {
namespace {

std::vector<uint8_t> TableOf(const std::vector<KeyEntry>& entries) {
    std::vector<uint8_t> table;
    for (const KeyEntry& e : entries) table.insert(table.end(), {e.type, e.byte1, e.byte0});
    return table;
}

std::vector<KeyMapping> FactoryKeys() {
    std::vector<KeyMapping> keys;
    for (int p = 0; p < kKeyPositions; ++p) {
        const KeyEntry& e = FactoryKeyTable::Entries()[p];
        const KeyAssignment half{static_cast<uint16_t>(p), e.type, e.byte1, e.byte0};
        keys.push_back({half, half});
    }
    return keys;
}

TEST(PositionMaps, TheKeyboardsOwnTableFindsEveryKeyItHas) {
    const auto& def = sim::KeyboardDefinition();
    std::vector<KeyEntry> entries;
    std::vector<uint8_t> leds;
    for (const sim::SimKeySlot& s : def.keySlots) {
        entries.push_back({s.type, s.byte1, s.byte0});
        leds.push_back(s.led);
    }
    const PositionMaps maps =
        PositionMaps::Build(TableOf(entries), leds, static_cast<int>(entries.size()));
    EXPECT_EQ(maps.slot[0], 0);
    EXPECT_EQ(maps.slot[21], 1);
    EXPECT_EQ(maps.led[21], 38);
    EXPECT_EQ(maps.slot[125], 125);
    EXPECT_EQ(maps.led[125], 91);
    // The empty cells of the picture hold 20 00 00, which this keyboard has nowhere.
    for (int p : {18, 19, 20, 62}) EXPECT_EQ(maps.slot[p], PositionMaps::kNotPresent) << p;
    EXPECT_EQ(maps.PositionOfSlot(1), 21);
    EXPECT_EQ(maps.PositionOfSlot(99), -1);
}

TEST(PositionMaps, EqualFactoryEntriesShareTheFirstMatchingSlotAndMissingOnesStayAbsent) {
    std::vector<KeyEntry> entries(8, KeyEntry{0x20, 0x00, 0x04});
    entries[3] = {0x20, 0x00, 0x00};
    entries[5] = {0x20, 0x00, 0x00};
    entries[6] = {0x20, 0x00, 0x29};  // position 0's key
    const std::vector<uint8_t> leds = {9, 9, 9, 33, 9, 55, 66, 9};
    const PositionMaps maps = PositionMaps::Build(TableOf(entries), leds, 8);
    for (int p : {18, 19, 20, 62}) {
        EXPECT_EQ(maps.slot[p], 3) << p;
        EXPECT_EQ(maps.led[p], 33) << p;
    }
    EXPECT_EQ(maps.slot[0], 6);
    EXPECT_EQ(maps.led[0], 66);
    EXPECT_EQ(maps.slot[64], 0);  // A: the first of the equal entries
    EXPECT_EQ(maps.slot[1], PositionMaps::kNotPresent);
    EXPECT_EQ(maps.led[1], PositionMaps::kNotPresent);
    // A slot count beyond the table reads nothing past it.
    EXPECT_EQ(PositionMaps::Build(TableOf(entries), leds, 200), maps);
}

class MacroRenumbering : public ::testing::Test {
protected:
    void SetUp() override {
        keys = FactoryKeys();
        for (int p = 0; p < kKeyPositions; ++p) maps.slot[p] = static_cast<uint8_t>(p);
        base.assign(3 * kKeyPositions, 0xEE);
    }
    void Play(int position, uint8_t type, uint8_t macro, uint8_t mode) {
        keys[position].current = {static_cast<uint16_t>(position), type, macro, mode};
    }
    std::vector<uint8_t> Entry(const std::vector<uint8_t>& table, int slot) {
        return {table.begin() + 3 * slot, table.begin() + 3 * slot + 3};
    }

    std::vector<KeyMapping> keys;
    PositionMaps maps;
    std::vector<uint8_t> base;
};

TEST_F(MacroRenumbering, MacrosAreNumberedInTheOrderOfTheFirstKeyThatPlaysThem) {
    Play(3, 0x70, 5, 2);
    Play(10, 0x70, 5, 1);
    Play(7, 0x71, 2, 9);
    EXPECT_EQ(KeyTableBuilder::UsedMacros(keys, maps, 6), (std::vector<int>{5, 2}));

    const auto table = KeyTableBuilder::Build(base, keys, maps, 6);
    EXPECT_EQ(Entry(table, 3), (std::vector<uint8_t>{0x70, 0, 2}));
    EXPECT_EQ(Entry(table, 10), (std::vector<uint8_t>{0x70, 0, 1}));
    EXPECT_EQ(Entry(table, 7), (std::vector<uint8_t>{0x71, 1, 9}));
    EXPECT_EQ(Entry(table, 64), (std::vector<uint8_t>{0x20, 0, 0x04}));
    // The key list itself keeps the library's numbers.
    EXPECT_EQ(keys[3].current.byte1, 5);
}

TEST_F(MacroRenumbering, AMacroPastTheLibraryRevertsToTheDefaultAndAnAbsentKeyIsNotWritten) {
    Play(12, 0x70, 6, 0);  // one past the six macros
    Play(30, 0x70, 1, 0);
    maps.slot[30] = PositionMaps::kNotPresent;
    EXPECT_TRUE(KeyTableBuilder::UsedMacros(keys, maps, 6).empty());

    const auto table = KeyTableBuilder::Build(base, keys, maps, 6);
    EXPECT_EQ(Entry(table, 12), (std::vector<uint8_t>{0x20, 0, 0x45}));
    EXPECT_EQ(Entry(table, 30), (std::vector<uint8_t>{0xEE, 0xEE, 0xEE}));
}

TEST_F(MacroRenumbering, AShortKeyListOrTableLeavesTheRestAsTheDeviceHadIt) {
    keys.resize(2);
    maps.slot[1] = 200;  // a slot the base table does not reach
    const auto table = KeyTableBuilder::Build(base, keys, maps, 0);
    EXPECT_EQ(Entry(table, 0), (std::vector<uint8_t>{0x20, 0, 0x29}));
    EXPECT_EQ(table.size(), base.size());
    EXPECT_EQ(Entry(table, 2), (std::vector<uint8_t>{0xEE, 0xEE, 0xEE}));
}

TEST(MacroImageTest, OneMacroOfThreeEventsLaysOutHeaderOffsetAndRecord) {
    const std::vector<std::vector<MacroEvent>> macros = {
        {{10, 4, true, 300}, {10, 4, false, 50}, {1, 2, true, 0x1234}}};
    const auto image = MacroImage::Build(macros);
    ASSERT_TRUE(image);
    const std::vector<uint8_t> expected = {0xAA, 0x55, 0x22, 0x00, 0x01, 0x00, 0,    0,
                                           0,    0,    0,    0,    0,    0,    0,    0,  // header
                                           0x12, 0x00,              // record offset
                                           0x03, 0x00, 0x00, 0x00,  // 3 events
                                           0x2C, 0x01, 0x8A, 0x04, 0x32, 0x00, 0x0A, 0x04,
                                           0x34, 0x12, 0x81, 0x02};
    EXPECT_EQ(*image, expected);
}

TEST(MacroImageTest, OffsetsPointAtEachRecordAndTheLengthFollowsTheEventCount) {
    const std::vector<std::vector<MacroEvent>> macros = {
        {{9, 1, true, 0}, {9, 1, false, 0}}, {}, {{10, 5, true, 7}}};
    const auto image = MacroImage::Build(macros);
    ASSERT_TRUE(image);
    const std::size_t counts[] = {2, 0, 1};
    EXPECT_EQ(image->size(), MacroImage::Length(counts));
    EXPECT_EQ(image->size(), 16u + 6 * 3 + 4 * 3);
    const auto at = [&](std::size_t i) { return (*image)[i] | (*image)[i + 1] << 8; };
    EXPECT_EQ(at(4), 3);
    EXPECT_EQ(at(16), 22);
    EXPECT_EQ(at(18), 22 + 4 + 8);
    EXPECT_EQ(at(20), 22 + 4 + 8 + 4);
    EXPECT_EQ(at(at(20)), 1);
    EXPECT_EQ((*image)[at(20) + 4 + 2], 0x8A);
}

TEST(MacroImageTest, TheOverflowCountIsWhatTheUserIsTold) {
    const std::size_t sixtyOne[] = {61};
    EXPECT_EQ(MacroImage::Length(sixtyOne), 266u);
    EXPECT_EQ(MacroImage::Overflow(266, 256), 3);
    EXPECT_EQ(MacroImage::Overflow(257, 256), 1);
    EXPECT_EQ(MacroImage::Overflow(256, 256), 0);
    EXPECT_EQ(MacroImage::Overflow(34, 0), 9);
}

TEST(MacroFileTest, DelayTextsReadAsTheTextToIntegerConversionDoes) {
    EXPECT_EQ(MacroFile::ParseDelay("300"), 300);
    EXPECT_EQ(MacroFile::ParseDelay("007"), 7);
    EXPECT_EQ(MacroFile::ParseDelay(" 12ms"), 12);
    EXPECT_EQ(MacroFile::ParseDelay("70000"), 70000 & 0xFFFF);
    EXPECT_EQ(MacroFile::ParseDelay("-1"), 0xFFFF);
    EXPECT_EQ(MacroFile::ParseDelay(""), 0);
    EXPECT_EQ(MacroFile::ParseDelay("x5"), 0);
    EXPECT_EQ(MacroFile::ParseDelay("99999999999999999999"), 0xFFFF);
    EXPECT_EQ(MacroFile::PathOf("/lib", "../escape"), std::filesystem::path());
}

}  // namespace
}  // namespace model
