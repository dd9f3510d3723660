// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-keyboard scenarios against the simulated keyboard: what the device object sends,
// what ends up in the keyboard's memory and what ends up in the profile file.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/Eventually.h"
#include "DeviceBench.h"
#include "device/listener/InputListener.h"
#include "model/device/MacroImage.h"

namespace modeltest {
namespace {

using Codes = std::vector<int>;

void WriteMacroLibrary(const fs::path& folder, int count) {
    Json::Value list;
    for (int i = 0; i < count; ++i) {
        Json::Value entry;
        entry["MacroName"] = "macro_" + std::to_string(i + 1);
        entry["Guid"] = "m" + std::to_string(i);
        list["MacroInfo"].append(entry);
    }
    JsonDataFile().WriteJsonFile(folder / "macro.config", list);
}

void WriteMacro(const fs::path& folder, int index, int events, int firstButton) {
    Json::Value macro;
    for (int i = 0; i < events; ++i) {
        Json::Value e;
        e["Type"] = 10;
        e["Button"] = firstButton + i;
        e["Action"] = i % 2 == 0 ? "down" : "up";
        e["Delay"] = std::to_string(300 + i);
        macro["Events"].append(e);
    }
    macro["Version"] = 64;
    JsonDataFile().WriteJsonFile(folder / ("m" + std::to_string(index) + ".mac"), macro);
}

using test_support::Eventually;

class KeyboardDevice : public DeviceBench {
protected:
    // A key mapping that plays library macro `macro` in `mode`.
    void PlayMacro(std::vector<KeyMapping>& keys, int position, uint8_t type, uint8_t macro,
                   uint8_t mode) {
        keys[position].current = {static_cast<uint16_t>(position), type, macro, mode};
    }
    // The bench's keyboard replaced by one made from `definition`, connected.
    std::shared_ptr<sim::SimDevice> ConnectKeyboardOf(const sim::SimDeviceDefinition& definition) {
        auto other = std::make_shared<sim::SimDevice>(definition);
        keyboardSim_->Unplug();
        EXPECT_TRUE(other->Plug(bus_));
        EXPECT_TRUE(Keyboard().OpenCommandChannel(Slot(0, *other)));
        Keyboard().OnConnected();
        Settle();
        return other;
    }
};

TEST_F(KeyboardDevice, ConnectingReadsTheTablesThenFollowsTheProfileAndTheDeviceSettings) {
    keyboardSim_->Log().Clear();
    model::CLumitrekKeyboardDevice& kb = ConnectKeyboard();

    EXPECT_EQ(Commands(*keyboardSim_), (Codes{1, 3, 7, 7, 7, 7, 7, 7, 7, 27, 27, 27, 2, 5, 5}));
    const auto settingsReads = RequestsOf(*keyboardSim_, 5);
    EXPECT_EQ(settingsReads[0][4], 1);
    EXPECT_EQ(settingsReads[1][4], 26);
    EXPECT_EQ(kb.Channel().TransferLength(), 126 * 3);
    EXPECT_EQ(kb.GetPositionMaps().slot[21], 1);
    EXPECT_EQ(kb.GetPositionMaps().led[21], 38);

    // The profile file was made from the default profile, then took the keyboard's block:
    // mode 1, brightness 4, stored speed 2, multi-colour, red, inverted six-key flag 1.
    const Json::Value section = ReadJson(KeyboardProfileFile())["Device"][0];
    EXPECT_EQ(section["LightInfo"]["Light"].asInt(), 4);
    EXPECT_EQ(section["LightInfo"]["Speed"].asInt(), 2);
    EXPECT_EQ(section["LightInfo"]["Fx"].asInt(), 0);
    EXPECT_EQ(section["LightInfo"]["MultiColor"].asInt(), 1);
    EXPECT_EQ(section["LightInfo"]["Green"].asInt(), 0);
    EXPECT_EQ(section["SystemStages"]["Key6Flag"].asInt(), 0);
    EXPECT_EQ(section["SystemStages"]["WinFlag"].asInt(), 0);
    EXPECT_EQ(section["SystemStages"]["PollingRate"].asInt(), 2);  // profile only
    EXPECT_EQ(section["SystemStages"]["Repeat"].asInt(), 3);
    EXPECT_EQ(section["KeyList"].size(), 126u);
    EXPECT_EQ(kb.ActiveProfileIndex(), 0);
    EXPECT_EQ(kb.DeviceLight().speed, 2);
    EXPECT_TRUE(kb.LightThreadRunning());
}

TEST_F(KeyboardDevice, ASettingsReadThatCannotHappenLeavesTheProfileAlone) {
    model::CLumitrekKeyboardDevice& kb = Keyboard();
    kb.LoadProfile();
    const std::string before = ReadText(KeyboardProfileFile());
    const auto light = kb.GetLightSetting();
    kb.ReadSettingsFromDevice();
    Settle();
    EXPECT_EQ(ReadText(KeyboardProfileFile()), before);
    EXPECT_EQ(kb.GetLightSetting(), light);

    // Connected, but the keyboard does not answer the block read.
    ASSERT_TRUE(kb.OpenCommandChannel(Slot(0, *keyboardSim_)));
    kb.Channel().SetTimeLimits({50, 100});
    keyboardSim_->Faults().Arm({sim::Fault::Kind::NoReply, 5, 1, 1});
    kb.ReadSettingsFromDevice();
    Settle();
    EXPECT_EQ(ReadText(KeyboardProfileFile()), before);
    EXPECT_EQ(kb.GetSystemStages()[1] & 0xFFFF, 1u);  // Key6Flag as the profile had it
}

TEST_F(KeyboardDevice, WritingSettingsSendsTheBlockInTheKeyboardsOwnForm) {
    model::CLumitrekKeyboardDevice& kb = ConnectKeyboard();
    // Mode 21 (a light program), brightness 3, speed 3, direction 1, red/green/blue, group 2.
    kb.SetLightSetting(21 | 3 << 8 | 3 << 16 | 1 << 24, 0 | 0x10 << 8 | 0x20 << 16 | 0x30 << 24,
                       5u << 24, 2);
    kb.SetSystemStages(3 | 1 << 16, 0 | 3 << 16, 1 | 1 << 16);
    keyboardSim_->Log().Clear();

    EXPECT_EQ(kb.WriteSettings(0, 0, 0, 0, 0), 1);
    Settle();
    EXPECT_EQ(Commands(*keyboardSim_), (Codes{1, 6, 2}));
    const auto write = RequestsOf(*keyboardSim_, 6).at(0);
    EXPECT_EQ(write[4], 26);
    EXPECT_EQ(write[5] | write[6] << 8, 0);
    const auto memory = Memory(*keyboardSim_, &sim::Firmware::Settings);
    const std::vector<uint8_t> expected = {0, 0, 3, 1, 1, 0, 0x10, 0x20, 0x30, 0, 0, 0, 0,
                                           0, 0, 0, 0, 0, 5, 1,    1,    1,    3, 0, 0, 2};
    EXPECT_EQ(std::vector<uint8_t>(memory.begin(), memory.begin() + 26), expected);

    // Mode 20 goes out as itself; the write lands at index x 25.
    kb.SetLightSetting(20, 0, 0, 0);
    keyboardSim_->Log().Clear();
    kb.WriteSettings(2, 0, 0, 0, 0);
    Settle();
    EXPECT_EQ(Memory(*keyboardSim_, &sim::Firmware::Settings)[50 + 1], 20);
}

TEST_F(KeyboardDevice, ApplyingKeysWritesTheUsedMacrosFirstAndRenumbersThem) {
    model::CLumitrekKeyboardDevice& kb = ConnectKeyboard();
    const fs::path folder = UserFolder("keyboard");
    WriteMacroLibrary(folder, 6);
    WriteMacro(folder, 5, 3, 4);
    WriteMacro(folder, 2, 1, 9);
    auto keys = kb.GetKeyList();
    PlayMacro(keys, 3, 0x70, 5, 2);
    PlayMacro(keys, 10, 0x70, 5, 0);
    PlayMacro(keys, 7, 0x71, 2, 4);
    PlayMacro(keys, 12, 0x70, 6, 0);  // past the library's six macros
    kb.SetKeyList(keys);
    keyboardSim_->Log().Clear();

    EXPECT_EQ(kb.GetUsedMacros(), (std::vector<int>{5, 2}));
    const model::ApplyOutcome outcome = Apply();
    EXPECT_EQ(outcome.macros, 0);
    EXPECT_EQ(outcome.keys, model::ApplyOutcome::Keys::Written);
    EXPECT_EQ(outcome.MessageKey(), "");
    EXPECT_EQ(Commands(*keyboardSim_), (Codes{3, 1, 21, 2, 3, 1, 9, 9, 9, 9, 9, 9, 9, 2}));

    const auto macros = Memory(*keyboardSim_, &sim::Firmware::MacroMemory);
    const std::vector<uint8_t> header = {0xAA, 0x55, 44, 0, 2,    0,    0,    0,    0, 0, 0, 0,
                                         0,    0,    0,  0, 0x14, 0x00, 0x24, 0x00, 3, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(macros.begin(), macros.begin() + 24), header);
    EXPECT_EQ(std::vector<uint8_t>(macros.begin() + 24, macros.begin() + 28),
              (std::vector<uint8_t>{0x2C, 0x01, 0x8A, 4}));  // macro 5 first
    EXPECT_EQ(std::vector<uint8_t>(macros.begin() + 36, macros.begin() + 44),
              (std::vector<uint8_t>{1, 0, 0, 0, 0x2C, 0x01, 0x8A, 9}));  // then macro 2

    EXPECT_EQ(EntryOf(3), (std::vector<uint8_t>{0x70, 0, 2}));
    EXPECT_EQ(EntryOf(10), (std::vector<uint8_t>{0x70, 0, 0}));
    EXPECT_EQ(EntryOf(7), (std::vector<uint8_t>{0x71, 1, 4}));
    EXPECT_EQ(EntryOf(12), (std::vector<uint8_t>{0x20, 0, 0x45}));
    EXPECT_EQ(EntryOf(64), (std::vector<uint8_t>{0x20, 0, 0x04}));
    EXPECT_EQ(kb.GetKeyList()[3].current.byte1, 5);  // the profile keeps library numbers
}

TEST_F(KeyboardDevice, AnInformationBlockWithoutKeysLeavesTheKeyboardOutOfConfiguration) {
    sim::SimDeviceDefinition keyless = sim::KeyboardDefinition();
    keyless.infoBlock[5] = 0;  // no key slots: a block read wrong
    const auto keylessSim = ConnectKeyboardOf(keyless);
    bool inConfig = true;
    keylessSim->Inspect([&inConfig](const sim::Firmware& f) { inConfig = f.InConfig(); });
    EXPECT_FALSE(inConfig);
}

TEST_F(KeyboardDevice, AMacroImageLargerThanTheMemoryIsReportedAndNothingIsSent) {
    sim::SimDeviceDefinition small = sim::KeyboardDefinition();
    small.infoBlock[6] = 2;  // 256 bytes
    const auto smallSim = ConnectKeyboardOf(small);
    model::CLumitrekKeyboardDevice& kb = Keyboard();
    const fs::path folder = UserFolder("keyboard");
    WriteMacroLibrary(folder, 1);
    WriteMacro(folder, 0, 61, 4);
    auto keys = kb.GetKeyList();
    PlayMacro(keys, 0, 0x70, 0, 0);
    kb.SetKeyList(keys);
    smallSim->Log().Clear();

    const model::ApplyOutcome outcome = Apply();
    EXPECT_EQ(outcome.macros, 3);
    EXPECT_EQ(outcome.keys, model::ApplyOutcome::Keys::NotAttempted);
    EXPECT_TRUE(outcome.Stopped());
    EXPECT_EQ(outcome.MessageKey(), "message_text_16");
    EXPECT_EQ(Commands(*smallSim), (Codes{3}));
    EXPECT_EQ(Memory(*smallSim, &sim::Firmware::MacroMemory)[0], 0);
}

TEST_F(KeyboardDevice, WithoutAConnectionNothingIsWrittenAndNothingFails) {
    model::CLumitrekKeyboardDevice& kb = Keyboard();
    kb.LoadProfile();
    WriteMacroLibrary(UserFolder("keyboard"), 1);
    keyboardSim_->Log().Clear();
    const model::ApplyOutcome outcome = Apply(true);
    EXPECT_EQ(outcome.keys, model::ApplyOutcome::Keys::NotConnected);
    EXPECT_EQ(outcome.macros, 0);
    EXPECT_EQ(outcome.MessageKey(), "");  // nothing to tell about a device that is not there
    EXPECT_EQ(kb.WriteSettings(0, 0, 0, 0, 0), 1);
    kb.OnConnected();
    Settle();
    EXPECT_TRUE(Commands(*keyboardSim_).empty());
}

TEST_F(KeyboardDevice, CustomColoursStreamToTheGroupsPageAtEachKeysLedIndex) {
    Json::Value section = KeyboardSection();
    section["LightInfo"]["CustomGroup"] = 2;
    section["CustomLightMode"]["CustomLightModeGroupIndex"] = 2;
    for (int p = 0; p < 126; ++p) {
        Json::Value c;
        c["Red"] = p;
        c["Green"] = 2 * p;
        c["Blue"] = 255 - p;
        c["Alpha"] = 128;
        section["CustomLightMode"]["LightColorInfo"][2][p] = c;
    }
    WriteDefault("keyboard", section);
    model::CLumitrekKeyboardDevice& kb = ConnectKeyboard();
    kb.StopLightThread();
    keyboardSim_->Log().Clear();

    kb.LoadCustomColours();
    Settle();
    const auto reports = RequestsOf(*keyboardSim_, 11);
    ASSERT_EQ(reports.size(), 7u);
    EXPECT_EQ(reports[0][5] | reports[0][6] << 8, 1024);
    EXPECT_EQ(reports[6][4], 378 - 6 * 56);
    const auto colours = Memory(*keyboardSim_, &sim::Firmware::Colours);
    const auto maps = kb.GetPositionMaps();
    for (int p : {0, 21, 64, 125}) {
        const int at = 1024 + 3 * maps.led[p];
        EXPECT_EQ(colours[at], p / 2) << p;
        EXPECT_EQ(colours[at + 1], (2 * p % 256) / 2) << p;
        EXPECT_EQ(colours[at + 2], (255 - p) / 2) << p;
    }

    // Outside mode 20 a key's colour is not touched; in mode 20 without a group chosen in
    // the lighting panel only the buffer changes.
    const uint32_t before = kb.GetLedColour(5);
    kb.SetLightSetting(19 | 5 << 8, 1 | 200 << 8, 0, 2);
    kb.SetCustomLedColour(5);
    EXPECT_EQ(kb.GetLedColour(5), before);
    kb.SetLightSetting(20 | 5 << 8, 1 | 200 << 8, 0, 2);
    keyboardSim_->Log().Clear();
    kb.SetCustomLedColour(5);
    Settle();
    EXPECT_EQ(kb.GetLedColour(5) & 0xFFFFFF, 200u);
    EXPECT_EQ(kb.GetLedColour(5) >> 24, 128u);
    EXPECT_TRUE(Commands(*keyboardSim_).empty());

    // A channel on the long time limit gets no colours.
    kb.Channel().SetLongTimeLimit(true);
    kb.FillCustomColours(true);
    Settle();
    EXPECT_TRUE(Commands(*keyboardSim_).empty());
    EXPECT_EQ(kb.GetLedColour(77) & 0xFFFFFF, 200u);
}

TEST_F(KeyboardDevice, ASettingsEventRereadsTheBlockAndAProfileEventReloadsTheProfileToo) {
    model::CLumitrekKeyboardDevice& kb = ConnectKeyboard();
    ASSERT_TRUE(kb.OpenEventChannel(Slot(1, *keyboardSim_).path));
    const auto editFile = [&] {
        Json::Value root = ReadJson(KeyboardProfileFile());
        root["Device"][0]["KeyList"][0]["Assignment"] = 0x200004;
        JsonDataFile().WriteJsonFile(KeyboardProfileFile(), root);
    };

    editFile();
    const uint8_t mode13 = 13;
    ASSERT_TRUE(keyboardSim_->ChangeSettingsOnDevice(1, std::span(&mode13, 1)));
    ASSERT_TRUE(Eventually([&] { return kb.LastEventUsage() == device::kUsageSettingsChanged; }));
    kb.OnSyncRequest();
    Settle();
    EXPECT_EQ(kb.DeviceLight().mode, 13);
    EXPECT_EQ(kb.GetKeyList()[0].current.byte0, 0x29);  // the file was not reloaded

    editFile();
    keyboardSim_->SwitchProfileOnDevice(1);
    ASSERT_TRUE(Eventually([&] { return kb.LastEventUsage() == device::kUsageProfileChanged; }));
    keyboardSim_->Log().Clear();
    kb.OnSyncRequest();
    Settle();
    EXPECT_EQ(kb.GetKeyList()[0].current.byte0, 0x04);
    EXPECT_EQ(kb.ActiveProfileIndex(), 1);
    const auto reads = RequestsOf(*keyboardSim_, 5);
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[1][5], 25);
    kb.CloseEventChannel();
    EXPECT_FALSE(kb.ListenerRunning());
}

TEST_F(KeyboardDevice, UnpluggedDuringAnApplyTheProfileSurvivesAndTheNextConnectWorks) {
    model::CLumitrekKeyboardDevice& kb = ConnectKeyboard();
    WriteMacroLibrary(UserFolder("keyboard"), 1);
    WriteMacro(UserFolder("keyboard"), 0, 2, 4);
    // A key in the part of the table the interrupted write does not reach: the keyboard
    // reads back what was written, and a slot that lost its factory entry is found no more.
    auto keys = kb.GetKeyList();
    PlayMacro(keys, 117, 0x70, 0, 1);
    kb.SetKeyList(keys);
    kb.SaveProfile();
    const std::string before = ReadText(KeyboardProfileFile());

    keyboardSim_->Faults().Arm({sim::Fault::Kind::Unplug, 9, 2, 1});
    kb.WriteSettings(0, 0, 0, 0, 0);
    kb.ApplyKeys({});
    kb.ReadSettingsFromDevice();
    Settle();
    EXPECT_EQ(ReadText(KeyboardProfileFile()), before);

    kb.CloseCommandChannel();  // the scanner's removal
    EXPECT_FALSE(kb.IsConnected());
    ASSERT_TRUE(keyboardSim_->Plug(bus_));
    ASSERT_TRUE(kb.OpenCommandChannel(Slot(0, *keyboardSim_)));
    kb.OnConnected();
    Settle();
    EXPECT_EQ(kb.GetPositionMaps().slot[117], 77);
    EXPECT_EQ(Apply().macros, 0);
    EXPECT_EQ(EntryOf(117), (std::vector<uint8_t>{0x70, 0, 1}));
    EXPECT_EQ(EntryOf(125), (std::vector<uint8_t>{0x20, 0x80, 0}));
    EXPECT_EQ(ReadJson(KeyboardProfileFile())["Device"][0]["KeyList"][117]["Assignment"].asUInt(),
              0x700001u);
}

TEST_F(KeyboardDevice, MacroKeysPastTheLibraryRevertToTheirDefaultsInTheProfile) {
    model::CLumitrekKeyboardDevice& kb = Keyboard();
    kb.LoadProfile();
    WriteMacroLibrary(UserFolder("keyboard"), 2);
    auto keys = kb.GetKeyList();
    PlayMacro(keys, 5, 0x70, 2, 0);
    PlayMacro(keys, 6, 0x71, 1, 3);
    kb.SetKeyList(keys);

    kb.ValidateMacroKeys();
    EXPECT_EQ(kb.MacroNames(), (std::vector<std::string>{"macro_1", "macro_2"}));
    EXPECT_EQ(kb.GetKeyList()[5].current, kb.GetKeyList()[5].defaults);
    EXPECT_EQ(kb.GetKeyList()[6].current.byte1, 1);
    EXPECT_EQ(kb.Profile().GetSection()["KeyList"][5]["Assignment"].asUInt(), 0x20003Eu);
}

TEST_F(KeyboardDevice, ResettingMakesTheCurrentProfileACopyOfTheDefaults) {
    model::CLumitrekKeyboardDevice& kb = Keyboard();
    kb.LoadProfile();
    Json::Value root = ReadJson(KeyboardProfileFile());
    root["profilename"] = "mine";
    JsonDataFile().WriteJsonFile(KeyboardProfileFile(), root);
    kb.SetLightSetting(7, 0, 0, 0);
    kb.SaveProfile();

    kb.ResetToDefaults();
    const Json::Value after = ReadJson(KeyboardProfileFile());
    EXPECT_EQ(JsonDataFile::StyledText(after["Device"][0]),
              JsonDataFile::StyledText(KeyboardSection()));
    EXPECT_EQ(after["profilename"].asString(), "mine");
    EXPECT_EQ(kb.GetLightSetting()[0] & 0xFF, 1u);
}

}  // namespace
}  // namespace modeltest
