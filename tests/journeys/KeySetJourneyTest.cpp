// SPDX-License-Identifier: GPL-3.0-or-later
// Key assignment seen from outside: a key clicked on the picture gets a function in the
// key panel, "Save to keyboard" puts exactly that key's entry into the keyboard's key
// table, and a key typed into the capture field becomes the assignment.
#include <gtest/gtest.h>
#include <json/json.h>

#include <string>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

constexpr int kKeySetWriteMs = 1500;
constexpr int kPosition = 30;

class KeySetJourney : public ::testing::Test {
protected:
    static Json::Value With(const char* member, const Json::Value& value) {
        Json::Value extra;
        extra[member] = value;
        return extra;
    }
    // The key table entry (type, byte 1, byte 0 as hex) of a key position.
    static std::string Entry(Script& script, int position) {
        Json::Value status;
        status["cmd"] = "device";
        status["op"] = "status";
        const int slot = script.Ask(status)["slots"][position].asInt();
        const std::string table = script.Sim("keyboard", "memory")["keytable"].asString();
        return table.substr(static_cast<std::size_t>(slot) * 6, 6);
    }
    static std::string TableWithout(Script& script, int position) {
        Json::Value status;
        status["cmd"] = "device";
        status["op"] = "status";
        const int slot = script.Ask(status)["slots"][position].asInt();
        std::string table = script.Sim("keyboard", "memory")["keytable"].asString();
        return table.erase(static_cast<std::size_t>(slot) * 6, 6);
    }
    static void OpenKeyAndCategory(Script& script, int category) {
        script.Notify("key_Op_tab", "selectchanged", With("selected", true));
        script.Click("key_" + std::to_string(kPosition));
        script.Notify("keyset_function_combo", "itemselect", With("index", category));
    }

    Sandbox sandbox_;
};

TEST_F(KeySetJourney, AKeyGivenAMediaFunctionChangesOnlyItsOwnEntry) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Script script(program);
    script.Wait(kConnectionMs);
    const std::string others = TableWithout(script, kPosition);
    OpenKeyAndCategory(script, 7);
    EXPECT_TRUE(script.Get("key_" + std::to_string(kPosition))["keyselected"].asBool());
    script.Notify("keyset_media_combo", "itemselect", With("index", 1));  // play/pause
    EXPECT_TRUE(script.Get("key_butt_prosave")["enabled"].asBool());
    script.Click("key_butt_prosave");
    script.Wait(kKeySetWriteMs);
    EXPECT_EQ(script.Messages(), std::vector<std::string>{});
    EXPECT_EQ(Entry(script, kPosition), "30cd00");
    EXPECT_EQ(TableWithout(script, kPosition), others);
    EXPECT_FALSE(script.Get("key_butt_prosave")["enabled"].asBool());
    // The picture says what the key does now.
    const std::string tip = script.Get("key_" + std::to_string(kPosition))["tooltip"].asString();
    EXPECT_NE(tip.find("→"), std::string::npos) << tip;
    program.Finish();
}

TEST_F(KeySetJourney, AKeyTypedIntoTheCaptureFieldBecomesTheAssignment) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Script script(program);
    script.Wait(kConnectionMs);
    OpenKeyAndCategory(script, 6);
    Json::Value click;
    click["cmd"] = "mouse";
    click["control"] = "keyset_keyboard_text_edit";
    script.Ask(click);
    Json::Value key;
    key["cmd"] = "key";
    key["name"] = "RAlt";
    script.Ask(key);
    key["name"] = "B";
    script.Ask(key);
    EXPECT_EQ(script.Get("keyset_keyboard_text_edit")["text"], "B");
    EXPECT_TRUE(script.Get("key_ComBox_check_3")["selected"].asBool());
    // A key the table does not have (Mute) is not taken.
    Json::Value mute;
    mute["cmd"] = "key";
    mute["code"] = 113;
    script.Ask(mute);
    EXPECT_EQ(script.Get("keyset_keyboard_text_edit")["text"], "B");
    script.Click("key_butt_prosave");
    script.Wait(kKeySetWriteMs);
    EXPECT_EQ(Entry(script, kPosition), "200405");  // left Alt bit, B
    program.Finish();
}

}  // namespace
}  // namespace journeys
