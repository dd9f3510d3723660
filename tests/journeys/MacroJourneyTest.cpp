// SPDX-License-Identifier: GPL-3.0-or-later
// Macros seen from outside: what the user makes in the editor is the macro file on disk,
// a key that plays it puts it into the keyboard's macro memory byte for byte, and deleting
// or renaming macros repairs the keys on the keyboard and on the mouse alike.
#include <gtest/gtest.h>
#include <json/json.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

namespace fs = std::filesystem;

constexpr int kMacroWriteMs = 1500;
// Key position 64 plays macro 1 (type 0x70, macro number, playback mode 1).
constexpr int kPlaysSecondMacro = 0x700101;

class MacroJourney : public ::testing::Test {
protected:
    fs::path KeyboardFolder() const {
        return sandbox_.Root() / "data" / "TELIX TX512 keyboard Driver" / "keyboard";
    }
    fs::path MouseFolder() const {
        return sandbox_.Root() / "data" / "TELIX TX512 keyboard Driver" / "mouse";
    }
    static void OpenMacroPage(Script& script) {
        script.Wait(kConnectionMs);
        Json::Value selected;
        selected["selected"] = true;
        script.Notify("macro_Op_tab", "selectchanged", selected);
    }
    static Json::Value Text(const std::string& text) {
        Json::Value extra;
        extra["text"] = text;
        return extra;
    }
    // The device's key and macro writes of a key save.
    static void SetKeyAndApply(Script& script, int position, int assignment) {
        Json::Value set;
        set["cmd"] = "device";
        set["op"] = "setkey";
        set["position"] = position;
        set["assignment"] = assignment;
        script.Ask(set);
        Json::Value apply;
        apply["cmd"] = "device";
        apply["op"] = "applykeys";
        script.Ask(apply);
        script.Wait(kMacroWriteMs);
    }

    Sandbox sandbox_;
};

TEST_F(MacroJourney, AMacroMadeInTheEditorReachesTheKeyboardAndDeletingItRepairsTheKeys) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Script script(program);
    OpenMacroPage(script);
    script.Click("macro_btn_name_add");
    script.Click("macro_btn_name_add");
    EXPECT_EQ(script.Get("macro_name_list")["items"].size(), 2u);
    EXPECT_EQ(script.Get("macro_edit_macroname")["text"], "macro_2");

    // Left click from the row menu, a move to the left of 30 after it, row 0's delay 7.
    script.Menu("left_click");
    script.Notify("mouse_x_left_edit", "textchanged", Text("30"));
    script.Click("macro_inset_moveleftkey_btn");
    script.Notify("macro_action[0]/macro_delay", "killfocus", Text("007"));
    const Json::Value rows = script.Get("macro_action_list");
    ASSERT_EQ(rows["items"].size(), 3u);
    // The name in the middle is in the desktop's language.
    const std::string pressed = rows["items"][0].asString();
    const std::string move = rows["items"][2].asString();
    EXPECT_EQ(pressed.substr(pressed.size() - 2), " 7") << pressed;
    EXPECT_EQ(move.substr(0, 3), "30 ") << move;
    EXPECT_EQ(move.substr(move.size() - 3), " 50") << move;

    const Json::Value library = ReadJsonFile(KeyboardFolder() / "macro.config");
    ASSERT_EQ(library["MacroInfo"].size(), 2u);
    const std::string guid = library["MacroInfo"][1]["Guid"].asString();
    const Json::Value file = ReadJsonFile(KeyboardFolder() / (guid + ".mac"));
    ASSERT_EQ(file["Events"].size(), 3u);
    EXPECT_EQ(file["Events"][0]["Delay"], "7");
    EXPECT_EQ(file["Events"][2]["Type"], 4);
    EXPECT_EQ(file["Events"][2]["Action"], "down");
    EXPECT_EQ(file["MacroName"], "macro_2");
    EXPECT_EQ(file["Version"], 64);

    // The one macro a key plays, as the keyboard stores it: header, one offset, then the
    // record of three events (delay, type with bit 7 for "down", button).
    SetKeyAndApply(script, 64, kPlaysSecondMacro);
    const std::string image =
        "aa55"
        "2200"
        "0100"
        "00000000000000000000"
        "1200"
        "0300"
        "0000"
        "07008101"
        "32000101"
        "3200841e";
    Json::Value memory = script.Sim("keyboard", "memory");
    EXPECT_EQ(memory["macro"].asString().substr(0, image.size()), image);
    EXPECT_NE(memory["keytable"], memory["keylayout"]);

    // Deleting the first macro: nobody plays it, so only one question; the key now plays
    // the same macro under its new number, and the keyboard is told.
    script.Messages();
    script.Answer(1);
    Json::Value first;
    first["index"] = 0;
    script.Notify("macro_name_list", "itemselect", first);
    script.Click("macro_btn_name_sub");
    script.Wait(kMacroWriteMs);
    EXPECT_EQ(script.Messages(), std::vector<std::string>{"message_text_4"});
    memory = script.Sim("keyboard", "memory");
    EXPECT_EQ(memory["macro"].asString().substr(0, image.size()), image);
    EXPECT_NE(memory["keytable"], memory["keylayout"]);
    EXPECT_EQ(script.Get("macro_edit_macroname")["text"], "macro_2");

    // Deleting the macro the key plays asks twice; the key gets its own function back.
    script.Answer(1);
    script.Answer(1);
    script.Click("macro_btn_name_sub");
    script.Wait(kMacroWriteMs);
    EXPECT_EQ(script.Messages(), (std::vector<std::string>{"message_text_4", "message_text_2"}));
    memory = script.Sim("keyboard", "memory");
    EXPECT_EQ(memory["keytable"], memory["keylayout"]);
    EXPECT_FALSE(fs::exists(KeyboardFolder() / (guid + ".mac")));
    EXPECT_EQ(ReadJsonFile(KeyboardFolder() / "macro.config")["MacroInfo"].size(), 0u);
    EXPECT_FALSE(script.Get("macro_btn_name_sub")["enabled"].asBool());
    program.Finish();
}

// The mouse's profile section as it is on disk now (the only profile of its folder).
Json::Value MouseSection(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".Json") return ReadJsonFile(entry.path())["Device"][0];
    return Json::Value();
}

TEST_F(MacroJourney, DeletingAMacroTheMousePlaysRenumbersItsButtonsAndWritesThemToTheMouse) {
    HeadlessProgram program(sandbox_, {"--simulate=mouse"});
    Script script(program);
    OpenMacroPage(script);
    for (int i = 0; i < 3; ++i) {
        script.Click("macro_btn_name_add");
        script.Menu("left_click");
    }
    ASSERT_EQ(script.Get("macro_name_list")["items"].size(), 3u);
    // Buttons 0-2 (slots 0-2 of this mouse) play macros 1, 2 and 0; button 3 plays macro 2.
    const auto setKey = [&script](int position, int assignment) {
        Json::Value set;
        set["cmd"] = "device";
        set["op"] = "setkey";
        set["device"] = "mouse";
        set["position"] = position;
        set["assignment"] = assignment;
        script.Ask(set);
    };
    setKey(0, 0x700100);
    setKey(1, 0x700200);
    setKey(2, 0x700000);
    setKey(3, 0x710203);  // macro 2, repeated three times
    Json::Value apply;
    apply["cmd"] = "device";
    apply["op"] = "applykeys";
    apply["device"] = "mouse";
    script.Ask(apply);
    script.Wait(kMacroWriteMs);
    const auto slot = [&script](int n) {
        return script.Sim("mouse", "memory")["keytable"].asString().substr(n * 6, 6);
    };
    // The mouse numbers the macros of its image in the order the keys first play them.
    const auto macrosOnMouse = [&script] {
        return script.Sim("mouse", "memory")["macro"].asString().substr(8, 4);
    };
    ASSERT_EQ(slot(2), "700200");
    EXPECT_EQ(macrosOnMouse(), "0300");
    // The key info list names the macros the buttons play.
    const Json::Value info = script.Get("device_setkeyinfo_list")["items"];
    ASSERT_EQ(info.size(), 7u);
    EXPECT_EQ(info[0].asString(), "Left button macro_2");
    EXPECT_EQ(info[2].asString(), "Middle button macro_1");

    // Saying no to the second question keeps the macro and the buttons as they were.
    script.Messages();
    Json::Value first;
    first["index"] = 0;
    script.Notify("macro_name_list", "itemselect", first);
    script.Answer(1);
    script.Answer(0);
    script.Click("macro_btn_name_sub");
    EXPECT_EQ(script.Messages(), (std::vector<std::string>{"message_text_4", "message_text_2"}));
    EXPECT_EQ(script.Get("macro_name_list")["items"].size(), 3u);
    EXPECT_EQ(MouseSection(MouseFolder())["KeyList"][2]["Assignment"], 0x700000);

    // Macro 0, which button 2 plays, goes: asked twice, button 2 gets its own function
    // back, the later macros move down one, in the profile and on the mouse.
    script.Answer(1);
    script.Answer(1);
    script.Click("macro_btn_name_sub");
    script.Wait(kMacroWriteMs);
    EXPECT_EQ(script.Messages(), (std::vector<std::string>{"message_text_4", "message_text_2"}));
    const Json::Value keys = MouseSection(MouseFolder())["KeyList"];
    EXPECT_EQ(keys[0]["Assignment"], 0x700000);
    EXPECT_EQ(keys[1]["Assignment"], 0x700100);
    EXPECT_EQ(keys[2]["Assignment"], keys[2]["DefaultAssignment"]);
    EXPECT_EQ(keys[3]["Assignment"], 0x710103);
    EXPECT_EQ(slot(0), "700000");
    EXPECT_EQ(slot(1), "700100");
    EXPECT_EQ(slot(2), "100400");  // the middle button's own
    EXPECT_EQ(slot(4), "710103");  // button 3 sits on slot 4, with button 1's macro
    EXPECT_EQ(macrosOnMouse(), "0200");
    EXPECT_EQ(script.Get("device_setkeyinfo_list")["items"][2].asString(),
              "Middle button Middle button");

    // Renaming the macro button 0 plays: its tool-tip and its entry follow at once.
    script.Notify("macro_name_list", "itemselect", first);
    script.Notify("macro_edit_macroname", "textchanged", Text("Reload"));
    script.Click("macro_btn_name_edit");
    EXPECT_EQ(script.Get("key_0")["tooltip"], "Left button \u2192 Reload");
    EXPECT_EQ(script.Get("device_setkeyinfo_list")["items"][0].asString(), "Left button Reload");
    EXPECT_TRUE(script.Messages().empty());
    program.Finish();
}

TEST_F(MacroJourney, ImportTakesOnlyMacrosAndSaysWhatWentWrong) {
    const fs::path outside = sandbox_.Root() / "outside";
    fs::create_directories(outside);
    std::ofstream(outside / "notes.mac") << "shopping list";
    std::ofstream(outside / "good.mac")
        << R"({"Events":[{"Type":10,"Button":4,"Action":"down","Delay":"20"}],"Version":64})";

    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Script script(program);
    OpenMacroPage(script);
    for (const char* file : {"notes.mac", "good.mac"}) {
        script.Dialog((outside / file).string());
        script.Click("macro_btn_import");
    }
    EXPECT_EQ(script.Messages(), std::vector<std::string>{"message_macro_not_a_macro"});
    const Json::Value names = script.Get("macro_name_list");
    ASSERT_EQ(names["items"].size(), 1u);
    EXPECT_EQ(names["items"][0], "macro_1");
    EXPECT_EQ(script.Get("macro_action_list")["items"][0], "A 20");
    // A double click on a row opens its menu; an item inserts after that row.
    script.Notify("macro_action[0]", "itemactivate");
    script.Menu("back_click");
    const Json::Value rows = script.Get("macro_action_list");
    ASSERT_EQ(rows["items"].size(), 3u);
    EXPECT_EQ(rows["items"][0], "A 20");
    EXPECT_EQ(rows["cursel"], 2);

    // An export to a folder that does not exist fails out loud.
    script.Dialog((outside / "no" / "such" / "x.mac").string());
    script.Click("macro_btn_export");
    EXPECT_EQ(script.Messages(), std::vector<std::string>{"message_macro_export_failed"});

    // The page as a person sees it, at 150 %.
    Json::Value shot;
    shot["cmd"] = "screenshot";
    shot["path"] = (outside / "macros.png").string();
    shot["dpi"] = 144;
    script.Ask(shot);
    std::ifstream png(outside / "macros.png", std::ios::binary);
    unsigned char header[24] = {};
    png.read(reinterpret_cast<char*>(header), sizeof header);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(header) + 1, 3), "PNG");
    const unsigned width = header[16] << 24 | header[17] << 16 | header[18] << 8 | header[19];
    EXPECT_EQ(width, 1500u);
    program.Finish();
}

TEST_F(MacroJourney, KeysAndButtonsPlayedWhileRecordingBecomeTheMacro) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Script script(program);
    OpenMacroPage(script);
    script.Click("macro_btn_name_add");
    Json::Value mouse;
    mouse["cmd"] = "mouse";
    mouse["control"] = "macro_btn_starredio";
    script.Ask(mouse);
    EXPECT_FALSE(script.Get("device_select_layout")["enabled"].asBool());
    EXPECT_TRUE(script.Get("macro_btn_stopredio")["visible"].asBool());
    Json::Value key;
    key["cmd"] = "key";
    key["name"] = "A";
    key["action"] = "down";
    script.Ask(key);
    script.Wait(300);
    key["action"] = "up";
    script.Ask(key);
    key["name"] = "Num Enter";
    key["action"] = "press";
    script.Ask(key);
    mouse["control"] = "macro_action_list";
    mouse["button"] = "right";
    script.Ask(mouse);
    // The left click on Stop ends the recording and is not part of it.
    mouse["control"] = "macro_btn_stopredio";
    mouse["button"] = "left";
    script.Ask(mouse);
    EXPECT_TRUE(script.Get("device_select_layout")["enabled"].asBool());

    const Json::Value library = ReadJsonFile(KeyboardFolder() / "macro.config");
    const std::string guid = library["MacroInfo"][0]["Guid"].asString();
    const Json::Value events = ReadJsonFile(KeyboardFolder() / (guid + ".mac"))["Events"];
    ASSERT_EQ(events.size(), 6u);
    const int held = std::atoi(events[0]["Delay"].asCString());
    EXPECT_GE(held, 280);  // the hold time, measured in ticks of the platform clock
    EXPECT_LE(held, 1000);
    EXPECT_EQ(events[2]["Type"], 10);
    EXPECT_EQ(events[2]["Button"], 0x58);  // Num Enter
    EXPECT_EQ(events[4]["Type"], 1);
    EXPECT_EQ(events[4]["Button"], 2);  // the right button
    EXPECT_EQ(events[5]["Action"], "up");
    program.Finish();
}

TEST_F(MacroJourney, ADamagedMacroListIsRebuiltFromTheMacroFilesAndTheUserToldOnce) {
    fs::create_directories(KeyboardFolder());
    for (const auto& [guid, name] : std::vector<std::pair<std::string, std::string>>{
             {"2025_01_01_00_00_00_000", "Reload"}, {"2025_02_01_00_00_00_000", "Combo"}}) {
        std::ofstream(KeyboardFolder() / (guid + ".mac"))
            << R"({"MacroName": ")" << name << R"(", "Guid": ")" << guid
            << R"(", "Version": 64, "Events": [{"Type": 10, "Button": 4, "Action": "down", "Delay": "20"}]})";
    }
    const std::string damaged = R"({"MacroInfo": [{"MacroName": "Reload", "Guid": "2025_01)";
    std::ofstream(KeyboardFolder() / "macro.config") << damaged;
    for (int run = 0; run < 2; ++run) {
        HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
        Script script(program);
        OpenMacroPage(script);
        const Json::Value names = script.Get("macro_name_list");
        ASSERT_EQ(names["items"].size(), run == 0 ? 2u : 3u) << run;
        EXPECT_EQ(names["items"][0], "Reload");
        EXPECT_EQ(names["items"][1], "Combo");
        if (run == 0)
            EXPECT_EQ(script.Messages(), std::vector<std::string>{"message_macro_list_rebuilt"});
        else
            EXPECT_TRUE(script.Messages().empty()) << "told once";
        // An add goes after the macros that were there.
        if (run == 0) {
            script.Click("macro_btn_name_add");
            EXPECT_EQ(script.Get("macro_name_list")["items"].size(), 3u);
            EXPECT_EQ(ReadJsonFile(KeyboardFolder() / "macro.config")["MacroInfo"].size(), 3u);
        }
    }
    EXPECT_EQ(ReadJsonFile(KeyboardFolder() / "macro.config")["MacroInfo"].size(), 3u);
    int copies = 0;
    for (const auto& item : fs::directory_iterator(KeyboardFolder())) {
        if (item.path().filename().string().rfind("macro.config.unreadable-", 0) != 0) continue;
        ++copies;
        std::ifstream in(item.path(), std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), damaged);
    }
    EXPECT_EQ(copies, 1);
}

}  // namespace
}  // namespace journeys
