// SPDX-License-Identifier: GPL-3.0-or-later
// The headset seen from outside: the simulated headset on the bus, the stand-in audio
// library beside the program. What each panel operation asks of the library is read back
// from the library's own record of its calls, and what reaches the headset's LEDs from
// the reports the simulated headset received.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

// The headset's tables are read half a second after it arrives, its audio at once.
// Long enough for the audio thread to finish a few calls.
constexpr int kAudioMs = 300;

class HeadsetJourney : public ::testing::Test {
protected:
    void SetUp() override {
        // The program keeps its own record in its runtime folder unless told otherwise.
        ::unsetenv("TX512_CONFLIB_RECORD");
        ::unsetenv("TX512_CONFLIB_DATA");
    }
    void TearDown() override { ::unsetenv("TX512_CONFLIB_DATA"); }

    static Json::Value Int(const char* member, int n) {
        Json::Value extra(Json::objectValue);
        extra[member] = n;
        return extra;
    }
    static Json::Value Selected(bool on) {
        Json::Value extra(Json::objectValue);
        extra["selected"] = on;
        return extra;
    }
    static Json::Value Text(const std::string& text) {
        Json::Value extra(Json::objectValue);
        extra["text"] = text;
        return extra;
    }
    // The library's calls since the last look, with the start-up's passed over first.
    static std::vector<std::string> Calls(Script& script) {
        std::vector<std::string> calls;
        const Json::Value answer = script.Sim("headset", "audiocalls");
        for (const Json::Value& call : answer["calls"]) calls.push_back(call.asString());
        return calls;
    }
    // Started, connected, and the voice page on show; the start-up's calls are read.
    void Start(HeadlessProgram& program, Script& script, const char* page = "6533_voice_Op_tab") {
        (void)program;
        script.Wait(kConnectionMs);
        startUp_ = Calls(script);
        script.Notify(page, "selectchanged", Selected(true));
    }

    Sandbox sandbox_;
    std::vector<std::string> startUp_;
};

TEST_F(HeadsetJourney, StartUpFindsTheDevicesAndFillsInMissingDefaults) {
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    Start(program, script);
    ASSERT_GE(startUp_.size(), 9u);
    EXPECT_EQ(startUp_[0], "ConfLibInit -> 0");
    EXPECT_EQ(startUp_[1], "CreateDeviceList -> 0");
    // Playback: the first usable device of type 1; capture: of type 2.
    EXPECT_EQ(startUp_[4], "GetDeviceById playback 0 -> 0 1 1");
    EXPECT_EQ(startUp_[6], "GetDeviceById capture 0 -> 0 2 1");
    // A property the library cannot read is written with 0, with its extra argument.
    const std::vector<std::string> surround = {
        "PropertyControl playback read VirtualSurroundEffectControl extra=4,-1,0 -> 1",
        "PropertyControl playback write VirtualSurroundEffectControl 0 extra=4,-1,0 -> 0"};
    EXPECT_EQ(std::vector<std::string>(startUp_.begin() + 9, startUp_.begin() + 11), surround);
    EXPECT_TRUE(script.Messages().empty());
    EXPECT_EQ(script.Get("device_switch")["cursel"], 3);  // the headset's page
}

TEST_F(HeadsetJourney, MicrophoneAndMonitorLevelsAndSwitches) {
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    Start(program, script);

    script.Notify("6533_MicIn_slider", "valuechanged", Int("value", 37));
    script.Wait(kAudioMs);
    EXPECT_EQ(Calls(script),
              (std::vector<std::string>{
                  "PropertyControl capture write VolumeScalarControl 0.37 extra=-1,0,0 -> 0",
                  "PropertyControl capture read VolumeControl extra=-1,0,0 -> 0 0"}));
    EXPECT_EQ(script.Get("6533_MicIn_slider")["value"], 37);

    script.Notify("6533_MicMoniter_slider", "valuechanged", Int("value", 50));
    script.Wait(kAudioMs);
    EXPECT_EQ(Calls(script),
              (std::vector<std::string>{
                  "PropertyControl capture write AAVolumeScalarControl 0.5 extra=0,0,0 -> 0",
                  "PropertyControl capture read AAVolumeControl extra=1,0,0 -> 0 0"}));

    // The microphone starts unmuted (the library's mute reads 0): the switch mutes it.
    ASSERT_TRUE(script.Get("6533_MicIn_option")["selected"].asBool());
    script.Notify("6533_MicIn_option", "selectchanged", Selected(false));
    script.Wait(kAudioMs);
    EXPECT_EQ(Calls(script),
              std::vector<std::string>{"PropertyControl capture write MuteControl 1 -> 0"});
    script.Notify("6533_MicMoniter_option", "selectchanged", Selected(false));
    script.Wait(kAudioMs);
    EXPECT_EQ(Calls(script),
              std::vector<std::string>{"PropertyControl capture write AAMuteControl 1 -> 0"});
    EXPECT_FALSE(script.Get("6533_MicMoniter_option")["selected"].asBool());
}

TEST_F(HeadsetJourney, EqualiserPresetsBandsAndUserPresets) {
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    Start(program, script);

    script.Notify("6533_eq_option_5", "selectchanged", Selected(true));
    script.Wait(kAudioMs);
    std::vector<std::string> flat = {"PropertyControl playback write Enable_EQ_GFX 1 -> 0"};
    for (int band = 1; band <= 10; ++band)
        flat.push_back("PropertyControl playback write EQ_Slider" + std::to_string(band) +
                       " 0 -> 0");
    EXPECT_EQ(Calls(script), flat);

    script.Notify("6533_eq_option_4", "selectchanged", Selected(true));
    script.Wait(kAudioMs);
    Calls(script);
    EXPECT_EQ(script.Get("6533_eq_hz_slider_5")["value"], -7);
    // Moving a band leaves the preset for the user's own, writing that band alone.
    script.Notify("6533_eq_hz_slider_3", "valuechanged", Int("value", 6));
    script.Wait(kAudioMs);
    EXPECT_EQ(Calls(script),
              std::vector<std::string>{"PropertyControl playback write EQ_Slider4 6 -> 0"});
    EXPECT_TRUE(script.Get("6533_eq_option_13")["selected"].asBool());
    EXPECT_FALSE(script.Get("6533_eq_option_4")["selected"].asBool());
    EXPECT_TRUE(script.Get("custom_eq_option_layout")["visible"].asBool());
    EXPECT_EQ(script.Get("custom_eq_name_combo")["cursel"], -1);

    script.Notify("custom_eq_name_edit", "textchanged", Text("Mine"));
    script.Click("hs_EQ_btn_save");
    const Json::Value items = script.Get("custom_eq_name_combo")["items"];
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0], "Mine");
    EXPECT_EQ(script.Get("custom_eq_name_combo")["cursel"], 0);
    // The same name in other letters is taken.
    script.Notify("custom_eq_name_edit", "textchanged", Text("MINE"));
    script.Click("hs_EQ_btn_save");
    EXPECT_EQ(script.Messages(), std::vector<std::string>{"message_text_5"});
    EXPECT_EQ(script.Get("custom_eq_name_combo")["items"].size(), 1u);

    // Picking the preset writes its bands; nothing of a deletion reaches the library.
    script.Notify("custom_eq_name_combo", "itemselect", Int("index", 0));
    script.Wait(kAudioMs);
    const std::vector<std::string> picked = Calls(script);
    ASSERT_EQ(picked.size(), 11u);
    EXPECT_EQ(picked[4], "PropertyControl playback write EQ_Slider4 6 -> 0");
    script.Click("hs_EQ_btn_delete");
    script.Wait(kAudioMs);
    EXPECT_TRUE(Calls(script).empty());
    EXPECT_EQ(script.Get("custom_eq_name_combo")["items"].size(), 0u);
    EXPECT_TRUE(script.Get("6533_eq_option_1")["selected"].asBool());
    EXPECT_FALSE(script.Get("custom_eq_option_layout")["visible"].asBool());
}

// The headset's profile file as it is now (the only one of the sandbox's "HD" folder).
Json::Value HeadsetSection(const Sandbox& sandbox) {
    const std::filesystem::path folder =
        sandbox.Root() / "data" / "TELIX TX512 keyboard Driver" / "HD";
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".Json") return ReadJsonFile(entry.path())["Device"][0];
    return Json::Value();
}

TEST_F(HeadsetJourney, TheUsersPresetsOutliveAResetAndGoWhenDeleted) {
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    Start(program, script);
    script.Notify("6533_eq_hz_slider_0", "valuechanged", Int("value", 9));
    script.Notify("custom_eq_name_edit", "textchanged", Text("Mine"));
    script.Click("hs_EQ_btn_save");
    script.Notify("6533_MicIn_slider", "valuechanged", Int("value", 12));
    script.Wait(kAudioMs);

    script.Answer(1);
    script.Click("default_btn");
    script.Wait(kAudioMs);
    Json::Value section = HeadsetSection(sandbox_);
    ASSERT_EQ(section["CustomEQNameInfo"].size(), 1u);
    EXPECT_EQ(section["CustomEQNameInfo"][0]["Name"], "Mine");
    EXPECT_EQ(section["CustomEQHzValueInfo"][0][0]["value"], 9);
    EXPECT_NE(section["SystemSetStages"]["MicInValue"], 12);  // the rest is the factory's
    EXPECT_EQ(script.Get("custom_eq_name_combo")["items"].size(), 1u);

    // Deleting the last preset takes its name out of the file too: it does not come back.
    script.Notify("6533_eq_option_13", "selectchanged", Selected(true));
    script.Notify("custom_eq_name_combo", "itemselect", Int("index", 0));
    script.Click("hs_EQ_btn_delete");
    EXPECT_EQ(HeadsetSection(sandbox_)["CustomEQNameInfo"].size(), 0u);
}

TEST_F(HeadsetJourney, WhatTheLibraryRefusesIsNotKept) {
    const std::filesystem::path data = sandbox_.Root() / "conflib.txt";
    std::ofstream(data) << "device playback 1 1\ndevice capture 2 1\n"
                           "value capture MuteControl 0\nvalue capture VolumeScalarControl 0.5\n"
                           "fail capture MuteControl\nfail capture VolumeScalarControl\n";
    ::setenv("TX512_CONFLIB_DATA", data.c_str(), 1);
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    Start(program, script);
    const Json::Value before = HeadsetSection(sandbox_)["SystemSetStages"];

    script.Notify("6533_MicIn_slider", "valuechanged", Int("value", 40));
    script.Wait(kAudioMs);
    // Refused: no read after it, and the level is not kept.
    EXPECT_EQ(Calls(script),
              std::vector<std::string>{
                  "PropertyControl capture write VolumeScalarControl 0.4 extra=-1,0,0 -> 1"});
    // The switch shows what the user did; the profile keeps what the headset has.
    script.Notify("6533_MicIn_option", "selectchanged", Selected(false));
    script.Wait(kAudioMs);
    EXPECT_EQ(Calls(script),
              std::vector<std::string>{"PropertyControl capture write MuteControl 1 -> 1"});
    EXPECT_FALSE(script.Get("6533_MicIn_option")["selected"].asBool());
    const Json::Value after = HeadsetSection(sandbox_)["SystemSetStages"];
    EXPECT_EQ(after["MicInValue"], before["MicInValue"]);
    EXPECT_EQ(after["MicInSelect"], before["MicInSelect"]);
}

TEST_F(HeadsetJourney, TwentyUserPresetsAreTheMost) {
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    Start(program, script);
    script.Notify("6533_eq_hz_slider_0", "valuechanged", Int("value", 1));
    for (int i = 1; i <= 21; ++i) {
        script.Notify("custom_eq_name_edit", "textchanged", Text("P" + std::to_string(i)));
        script.Click("hs_EQ_btn_save");
    }
    const Json::Value items = script.Get("custom_eq_name_combo")["items"];
    ASSERT_EQ(items.size(), 20u);
    EXPECT_EQ(items[19], "P20");
    EXPECT_TRUE(script.Messages().empty());
}

TEST_F(HeadsetJourney, VoiceChanger) {
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    Start(program, script, "magic_Op_tab");
    EXPECT_FALSE(script.Get("magic_option_layout")["visible"].asBool());
    script.Notify("magic_enable_option", "selectchanged", Selected(true));
    script.Wait(kAudioMs);
    EXPECT_EQ(Calls(script),
              (std::vector<std::string>{"PropertyControl capture write Enable_MAGICVOICE 1 -> 0",
                                        "PropertyControl capture write Enable_MICECHO 0 -> 0"}));
    EXPECT_TRUE(script.Get("magic_option_layout")["visible"].asBool());
    script.Notify("magic_option_3", "selectchanged", Selected(true));
    script.Wait(kAudioMs);
    EXPECT_EQ(Calls(script), std::vector<std::string>{
                                 "PropertyControl capture write MagicVoice_Selection 2 -> 0"});
    script.Notify("magic_enable_option", "selectchanged", Selected(false));
    script.Wait(kAudioMs);
    EXPECT_EQ(Calls(script),
              std::vector<std::string>{"PropertyControl capture write Enable_MAGICVOICE 0 -> 0"});
}

TEST_F(HeadsetJourney, TheSurroundSwitchReachesTheLibraryAndOutlivesARestart) {
    const std::string on =
        "PropertyControl playback write VirtualSurroundEffectControl 1 extra=4,-1,0 -> 0";
    {
        HeadlessProgram program(sandbox_, {"--simulate=headset"});
        Script script(program);
        Start(program, script, "Virtual7.1_Op_tab");
        EXPECT_TRUE(script.Get("Virtual7.1_Op_tab")["visible"].asBool());
        EXPECT_TRUE(script.Get("virtual_surround_option")["visible"].asBool());
        EXPECT_FALSE(script.Get("virtual_surround_option")["selected"].asBool());
        script.Notify("virtual_surround_option", "selectchanged", Selected(true));
        script.Wait(kAudioMs);
        EXPECT_EQ(Calls(script), std::vector<std::string>{on});
        EXPECT_EQ(HeadsetSection(sandbox_)["VirtualSurround"], 1);
        EXPECT_EQ(program.Finish(), 0);
    }
    // The next start shows it on and tells the library so, after its start-up default.
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    Start(program, script, "Virtual7.1_Op_tab");
    EXPECT_TRUE(script.Get("virtual_surround_option")["selected"].asBool());
    const auto told = std::find(startUp_.begin(), startUp_.end(), on);
    ASSERT_NE(told, startUp_.end());
    const auto defaulted = std::find(startUp_.begin(), startUp_.end(),
                                     "PropertyControl playback write VirtualSurroundEffectControl "
                                     "0 extra=4,-1,0 -> 0");
    EXPECT_LT(defaulted, told);
    script.Notify("virtual_surround_option", "selectchanged", Selected(false));
    script.Wait(kAudioMs);
    EXPECT_EQ(Calls(script), std::vector<std::string>{"PropertyControl playback write "
                                                      "VirtualSurroundEffectControl 0 "
                                                      "extra=4,-1,0 -> 0"});
    EXPECT_EQ(HeadsetSection(sandbox_)["VirtualSurround"], 0);
}

TEST_F(HeadsetJourney, ASurroundSwitchTheLibraryRefusesOrHangsOnGoesBack) {
    const std::filesystem::path data = sandbox_.Root() / "conflib.txt";
    std::ofstream(data) << "device playback 1 1\ndevice capture 2 1\n"
                           "fail playback VirtualSurroundEffectControl\n";
    ::setenv("TX512_CONFLIB_DATA", data.c_str(), 1);
    {
        HeadlessProgram program(sandbox_, {"--simulate=headset"});
        Script script(program);
        Start(program, script, "Virtual7.1_Op_tab");
        script.Notify("virtual_surround_option", "selectchanged", Selected(true));
        script.Wait(kAudioMs);
        EXPECT_EQ(Calls(script), std::vector<std::string>{"PropertyControl playback write "
                                                          "VirtualSurroundEffectControl 1 "
                                                          "extra=4,-1,0 -> 1"});
        EXPECT_FALSE(script.Get("virtual_surround_option")["selected"].asBool());
        EXPECT_FALSE(HeadsetSection(sandbox_).isMember("VirtualSurround"));
        EXPECT_EQ(program.Finish(), 0);
    }
    std::ofstream(data) << "device playback 1 1\ndevice capture 2 1\n"
                           "hang playback Enable_EQ_GFX 20000\n";
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    Start(program, script, "Virtual7.1_Op_tab");
    script.Wait(3500);  // past the bridge's limit: the library is not called again
    Calls(script);
    script.Notify("virtual_surround_option", "selectchanged", Selected(true));
    script.Wait(kAudioMs);
    EXPECT_TRUE(Calls(script).empty());
    EXPECT_FALSE(script.Get("virtual_surround_option")["selected"].asBool());
    EXPECT_FALSE(HeadsetSection(sandbox_).isMember("VirtualSurround"));
}

// Byte `led` of a report as the preview shows the LED: colour scaled by its level.
int Expected(const Json::Value& light, int channel) {
    const unsigned word = light["color"].asUInt();  // red | blue << 8 | green << 16
    const unsigned shift[3] = {0, 16, 8};
    const unsigned colour = (word >> shift[channel]) & 0xFF;
    const unsigned value = colour * light["alpha"].asUInt() / 256;
    return static_cast<int>(value > 247 ? 247 : value);
}

TEST_F(HeadsetJourney, LedReportsCarryThePreview) {
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    script.Wait(kConnectionMs);
    // A still effect, so that the picture and the reports hold the same frame.
    script.Notify("light_combo_modeSelect", "itemselect", Int("index", 3));
    script.Wait(500);
    const Json::Value first = script.Sim("headset", "ledreports");
    script.Wait(1000);
    const Json::Value taken = script.Sim("headset", "ledreports");
    const Json::Value reports = taken["reports"];
    // One frame of twelve per 50 ms refresh: about 240 a second.
    const auto perSecond = taken["total"].asUInt64() - first["total"].asUInt64();
    EXPECT_GE(perSecond, 12u * 10);
    EXPECT_LE(perSecond, 12u * 22);
    ASSERT_GE(reports.size(), 12u);
    const unsigned last = reports.size() - 12;
    const char* order[12] = {"ff22aa", "ff22ad", "ff44aa", "ff44ad", "ff22ab", "ff22ae",
                             "ff44ab", "ff44ae", "ff22ac", "ff22af", "ff44ac", "ff44af"};
    for (unsigned r = 0; r < 12; ++r) {
        const std::string hex = reports[last + r].asString();
        ASSERT_EQ(hex.size(), 34u);
        EXPECT_EQ(hex.substr(0, 6), order[r]) << r;
        const int channel = static_cast<int>(r / 4);
        const bool high = r % 2 == 1;
        for (int i = 0; i < (high ? 6 : 7); ++i) {
            const int led = (high ? 7 : 0) + i;
            const Json::Value light =
                script.Get("zo6533_device_page/light_" + std::to_string(led))["light"];
            const int byte = std::stoi(hex.substr(8 + 2 * i, 2), nullptr, 16);
            EXPECT_EQ(byte, Expected(light, channel)) << "report " << r << " LED " << led;
        }
    }
}

TEST_F(HeadsetJourney, TheLightControlSwitchStopsAndResumesTheLedReports) {
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    script.Wait(kConnectionMs);
    script.Click("control_light_status");  // another program takes the lights
    script.Wait(200);                       // a frame already on its way may land
    const auto released = script.Sim("headset", "ledreports")["total"].asUInt64();
    script.Wait(500);
    EXPECT_EQ(script.Sim("headset", "ledreports")["total"].asUInt64(), released);
    script.Click("control_light_status");
    script.Wait(500);
    EXPECT_GE(script.Sim("headset", "ledreports")["total"].asUInt64(), released + 12 * 4);
}

TEST_F(HeadsetJourney, TheDeviceCommandNamesTheHeadset) {
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    script.Wait(kConnectionMs);
    Json::Value command(Json::objectValue);
    command["cmd"] = "device";
    command["device"] = "headset";
    command["op"] = "writesettings";
    command["index"] = 2;
    script.Ask(command);
    script.Wait(kAudioMs);
    command["op"] = "status";
    const Json::Value status = script.Ask(command);
    EXPECT_TRUE(status["connected"].asBool());
    EXPECT_EQ(status["finished"].asInt(), 1);
    EXPECT_EQ(status["last"]["result"].asInt(), 1);
}

TEST_F(HeadsetJourney, AMisbehavingLibraryNeitherCrashesNorFreezesTheWindow) {
    const std::filesystem::path data = sandbox_.Root() / "conflib.txt";
    {
        std::ofstream out(data);
        out << "init 5\n"
               "device playback 1 1\n"
               "device capture 2 1\n"
               "count capture 10000\n"
               "value capture GetSupportFeature 1,2\n"
               "value capture MuteControl not a number\n"
               "unterminated capture VolumeScalarControl\n"
               "value capture GetAAMaxVol 100\n"
               "value capture AAVolumeScalarControl 5e300\n"
               "hang capture Enable_MICECHO 20000\n";
    }
    ::setenv("TX512_CONFLIB_DATA", data.c_str(), 1);
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    script.Wait(kConnectionMs);
    // Both of the library's complaints reach the user, as the library words them.
    const std::vector<std::string> boxes = script.Messages();
    EXPECT_EQ(boxes, (std::vector<std::string>{"ConfLibInit called failed!",
                                               "UpdateAPOAvailable failed!"}));
    // Text that is no number, or runs past its buffer, leaves the profile's values.
    script.Notify("6533_voice_Op_tab", "selectchanged", Selected(true));
    const int level = script.Get("6533_MicIn_slider")["value"].asInt();
    EXPECT_TRUE(level >= 0 && level <= 100) << level;
    // Switching the voice changer on gets the library stuck; the window answers all the same.
    script.Notify("magic_Op_tab", "selectchanged", Selected(true));
    script.Notify("magic_enable_option", "selectchanged", Selected(true));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(script.Get("magic_option_layout")["visible"].asBool());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    script.Wait(3500);
    // Past the limit nothing more is asked of the library.
    Calls(script);
    script.Notify("6533_voice_Op_tab", "selectchanged", Selected(true));
    script.Notify("6533_MicIn_slider", "valuechanged", Int("value", 20));
    script.Wait(kAudioMs);
    EXPECT_TRUE(Calls(script).empty());
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(HeadsetJourney, ALibraryThatHangsAtItsFirstReadIsNotCalledAgain) {
    const std::filesystem::path data = sandbox_.Root() / "conflib.txt";
    std::ofstream(data) << "device playback 1 1\ndevice capture 2 1\n"
                           "hang capture GetSupportFeature 4500\n";
    ::setenv("TX512_CONFLIB_DATA", data.c_str(), 1);
    HeadlessProgram program(sandbox_, {"--simulate=headset"});
    Script script(program);
    const auto start = std::chrono::steady_clock::now();
    script.Wait(6000);  // the hung read returns after 4.5 s
    std::vector<std::string> calls = Calls(script);
    const auto properties = [](const std::vector<std::string>& list) {
        return std::count_if(list.begin(), list.end(), [](const std::string& call) {
            return call.rfind("PropertyControl", 0) == 0;
        });
    };
    EXPECT_EQ(properties(calls), 1) << ::testing::PrintToString(calls);
    ASSERT_FALSE(calls.empty());
    EXPECT_NE(calls.back().find("GetSupportFeature"), std::string::npos) << calls.back();
    // Connecting and the panels ask nothing more of it.
    script.Notify("6533_voice_Op_tab", "selectchanged", Selected(true));
    script.Notify("6533_MicIn_slider", "valuechanged", Int("value", 20));
    script.Wait(kAudioMs);
    EXPECT_TRUE(Calls(script).empty());
    std::cout << "[ figures ] audio library hung at its first read: "
              << std::chrono::duration_cast<std::chrono::milliseconds>(
                     std::chrono::steady_clock::now() - start)
                     .count()
              << " ms to the end of the journey, " << calls.size() << " calls in all\n";
    EXPECT_EQ(program.Finish(), 0);
}

}  // namespace
}  // namespace journeys
