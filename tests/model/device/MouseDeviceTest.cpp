// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse against the simulated mouse (kind 2, and kind 6 behind its receiver): its
// connection and position map, the settings block both ways, the key table hardening
// shared with the keyboard, and the recoil image.
#include <gtest/gtest.h>

#include "support/RunUntilIdle.h"
#include "DeviceBench.h"
#include "data/macro/ShootFile.h"
#include "device/protocol/ResultCode.h"
#include "device/scanner/DeviceKind.h"
#include "model/device/CLumitrekMouseDevice.h"
#include "model/device/MouseKeyTable.h"
#include "model/device/MouseSettingsBlock.h"
#include "ui/CWindowWnd.h"

namespace modeltest {
namespace {

using model::MouseSettingsBlock;

Json::Value MouseSection() {
    Json::Value section;
    Json::Value& light = section["LightInfo"];
    light["SelectItem"] = 12;  // a light program: the mouse itself is sent mode 0
    light["Light"] = 3;
    light["Speed"] = 1;
    light["Fx"] = 1;
    light["MultiColor"] = 0;
    light["Red"] = 200;
    light["Green"] = 100;
    light["Blue"] = 50;
    for (const model::KeyEntry& entry : model::MouseKeyTable::Factory()) {
        Json::Value key;
        key["Assignment"] = Packed(entry);
        key["DefaultAssignment"] = Packed(entry);
        section["KeyList"].append(key);
    }
    section["DPIStages"]["StageActive"] = 1;
    for (int i = 0; i < 5; ++i) {
        Json::Value stage;
        stage["StageActive"] = i < 4 ? 1 : 0;
        stage["StageXY"] = 0;
        stage["StageDPIX"] = 16 << i;
        stage["StageDPIY"] = 16 << i;
        stage["StageColorR"] = 10 * i;
        stage["StageColorG"] = 0;
        stage["StageColorB"] = 255;
        section["DPIStages"]["StageDPIs"].append(stage);
    }
    section["SystemStages"]["DoubleClickTime"] = 500;
    section["SystemStages"]["MouseSpeed"] = 10;
    section["ReportStages"]["StageActive"] = 3;
    Json::Value correction;
    correction["CorrectSelect"] = 1;
    correction["CorrectMinSq"] = 9;
    correction["CorrectPixThresh"] = 4;
    correction["CorrectName"] = "Strong";
    section["CorrectInfo"].append(correction);
    return section;
}

class MouseDevice : public DeviceBench {
protected:
    void SetUp() override {
        DeviceBench::SetUp();
        WriteDefault("mouse", MouseSection());
    }
    void TearDown() override {
        mouse_.reset();
        mouseSim_.reset();
        DeviceBench::TearDown();
    }

    // The mouse of `kind` plugged in, its object connected to it.
    model::CLumitrekMouseDevice& Connect(int kind = device::kKindMouse) {
        mouseSim_ = std::make_shared<sim::SimDevice>(kind == device::kKindMouseLongWait
                                                         ? sim::LongWaitMouseDefinition()
                                                         : sim::MouseDefinition());
        mouseSim_->Plug(bus_);
        mouse_ = std::make_unique<model::CLumitrekMouseDevice>(bus_.Backend());
        mouse_->SetLedCount(6);
        mouse_->SetKeyCount(7);
        mouse_->SetLightListName("vexal_light");
        mouse_->SetProfileFileName(kProfileUuid);
        device::SupportedDeviceEntry slot = Slot(2, *mouseSim_);
        slot.kind = static_cast<uint16_t>(kind);
        EXPECT_TRUE(mouse_->OpenCommandChannel(slot));
        mouseSim_->Log().Clear();
        mouse_->OnConnected();
        SettleMouse();
        return *mouse_;
    }
    void SettleMouse() {
        if (!test_support::RunUntilIdle({&loop_}, [&] { return mouse_->OperationsIdle(); }))
            ADD_FAILURE() << "the mouse did not settle";
    }
    int WriteSettings() {
        int result = -999;
        mouse_->WriteSettings(0, 0, [&](const model::Completion<int>& c) { result = c.value; });
        SettleMouse();
        return result;
    }
    std::vector<uint8_t> SettingsWritten() {
        const auto writes = RequestsOf(*mouseSim_, 6);
        std::vector<uint8_t> block;
        for (const auto& w : writes) block.insert(block.end(), w.begin() + 8, w.begin() + 8 + w[4]);
        return block;
    }
    model::ApplyOutcome ApplyKeys() {
        model::ApplyOutcome outcome;
        mouse_->ApplyKeys(
            [&](const model::Completion<model::ApplyOutcome>& c) { outcome = c.value; });
        SettleMouse();
        return outcome;
    }
    int WriteRecoil() {
        int result = -999;
        mouse_->WriteRecoilPatterns([&](const model::Completion<int>& c) { result = c.value; });
        SettleMouse();
        return result;
    }

    std::shared_ptr<sim::SimDevice> mouseSim_;
    std::unique_ptr<model::CLumitrekMouseDevice> mouse_;
};

TEST_F(MouseDevice, ConnectingReadsTheTablesAndFindsEachPositionByItsFactoryEntry) {
    model::CLumitrekMouseDevice& mouse = Connect();
    EXPECT_EQ(Commands(*mouseSim_), (std::vector<int>{1, 3, 7, 2}));
    EXPECT_TRUE(mouse.TablesRead());
    // The sim wires back/forward and DPI down/up the other way round and has two empty slots.
    const std::vector<int> expected = {0, 1, 2, 4, 3, 6, 5, 7, 9, 10};
    for (int p = 0; p < 10; ++p) EXPECT_EQ(mouse.GetPositionMaps().slot[p], expected[p]) << p;
    EXPECT_EQ(mouse.GetPositionMaps().slot[10], model::PositionMaps::kNotPresent);
    EXPECT_EQ(mouse.Controls().DpiStep(), 50);
    EXPECT_EQ(mouse.Controls().DpiSteps(), 200);
    EXPECT_EQ(mouse.Controls().SmallestDpi(), 100);
    EXPECT_EQ(mouse.GetDpiStages().size(), 5u);
    EXPECT_EQ(mouse.GetSystemWords()[2] >> 16, 3u);
}

TEST_F(MouseDevice, ARemappedKeyKeepsItsSlotWhenTheMouseAnswersWithWhatItWasWritten) {
    model::CLumitrekMouseDevice& mouse = Connect();
    auto keys = mouse.GetKeyList();
    keys[3].current = KeyAssignment::FromPacked(3, 0x130300);  // forward plays DPI cycle
    mouse.SetKeyList(keys);
    ASSERT_EQ(ApplyKeys().keys, model::ApplyOutcome::Keys::Written);
    mouseSim_->SetKeyTableReadback(sim::KeyTableReadback::Written);
    mouse.CloseCommandChannel();
    ASSERT_TRUE(mouse.OpenCommandChannel(Slot(2, *mouseSim_)));
    mouse.OnConnected();
    SettleMouse();
    // Forward's factory entry is nowhere now, and DPI cycle is on two slots, forward's
    // slot 4 first: still forward keeps slot 4 and DPI cycle its slot 7, so that the user
    // can give forward its function back.
    EXPECT_EQ(mouse.GetPositionMaps().slot[3], 4);
    EXPECT_EQ(mouse.GetPositionMaps().slot[7], 7);
    keys[3].current = keys[3].defaults;
    mouse.SetKeyList(keys);
    ASSERT_EQ(ApplyKeys().keys, model::ApplyOutcome::Keys::Written);
    const auto table = Memory(*mouseSim_, &sim::Firmware::KeyTable);
    EXPECT_EQ((std::vector<uint8_t>(table.begin() + 12, table.begin() + 15)),
              (std::vector<uint8_t>{0x10, 0x10, 0x00}));
}

TEST_F(MouseDevice, TheSettingsBlockCarriesLightingStagesReportRateScreenAndCorrection) {
    model::CLumitrekMouseDevice& mouse = Connect();
    mouse.SetScreenSize(2560, 1440);
    mouseSim_->Log().Clear();
    ASSERT_EQ(WriteSettings(), device::kResultSuccess);
    EXPECT_EQ(Commands(*mouseSim_), (std::vector<int>{1, 6, 6, 2}));
    const std::vector<uint8_t> b = SettingsWritten();
    ASSERT_EQ(b.size(), 66u);
    EXPECT_EQ(b[1], 0);  // mode 12, a light program, goes out as 0
    EXPECT_EQ(b[2], 3);
    EXPECT_EQ(b[3], 1);  // kind 2: the speed as it is
    EXPECT_EQ(b[4], 1);
    EXPECT_EQ((std::vector<uint8_t>{b[6], b[7], b[8]}), (std::vector<uint8_t>{200, 100, 50}));
    EXPECT_EQ(b[11], 3);  // report-rate step
    EXPECT_EQ(b[12], 1);  // current DPI stage
    // Stage 2: enabled, one resolution, 64 steps both ways, colour 20, 0, 255.
    EXPECT_EQ((std::vector<uint8_t>(b.begin() + 32, b.begin() + 41)),
              (std::vector<uint8_t>{1, 0, 64, 0, 64, 0, 20, 0, 255}));
    EXPECT_EQ(b[14 + 36], 0);  // stage 4 switched off
    EXPECT_EQ(b[59], 1);
    EXPECT_EQ((std::vector<uint8_t>{b[60], b[61], b[62], b[63]}),
              (std::vector<uint8_t>{0x00, 0x0A, 0xA0, 0x05}));
    EXPECT_EQ(b[64], 9);
    EXPECT_EQ(b[65], 4);
    EXPECT_EQ(RequestsOf(*mouseSim_, 6)[0][5], 0);  // profile index 0 at offset 0
}

TEST_F(MouseDevice, WithNoSizeGivenTheSettingsBlockCarriesTheDesktopsScreen) {
    Connect();
    const ui::Rect before = ui::CWindowWnd::GetScreenRect();
    ui::CWindowWnd::SetScreenRect(ui::Rect{0, 0, 3440, 1440});
    mouseSim_->Log().Clear();
    const int result = WriteSettings();
    ui::CWindowWnd::SetScreenRect(before);
    ASSERT_EQ(result, device::kResultSuccess);
    const std::vector<uint8_t> b = SettingsWritten();
    ASSERT_EQ(b.size(), 66u);
    EXPECT_EQ((std::vector<uint8_t>{b[60], b[61], b[62], b[63]}),
              (std::vector<uint8_t>{0x70, 0x0D, 0xA0, 0x05}));
}

TEST_F(MouseDevice, ASyncReadTakesLightingAndActiveStageButNotDirectionOrStages) {
    model::CLumitrekMouseDevice& mouse = Connect();
    const auto stages = mouse.GetDpiStages();
    // The user switches mode, speed and DPI stage on the mouse itself.
    const uint8_t changed[] = {4, 2, 1, 0};  // mode 4, brightness 2, speed 1, direction 0
    ASSERT_TRUE(mouseSim_->ChangeSettingsOnDevice(1, changed));
    const uint8_t stage[] = {3};
    ASSERT_TRUE(mouseSim_->ChangeSettingsOnDevice(12, stage));
    const uint8_t otherX[] = {99};
    ASSERT_TRUE(mouseSim_->ChangeSettingsOnDevice(16, otherX));
    mouse.OnSyncRequest();
    SettleMouse();
    const LightSetting light = mouse.GetCurrentLightSetting();
    EXPECT_EQ(light.mode, 4);
    EXPECT_EQ(light.brightness, 2);
    EXPECT_EQ(light.speed, 1);      // a kind-2 mouse keeps the speed as it was sent
    EXPECT_EQ(light.direction, 1);  // the profile's, not the block's
    EXPECT_EQ(mouse.GetActiveDpiStage(), 3);
    EXPECT_EQ(mouse.Settings().Copy()[9], 0);
    EXPECT_EQ(mouse.Profile().GetDpiStages(), stages);
    // With the mouse gone, a read changes nothing.
    const auto copy = mouse.Settings().Copy();
    mouse.CloseCommandChannel();
    mouse.OnSyncRequest();
    SettleMouse();
    EXPECT_EQ(mouse.Settings().Copy(), copy);
}

TEST_F(MouseDevice, BehindAReceiverEveryCommandAsksForTheLinkAndTheSpeedIsSentInverted) {
    model::CLumitrekMouseDevice& mouse = Connect(device::kKindMouseLongWait);
    EXPECT_TRUE(mouse.Channel().LongTimeLimit());
    EXPECT_EQ(Commands(*mouseSim_), (std::vector<int>{170, 1, 170, 3, 170, 7, 170, 2}));
    mouseSim_->Log().Clear();
    ASSERT_EQ(WriteSettings(), device::kResultSuccess);
    EXPECT_EQ(Commands(*mouseSim_), (std::vector<int>{170, 1, 170, 6, 6, 170, 2}));
    EXPECT_EQ(SettingsWritten()[3], 3);  // 4 - speed 1

    // The receiver loses the mouse: one query, then nothing, and the write reports it.
    mouseSim_->SetLinkUp(false);
    mouseSim_->Log().Clear();
    EXPECT_EQ(WriteSettings(), device::kResultNoReply);
    EXPECT_EQ(ApplyKeys().keys, model::ApplyOutcome::Keys::NotConnected);
    EXPECT_EQ(WriteRecoil(), device::kResultNoReply);
    EXPECT_EQ(Commands(*mouseSim_), (std::vector<int>{170, 170, 170}));
}

TEST_F(MouseDevice, NoKeyTableGoesOutOverATableThisConnectionCouldNotRead) {
    model::CLumitrekMouseDevice& mouse = Connect();
    mouse.CloseCommandChannel();
    // The next connection's table read fails: the keys then wait for a table.
    mouseSim_->Faults().Arm({sim::Fault::Kind::StatusFE, 7, 0, 100, 0});
    ASSERT_TRUE(mouse.OpenCommandChannel(Slot(2, *mouseSim_)));
    mouse.OnConnected();
    SettleMouse();
    EXPECT_FALSE(mouse.TablesRead());
    mouseSim_->Log().Clear();
    EXPECT_EQ(ApplyKeys().keys, model::ApplyOutcome::Keys::TableUnknown);
    EXPECT_TRUE(RequestsOf(*mouseSim_, 9).empty());
    EXPECT_TRUE(RequestsOf(*mouseSim_, 21).empty());

    // Once the mouse answers, the table is read again first, then written whole.
    mouseSim_->Faults().Clear();
    auto keys = mouse.GetKeyList();
    keys[4].current = KeyAssignment::FromPacked(4, 0x130300);  // back plays DPI cycle
    mouse.SetKeyList(keys);
    mouseSim_->Log().Clear();
    EXPECT_EQ(ApplyKeys().keys, model::ApplyOutcome::Keys::Written);
    EXPECT_EQ(RequestsOf(*mouseSim_, 7).size(), 1u);
    const auto table = Memory(*mouseSim_, &sim::Firmware::KeyTable);
    EXPECT_EQ((std::vector<uint8_t>(table.begin() + 9, table.begin() + 12)),
              (std::vector<uint8_t>{0x13, 0x03, 0x00}));  // slot 3 is back's
}

TEST_F(MouseDevice, TheRecoilImageIsThePatternsAndAHostileFileStopsIt) {
    model::CLumitrekMouseDevice& mouse = Connect();
    const fs::path folder = mouse.GetUserFolder();
    JsonDataFile files;
    Json::Value pattern;
    for (int b = 0; b < ShootFile::kShots; ++b)
        for (const MacroEvent& e : ShootFile::EventsOf({true, 2, false, 7, 80})) {
            Json::Value element;
            element["Type"] = e.type;
            element["Button"] = e.button;
            element["Action"] = e.down ? "down" : "up";
            element["Delay"] = e.delay;
            pattern["Events"].append(element);
        }
    ASSERT_TRUE(files.WriteJsonFile(ShootFile::PathOf(folder, 0), pattern));
    ASSERT_TRUE(files.WriteJsonFile(ShootFile::PathOf(folder, 2), pattern));
    mouseSim_->Log().Clear();
    ASSERT_EQ(WriteRecoil(), device::kResultSuccess);
    EXPECT_EQ(Commands(*mouseSim_).front(), 3);
    const auto recoil = Memory(*mouseSim_, &sim::Firmware::Recoil);
    // Header: magic, length 16 + 8 + 16 + 4 x 360 = 1480, four records at 24, 748, 752, 1476.
    EXPECT_EQ((std::vector<uint8_t>(recoil.begin(), recoil.begin() + 6)),
              (std::vector<uint8_t>{0xAA, 0x55, 0xC8, 0x05, 4, 0}));
    EXPECT_EQ((std::vector<uint8_t>(recoil.begin() + 16, recoil.begin() + 24)),
              (std::vector<uint8_t>{24, 0, 0xEC, 2, 0xF0, 2, 0xC4, 5}));
    EXPECT_EQ((std::vector<uint8_t>(recoil.begin() + 24, recoil.begin() + 36)),
              (std::vector<uint8_t>{180, 0, 0, 0, 10, 0, 0x81, 1, 0, 0, 1, 1}));
    EXPECT_EQ(recoil[748], 0);  // slot 1 has no file: no events
    EXPECT_EQ(recoil[752], 180);

    // A pattern of 181 events (or any file that is no pattern) sends nothing at all.
    pattern["Events"].append(pattern["Events"][0]);
    ASSERT_TRUE(files.WriteJsonFile(ShootFile::PathOf(folder, 3), pattern));
    mouseSim_->Log().Clear();
    EXPECT_EQ(WriteRecoil(), model::CLumitrekMouseDevice::kRecoilRefused);
    EXPECT_TRUE(RequestsOf(*mouseSim_, 23).empty());
    EXPECT_TRUE(RequestsOf(*mouseSim_, 1).empty());
}

TEST(MouseSettingsBlock, SpeedDirectionsAndRangesOfTheBlock) {
    MouseSettingsBlock::Source source;
    source.light.mode = 9;
    source.light.speed = 7;  // no level the mouse knows: the fastest it does
    EXPECT_EQ(MouseSettingsBlock::Encode(source)[1], 0);
    EXPECT_EQ(MouseSettingsBlock::Encode(source)[3], 4);
    source.invertSpeed = true;
    EXPECT_EQ(MouseSettingsBlock::Encode(source)[3], 0);
    source.light.mode = 8;
    EXPECT_EQ(MouseSettingsBlock::Encode(source)[1], 8);
    // Only the first selected correction goes out; none selected sends zeros.
    source.corrections = {{1, 2, 0, "a"}, {3, 4, 1, "b"}, {5, 6, 1, "c"}};
    EXPECT_EQ(MouseSettingsBlock::Encode(source)[64], 4);
    EXPECT_EQ(MouseSettingsBlock::Encode(source)[65], 3);
    source.corrections[1].selection = source.corrections[2].selection = 0;
    EXPECT_EQ(MouseSettingsBlock::Encode(source)[64], 0);
    // Stages beyond five are not the block's.
    source.stages.assign(7, DpiStage{1, 1, 0x1234, 0x5678, 1, 2, 3});
    const auto bytes = MouseSettingsBlock::Encode(source);
    EXPECT_EQ(bytes[14 + 9 * 4 + 2], 0x34);
    EXPECT_EQ(bytes[14 + 9 * 4 + 5], 0x56);
    EXPECT_EQ(bytes[59], 1);

    // Read back from a mouse of kind 6: 4 - value, and a value no speed gives reads as the
    // slowest.
    MouseSettingsBlock block;
    MouseSettingsBlock::ReadBytes read{};
    read[3] = 1;
    read[9] = 0x77;
    block.TakeRead(2, read);
    EXPECT_EQ(block.LightOver({}, true).speed, 3);
    EXPECT_EQ(block.Copy()[0], 2);
    EXPECT_EQ(block.Copy()[9], 0);
    read[3] = 200;
    block.TakeRead(0, read);
    EXPECT_EQ(block.LightOver({}, true).speed, 0);
}

TEST(MouseSettingsBlockRead, TheSpeedReadsBackTheWayItWasWritten) {
    // Written as it is to a mouse of kind 2 and as 4 - speed to one of kind 6: a read after
    // the mouse's own change must give the user's speed back either way.
    for (const bool invert : {false, true}) {
        LightSetting light;
        light.mode = 2;
        light.speed = 1;
        model::MouseSettingsBlock::Source source;
        source.light = light;
        source.invertSpeed = invert;
        const auto written = model::MouseSettingsBlock::Encode(source);
        std::array<uint8_t, model::MouseSettingsBlock::kReadSize> read{};
        std::copy(written.begin(), written.end(), read.begin());
        model::MouseSettingsBlock block;
        block.TakeRead(0, read);
        EXPECT_EQ(block.LightOver(LightSetting{}, invert).speed, 1) << invert;
        // A byte no speed ever becomes reads as the slowest.
        read[3] = 9;
        block.TakeRead(0, read);
        EXPECT_EQ(block.LightOver(LightSetting{}, invert).speed, 0) << invert;
    }
}

}  // namespace
}  // namespace modeltest
