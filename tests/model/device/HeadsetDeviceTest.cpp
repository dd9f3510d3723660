// SPDX-License-Identifier: GPL-3.0-or-later
// The headset against the simulated headset and the stand-in audio library: the LED
// reports of the preview, its profile and reset, and the audio bridge's time limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/RunUntilIdle.h"
#include "DeviceBench.h"
#include "model/audio/AudioBridge.h"
#include "model/audio/HeadsetAudio.h"
#include "model/device/CLumitrekZO6533Device.h"
#include "model/device/HeadsetLedReports.h"
#include "model/device/IPowerIndicator.h"
#include "ui/CControlUI.h"
#include "ui/IMessageTarget.h"

namespace modeltest {
namespace {

using model::HeadsetLedReports;

TEST(HeadsetLedReports, ScaleByTheLevelAndStayBelow248InTheirOrder) {
    std::array<uint32_t, HeadsetLedReports::kLeds> leds{};
    leds[0] = 255u | 128u << 8 | 0u << 16 | 255u << 24;   // (255, 128, 0) at 255
    leds[7] = 100u | 200u << 8 | 50u << 16 | 128u << 24;  // at half level
    leds[12] = 255u | 255u << 8 | 255u << 16 | 0u << 24;  // level 0: dark
    const HeadsetLedReports::Frame frame = HeadsetLedReports::Make(leds);
    const uint8_t headers[12][3] = {{0x22, 0xAA}, {0x22, 0xAD}, {0x44, 0xAA}, {0x44, 0xAD},
                                    {0x22, 0xAB}, {0x22, 0xAE}, {0x44, 0xAB}, {0x44, 0xAE},
                                    {0x22, 0xAC}, {0x22, 0xAF}, {0x44, 0xAC}, {0x44, 0xAF}};
    for (int r = 0; r < 12; ++r) {
        EXPECT_EQ(frame[r][0], 0xFF);
        EXPECT_EQ(frame[r][1], headers[r][0]) << r;
        EXPECT_EQ(frame[r][2], headers[r][1]) << r;
        EXPECT_EQ(frame[r][3], 0);
        for (int b = 11; b < 17; ++b) EXPECT_EQ(frame[r][b], 0) << r;
    }
    // LED 0 in the low reports of red, green and blue; LED 7 first in the high ones.
    EXPECT_EQ(frame[0][4], 247);
    EXPECT_EQ(frame[4][4], 127);
    EXPECT_EQ(frame[8][4], 0);
    EXPECT_EQ(frame[2][4], 247);  // the same to the second target
    EXPECT_EQ(frame[1][4], 50);
    EXPECT_EQ(frame[5][4], 100);
    EXPECT_EQ(frame[9][4], 25);
    EXPECT_EQ(frame[1][9], 0);   // LED 12 at level 0
    EXPECT_EQ(frame[1][10], 0);  // no LED 13
}

class HeadsetDevice : public DeviceBench {
protected:
    void SetUp() override {
        DeviceBench::SetUp();
        WriteDefault("HD", HeadsetSection());
        headsetSim_ = std::make_shared<sim::SimDevice>(sim::HeadsetDefinition());
        ASSERT_TRUE(headsetSim_->Plug(bus_));
    }
    void TearDown() override {
        headset_.reset();
        DeviceBench::TearDown();
    }
    static Json::Value HeadsetSection() {
        Json::Value section = PadSection();
        Json::Value& stages = section["SystemSetStages"];
        for (const char* name : {"MagicEnable", "MagicType", "CustomEqSeletIndex", "MicInSelect",
                                 "MicMoniterSelect", "MicMoniterValue"})
            stages[name] = 0;
        stages["EqType"] = 2;
        stages["MicInValue"] = 80;
        return section;
    }
    // A headset whose audio library is not there (the bridge stays unavailable).
    model::CLumitrekZO6533Device& Headset() {
        if (!headset_) {
            auto bridge = std::make_shared<model::AudioBridge>(root_ / "no-such-library.so");
            headset_ = std::make_unique<model::CLumitrekZO6533Device>(bus_.Backend(), bridge);
            headset_->SetLedCount(HeadsetLedReports::kLeds);
            headset_->SetLightListName("vexal_light");
            headset_->SetProfileFileName(kProfileUuid);
        }
        return *headset_;
    }
    model::CLumitrekZO6533Device& Connect() {
        device::SupportedDeviceEntry slot = device::SupportedInterfaceTable()[6];
        slot.vendorId = sim::kSimHeadsetVendor;
        slot.productId = sim::kSimHeadsetProduct;
        slot.path = bus_.PathsOf(*headsetSim_).at(0);
        slot.connected = 1;
        EXPECT_TRUE(Headset().OpenCommandChannel(slot));
        return *headset_;
    }
    void SettleHeadset() {
        if (!test_support::RunUntilIdle({&loop_}, [&] { return headset_->OperationsIdle(); }))
            ADD_FAILURE() << "the headset's work did not settle";
    }
    fs::path HeadsetProfileFile() const {
        return UserFolder("HD") / (std::string(kProfileUuid) + ".Json");
    }

    std::shared_ptr<sim::SimDevice> headsetSim_;
    std::unique_ptr<model::CLumitrekZO6533Device> headset_;
};

TEST_F(HeadsetDevice, EveryPreviewFrameReachesTheHeadsetAsTwelveReports) {
    model::CLumitrekZO6533Device& headset = Connect();
    EXPECT_TRUE(headset.HostDrivesLeds());
    for (int led = 0; led < HeadsetLedReports::kLeds; ++led)
        headset.SetLedColour(led, 255u | 128u << 8 | 255u << 24);
    headset.RefreshKeyPreview();
    SettleHeadset();
    const auto reports = headsetSim_->TakeLedReports();
    ASSERT_EQ(reports.size(), 12u);
    EXPECT_EQ(reports[0][2], 0xAA);
    EXPECT_EQ(reports[0][4], 247);
    EXPECT_EQ(reports[4][4], 127);
    EXPECT_EQ(reports[8][4], 0);
    EXPECT_EQ(reports[11][2], 0xAF);

    // With the preview switched off nothing is sent; nor while the headset is away.
    headset.SetPreviewEnabled(false);
    headset.RefreshKeyPreview();
    headset.SetPreviewEnabled(true);
    headset.CloseCommandChannel();
    headset.RefreshKeyPreview();
    SettleHeadset();
    EXPECT_TRUE(headsetSim_->TakeLedReports().empty());
}

TEST_F(HeadsetDevice, LoadsItsSettingsAndResetKeepsTheUsersPresets) {
    model::CLumitrekZO6533Device& headset = Headset();
    headset.LoadProfile();
    EXPECT_EQ(headset.HeadsetSettings().eqType, 2);
    EXPECT_EQ(headset.HeadsetSettings().micInValue, 80);
    EXPECT_EQ(headset.Bands(), std::vector<int32_t>(10, 0));  // the default has no bands

    CZo6533Profiledata& profile = headset.HeadsetProfile();
    profile.SetCustomEqNames({"Mine", "Yours"});
    profile.SetCustomEqBands(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    profile.SetSystemSetStages({1, 3, 13, 1, 1, 55, 1, 60});
    headset.SaveProfile();
    headset.LoadProfile();
    EXPECT_EQ(headset.Bands(), (std::vector<int32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(headset.UserPresetNames(), (std::vector<std::string>{"Mine", "Yours"}));

    headset.ResetToDefaults();
    EXPECT_EQ(headset.HeadsetSettings().eqType, 2);
    EXPECT_EQ(headset.HeadsetSettings().micInValue, 80);
    const Json::Value file = ReadJson(HeadsetProfileFile());
    const Json::Value& section = file["Device"][0];
    ASSERT_EQ(section["CustomEQNameInfo"].size(), 2u);
    EXPECT_EQ(section["CustomEQNameInfo"][1]["Name"], "Yours");
    EXPECT_EQ(section["CustomEQHzValueInfo"][1][9]["value"], 10);
    EXPECT_EQ(section["SystemSetStages"]["MicInValue"], 80);
}

TEST_F(HeadsetDevice, WithoutItsLibraryThePanelsKeepTheProfilesValues) {
    model::CLumitrekZO6533Device& headset = Headset();
    headset.LoadProfile();
    headset.BindKeyButtons();  // no page: no audio start-up either
    headset.SetMicLevel();     // no panel, no library: nothing changes
    for (int i = 0; i < 50; ++i) loop_.RunPending();
    EXPECT_TRUE(headset.AudioIdle());
    EXPECT_EQ(headset.HeadsetSettings().micInValue, 80);
}

// The owner window's messages, and the power reports the device list would show.
class Owner : public ui::IMessageTarget {
public:
    std::intptr_t HandleLoopMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t) override {
        messages.emplace_back(msg, wParam);
        return 0;
    }
    std::vector<std::pair<unsigned, std::uintptr_t>> messages;
};

class PowerShown : public ui::CControlUI, public model::IPowerIndicator {
public:
    void* GetInterface(std::string_view name) override {
        if (name == kInterfaceName) return static_cast<model::IPowerIndicator*>(this);
        return ui::CControlUI::GetInterface(name);
    }
    void SetPowerParameter(int) override {}
    void ShowPowerReport(std::span<const uint8_t> report) override {
        reports.emplace_back(report.begin(), report.end());
    }
    std::vector<std::vector<uint8_t>> reports;
};

TEST_F(HeadsetDevice, TheOwnerHearsTheActiveIndexAlsoWhenTheHeadsetIsAway) {
    Owner owner;
    const ui::WindowHandle window = loop_.AddTarget(&owner);
    Headset().SetOwnerWindow(window);
    Headset().OnSyncRequest();  // never read: index 0
    SettleHeadset();
    headsetSim_->SwitchProfileOnDevice(2);
    model::CLumitrekZO6533Device& headset = Connect();
    headset.OnSyncRequest();
    SettleHeadset();
    headset.CloseCommandChannel();
    headsetSim_->SwitchProfileOnDevice(3);  // not seen: the last known index stays
    headset.OnSyncRequest();
    SettleHeadset();
    const std::vector<std::pair<unsigned, std::uintptr_t>> expected = {
        {0xD00, 0}, {0xD00, 2}, {0xD00, 2}};
    EXPECT_EQ(owner.messages, expected);
    EXPECT_EQ(static_cast<model::CLumitrekMousePadDevice&>(headset).Settings().Copy()[0], 2);
    loop_.RemoveTarget(window);
}

TEST_F(HeadsetDevice, ThePowerPollsWirelessFlagIsTheChannelsLongTimeLimit) {
    // A headset whose own status block claims a wireless link and 55 in byte 4.
    ASSERT_TRUE(headsetSim_->Unplug());
    sim::SimDeviceDefinition def = sim::HeadsetDefinition();
    def.statusBlock = {0x01, 0x50, 0x00, 0x01, 0x37, 0x00};
    headsetSim_ = std::make_shared<sim::SimDevice>(def);
    ASSERT_TRUE(headsetSim_->Plug(bus_));
    Owner owner;
    PowerShown power;
    const ui::WindowHandle window = loop_.AddTarget(&owner);
    Headset().SetOwnerWindow(window);
    Headset().SetPowerIndicator(&power);
    model::CLumitrekZO6533Device& headset = Connect();
    headset.PollPowerStatus();
    SettleHeadset();
    headset.Channel().SetLongTimeLimit(true);
    headset.PollPowerStatus();
    SettleHeadset();
    headset.CloseCommandChannel();
    headset.PollPowerStatus();  // nothing to read
    SettleHeadset();
    const std::vector<std::vector<uint8_t>> expected = {{0x01, 0x50, 0x00, 0x00, 0x37, 0x00},
                                                        {0x01, 0x50, 0x00, 0x01, 0x37, 0x00}};
    EXPECT_EQ(power.reports, expected);
    const std::vector<std::pair<unsigned, std::uintptr_t>> messages = {{0xD01, 0x37},
                                                                       {0xD01, 0x37}};
    EXPECT_EQ(owner.messages, messages);
    headset.SetPowerIndicator(nullptr);
    loop_.RemoveTarget(window);
}

// ---- the bridge's time limit, against the stand-in library

class Bridge : public ::testing::Test {
protected:
    void SetUp() override {
        data_ = fs::temp_directory_path() / ("bridge-" + std::to_string(::getpid()) + ".txt");
        std::ofstream(data_)
            << "device capture 2 1\nhang capture Stuck 1500\nvalue capture Quick 7\n";
        ::setenv("TX512_CONFLIB_DATA", data_.c_str(), 1);
        ::unsetenv("TX512_CONFLIB_RECORD");
    }
    void TearDown() override {
        ::unsetenv("TX512_CONFLIB_DATA");
        fs::remove(data_);
    }
    // Reads `property` on the first capture device, completing into `out`.
    static void Read(model::AudioBridge& bridge, ui::CMessageLoop& loop, const char* property,
                     std::optional<std::pair<double, bool>>& out) {
        bridge.Run<double>(
            &loop,
            [property](model::AudioBridge::Session& s) {
                s.library.Init();
                const auto record = s.library.DeviceById(device::audio::kFlowCapture, 0);
                const auto value = record ? s.library.ReadNumber(*record, property) : std::nullopt;
                return value.value_or(-1.0);
            },
            [&out](const double& value, bool ran) {
                out = {value, ran};
            });
    }
    fs::path data_;
    ui::CMessageLoop loop_;
};

TEST_F(Bridge, AMissingLibraryRunsNothing) {
    model::AudioBridge bridge(fs::temp_directory_path() / "no-such-conflib.so");
    std::optional<std::pair<double, bool>> got;
    Read(bridge, loop_, "Quick", got);
    ASSERT_TRUE(test_support::Eventually([&] {
        loop_.RunPending();
        return got.has_value();
    }));
    EXPECT_FALSE(got->second);
    EXPECT_FALSE(bridge.Available());
}

TEST_F(Bridge, ACallPastTheLimitStopsTheLibraryBeingCalledAndTheEndIsBounded) {
    std::optional<std::pair<double, bool>> quick, stuck, after;
    const auto start = std::chrono::steady_clock::now();
    {
        model::AudioBridge bridge(TX512_STANDIN_CONFLIB, 200);
        Read(bridge, loop_, "Quick", quick);
        Read(bridge, loop_, "Stuck", stuck);
        ASSERT_TRUE(test_support::Eventually([&] { return bridge.Hung(); }));
        Read(bridge, loop_, "Quick", after);
        loop_.RunPending();
        ASSERT_TRUE(after);  // answered at once, without waiting for the stuck call
        EXPECT_FALSE(after->second);
    }
    // The stuck call is left to finish on its own; the bridge did not wait for it.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1450));
    loop_.RunPending();
    ASSERT_TRUE(quick);
    EXPECT_TRUE(quick->second);
    EXPECT_EQ(quick->first, 7.0);
    EXPECT_FALSE(stuck);  // its completion is dropped with the bridge
}

TEST_F(Bridge, AHungCallAtStartUpIsTheLastCallTheLibraryGets) {
    // The first read of the start-up sequence hangs: nothing after it may be called, in
    // the same job or a later one.
    std::ofstream(data_) << "device playback 1 1\ndevice capture 2 1\n"
                         << "value playback GetSupportFeature 0,0,0,0,1,0,1\n"
                         << "hang capture GetSupportFeature 600\n";
    const fs::path record = data_.string() + ".record";
    fs::remove(record);
    ::setenv("TX512_CONFLIB_RECORD", record.c_str(), 1);
    std::optional<bool> startRan, laterRan;
    const auto start = std::chrono::steady_clock::now();
    {
        model::AudioBridge bridge(TX512_STANDIN_CONFLIB, 200);
        bridge.Run<model::headset_audio::StartUp>(
            &loop_,
            [](model::AudioBridge::Session& s) { return model::headset_audio::Initialise(s); },
            [&](const model::headset_audio::StartUp&, bool ran) { startRan = ran; });
        for (int i = 0; i < 3000 && !startRan; ++i) {
            loop_.RunPending();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(startRan) << "the start-up job completes once the hung call returns";
        EXPECT_FALSE(*startRan) << "what it gathered stopped short";
        EXPECT_TRUE(bridge.Hung());
        bridge.Run<model::headset_audio::AudioState>(
            &loop_,
            [](model::AudioBridge::Session& s) { return model::headset_audio::ReadAudioState(s); },
            [&](const model::headset_audio::AudioState&, bool ran) { laterRan = ran; });
        loop_.RunPending();
        ASSERT_TRUE(laterRan);
        EXPECT_FALSE(*laterRan);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    ::unsetenv("TX512_CONFLIB_RECORD");
    std::ifstream in(record);
    std::vector<std::string> calls;
    // The stuck call an earlier case left behind may still end into this record.
    for (std::string line; std::getline(in, line);)
        if (line.find("Stuck") == std::string::npos) calls.push_back(line);
    fs::remove(record);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().rfind("PropertyControl capture read GetSupportFeature", 0), 0u)
        << "calls after the hung one: " << calls.back();
    EXPECT_EQ(
        std::count_if(calls.begin(), calls.end(),
                      [](const std::string& c) { return c.rfind("PropertyControl", 0) == 0; }),
        1)
        << ::testing::PrintToString(calls);
}

}  // namespace
}  // namespace modeltest
