// Macros seen from outside: what the user makes in the editor is the macro file on disk,
// a key that plays it puts it into the keyboard's macro memory byte for byte, and deleting
// macros repairs the keys on the keyboard.
#include <gtest/gtest.h>
#include <json/json.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

namespace fs = std::filesystem;

constexpr int kConnectionMs = 1500;
constexpr int kWriteMs = 1500;
// Key position 64 plays macro 1 (type 0x70, macro number, playback mode 1).
constexpr int kPlaysSecondMacro = 0x700101;

Json::Value ReadJson(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    Json::Value value;
    Json::CharReaderBuilder builder;
    std::string errors;
    Json::parseFromStream(builder, in, &value, &errors);
    return value;
}

class MacroJourney : public ::testing::Test {
protected:
    fs::path KeyboardFolder() const {
        return sandbox_.Root() / "data" / "TELIX TX512 keyboard Driver" / "keyboard";
    }
    Json::Value Ask(HeadlessProgram& program, const Json::Value& command) {
        const Json::Value answer = program.Send(command);
        EXPECT_TRUE(answer["ok"].asBool()) << command.toStyledString() << answer.toStyledString();
        return answer;
    }
    Json::Value Notify(HeadlessProgram& program, const std::string& control,
                       const std::string& type) {
        Json::Value command;
        command["cmd"] = "notify";
        command["control"] = control;
        command["type"] = type;
        if (type == "selectchanged") command["selected"] = true;
        return Ask(program, command);
    }
    void Click(HeadlessProgram& program, const std::string& control) {
        Notify(program, control, "click");
    }
    void Wait(HeadlessProgram& program, int ms) {
        Json::Value command;
        command["cmd"] = "wait";
        command["ms"] = ms;
        Ask(program, command);
    }
    void Answer(HeadlessProgram& program, int result) {
        Json::Value command;
        command["cmd"] = "answer";
        command["result"] = result;
        Ask(program, command);
    }
    std::vector<std::string> Messages(HeadlessProgram& program) {
        Json::Value command;
        command["cmd"] = "messages";
        std::vector<std::string> keys;
        const Json::Value answer = Ask(program, command);
        for (const Json::Value& box : answer["messages"])
            keys.push_back(box["key"].asString());
        return keys;
    }
    Json::Value Memory(HeadlessProgram& program) {
        Json::Value command;
        command["cmd"] = "sim";
        command["device"] = "keyboard";
        command["op"] = "memory";
        return Ask(program, command);
    }
    Json::Value Get(HeadlessProgram& program, const std::string& control) {
        Json::Value command;
        command["cmd"] = "get";
        command["control"] = control;
        return Ask(program, command);
    }
    void Menu(HeadlessProgram& program, const std::string& item) {
        Json::Value command;
        command["cmd"] = "menu";
        command["item"] = item;
        Ask(program, command);
    }
    // The device's key and macro writes of a key save.
    void SetKeyAndApply(HeadlessProgram& program, int position, int assignment) {
        Json::Value set;
        set["cmd"] = "device";
        set["op"] = "setkey";
        set["position"] = position;
        set["assignment"] = assignment;
        Ask(program, set);
        Json::Value apply;
        apply["cmd"] = "device";
        apply["op"] = "applykeys";
        Ask(program, apply);
        Wait(program, kWriteMs);
    }

    Sandbox sandbox_;
};

TEST_F(MacroJourney, AMacroMadeInTheEditorReachesTheKeyboardAndDeletingItRepairsTheKeys) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Wait(program, kConnectionMs);
    Notify(program, "macro_Op_tab", "selectchanged");
    Click(program, "macro_btn_name_add");
    Click(program, "macro_btn_name_add");
    EXPECT_EQ(Get(program, "macro_name_list")["items"].size(), 2u);
    EXPECT_EQ(Get(program, "macro_edit_macroname")["text"], "macro_2");

    // Left click from the row menu, a move to the left of 30 after it, row 0's delay 7.
    Menu(program, "left_click");
    Json::Value distance;
    distance["cmd"] = "notify";
    distance["control"] = "mouse_x_left_edit";
    distance["type"] = "textchanged";
    distance["text"] = "30";
    Ask(program, distance);
    Click(program, "macro_inset_moveleftkey_btn");
    Json::Value delay;
    delay["cmd"] = "notify";
    delay["control"] = "macro_action[0]/macro_delay";
    delay["type"] = "killfocus";
    delay["text"] = "007";
    Ask(program, delay);
    const Json::Value rows = Get(program, "macro_action_list");
    ASSERT_EQ(rows["items"].size(), 3u);
    EXPECT_EQ(rows["items"][0], "Left button 7");
    EXPECT_EQ(rows["items"][2], "30 Move left 50");

    const Json::Value library = ReadJson(KeyboardFolder() / "macro.config");
    ASSERT_EQ(library["MacroInfo"].size(), 2u);
    const std::string guid = library["MacroInfo"][1]["Guid"].asString();
    const Json::Value file = ReadJson(KeyboardFolder() / (guid + ".mac"));
    ASSERT_EQ(file["Events"].size(), 3u);
    EXPECT_EQ(file["Events"][0]["Delay"], "7");
    EXPECT_EQ(file["Events"][2]["Type"], 4);
    EXPECT_EQ(file["Events"][2]["Action"], "down");
    EXPECT_EQ(file["MacroName"], "macro_2");
    EXPECT_EQ(file["Version"], 64);

    // The one macro a key plays, as the keyboard stores it: header, one offset, then the
    // record of three events (delay, type with bit 7 for "down", button).
    SetKeyAndApply(program, 64, kPlaysSecondMacro);
    const std::string image =
        "aa55" "2200" "0100" "00000000000000000000" "1200"
        "0300" "0000" "07008101" "32000101" "3200841e";
    Json::Value memory = Memory(program);
    EXPECT_EQ(memory["macro"].asString().substr(0, image.size()), image);
    EXPECT_NE(memory["keytable"], memory["keylayout"]);

    // Deleting the first macro: nobody plays it, so only one question; the key now plays
    // the same macro under its new number, and the keyboard is told.
    Messages(program);
    Answer(program, 1);
    Json::Value first;
    first["cmd"] = "notify";
    first["control"] = "macro_name_list";
    first["type"] = "itemselect";
    first["index"] = 0;
    Ask(program, first);
    Click(program, "macro_btn_name_sub");
    Wait(program, kWriteMs);
    EXPECT_EQ(Messages(program), std::vector<std::string>{"message_text_4"});
    memory = Memory(program);
    EXPECT_EQ(memory["macro"].asString().substr(0, image.size()), image);
    EXPECT_NE(memory["keytable"], memory["keylayout"]);
    EXPECT_EQ(Get(program, "macro_edit_macroname")["text"], "macro_2");

    // Deleting the macro the key plays asks twice; the key gets its own function back.
    Answer(program, 1);
    Answer(program, 1);
    Click(program, "macro_btn_name_sub");
    Wait(program, kWriteMs);
    EXPECT_EQ(Messages(program), (std::vector<std::string>{"message_text_4", "message_text_2"}));
    memory = Memory(program);
    EXPECT_EQ(memory["keytable"], memory["keylayout"]);
    EXPECT_FALSE(fs::exists(KeyboardFolder() / (guid + ".mac")));
    EXPECT_EQ(ReadJson(KeyboardFolder() / "macro.config")["MacroInfo"].size(), 0u);
    EXPECT_FALSE(Get(program, "macro_btn_name_sub")["enabled"].asBool());
    program.Finish();
}

TEST_F(MacroJourney, ImportTakesOnlyMacrosAndSaysWhatWentWrong) {
    const fs::path outside = sandbox_.Root() / "outside";
    fs::create_directories(outside);
    std::ofstream(outside / "notes.mac") << "shopping list";
    std::ofstream(outside / "good.mac")
        << R"({"Events":[{"Type":10,"Button":4,"Action":"down","Delay":"20"}],"Version":64})";

    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Wait(program, kConnectionMs);
    Notify(program, "macro_Op_tab", "selectchanged");
    for (const char* file : {"notes.mac", "good.mac"}) {
        Json::Value dialog;
        dialog["cmd"] = "dialog";
        dialog["path"] = (outside / file).string();
        Ask(program, dialog);
        Click(program, "macro_btn_import");
    }
    EXPECT_EQ(Messages(program), std::vector<std::string>{"message_macro_not_a_macro"});
    const Json::Value names = Get(program, "macro_name_list");
    ASSERT_EQ(names["items"].size(), 1u);
    EXPECT_EQ(names["items"][0], "macro_1");
    EXPECT_EQ(Get(program, "macro_action_list")["items"][0], "A 20");

    // An export to a folder that does not exist fails out loud.
    Json::Value dialog;
    dialog["cmd"] = "dialog";
    dialog["path"] = (outside / "no" / "such" / "x.mac").string();
    Ask(program, dialog);
    Click(program, "macro_btn_export");
    EXPECT_EQ(Messages(program), std::vector<std::string>{"message_macro_export_failed"});

    // The page as a person sees it, at 150 %.
    Json::Value shot;
    shot["cmd"] = "screenshot";
    shot["path"] = (outside / "macros.png").string();
    shot["dpi"] = 144;
    Ask(program, shot);
    std::ifstream png(outside / "macros.png", std::ios::binary);
    unsigned char header[24] = {};
    png.read(reinterpret_cast<char*>(header), sizeof header);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(header) + 1, 3), "PNG");
    const unsigned width = header[16] << 24 | header[17] << 16 | header[18] << 8 | header[19];
    EXPECT_EQ(width, 1500u);
    program.Finish();
}

}  // namespace
}  // namespace journeys
