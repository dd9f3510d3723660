// SPDX-License-Identifier: GPL-3.0-or-later
// The missing-key check: every text key that the layouts, the program's code and the
// program's fixed tables use has a text in every shipped language. A key without a text
// shows as the key itself, so a user would read "message_text_16" in a message box.
#include <gtest/gtest.h>
#include <json/json.h>

#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "ShippedFiles.h"
#include "data/JsonDataFile.h"

namespace {

namespace fs = std::filesystem;
using shipped::SkinDir;

// Keys the program uses by name: its messages, the names of keys, buttons, functions and
// device kinds, the texts it composes and the texts it sets on controls.
std::set<std::string> ProgramKeys() {
    std::set<std::string> keys = {
        "message_text_2", "message_text_4", "message_text_5", "message_text_6", "message_text_7",
        "message_text_16", "message_text_22", "message_text_25", "Key_Set", "close_text", "show_window", "关闭",
        "控制灯光", "不控制灯光", "Repeat_Delay_Time", "Repeat_input_text", "software_rev_text", "Light_Set",
        "Overall_Light_Set", "keyboard", "mouse", "MousePad", "HD", "mouse_cursor_text",
        "light_set_right_to_left_text", "light_set_left_to_right_text", "light_set_down_to_up_text",
        "light_set_up_to_down_text", "light_set_outside_to_inside_text", "light_set_inside_to_outside_text",
        "Phone_type_iphone", "Phone_type_samsung", "Phone_type_other", "Phone_type_no_device"};
    for (const char* k : {"kb", "ms", "hard_mp", "soft_mp", "hd", "hub", "unknow"})
        keys.insert(std::string(k) + "_device_name_text");
    for (const char* k : {"media_text", "media_play", "media_stop", "media_prev", "media_next", "media_vol_sub",
                          "media_vol_add", "media_mute", "web_text", "web_refresh", "wed_stop", "wed_back",
                          "wed_forward", "wed_favorite", "web_search", "media_mypc", "media_calc", "media_mail",
                          "system_power", "system_sleep", "system_wake_up", "gun_1_txt", "gun_2_txt", "gun_3_txt",
                          "gun_4_txt"})
        keys.insert(k);
    for (const char* k : {"left", "middle", "right", "forward", "back", "right_Swing", "left_Swing", "down_Swing",
                          "up_Swing", "DPI_add", "DPI_sub", "DPI_loop", "fire_key", "DPI_shift", "smart_key"})
        keys.insert(std::string("mouse_key_") + k);
    for (const char* k : {"left", "right", "up", "down"}) keys.insert(std::string("mouse_move_to_") + k + "_text");
    for (const char* k : {"cut", "copy", "paste", "undo", "select_all", "find", "new", "save", "open"})
        keys.insert(std::string("custem_") + k);
    // The key table's names, the extra key-name rows and the device's own keys.
    const char* names[] = {
        "LCtrl", "LShift", "LAlt", "LWin", "RCtrl", "RShift", "RAlt", "RWin", "Enter", "Esc", "BackSpace", "Tab",
        "Space", "-", "=", "[", "]", "xiegang", ";", "'", "`", "<", ".", "/", "Caplk", "Print Scr",
        "Scroll Lock", "Pause", "Insert", "Home", "Page Up", "Delete", "End", "Page Down", "Right", "Left", "Down",
        "Up", "Num Lock", "Num /", "Num *", "Num -", "Num +", "Num Enter", "Decimal", "App", "K45", "K56", "K14",
        "K107", "K131", "K132", "K133", "K150", "K151", "K42", "FN", "GM", "Power", "Sleep", "Wakeup",
        "Launch App2", "Browaer Home", "Media Play Pause", "Browser Search", "Launch Mail", "Volume Up",
        "Volume Mute", "Media Stop", "Volume Down", "Browser Favorites", "Browser ForWard", "Browser Back",
        "Media Prev Track", "Media Next Track", "Computer", "Browser Refresh", "Launch Media Select"};
    for (const char* name : names) keys.insert(std::string("keyboard_key_") + name);
    for (char c = 'A'; c <= 'Z'; ++c) keys.insert(std::string("keyboard_key_") + c);
    for (int n = 0; n <= 9; ++n) {
        keys.insert("keyboard_key_" + std::to_string(n));
        keys.insert("keyboard_key_Num " + std::to_string(n));
    }
    for (int n = 1; n <= 12; ++n) keys.insert("keyboard_key_F" + std::to_string(n));
    for (int n = 1; n <= 5; ++n) keys.insert("keyboard_key_M" + std::to_string(n));
    for (const char* status : {"LessUpdateText", "NeedUpdateText", "DownloadWaitText", "DownloadIngText",
                               "DownloadOkText", "UpdateIngText", "UpdateOkText", "UpdateFailText",
                               "GetUpdateInfoText", "HaveUpdateInfoText", "NoUpdateInfoText", "ISUpdateINGText",
                               "UpdateIsLastText"})
        keys.insert(status);
    return keys;
}

// Texts, tool-tips and edit tips of the layouts that the skin library translates.
std::map<std::string, std::string> LayoutKeys(std::set<std::string>& controlNames) {
    std::map<std::string, std::string> keys;  // key -> first layout using it
    for (const std::string& file : shipped::LayoutFiles()) {
        pugi::xml_document doc;
        EXPECT_TRUE(doc.load_file((SkinDir() / file).c_str())) << file;
        for (pugi::xpath_node found : doc.select_nodes("//*")) {
            const pugi::xml_node node = found.node();
            const std::string element = node.name();
            if (node.attribute("name")) controlNames.insert(node.attribute("name").as_string());
            if (element == "Style" || element == "Default" || element == "Font") continue;
            // Edits show what the user typed; only their tips are translated.
            const bool edit = element == "Edit" || element == "RichEdit";
            const bool literal = node.attribute("resourcetext") && !node.attribute("resourcetext").as_bool();
            std::vector<std::string> texts;
            if (!edit && !literal) {
                texts.push_back(node.attribute("text").as_string());
                texts.push_back(node.attribute("tooltip").as_string());
            }
            texts.push_back(node.attribute("tipvalue").as_string());
            for (const std::string& text : texts)
                if (!text.empty()) keys.emplace(text, file);
        }
    }
    return keys;
}

// String literals of the program's sources that name texts: the families of text keys the
// program uses. Control names and name prefixes ("polling_rate_option_") are not texts.
std::set<std::string> CodeKeys(const std::set<std::string>& controlNames) {
    static const std::regex family(
        "^(message_text_[0-9]+|keyboard_key_.+|mouse_key_\\w+|mouse_move_to_\\w+_text|mouse_cursor_text|"
        "(media|web|wed)_\\w+|system_(power|sleep|wake_up)|custem_\\w+|gun_[0-9]_txt|light_set_\\w+_text|"
        "light_mode_\\w+|Phone_type_\\w+|Repeat_\\w+|Key_Set|close_text|show_window|Light_Set|"
        "Overall_Light_Set|software_rev_text|\\w+_device_name_text|[A-Z][A-Za-z]*Text)$");
    static const std::regex literal("\"((?:[^\"\\\\\\n]|\\\\.)*)\"");
    std::set<std::string> keys;
    for (const auto& entry : fs::recursive_directory_iterator(shipped::SourceDir() / "src")) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string source = text.str();
        for (std::sregex_iterator it(source.begin(), source.end(), literal), end; it != end; ++it) {
            const std::string value = (*it)[1];
            if (value.empty() || value.back() == '_' || controlNames.count(value) != 0) continue;
            if (std::regex_match(value, family)) keys.insert(value);
        }
    }
    return keys;
}

std::set<std::string> DefaultLightKeys() {
    std::set<std::string> keys;
    const Json::Value names = JsonDataFile().ReadJsonFile(shipped::DefaultDataDir() / "default_light.json");
    for (const char* list : {"DefaultLightName", "AreaLightName"})
        for (const Json::Value& kind : names[list])
            for (const Json::Value& entry : kind) keys.insert(entry["LightName"].asString());
    return keys;
}

std::map<std::string, std::string> LanguageTexts(const std::string& file) {
    std::map<std::string, std::string> texts;
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file((SkinDir() / file).c_str())) << file;
    for (pugi::xml_node node : doc.document_element().children("Text")) {
        const pugi::xml_attribute value = node.attribute("value");
        texts[node.attribute("id").as_string()] = value ? value.as_string() : node.text().as_string();
    }
    return texts;
}

TEST(TextKeys, NoKeyUsedIsMissingInAnyShippedLanguage) {
    std::set<std::string> controlNames;
    std::map<std::string, std::string> used = LayoutKeys(controlNames);
    ASSERT_GT(used.size(), 100u) << "the layouts name hardly any texts";
    for (const std::string& key : ProgramKeys()) used.emplace(key, "the program");
    for (const std::string& key : CodeKeys(controlNames)) used.emplace(key, "the sources");
    for (const std::string& key : DefaultLightKeys()) used.emplace(key, "default_light.json");

    const std::vector<std::string> languages = shipped::LanguageFiles();
    ASSERT_GE(languages.size(), 3u);
    for (const std::string& language : languages) {
        const std::map<std::string, std::string> texts = LanguageTexts(language);
        std::vector<std::string> missing;
        for (const auto& [key, where] : used)
            if (texts.count(key) == 0) missing.push_back("\"" + key + "\" (" + where + ")");
        std::string list;
        for (const std::string& m : missing) list += "\n  " + m;
        EXPECT_TRUE(missing.empty()) << language << " lacks " << missing.size() << " text(s):" << list;
    }
}

TEST(TextKeys, EveryLanguageHasTheSameKeysAndNoEmptyText) {
    const std::vector<std::string> languages = shipped::LanguageFiles();
    ASSERT_FALSE(languages.empty());
    const std::map<std::string, std::string> first = LanguageTexts(languages.front());
    for (const std::string& language : languages) {
        const std::map<std::string, std::string> texts = LanguageTexts(language);
        for (const auto& [key, text] : texts) {
            EXPECT_FALSE(text.empty()) << language << ": " << key;
            EXPECT_EQ(first.count(key), 1u) << language << " has " << key << ", " << languages.front() << " not";
        }
        EXPECT_EQ(texts.size(), first.size()) << language;
    }
    // The first language the main window loads, before the saved one is applied.
    EXPECT_TRUE(fs::is_regular_file(SkinDir() / "lan_en.xml"));
}

TEST(TextKeys, FormatTextsTakeExactlyTheArgumentsTheProgramPasses) {
    // "message_text_16" is formatted with one integer; any other conversion in a
    // translation would read an argument that is not there.
    static const std::regex conversion("%[-+ #0]*[0-9]*(\\.[0-9]+)?[a-zA-Z%]");
    for (const std::string& language : shipped::LanguageFiles()) {
        const std::map<std::string, std::string> texts = LanguageTexts(language);
        for (const auto& [key, text] : texts) {
            std::vector<std::string> found;
            for (std::sregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it)
                found.push_back(it->str());
            if (key == "message_text_16")
                EXPECT_EQ(found, std::vector<std::string>{"%d"}) << language;
            else
                EXPECT_TRUE(found.empty()) << language << ": " << key << " would be read as a format";
        }
    }
}

}  // namespace
