// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse seen from outside, on the simulated mouse: its page, the DPI stages and the
// report rate in its settings block, keys and macros in its tables, a recoil pattern
// edited and found in its recoil memory, and the receiver mouse that asks for its link.
#include <gtest/gtest.h>
#include <json/json.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

namespace fs = std::filesystem;

constexpr int kMouseWriteMs = 800;

class MouseJourney : public ::testing::Test {
protected:
    fs::path MouseFolder() const {
        return sandbox_.Root() / "data" / "TELIX TX512 keyboard Driver" / "mouse";
    }
    static Json::Value Selected(bool on) {
        Json::Value extra;
        extra["selected"] = on;
        return extra;
    }
    static Json::Value Text(const std::string& text) {
        Json::Value extra;
        extra["text"] = text;
        return extra;
    }
    static Json::Value Value(int value) {
        Json::Value extra;
        extra["value"] = value;
        return extra;
    }
    static Json::Value Device(const std::string& op) {
        Json::Value command;
        command["cmd"] = "device";
        command["op"] = op;
        command["device"] = "mouse";
        return command;
    }
    static std::string Area(Script& script, const char* area) {
        return script.Sim("mouse", "memory")[area].asString();
    }
    static int Byte(const std::string& hex, std::size_t i) {
        return std::stoi(hex.substr(i * 2, 2), nullptr, 16);
    }
    // The command codes of the reports the program sent since the last look.
    static std::vector<int> Sent(Script& script) {
        std::vector<int> codes;
        const Json::Value answer = script.Sim("mouse", "wirelog");
        for (const Json::Value& report : answer["log"])
            if (report["dir"] == "out")
                codes.push_back(std::stoi(report["hex"].asString().substr(6, 2), nullptr, 16));
        return codes;
    }
    static void OpenSystemPage(Script& script) {
        script.Notify("system_Op_tab", "selectchanged", Selected(true));
    }

    Sandbox sandbox_;
};

TEST_F(MouseJourney, DpiStagesAndReportRateReachTheSettingsBlockWithinTheMousesRange) {
    HeadlessProgram program(sandbox_, {"--simulate=mouse"});
    Script script(program);
    script.Wait(kConnectionMs);
    const Json::Value status = script.Ask(Device("status"));
    EXPECT_TRUE(status["connected"].asBool());
    EXPECT_TRUE(status["tablesread"].asBool());
    const std::vector<int> slots = {0, 1, 2, 4, 3, 6, 5, 7, 9, 10};
    for (int p = 0; p < 10; ++p) EXPECT_EQ(status["slots"][p].asInt(), slots[p]) << p;
    EXPECT_EQ(Sent(script), (std::vector<int>{1, 3, 7, 2}));

    OpenSystemPage(script);
    EXPECT_EQ(script.Get("DPI_edit_2")["text"], "1600");
    EXPECT_EQ(script.Get("DPI_slider_2")["max"], 200);
    // 1234 DPI in steps of 50: 24 steps, shown as 1200.
    script.Notify("DPI_edit_2", "killfocus", Text("1234"));
    script.Wait(kMouseWriteMs);
    EXPECT_EQ(script.Get("DPI_edit_2")["text"], "1200");
    EXPECT_EQ(Byte(Area(script, "settings"), 14 + 18 + 2), 24);
    EXPECT_EQ(Sent(script), (std::vector<int>{1, 6, 6, 2}));
    // Below the smallest DPI (100) and above the largest (10000): clamped to the mouse's.
    script.Notify("DPI_edit_0", "killfocus", Text("30"));
    script.Notify("DPI_edit_4", "killfocus", Text("65000"));
    script.Wait(kMouseWriteMs);
    EXPECT_EQ(script.Get("DPI_edit_0")["text"], "100");
    EXPECT_EQ(script.Get("DPI_edit_4")["text"], "10000");
    const std::string block = Area(script, "settings");
    EXPECT_EQ(Byte(block, 14 + 2), 2);
    EXPECT_EQ(Byte(block, 14 + 36 + 2) | Byte(block, 14 + 36 + 3) << 8, 200);
    script.Notify("DPI_slider_1", "valuechanged", Value(40));
    script.Wait(kMouseWriteMs);
    EXPECT_EQ(Byte(Area(script, "settings"), 14 + 9 + 2), 40);
    EXPECT_EQ(script.Get("DPI_edit_1")["text"], "2000");

    // Four stages switched off: the last one cannot be.
    for (int n = 0; n < 4; ++n)
        script.Notify("DPI_enable_check_" + std::to_string(n), "selectchanged", Selected(false));
    script.Wait(kMouseWriteMs);
    EXPECT_FALSE(script.Get("DPI_enable_check_4")["enabled"].asBool());
    EXPECT_TRUE(script.Get("DPI_enable_check_4")["selected"].asBool());
    EXPECT_FALSE(script.Get("DPI_layout_0")["enabled"].asBool());
    EXPECT_EQ(Byte(Area(script, "settings"), 14), 0);
    script.Notify("DPI_enable_check_2", "selectchanged", Selected(true));
    EXPECT_TRUE(script.Get("DPI_enable_check_4")["enabled"].asBool());

    script.Notify("polling_rate_option_1", "selectchanged", Selected(true));
    script.Wait(kMouseWriteMs);
    EXPECT_EQ(Byte(Area(script, "settings"), 11), 1);

    // The pointer settings are the profile's only: nothing goes to the mouse.
    Sent(script);
    script.Notify("cursor_Op_tab", "selectchanged", Selected(true));
    script.Notify("pointer_speed_slider", "valuechanged", Value(15));
    script.Notify("scrolls_page_check", "selectchanged", Selected(true));
    script.Notify("scroll_speed_slider", "valuechanged", Value(7));
    script.Wait(kMouseWriteMs);
    EXPECT_TRUE(Sent(script).empty());
    EXPECT_FALSE(script.Get("scrolls_page_check")["selected"].asBool());
    bool saved = false;
    for (const auto& entry : fs::directory_iterator(MouseFolder())) {
        if (entry.path().extension() != ".Json") continue;
        const Json::Value device = ReadJsonFile(entry.path())["Device"][0];
        saved = device["SystemStages"]["MouseSpeed"] == 15 &&
                device["SystemStages"]["ScorllPage"] == 0 &&
                device["SystemStages"]["WheelScorlllinse"] == 7 &&
                device["ReportStages"]["StageActive"] == 1;
    }
    EXPECT_TRUE(saved);
}

TEST_F(MouseJourney, TheLogosTipNamesTheLightingInForce) {
    HeadlessProgram program(sandbox_, {"--simulate=mouse"});
    Script script(program);
    script.Wait(kConnectionMs);
    const auto tipFor = [&script] {
        return "Lighting\nWhole device: " +
               script.Get("light_combo_modeSelect")["text"].asString();
    };
    EXPECT_EQ(script.Get("light_5")["tooltip"].asString(), tipFor());
    Json::Value pick;
    pick["index"] = 1;
    script.Notify("light_combo_modeSelect", "itemselect", pick);
    script.Wait(kMouseWriteMs);
    EXPECT_EQ(script.Get("light_5")["tooltip"].asString(), tipFor());
    EXPECT_NE(script.Get("light_combo_modeSelect")["text"].asString(), "");
}

TEST_F(MouseJourney, AKeyRemappedToDpiCycleAndAMacroOnAKeyReachTheMouse) {
    HeadlessProgram program(sandbox_, {"--simulate=mouse"});
    Script script(program);
    script.Wait(kConnectionMs);
    script.Notify("macro_Op_tab", "selectchanged", Selected(true));
    script.Click("macro_btn_name_add");
    script.Menu("left_click");
    ASSERT_EQ(script.Get("macro_action_list")["items"].size(), 2u);

    Json::Value forward = Device("setkey");
    forward["position"] = 3;
    forward["assignment"] = 0x130300;  // DPI cycle
    script.Ask(forward);
    Json::Value back = Device("setkey");
    back["position"] = 4;
    back["assignment"] = 0x700001;  // plays macro 0 once
    script.Ask(back);
    Sent(script);
    script.Ask(Device("applykeys"));
    script.Wait(kMouseWriteMs);
    const Json::Value status = script.Ask(Device("status"));
    EXPECT_EQ(status["last"]["keys"], "written");
    EXPECT_EQ(status["last"]["macros"], 0);
    // Forward sits on slot 4, back on slot 3 of this mouse.
    const std::string table = Area(script, "keytable");
    EXPECT_EQ(table.substr(4 * 6, 6), "130300");
    EXPECT_EQ(table.substr(3 * 6, 6), "700001");
    EXPECT_EQ(Area(script, "macro").substr(0, 12), "aa551e000100");
    // Macros, then the key table: 3 1 21 2 3 1 9 2.
    EXPECT_EQ(Sent(script), (std::vector<int>{3, 1, 21, 2, 3, 1, 9, 2}));
}

TEST_F(MouseJourney, TheKeyPanelOffersDpiAndGunKeysOnAMouseAndNamesTheGuns) {
    HeadlessProgram program(sandbox_, {"--simulate=mouse"});
    Script script(program);
    script.Wait(kConnectionMs);
    script.Notify("key_Op_tab", "selectchanged", Selected(true));
    script.Click("key_3");
    EXPECT_EQ(script.Get("keyset_function_combo")["items"].size(), 12u);
    Json::Value pick;
    pick["index"] = 4;  // DPI
    script.Notify("keyset_function_combo", "itemselect", pick);
    pick["index"] = 2;  // cycle
    script.Notify("keyset_mousedpi_combo", "itemselect", pick);
    script.Click("key_4");
    pick["index"] = 10;  // gun key
    script.Notify("keyset_function_combo", "itemselect", pick);
    pick["index"] = 1;  // the second gun
    script.Notify("keyset_gunkey_combo", "itemselect", pick);
    EXPECT_EQ(script.Get("key_4")["tooltip"], "Back button \u2192 Gun 2");
    EXPECT_EQ(script.Get("key_3")["tooltip"], "Forward button \u2192 DPI cycle");
    EXPECT_EQ(script.Get("key_butt_prosave")["text"], "Save to mouse");
    script.Click("key_butt_prosave");
    script.Wait(kMouseWriteMs);
    const std::string table = Area(script, "keytable");
    EXPECT_EQ(table.substr(4 * 6, 6), "130300");
    EXPECT_EQ(table.substr(3 * 6, 6), "720100");
    EXPECT_TRUE(script.Messages().empty());
}

TEST_F(MouseJourney, TheKeyInfoListSaysWhatEveryButtonDoesAfterEachChange) {
    HeadlessProgram program(sandbox_, {"--simulate=mouse"});
    Script script(program);
    script.Wait(kConnectionMs);
    Json::Value info = script.Get("device_setkeyinfo_list")["items"];
    ASSERT_EQ(info.size(), 7u);  // one per button of the picture
    EXPECT_EQ(info[0].asString(), "Left button Left button");
    EXPECT_EQ(info[3].asString(), "Forward button Forward button");

    // A key saved in the panel, a combination and a disabled key set from outside.
    script.Notify("key_Op_tab", "selectchanged", Selected(true));
    script.Click("key_3");
    Json::Value pick;
    pick["index"] = 4;  // DPI
    script.Notify("keyset_function_combo", "itemselect", pick);
    pick["index"] = 2;  // cycle
    script.Notify("keyset_mousedpi_combo", "itemselect", pick);
    EXPECT_EQ(script.Get("device_setkeyinfo_list")["items"][3].asString(),
              "Forward button DPI cycle");
    Json::Value combination = Device("setkey");
    combination["position"] = 1;
    combination["assignment"] = 0x200104;  // Left Ctrl with A
    script.Ask(combination);
    Json::Value off = Device("setkey");
    off["position"] = 6;
    off["assignment"] = 0xA00000;
    script.Ask(off);
    info = script.Get("device_setkeyinfo_list")["items"];
    ASSERT_EQ(info.size(), 7u);
    EXPECT_EQ(info[1].asString(), "Right button Left Ctrl+A");
    const std::string disabled = info[6].asString();
    EXPECT_EQ(disabled.substr(disabled.size() - 9), " Disabled") << disabled;
    EXPECT_EQ(info[3].asString(), "Forward button DPI cycle");

    // The list is the profile's: a restart shows the same.
    program.Finish();
    HeadlessProgram again(sandbox_, {"--simulate=mouse"});
    Script second(again);
    second.Wait(kConnectionMs);
    EXPECT_EQ(second.Get("device_setkeyinfo_list")["items"], info);
}

TEST_F(MouseJourney, ARecoilPatternEditedAndSavedIsInTheRecoilMemoryByteForByte) {
    HeadlessProgram program(sandbox_, {"--simulate=mouse"});
    Script script(program);
    script.Wait(kConnectionMs);
    for (int g = 0; g < 4; ++g)
        EXPECT_TRUE(fs::exists(MouseFolder() / ("ShootData_" + std::to_string(g) + ".Shoot")));
    OpenSystemPage(script);
    script.Notify("mouse_device_seting_option_1", "selectchanged", Selected(true));
    // The page opens on the first shot of the first weapon, its values in the edits.
    EXPECT_EQ(script.Get("bullet_select_index")["text"], "1");
    EXPECT_FALSE(script.Get("bullet_delay_eidt")["text"].asString().empty());
    script.Notify("shoot_gun_op_1", "selectchanged", Selected(true));
    script.Notify("bullet_op_3", "selectchanged", Selected(true));
    EXPECT_EQ(script.Get("bullet_select_index")["text"], "4");
    script.Notify("bullet_x_check", "selectchanged", Selected(true));
    EXPECT_EQ(script.Get("bullet_x_check")["text"], "Move left");
    script.Notify("bullet_x_eidt", "killfocus", Text("4"));
    script.Notify("bullet_y_check", "selectchanged", Selected(false));
    script.Notify("bullet_y_eidt", "killfocus", Text("12"));
    script.Notify("bullet_delay_eidt", "killfocus", Text("90"));
    script.Click("bullet_selected_next");
    script.Click("bullet_selected_prev");
    EXPECT_EQ(script.Get("bullet_y_eidt")["text"], "12");
    script.Click("shootdate_save_btn");
    script.Wait(kMouseWriteMs);
    EXPECT_TRUE(script.Messages().empty());

    // Record 1 starts at 16 + 8 + 724; shot 3 is its events 18-23.
    const std::string recoil = Area(script, "recoil");
    EXPECT_EQ(recoil.substr(0, 8), "aa55680b");  // 16 + 8 + 16 + 4 x 720 = 2920 bytes
    const std::size_t shot = (16 + 8 + 724 + 4 + 4 * 18) * 2;
    EXPECT_EQ(recoil.substr(shot, 48),
              "0a008101"
              "00000101"
              "05008404"
              "5a00050c"
              "00008400"
              "00000500");

    // A hostile file is not imported, and the pattern stays as it was.
    const fs::path hostile = sandbox_.Root() / "hostile.shoot";
    std::FILE* out = std::fopen(hostile.c_str(), "w");
    std::fputs("{\"Events\": [{\"Type\": 1, \"Action\": \"down\", \"Button\": 1, \"Delay\": 10}]}",
               out);
    std::fclose(out);
    const fs::path slot1 = MouseFolder() / "ShootData_1.Shoot";
    const Json::Value before = ReadJsonFile(slot1);
    script.Dialog(hostile.string());
    script.Click("shootdate_import_btn");
    EXPECT_EQ(script.Messages(), (std::vector<std::string>{"shoot_file_bad_text"}));
    EXPECT_EQ(ReadJsonFile(slot1), before);

    // Reset brings the shipped pattern back.
    script.Click("shootdate_reset_btn");
    EXPECT_NE(script.Get("bullet_y_eidt")["text"], "12");
}

TEST_F(MouseJourney, AReceiverMouseAsksForItsLinkBeforeEveryCommandAndStopsWithoutIt) {
    HeadlessProgram program(sandbox_, {"--simulate=mouse6"});
    Script script(program);
    script.Wait(kConnectionMs);
    EXPECT_EQ(Sent(script), (std::vector<int>{170, 1, 170, 3, 170, 7, 170, 2}));
    script.Ask(Device("writesettings"));
    script.Wait(kMouseWriteMs);
    EXPECT_EQ(Sent(script), (std::vector<int>{170, 1, 170, 6, 6, 170, 2}));

    Json::Value down;
    down["cmd"] = "sim";
    down["device"] = "mouse";
    down["op"] = "link";
    down["up"] = false;
    script.Ask(down);
    script.Ask(Device("writesettings"));
    script.Wait(kMouseWriteMs);
    EXPECT_EQ(script.Ask(Device("status"))["last"]["result"], 0);
    EXPECT_EQ(Sent(script), (std::vector<int>{170}));
}

}  // namespace
}  // namespace journeys
