// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting and system pages seen from outside: every control the user touches must
// end up in the keyboard's (or the pad's) settings block, in the preview and in the
// profile, and values no device understands must never reach it raw.
#include <gtest/gtest.h>
#include <json/json.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

constexpr int kLightWriteMs = 150;

class LightingJourney : public ::testing::Test {
protected:
    Json::Value Ask(HeadlessProgram& program, const Json::Value& command) {
        Json::Value answer = program.Send(command);
        EXPECT_TRUE(answer["ok"].asBool())
            << command.toStyledString() << answer.toStyledString() << program.StandardError();
        return answer;
    }
    Json::Value Notify(HeadlessProgram& program, const std::string& control,
                       const std::string& type,
                       Json::Value extra = Json::Value(Json::objectValue)) {
        extra["cmd"] = "notify";
        extra["control"] = control;
        extra["type"] = type;
        return Ask(program, extra);
    }
    Json::Value Get(HeadlessProgram& program, const std::string& control) {
        Json::Value command;
        command["cmd"] = "get";
        command["control"] = control;
        return Ask(program, command);
    }
    void Wait(HeadlessProgram& program, int ms) {
        Json::Value command;
        command["cmd"] = "wait";
        command["ms"] = ms;
        Ask(program, command);
    }
    Json::Value Sim(HeadlessProgram& program, const std::string& device, const std::string& op) {
        Json::Value command;
        command["cmd"] = "sim";
        command["device"] = device;
        command["op"] = op;
        return Ask(program, command);
    }
    // Byte `i` of the keyboard's settings block 0 (the pad's block 0 for "pad").
    int SettingsByte(HeadlessProgram& program, int i, const std::string& device = "keyboard") {
        const std::string hex = Sim(program, device, "memory")["settings"].asString();
        return std::stoi(hex.substr(static_cast<size_t>(i) * 2, 2), nullptr, 16);
    }
    int Writes(HeadlessProgram& program, int code, const std::string& device = "keyboard") {
        const std::vector<int> sent = CommandsSent(Sim(program, device, "wirelog"));
        return static_cast<int>(std::count(sent.begin(), sent.end(), code));
    }
    Json::Value Pick(int index) {
        Json::Value extra;
        extra["index"] = index;
        return extra;
    }
    Json::Value Value(int value) {
        Json::Value extra;
        extra["value"] = value;
        return extra;
    }
    Json::Value Text(const std::string& text) {
        Json::Value extra;
        extra["text"] = text;
        return extra;
    }
    Json::Value Selected(bool on) {
        Json::Value extra;
        extra["selected"] = on;
        return extra;
    }

    Sandbox sandbox_;
};

TEST_F(LightingJourney, EveryKeyboardModeReachesTheKeyboardAndThePreview) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Wait(program, kConnectionMs);
    const Json::Value combo = Get(program, "light_combo_modeSelect");
    ASSERT_EQ(combo["items"].size(), 31u);

    const std::vector<int> offered = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                      15, 16, 17, 18, 20, 22, 24, 25, 26, 27, 28, 29, 30};
    for (int mode : offered) {
        Notify(program, "light_combo_modeSelect", "itemselect", Pick(mode));
        Wait(program, kLightWriteMs);
        // The program's own light programs (21 and up) play on the host: the keyboard is off.
        EXPECT_EQ(SettingsByte(program, 1), mode >= 21 ? 0 : mode) << "mode " << mode;
        EXPECT_EQ(Get(program, "light_combo_modeSelect")["cursel"], mode);
    }

    // A green static light shows green on the keys of the picture.
    Notify(program, "light_combo_modeSelect", "itemselect", Pick(6));
    Notify(program, "color_option_4", "click");
    Wait(program, 300);
    EXPECT_EQ(SettingsByte(program, 6), 0x00);
    EXPECT_EQ(SettingsByte(program, 7), 0xFF);
    EXPECT_EQ(SettingsByte(program, 8), 0x00);
    const Json::Value green = Get(program, "keyboard_device_page/light_10")["light"];
    Notify(program, "color_option_0", "click");
    Wait(program, 300);
    const Json::Value red = Get(program, "keyboard_device_page/light_10")["light"];
    EXPECT_NE(green["color"], red["color"]);
    EXPECT_EQ(red["color"].asUInt() & 0xFF, 0xFFu);  // red is the low byte of the preview
}

TEST_F(LightingJourney, SlidersDirectionAndColoursAreSentAsTheKeyboardUnderstandsThem) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Wait(program, kConnectionMs);
    Notify(program, "light_combo_modeSelect", "itemselect", Pick(1));
    Notify(program, "deng_speed_slider", "valuechanged", Value(3));
    Notify(program, "deng_light_slider", "valuechanged", Value(9));  // the slider stops at 5
    Notify(program, "deng_FXR_check", "selectchanged", Selected(true));
    Wait(program, kLightWriteMs);
    EXPECT_EQ(SettingsByte(program, 3), 1);  // the keyboard keeps 4 - speed
    EXPECT_EQ(SettingsByte(program, 2), 5);
    EXPECT_EQ(SettingsByte(program, 4), 0);
    EXPECT_FALSE(Get(program, "deng_FXL_check")["selected"].asBool());

    Notify(program, "deng_7color_check", "selectchanged", Selected(true));
    Wait(program, kLightWriteMs);
    EXPECT_EQ(SettingsByte(program, 5), 1);
    Json::Value colour;
    colour["color"] = "#FF0000FF";
    Notify(program, "deng_Color_Pallet", "colorchanged", colour);
    Wait(program, kLightWriteMs);
    EXPECT_EQ(SettingsByte(program, 5), 0);  // a colour picked ends multi-colour
    EXPECT_FALSE(Get(program, "deng_7color_check")["selected"].asBool());
    EXPECT_EQ(SettingsByte(program, 8), 0xFF);
    EXPECT_EQ(Get(program, "deng_edit_B")["text"], "255");

    Notify(program, "deng_edit_G", "killfocus", Text("300"));
    Notify(program, "deng_edit_B", "killfocus", Text(""));
    Notify(program, "deng_edit_R", "killfocus", Text("abc"));
    Wait(program, kLightWriteMs);
    EXPECT_EQ(Get(program, "deng_edit_G")["text"], "255");
    EXPECT_EQ(Get(program, "deng_edit_B")["text"], "0");
    EXPECT_EQ(Get(program, "deng_edit_R")["text"], "0");
    EXPECT_EQ(SettingsByte(program, 6), 0);
    EXPECT_EQ(SettingsByte(program, 7), 0xFF);
    EXPECT_EQ(SettingsByte(program, 8), 0);
    EXPECT_EQ(Get(program, "deng_Color_Pallet")["color"].asUInt() & 0xFFFFFF, 0x00FF00u);
}

TEST_F(LightingJourney, SystemSwitchesGoToTheKeyboardAndRepeatValuesStayInTheProfile) {
    {
        HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
        Wait(program, kConnectionMs);
        Notify(program, "system_Op_tab", "click");
        Sim(program, "keyboard", "wirelog");
        Notify(program, "repeat_rate_slider", "valuechanged", Value(7));
        Notify(program, "repeat_delay_check_3", "selectchanged", Selected(true));
        Wait(program, kLightWriteMs);
        EXPECT_EQ(Writes(program, 6), 0);
        EXPECT_NE(Get(program, "repeat_delay_time_label1")["text"].asString().find("1000ms"),
                  std::string::npos);

        Notify(program, "polling_rate_option_2", "selectchanged", Selected(true));
        Notify(program, "6flag_option", "selectchanged", Selected(true));
        Wait(program, kLightWriteMs);
        EXPECT_EQ(SettingsByte(program, 22), 2);
        EXPECT_EQ(SettingsByte(program, 20), 0);  // the keyboard keeps the six-key flag inverted

        Sim(program, "keyboard", "wirelog");
        Notify(program, "winlockflag_option", "selectchanged", Selected(true));
        Wait(program, kLightWriteMs);
        EXPECT_EQ(SettingsByte(program, 21), 1);
        Notify(program, "winlockflag_option", "selectchanged", Selected(false));
        Wait(program, kLightWriteMs);
        EXPECT_EQ(SettingsByte(program, 21), 0);
        EXPECT_EQ(Writes(program, 6), 2);

        Notify(program, "reset_repeat_btn", "click");
        EXPECT_EQ(Get(program, "repeat_input_richedit")["text"], "");
        EXPECT_EQ(program.Finish(), 0);
    }
    // A new keyboard knows nothing of the repeat or the report rate: the profile does.
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Wait(program, kConnectionMs);
    EXPECT_TRUE(Get(program, "repeat_delay_check_3")["selected"].asBool());
    // The mouse's page has report-rate options of the same names.
    EXPECT_TRUE(Get(program, "keyboard_device_page/polling_rate_option_2")["selected"].asBool());
    EXPECT_EQ(Get(program, "repeat_rate_slider")["value"], 7);
}

TEST_F(LightingJourney, KeysColouredByAreaReachTheirColourPage) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Wait(program, kConnectionMs);
    Notify(program, "light_combo_modeSelect", "itemselect", Pick(20));
    Notify(program, "light_combo_custommodeSelect", "itemselect", Pick(1));
    Notify(program, "custom_off_color_btn", "click");
    Notify(program, "color_option_0", "click");
    Json::Value keys;
    keys["keys"].append("light_5");
    Notify(program, "keyboard_device_key_light", "drag", keys);
    Wait(program, 300);
    EXPECT_TRUE(Get(program, "keyboard_device_page/light_5")["selected"].asBool());
    EXPECT_FALSE(Get(program, "keyboard_device_page/light_6")["selected"].asBool());

    // The page the keyboard shows (its settings block names it) holds the chosen group's
    // colours: exactly one lit LED, red.
    const size_t shown = static_cast<size_t>(SettingsByte(program, 25));
    const std::string colours = Sim(program, "keyboard", "memory")["colours"].asString();
    ASSERT_GE(colours.size(), 2 * 512 * (shown + 1));
    const std::string page = colours.substr(2 * 512 * shown, 2 * 512);
    int lit = 0;
    for (size_t i = 0; i + 6 <= page.size(); i += 6) {
        const std::string triple = page.substr(i, 6);
        if (triple == "000000") continue;
        ++lit;
        // Red, at the level the light thread gives the LED.
        EXPECT_EQ(triple.substr(2), "0000");
        EXPECT_GE(std::stoi(triple.substr(0, 2), nullptr, 16), 0x80);
    }
    EXPECT_EQ(lit, 1);
    EXPECT_EQ(Get(program, "light_combo_custommodeSelect")["cursel"], 1);
}

TEST_F(LightingJourney, SameModeGivesThePadTheKeyboardsEffect) {
    HeadlessProgram program(sandbox_, {"--simulate"});
    Wait(program, kConnectionMs);
    Notify(program, "light_combo_modeSelect", "itemselect", Pick(5));  // breathing
    Notify(program, "color_option_8", "click");                        // blue
    Wait(program, kLightWriteMs);
    ASSERT_TRUE(Get(program, "deng_same_mode")["visible"].asBool());
    Notify(program, "deng_same_mode", "click");
    Wait(program, kLightWriteMs);
    EXPECT_EQ(SettingsByte(program, 1, "pad"), 2);  // the pad's breathing
    EXPECT_EQ(SettingsByte(program, 8, "pad"), 0xFF);

    Notify(program, "device_select_next", "click");
    EXPECT_EQ(Get(program, "light_combo_modeSelect")["cursel"], 2);
    EXPECT_EQ(Get(program, "light_combo_modeSelect")["items"].size(), 9u);

    // The pad's own page drives the pad: its modes, its speed kept as 4 - speed.
    Notify(program, "light_combo_modeSelect", "itemselect", Pick(4));
    Notify(program, "deng_speed_slider", "valuechanged", Value(1));
    Wait(program, kLightWriteMs);
    EXPECT_EQ(SettingsByte(program, 1, "pad"), 4);
    EXPECT_EQ(SettingsByte(program, 3, "pad"), 3);
    EXPECT_FALSE(Get(program, "deng_fx_layout")["enabled"].asBool());
}

TEST_F(LightingJourney, TheLightingSurvivesARestart) {
    {
        HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
        Wait(program, kConnectionMs);
        Notify(program, "light_combo_modeSelect", "itemselect", Pick(7));
        Notify(program, "deng_light_slider", "valuechanged", Value(2));
        Notify(program, "color_option_6", "click");
        Wait(program, kLightWriteMs);
        EXPECT_EQ(program.Finish(), 0);
    }
    // The keyboard kept what it was sent, and the program shows it again.
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Wait(program, kConnectionMs);
    EXPECT_EQ(SettingsByte(program, 1), 7);
    EXPECT_EQ(Get(program, "light_combo_modeSelect")["cursel"], 7);
    EXPECT_EQ(Get(program, "deng_light_slider")["value"], 2);
    EXPECT_EQ(Get(program, "deng_edit_G")["text"], "255");
    EXPECT_EQ(Get(program, "deng_edit_B")["text"], "255");
}

TEST_F(LightingJourney, AWindowInTheTrayFreezesThePreviewAndShowingItAnimatesItAgain) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Wait(program, kConnectionMs);
    Notify(program, "light_combo_modeSelect", "itemselect", Pick(4));  // the colour cycle
    Wait(program, 300);
    const std::string key = "keyboard_device_page/light_10";
    const Json::Value before = Get(program, key)["light"];
    Wait(program, 400);
    EXPECT_NE(Get(program, key)["light"], before);

    Notify(program, "closebtn", "click");
    Wait(program, 200);
    const Json::Value hidden = Get(program, key)["light"];
    Wait(program, 600);
    EXPECT_EQ(Get(program, key)["light"], hidden);  // nothing computed for nobody

    Json::Value activate;  // a second copy asks for the window
    activate["cmd"] = "send";
    activate["msg"] = 0xC100;
    activate["lparam"] = 1;
    Ask(program, activate);
    Wait(program, 200);
    const Json::Value shown = Get(program, key)["light"];
    Wait(program, 400);
    EXPECT_NE(Get(program, key)["light"], shown);
}

TEST_F(LightingJourney, CustomColoursKeepStreamingToTheKeyboardFromTheTray) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Wait(program, kConnectionMs);
    Notify(program, "light_combo_modeSelect", "itemselect", Pick(20));
    Notify(program, "closebtn", "click");
    Wait(program, 300);
    Sim(program, "keyboard", "wirelog");  // what came before
    Wait(program, 600);
    EXPECT_GE(Writes(program, 11), 3);  // the colour stream goes on
}

}  // namespace
}  // namespace journeys
