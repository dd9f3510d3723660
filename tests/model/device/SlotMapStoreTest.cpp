// SPDX-License-Identifier: GPL-3.0-or-later
// The position-map memory, fed the key tables the simulated keyboard holds: its factory
// layout, and that layout with keys remapped as a keyboard reading back its written table
// would show them at the next connection.
#include <gtest/gtest.h>
#include <json/json.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "data/DataTestFolder.h"
#include "data/JsonDataFile.h"
#include "model/device/SlotMapStore.h"
#include "sim/DeviceCatalog.h"
#include "sim/Firmware.h"

namespace model {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const KeyboardModel kModel{sim::KeyboardDefinition().vendorId, sim::KeyboardDefinition().productId,
                           sim::KeyboardDefinition().releaseNumber};
constexpr int kSlots = 126;

class SlotMapStoreTest : public DataTestFolder {
protected:
    void SetUp() override {
        DataTestFolder::SetUp();
        folder_ = root_ / "user" / "keyboard";
        fs::create_directories(folder_);
        const sim::Firmware fw(sim::KeyboardDefinition());
        factory_.assign(fw.KeyLayout().Bytes().begin(), fw.KeyLayout().Bytes().end());
        leds_.assign(fw.LedMap().Bytes().begin(), fw.LedMap().Bytes().end());
        ASSERT_EQ(factory_.size(), 3u * kSlots);
    }

    // The factory table with slot `to` holding the factory entry of slot `from`.
    static void Copy(Bytes& table, const Bytes& factory, int to, int from) {
        for (int i = 0; i < 3; ++i) table.at(3 * to + i) = factory.at(3 * from + i);
    }
    Bytes Swapped(int a, int b) const {
        Bytes t = factory_;
        Copy(t, factory_, a, b);
        Copy(t, factory_, b, a);
        return t;
    }
    Bytes Moved(int to, int from) const {
        Bytes t = factory_;
        Copy(t, factory_, to, from);
        return t;
    }
    PositionMaps Resolve(const Bytes& table, const KeyboardModel& model = kModel) const {
        return SlotMapStore(folder_).Resolve(model, table, leds_, kSlots);
    }
    PositionMaps Matched(const Bytes& table) const {
        return PositionMaps::Build(table, leds_, kSlots);
    }
    fs::path File(const char* name = "slotmap_320f_505b_0105.Json") const { return folder_ / name; }
    static void ExpectSlotsBelow(const PositionMaps& maps, int bound) {
        for (int p = 0; p < kKeyPositions; ++p) {
            if (maps.slot[p] != PositionMaps::kNotPresent) {
                EXPECT_LT(maps.slot[p], bound) << p;
            }
        }
    }

    fs::path folder_;
    Bytes factory_;
    Bytes leds_;
};

// Sim slots: 0 Esc (position 0), 1 the key at position 21, 7 "1" (22), 8 "Q" (43), 9 "A"
// (64), 10 "Z" (85).
TEST_F(SlotMapStoreTest, ACleanTableIsLearnedAndRemappedTablesResolveToItsSlots) {
    const PositionMaps learned = Resolve(factory_);
    EXPECT_EQ(learned, Matched(factory_));
    EXPECT_EQ(learned.slot[22], 7);
    EXPECT_EQ(learned.led[22], leds_[7]);
    ASSERT_TRUE(fs::exists(File()));
    const std::string memory = ReadText(File());

    Bytes macroAndDisabled = factory_;
    const uint8_t macro[3] = {0x70, 0x00, 0x00}, disabled[3] = {0x20, 0x00, 0x00};
    std::copy_n(macro, 3, macroAndDisabled.begin());
    std::copy_n(disabled, 3, macroAndDisabled.begin() + 3);
    const struct {
        const char* what;
        Bytes table;
    } remaps[] = {
        {"1 and Q swapped", Swapped(7, 8)},
        {"A given Z's entry", Moved(9, 10)},
        {"Esc a macro, position 21 disabled", macroAndDisabled},
    };
    for (const auto& remap : remaps) {
        SCOPED_TRACE(remap.what);
        ASSERT_NE(Matched(remap.table), learned);  // matching alone would lose or mix keys
        EXPECT_EQ(Resolve(remap.table), learned);
        // A swap looks as clean as a factory table: the memory must not follow it.
        EXPECT_EQ(ReadText(File()), memory);
    }

    // LEDs come from the map read at this connection, through the remembered slots.
    Bytes otherLeds(kSlots);
    for (int k = 0; k < kSlots; ++k) otherLeds[k] = static_cast<uint8_t>(200 - k);
    otherLeds.resize(100);
    const PositionMaps lit =
        SlotMapStore(folder_).Resolve(kModel, Swapped(7, 8), otherLeds, kSlots);
    EXPECT_EQ(lit.slot, learned.slot);
    EXPECT_EQ(lit.led[22], 200 - 7);
    EXPECT_EQ(lit.led[43], 200 - 8);
    EXPECT_EQ(lit.slot[125], 125);
    EXPECT_EQ(lit.led[125], PositionMaps::kNotPresent);  // beyond the LED map read
}

TEST_F(SlotMapStoreTest, AnotherReleaseModelOrSlotCountDoesNotUseTheMemory) {
    Resolve(factory_);
    const Bytes moved = Moved(9, 10);
    ASSERT_EQ(Matched(moved).slot[64], PositionMaps::kNotPresent);
    const KeyboardModel newer{kModel.vendorId, kModel.productId, 0x0106};
    const KeyboardModel other{kModel.vendorId, 0x505C, kModel.release};
    EXPECT_EQ(Resolve(moved, newer), Matched(moved));
    EXPECT_EQ(Resolve(moved, other), Matched(moved));
    EXPECT_FALSE(fs::exists(File("slotmap_320f_505b_0106.Json")));
    EXPECT_FALSE(fs::exists(File("slotmap_320f_505c_0105.Json")));

    // A memory copied under another release's name still names its own release.
    fs::copy_file(File(), File("slotmap_320f_505b_0106.Json"));
    EXPECT_EQ(Resolve(moved, newer), Matched(moved));
    // Nor does a table of another length belong to the layout remembered.
    EXPECT_EQ(SlotMapStore(folder_).Resolve(kModel, moved, leds_, 120),
              PositionMaps::Build(moved, leds_, 120));
}

TEST_F(SlotMapStoreTest, DamagedMemoryIsIgnoredWholeAndReplacedByTheNextCleanTable) {
    const PositionMaps learned = Resolve(factory_);
    const Json::Value good = JsonDataFile().ReadJsonFile(File());
    const Bytes moved = Moved(9, 10);

    const auto withSlot = [&good](int position, const Json::Value& slot) {
        Json::Value v = good;
        v["SlotMap"][position] = slot;
        return JsonDataFile::StyledText(v);
    };
    Json::Value shortList = good;
    shortList["SlotMap"].resize(kKeyPositions - 1);
    Json::Value noKeys = good;
    for (Json::Value& slot : noKeys["SlotMap"]) slot = 255;
    Json::Value otherSlots = good;
    otherSlots["KeySlots"] = 125;
    const struct {
        const char* what;
        std::string text;
    } damaged[] = {
        {"empty", ""},
        {"cut short", JsonDataFile::StyledText(good).substr(0, 200)},
        {"an array", "[0, 1, 2]"},
        {"a list too short", JsonDataFile::StyledText(shortList)},
        {"a slot past the table", withSlot(22, 126)},
        {"a negative slot", withSlot(22, -1)},
        {"a slot as text", withSlot(22, "7")},
        {"a slot as a fraction", withSlot(22, 7.5)},
        {"no key at all", JsonDataFile::StyledText(noKeys)},
        {"another slot count", JsonDataFile::StyledText(otherSlots)},
    };
    for (const auto& file : damaged) {
        SCOPED_TRACE(file.what);
        WriteText(File(), file.text);
        const PositionMaps maps = Resolve(moved);
        EXPECT_EQ(maps, Matched(moved));
        ExpectSlotsBelow(maps, kSlots);
    }

    // A slot that was fine for the whole table is not once the table read is shorter.
    WriteText(File(), JsonDataFile::StyledText(good));
    const Bytes partial(moved.begin(), moved.begin() + 300);
    ExpectSlotsBelow(SlotMapStore(folder_).Resolve(kModel, partial, leds_, kSlots), 100);
    EXPECT_EQ(Resolve(moved), learned);  // the good file itself is read

    WriteText(File(), "{\"SlotMap\": [");
    Resolve(factory_);
    EXPECT_EQ(Resolve(moved), learned);
}

TEST_F(SlotMapStoreTest, WithoutMemoryTablesAreMatchedAndOnlyCleanOnesLearned) {
    const Bytes moved = Moved(9, 10);
    const Bytes zeros(factory_.size(), 0);
    const Bytes foreign = [this] {
        Bytes t = factory_;
        t[0] = 0x70;  // Esc a macro: no key carries that entry
        return t;
    }();
    const Bytes truncated(factory_.begin(), factory_.begin() + 300);
    for (const Bytes* table : {&moved, &zeros, &foreign, &truncated}) {
        EXPECT_EQ(Resolve(*table), Matched(*table));
        EXPECT_FALSE(fs::exists(File()));
    }

    // A folder that cannot take the file costs the memory, not the maps.
    SlotMapStore nowhere(folder_ / "missing" / "folder");
    EXPECT_EQ(nowhere.Resolve(kModel, factory_, leds_, kSlots), Matched(factory_));
    EXPECT_EQ(nowhere.Resolve(kModel, moved, leds_, kSlots), Matched(moved));
    EXPECT_FALSE(fs::exists(folder_ / "missing"));

    Resolve(factory_);
    EXPECT_TRUE(fs::exists(File()));
}

TEST_F(SlotMapStoreTest, ACleanTableThatConfirmsTheMemoryAndFindsMoreKeysExtendsIt) {
    Bytes withoutEsc = factory_;
    std::fill_n(withoutEsc.begin(), 3, 0);  // read as a matrix cell without a key
    ASSERT_EQ(Resolve(withoutEsc).slot[0], PositionMaps::kNotPresent);

    EXPECT_EQ(Resolve(factory_), Matched(factory_));
    const PositionMaps remapped = Resolve(Swapped(7, 8));
    EXPECT_EQ(remapped, Matched(factory_));
    EXPECT_EQ(remapped.slot[0], 0);
}

}  // namespace
}  // namespace model
