// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard against a simulated keyboard that misbehaves: lost replies at plug-in, a
// device that lags behind the user, an unplug with work queued, and a keyboard that reads
// back the assignments written to it. What must hold: the UI thread never waits, no key is
// lost on the device, and queued work never outlives its connection.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

#include "DeviceBench.h"

namespace modeltest {
namespace {

using Clock = std::chrono::steady_clock;
using Keys = model::ApplyOutcome::Keys;

constexpr int kKeyA = 64;  // factory entry 20 00 04
constexpr int kKeyB = 89;  // factory entry 20 00 05

class KeyboardResilience : public DeviceBench {
protected:
    // Opens the channel with short time limits (a lost reply costs 60 ms, not a second).
    model::CLumitrekKeyboardDevice& Open() {
        model::CLumitrekKeyboardDevice& kb = Keyboard();
        EXPECT_TRUE(kb.OpenCommandChannel(Slot(0, *keyboardSim_)));
        kb.Channel().SetTimeLimits({60, 120});
        return kb;
    }
    void Replug() {
        keyboardSim_->Unplug();
        Keyboard().CloseCommandChannel();
        ASSERT_TRUE(keyboardSim_->Plug(bus_));
        Open();
        Keyboard().OnConnected();
        Settle();
    }
    std::vector<uint8_t> SlotEntry(int slot) {
        const auto table = Memory(*keyboardSim_, &sim::Firmware::KeyTable);
        return {table.begin() + 3 * slot, table.begin() + 3 * slot + 3};
    }
    int ZeroSlots() {
        const auto table = Memory(*keyboardSim_, &sim::Firmware::KeyTable);
        int zeros = 0;
        for (std::size_t k = 0; k + 2 < table.size(); k += 3)
            zeros += table[k] == 0 && table[k + 1] == 0 && table[k + 2] == 0;
        return zeros;
    }
    void Assign(int position, uint8_t type, uint8_t byte1, uint8_t byte0) {
        auto keys = Keyboard().GetKeyList();
        keys[position].current = {static_cast<uint16_t>(position), type, byte1, byte0};
        Keyboard().SetKeyList(keys);
    }
    void Restore(int position) {
        auto keys = Keyboard().GetKeyList();
        keys[position].current = keys[position].defaults;
        Keyboard().SetKeyList(keys);
    }
    static int Count(const std::vector<int>& codes, int code) {
        return static_cast<int>(std::count(codes.begin(), codes.end(), code));
    }
};

TEST_F(KeyboardResilience, AKeyTableLostAtPlugInIsReadAgainBeforeAnyKeyIsWritten) {
    keyboardSim_->Faults().Arm({sim::Fault::Kind::NoReply, 7, 2, 1});  // one table chunk lost
    model::CLumitrekKeyboardDevice& kb = Open();
    kb.OnConnected();
    Settle();
    EXPECT_FALSE(kb.TablesRead());
    const int zerosBefore = ZeroSlots();

    Assign(kKeyA, 0x20, 0, 0x05);
    keyboardSim_->Log().Clear();
    const model::ApplyOutcome outcome = Apply();
    EXPECT_EQ(outcome.keys, Keys::Written);
    EXPECT_TRUE(kb.TablesRead());
    const std::vector<int> codes = Commands(*keyboardSim_);
    // The table is read whole before the first write of the apply.
    const auto firstWrite = std::find(codes.begin(), codes.end(), 9);
    ASSERT_NE(firstWrite, codes.end());
    EXPECT_EQ(Count({codes.begin(), firstWrite}, 7), 7);
    EXPECT_EQ(SlotEntry(kb.GetPositionMaps().slot[kKeyA]), (std::vector<uint8_t>{0x20, 0, 0x05}));
    EXPECT_EQ(ZeroSlots(), zerosBefore);  // no slot was wiped
}

TEST_F(KeyboardResilience, WhenTheKeyTableCannotBeReadNothingIsWrittenAndTheUserIsTold) {
    keyboardSim_->Faults().Arm({sim::Fault::Kind::NoReply, 7, 0, 1});
    model::CLumitrekKeyboardDevice& kb = Open();
    kb.OnConnected();
    Settle();
    const auto tableBefore = Memory(*keyboardSim_, &sim::Firmware::KeyTable);
    const auto macrosBefore = Memory(*keyboardSim_, &sim::Firmware::MacroMemory);

    keyboardSim_->Faults().Arm({sim::Fault::Kind::NoReply, 7, 0, 1});  // and again at apply
    Assign(kKeyA, 0x20, 0, 0x05);
    keyboardSim_->Log().Clear();
    const model::ApplyOutcome outcome = Apply(true);
    EXPECT_EQ(outcome.keys, Keys::TableUnknown);
    EXPECT_TRUE(outcome.Stopped());
    EXPECT_EQ(outcome.MessageKey(), "message_keys_not_written");
    const std::vector<int> codes = Commands(*keyboardSim_);
    EXPECT_EQ(Count(codes, 9), 0);
    EXPECT_EQ(Count(codes, 21), 0);
    EXPECT_EQ(Count(codes, 6), 1);  // the settings block does not depend on the table
    EXPECT_EQ(Memory(*keyboardSim_, &sim::Firmware::KeyTable), tableBefore);
    EXPECT_EQ(Memory(*keyboardSim_, &sim::Firmware::MacroMemory), macrosBefore);
}

// Remap a key, replug, and change it back: on a keyboard that reports its factory layout,
// and on one that reports what was written (the remapped slot then no longer shows its
// factory entry, and the learnt layout must still find it).
class RemapAcrossReplug : public KeyboardResilience,
                          public ::testing::WithParamInterface<sim::KeyTableReadback> {};

TEST_P(RemapAcrossReplug, ARemappedKeyKeepsItsSlotAndCanBeChangedBack) {
    keyboardSim_->SetKeyTableReadback(GetParam());
    model::CLumitrekKeyboardDevice& kb = Open();
    kb.OnConnected();
    Settle();
    const int slotA = kb.GetPositionMaps().slot[kKeyA];
    const int slotB = kb.GetPositionMaps().slot[kKeyB];
    ASSERT_NE(slotA, model::PositionMaps::kNotPresent);
    ASSERT_NE(slotB, model::PositionMaps::kNotPresent);

    Assign(kKeyA, 0x20, 0, 0x05);  // A types B
    ASSERT_EQ(Apply().keys, Keys::Written);
    Replug();
    EXPECT_EQ(kb.GetPositionMaps().slot[kKeyA], slotA);
    EXPECT_EQ(kb.GetPositionMaps().slot[kKeyB], slotB);

    Restore(kKeyA);
    ASSERT_EQ(Apply().keys, Keys::Written);
    EXPECT_EQ(SlotEntry(slotA), (std::vector<uint8_t>{0x20, 0, 0x04}));
    EXPECT_EQ(SlotEntry(slotB), (std::vector<uint8_t>{0x20, 0, 0x05}));

    // Two keys swapped survive a replug as well.
    Assign(kKeyA, 0x20, 0, 0x05);
    Assign(kKeyB, 0x20, 0, 0x04);
    ASSERT_EQ(Apply().keys, Keys::Written);
    Replug();
    EXPECT_EQ(kb.GetPositionMaps().slot[kKeyA], slotA);
    EXPECT_EQ(kb.GetPositionMaps().slot[kKeyB], slotB);
    Restore(kKeyA);
    Restore(kKeyB);
    ASSERT_EQ(Apply().keys, Keys::Written);
    EXPECT_EQ(SlotEntry(slotA), (std::vector<uint8_t>{0x20, 0, 0x04}));
    EXPECT_EQ(SlotEntry(slotB), (std::vector<uint8_t>{0x20, 0, 0x05}));
}

INSTANTIATE_TEST_SUITE_P(BothReadBacks, RemapAcrossReplug,
                         ::testing::Values(sim::KeyTableReadback::Layout,
                                           sim::KeyTableReadback::Written));

TEST_F(KeyboardResilience, ASilentKeyboardNeverHoldsTheCallerUp) {
    keyboardSim_->Faults().Arm({sim::Fault::Kind::NoReply, -1, 0, 20});
    model::CLumitrekKeyboardDevice& kb = Keyboard();
    ASSERT_TRUE(kb.OpenCommandChannel(Slot(0, *keyboardSim_)));  // the real 1000 ms limit
    const auto start = Clock::now();
    kb.OnConnected();
    kb.WriteSettings(0, 0, 0, 0, 0);
    kb.ApplyKeys({});
    kb.SetPreviewEnabled(true);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(50));
    EXPECT_FALSE(kb.OperationsIdle());

    // Pulled out: the wait in progress ends at once and the rest is dropped.
    int cancelled = 0;
    kb.WriteSettings(0, 0, [&](const model::Completion<int>& done) { cancelled += done.cancelled; });
    const auto unplug = Clock::now();
    keyboardSim_->Unplug();
    kb.CloseCommandChannel();
    Settle();
    EXPECT_LT(Clock::now() - unplug, std::chrono::milliseconds(500));
    EXPECT_EQ(cancelled, 1);
}

TEST_F(KeyboardResilience, WritesQueuedBehindASlowKeyboardEndWithTheNewestOnTheDevice) {
    model::CLumitrekKeyboardDevice& kb = Open();
    kb.Channel().SetTimeLimits({1000, 2000});
    kb.OnConnected();
    Settle();
    keyboardSim_->Log().Clear();
    // The first write's end of configuration answers late, while the user goes on dragging.
    keyboardSim_->Faults().Arm({sim::Fault::Kind::SlowReply, 2, 0, 1, 300});
    std::vector<model::Completion<int>> done;
    for (int red = 1; red <= 10; ++red) {  // a slider dragged through ten values
        kb.SetLightSetting(1, static_cast<uint32_t>(red << 8), 0, 0);
        kb.WriteSettings(0, 0, [&](const model::Completion<int>& c) { done.push_back(c); });
        // The first is on the wire before the others queue up behind it.
        if (red == 1) {
            ASSERT_TRUE(test_support::Eventually([&] { return !RequestsOf(*keyboardSim_, 6).empty(); }));
        }
    }
    Settle();
    ASSERT_EQ(done.size(), 10u);
    for (const auto& c : done) {
        EXPECT_FALSE(c.cancelled);
        EXPECT_EQ(c.value, 1);
    }
    // The first went out before the others queued; of the nine behind it only the last.
    EXPECT_EQ(RequestsOf(*keyboardSim_, 6).size(), 2u);
    EXPECT_EQ(Memory(*keyboardSim_, &sim::Firmware::Settings)[6], 10);
}

TEST_F(KeyboardResilience, WorkQueuedBeforeAnUnplugNeverReachesTheKeyboardPluggedInAfter) {
    model::CLumitrekKeyboardDevice& kb = Open();
    kb.Channel().SetTimeLimits({1000, 2000});
    kb.OnConnected();
    Settle();
    keyboardSim_->Faults().Arm({sim::Fault::Kind::SlowReply, 2, 0, 1, 300});
    kb.WriteSettings(0, 0, 0, 0, 0);  // running, slow
    std::vector<model::Completion<model::ApplyOutcome>> applied;
    kb.ApplyKeys([&](const model::Completion<model::ApplyOutcome>& c) { applied.push_back(c); });
    keyboardSim_->Unplug();
    kb.CloseCommandChannel();
    ASSERT_TRUE(keyboardSim_->Plug(bus_));
    keyboardSim_->Log().Clear();
    ASSERT_TRUE(kb.OpenCommandChannel(Slot(0, *keyboardSim_)));
    Settle();
    // Dropped, or run against the keyboard that went: never written to the new one.
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_TRUE(applied[0].cancelled || applied[0].value.keys != Keys::Written);
    EXPECT_TRUE(Commands(*keyboardSim_).empty());

    // With the program closing the channel first, what waits is dropped for certain.
    keyboardSim_->Faults().Arm({sim::Fault::Kind::SlowReply, 2, 0, 1, 300});
    kb.WriteSettings(0, 0, 0, 0, 0);
    kb.ApplyKeys([&](const model::Completion<model::ApplyOutcome>& c) { applied.push_back(c); });
    kb.CloseCommandChannel();
    Settle();
    ASSERT_EQ(applied.size(), 2u);
    EXPECT_TRUE(applied[1].cancelled);
}

// The profile's settings block that an unplug kept from the keyboard is what the next
// connection writes: the keyboard's stale block (a profile since left, say) must neither
// stay on the keyboard nor be taken into the profile.
TEST_F(KeyboardResilience, ASettingsWriteAnUnplugDroppedIsWrittenAtTheNextConnection) {
    model::CLumitrekKeyboardDevice& kb = Open();
    kb.Channel().SetTimeLimits({1000, 2000});
    kb.OnConnected();
    Settle();
    const uint8_t stale = Memory(*keyboardSim_, &sim::Firmware::Settings)[6];
    ASSERT_NE(stale, 77);
    keyboardSim_->Log().Clear();
    // A slow write keeps the worker busy while the profile's new colour waits behind it.
    keyboardSim_->Faults().Arm({sim::Fault::Kind::SlowReply, 2, 0, 1, 300});
    kb.WriteSettings(0, 0, 0, 0, 0);
    for (int i = 0; i < 2000 && RequestsOf(*keyboardSim_, 6).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    kb.SetLightSetting(1, 77 << 8, 0, 0);
    kb.SaveProfile();
    std::optional<model::Completion<model::ApplyOutcome>> applied;
    kb.ApplyProfile([&](const model::Completion<model::ApplyOutcome>& c) { applied = c; });
    keyboardSim_->Unplug();
    kb.CloseCommandChannel();
    Settle();
    // Dropped, or run against the keyboard that went.
    ASSERT_TRUE(applied.has_value());
    EXPECT_TRUE(applied->cancelled || applied->value.settings != 1);
    ASSERT_EQ(Memory(*keyboardSim_, &sim::Firmware::Settings)[6], stale);

    ASSERT_TRUE(keyboardSim_->Plug(bus_));
    Open();
    kb.OnConnected();
    Settle();
    EXPECT_EQ(Memory(*keyboardSim_, &sim::Firmware::Settings)[6], 77);
    EXPECT_EQ(ReadJson(KeyboardProfileFile())["Device"][0]["LightInfo"]["Red"].asInt(), 77);
    EXPECT_EQ(kb.GetCurrentLightSetting().red, 77);
    EXPECT_FALSE(fs::exists(UserFolder("keyboard") / model::OwedSettings::kFileName));
}

// What a run could not write is still owed after a restart, and only until it is written.
TEST_F(KeyboardResilience, ASettingsWriteNoKeyboardTookIsWrittenAfterARestart) {
    const fs::path owedFile = UserFolder("keyboard") / model::OwedSettings::kFileName;
    {
        model::CLumitrekKeyboardDevice& kb = Open();
        kb.OnConnected();
        Settle();
        keyboardSim_->Unplug();
        kb.CloseCommandChannel();
        kb.SetLightSetting(1, 55 << 8, 0, 0);
        kb.SaveProfile();
        kb.WriteSettings(0, 0, 0, 0, 0);
        Settle();
        EXPECT_TRUE(fs::exists(owedFile));
    }
    keyboard_.reset();
    ASSERT_NE(Memory(*keyboardSim_, &sim::Firmware::Settings)[6], 55);
    const std::string saved = ReadText(KeyboardProfileFile());

    ASSERT_TRUE(keyboardSim_->Plug(bus_));
    model::CLumitrekKeyboardDevice& kb = Open();
    kb.OnConnected();
    Settle();
    EXPECT_EQ(Memory(*keyboardSim_, &sim::Firmware::Settings)[6], 55);
    EXPECT_EQ(ReadText(KeyboardProfileFile()), saved) << "the profile changed across a restart";
    EXPECT_FALSE(fs::exists(owedFile));
}

// A read of the keyboard's block that was on its way when the user changed a setting
// found the block as it was before the change: taking it would undo the change in the
// profile while the change itself still goes to the keyboard.
TEST_F(KeyboardResilience, ASettingsReadOvertakenByAChangeLeavesTheChangeInTheProfile) {
    model::CLumitrekKeyboardDevice& kb = Open();
    kb.Channel().SetTimeLimits({1000, 2000});
    kb.OnConnected();
    Settle();
    keyboardSim_->Log().Clear();
    keyboardSim_->Faults().Arm({sim::Fault::Kind::SlowReply, 5, 1, 1, 300});
    kb.ReadSettingsFromDevice();
    for (int i = 0; i < 2000 && RequestsOf(*keyboardSim_, 5).size() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    kb.SetLightSetting(1, 99 << 8, 0, 0);
    kb.SaveProfile();
    kb.WriteSettings(0, 0, 0, 0, 0);
    Settle();
    EXPECT_EQ(Memory(*keyboardSim_, &sim::Firmware::Settings)[6], 99);
    EXPECT_EQ(ReadJson(KeyboardProfileFile())["Device"][0]["LightInfo"]["Red"].asInt(), 99);

    // With nothing written meanwhile, the keyboard's own block is taken as before.
    kb.ReadSettingsFromDevice();
    Settle();
    EXPECT_EQ(kb.GetCurrentLightSetting().red, 99);
}

}  // namespace
}  // namespace modeltest
