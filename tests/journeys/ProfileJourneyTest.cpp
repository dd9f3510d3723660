// SPDX-License-Identifier: GPL-3.0-or-later
// Profiles seen from outside: what the user does with the profile panel must end up in
// the files the next start reads, and a switch must put the whole profile on the keyboard.
#include <gtest/gtest.h>
#include <json/json.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

namespace fs = std::filesystem;

constexpr int kSwitchMs = 1200;  // the 400 ms settling of a pick, then the writes
constexpr int kRemapped = 0x200005;

void WriteJson(const fs::path& path, const Json::Value& value) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << value.toStyledString();
}

std::string Hex(int byte) {
    static const char* digits = "0123456789abcdef";
    return {digits[(byte >> 4) & 15], digits[byte & 15]};
}

class ProfileJourney : public ::testing::Test {
protected:
    fs::path KeyboardFolder() const {
        return sandbox_.Root() / "data" / "TELIX TX512 keyboard Driver" / "keyboard";
    }
    // Two profiles, A and B: B lights in mode 7 and remaps key 64; A is selected.
    void WriteTwoProfiles() {
        const Json::Value defaults =
            ReadJsonFile(fs::path(TX512_SOURCE_DIR) / "resources" / "DefaultData" / "keyboard.Json");
        ASSERT_TRUE(defaults.isObject());
        Json::Value a = defaults;
        a["profilename"] = "A";
        a["profileUUID"] = "2026_01_01_00_00_00_001";
        Json::Value b = defaults;
        b["profilename"] = "B";
        b["profileUUID"] = "2026_01_01_00_00_00_002";
        b["Device"][0]["LightInfo"]["SelectItem"] = 7;
        b["Device"][0]["KeyList"][kPosition64]["Assignment"] = kRemapped;
        WriteJson(KeyboardFolder() / "2026_01_01_00_00_00_001.Json", a);
        WriteJson(KeyboardFolder() / "2026_01_01_00_00_00_002.Json", b);
        Json::Value list;
        for (const Json::Value* profile : {&a, &b}) {
            Json::Value entry;
            entry["profilename"] = (*profile)["profilename"];
            entry["profileUUID"] = (*profile)["profileUUID"];
            entry["profileislink"] = 0;
            entry["profilelinkmame"] = "";
            list["profilelist"].append(entry);
        }
        list["profileselect"] = 0;
        WriteJson(KeyboardFolder() / "ProfileList.ini", list);
    }

    Json::Value Ask(HeadlessProgram& program, const std::string& line) {
        Json::Value answer = program.Send(line);
        EXPECT_TRUE(answer["ok"].asBool()) << line << "\n"
                                           << answer.toStyledString() << program.StandardError();
        return answer;
    }
    void Wait(HeadlessProgram& program, int ms) {
        Ask(program, R"({"cmd":"wait","ms":)" + std::to_string(ms) + "}");
    }
    void Pick(HeadlessProgram& program, int index) {
        Ask(program,
            R"({"cmd":"notify","control":"device_profile_combo","type":"itemselect","index":)" +
                std::to_string(index) + "}");
    }
    void Click(HeadlessProgram& program, const std::string& control) {
        Ask(program,
            R"({"cmd":"notify","force":true,"type":"click","control":")" + control + "\"}");
    }
    Json::Value Combo(HeadlessProgram& program) {
        return Ask(program, R"({"cmd":"get","control":"device_profile_combo"})");
    }
    Json::Value Memory(HeadlessProgram& program) {
        return Ask(program, R"({"cmd":"sim","device":"keyboard","op":"memory"})");
    }
    Json::Value Messages(HeadlessProgram& program) {
        return Ask(program, R"({"cmd":"messages"})")["messages"];
    }
    // The keyboard's settings block 0 mode byte and the key table entry of key 64.
    std::string ModeOnDevice(const Json::Value& memory) {
        return memory["settings"].asString().substr(2, 2);
    }
    std::string Key64OnDevice(HeadlessProgram& program, const Json::Value& memory) {
        const int slot =
            Ask(program,
                R"({"cmd":"device","op":"status","device":"keyboard"})")["slots"][kPosition64]
                .asInt();
        return memory["keytable"].asString().substr(static_cast<size_t>(slot) * 6, 6);
    }

    Sandbox sandbox_;
};

TEST_F(ProfileJourney, ProfilesMadeAndEditedSurviveARestart) {
    {
        HeadlessProgram program(sandbox_, {"--simulate"});
        Wait(program, kConnectionMs);
        EXPECT_EQ(Combo(program)["items"].size(), 1u);
        Click(program, "device_add_btn");
        Pick(program, 1);
        Wait(program, kSwitchMs);
        Ask(program,
            R"({"cmd":"notify","control":"device_profile_name_edit","type":"textchanged","text":"Game"})");
        Click(program, "device_profile_edit_save_btn");
        Ask(program, R"({"cmd":"device","op":"setkey","position":64,"assignment":2097157})");
        EXPECT_EQ(Messages(program).size(), 0u);
        EXPECT_EQ(program.Finish(), 0);
    }
    HeadlessProgram program(sandbox_, {"--simulate"});
    Wait(program, kConnectionMs);
    const Json::Value combo = Combo(program);
    ASSERT_EQ(combo["items"].size(), 2u);
    EXPECT_EQ(combo["items"][1], "Game");
    EXPECT_EQ(combo["cursel"], 1);
    EXPECT_EQ(Ask(program, R"({"cmd":"get","control":"device_profile_name_edit"})")["text"],
              "Game");

    // The remapped key is Game's, and goes to the keyboard when Game is applied.
    Pick(program, 0);
    Wait(program, kSwitchMs);
    EXPECT_EQ(Key64OnDevice(program, Memory(program)), "200004");
    Pick(program, 1);
    Wait(program, kSwitchMs);
    EXPECT_EQ(Key64OnDevice(program, Memory(program)), "200005");
    EXPECT_EQ(Messages(program).size(), 0u);
}

TEST_F(ProfileJourney, ASwitchPutsTheWholeProfileOnTheKeyboardOncePerSettledPick) {
    WriteTwoProfiles();
    HeadlessProgram program(sandbox_, {"--simulate"});
    Wait(program, kConnectionMs);
    ASSERT_EQ(Combo(program)["items"].size(), 2u);
    Ask(program, R"({"cmd":"sim","device":"keyboard","op":"wirelog"})");

    // Five picks within 400 ms settle into one switch, to the last one picked.
    for (int index : {1, 0, 1, 0, 1}) {
        Pick(program, index);
        Wait(program, 40);
    }
    Wait(program, kSwitchMs);
    const std::vector<int> sent =
        CommandsSent(Ask(program, R"({"cmd":"sim","device":"keyboard","op":"wirelog"})"));
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 6), 1);  // one settings block
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 9), 7);  // one key table, 7 reports
    const Json::Value memory = Memory(program);
    EXPECT_EQ(ModeOnDevice(memory), Hex(7));
    EXPECT_EQ(Key64OnDevice(program, memory), "200005");
    EXPECT_EQ(Messages(program).size(), 0u);

    // Back to A: its own mode and its own key 64.
    Pick(program, 0);
    Wait(program, kSwitchMs);
    const Json::Value back = Memory(program);
    EXPECT_NE(ModeOnDevice(back), Hex(7));
    EXPECT_EQ(Key64OnDevice(program, back), "200004");

    // The factory defaults button restores B's defaults and writes them to the keyboard.
    Pick(program, 1);
    Wait(program, kSwitchMs);
    Ask(program, R"({"cmd":"answer","result":1})");
    Click(program, "default_btn");
    Wait(program, kSwitchMs);
    const Json::Value restored = Memory(program);
    EXPECT_EQ(ModeOnDevice(restored), Hex(1));
    EXPECT_EQ(Key64OnDevice(program, restored), "200004");
    const Json::Value messages = Messages(program);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]["key"], "message_text_22");
    const Json::Value file = ReadJsonFile(KeyboardFolder() / "2026_01_01_00_00_00_002.Json");
    EXPECT_EQ(file["profilename"], "B");
    EXPECT_EQ(file["Device"][0]["KeyList"][kPosition64]["Assignment"], 0x200004);
}

TEST_F(ProfileJourney, AProfileFileThatIsNotUtf8IsKeptAsideAndTheUserToldOnce) {
    WriteTwoProfiles();
    const fs::path file = KeyboardFolder() / "2026_01_01_00_00_00_001.Json";
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        bytes = text.str();
    }
    const std::string name = "\"profilename\" : \"A\"";
    ASSERT_NE(bytes.find(name), std::string::npos);
    bytes.replace(bytes.find(name), name.size(), "\"profilename\" : \"Caf\xe9\"");
    std::ofstream(file, std::ios::binary) << bytes;

    for (int run = 0; run < 2; ++run) {
        HeadlessProgram program(sandbox_, {"--simulate"});
        Wait(program, kConnectionMs);
        const Json::Value messages = Messages(program);
        if (run == 0) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0]["key"], "message_profile_reset_copy");
            EXPECT_NE(messages[0]["text"].asString().find("\nA\n"), std::string::npos);
            EXPECT_NE(messages[0]["text"].asString().find(".Json.unreadable-"), std::string::npos);
        } else {
            EXPECT_EQ(messages.size(), 0u);
        }
        EXPECT_EQ(program.Finish(), 0);
    }
    int copies = 0;
    for (const auto& item : fs::directory_iterator(KeyboardFolder())) {
        if (item.path().filename().string().rfind("2026_01_01_00_00_00_001.Json.unreadable-", 0) !=
            0)
            continue;
        ++copies;
        std::ifstream in(item.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_EQ(text.str(), bytes);
    }
    EXPECT_EQ(copies, 1);
    const Json::Value rebuilt = ReadJsonFile(file);
    EXPECT_EQ(rebuilt["profilename"], "A");
    EXPECT_EQ(rebuilt["profileUUID"], "2026_01_01_00_00_00_001");
}

TEST_F(ProfileJourney, ExportsAndImportsTellTheUserWhenAFileCannotBeWrittenOrRead) {
    HeadlessProgram program(sandbox_, {"--simulate"});
    Wait(program, kConnectionMs);
    const fs::path exported = sandbox_.Root() / "A.json";
    Ask(program, R"({"cmd":"dialog","path":")" + exported.string() + "\"}");
    Click(program, "device_export_btn");
    Ask(program, R"({"cmd":"dialog","path":")" + exported.string() + "\"}");
    Click(program, "device_import_btn");
    EXPECT_EQ(Combo(program)["items"][1], "profile1(1)");

    Ask(program,
        R"({"cmd":"dialog","path":")" + (sandbox_.Root() / "none" / "x.json").string() + "\"}");
    Click(program, "device_export_btn");
    Ask(program, R"({"cmd":"dialog","path":")" + (sandbox_.Root() / "gone.json").string() + "\"}");
    Click(program, "device_import_btn");
    const Json::Value messages = Messages(program);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0]["key"], "message_profile_export_failed");
    EXPECT_EQ(messages[1]["key"], "message_profile_import_failed");
    EXPECT_EQ(Combo(program)["items"].size(), 2u);
}

TEST_F(ProfileJourney, TheHighlightedTabIsThePageOnShow) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Wait(program, kConnectionMs);
    const auto selected = [&](const char* tab) {
        return Ask(program, std::string(R"({"cmd":"get","control":")") + tab + "\"}")["selected"]
            .asBool();
    };
    EXPECT_TRUE(selected("deng_Op_tab"));
    EXPECT_FALSE(selected("key_Op_tab"));
    Ask(program, R"({"cmd":"notify","control":"macro_Op_tab","type":"click"})");
    EXPECT_TRUE(selected("macro_Op_tab"));
    EXPECT_FALSE(selected("deng_Op_tab"));
    EXPECT_FALSE(Ask(program, R"({"cmd":"get","control":"cursor_Op_tab"})")["visible"].asBool());
}

}  // namespace
}  // namespace journeys
