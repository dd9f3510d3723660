// SPDX-License-Identifier: GPL-3.0-or-later
// Closing the main window with and without a tray host, and with a door's background work
// keeping the program: the program headless, the desktop's tray as the automation makes
// it out to be.
#include <gtest/gtest.h>

#include <string>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

constexpr const char* kNotice = "message_background_notice_text";

class TrayJourney : public ::testing::Test {
protected:
    static Json::Value Command(const std::string& line) {
        Json::Value value;
        Json::Reader().parse(line, value);
        return value;
    }
    static bool Visible(Script& script) {
        return script.Ask(Command(R"({"cmd":"window"})"))["visible"].asBool();
    }
    // Shows the window again as a tray click would (the program keeps running hidden).
    static void ShowAgain(Script& script) {
        script.Ask(Command(R"({"cmd":"send","msg":1025,"wparam":107,"lparam":514})"));
    }
    Sandbox sandbox;
};

TEST_F(TrayJourney, WithATrayClosingHidesAndWithoutOneItEndsTheProgram) {
    HeadlessProgram program(sandbox, {"--simulate=keyboard"});
    Script script(program);
    script.Wait(800);
    EXPECT_TRUE(script.Ask(Command(R"({"cmd":"window"})"))["tray"].asBool());
    script.Click("closebtn");
    EXPECT_FALSE(Visible(script));
    EXPECT_TRUE(script.Messages().empty());

    // The tray host went away while the program ran: the next close is the last.
    ShowAgain(script);
    EXPECT_TRUE(Visible(script));
    script.Ask(Command(R"({"cmd":"tray","shown":false})"));
    EXPECT_FALSE(script.Ask(Command(R"({"cmd":"window"})"))["tray"].asBool());
    program.Send(Command(R"({"cmd":"notify","control":"closebtn","type":"click"})"));
    EXPECT_EQ(program.WaitForExit(10000), 0) << program.StandardError();
}

TEST_F(TrayJourney, ABackgroundDutyKeepsTheProgramAndItSaysSoOncePerRunUntilTurnedOff) {
    {
        HeadlessProgram program(sandbox, {"--simulate=keyboard"});
        Script script(program);
        script.Wait(800);
        script.Ask(Command(R"({"cmd":"tray","shown":false})"));
        script.Ask(Command(R"({"cmd":"background","duty":"server","active":true})"));
        script.Answer(1);
        script.Click("closebtn");
        EXPECT_FALSE(Visible(script));
        const Json::Value shown = script.Ask(Command(R"({"cmd":"messages"})"))["messages"];
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0]["key"].asString(), kNotice);
        EXPECT_FALSE(shown[0]["dont_show_again"].asBool());
        EXPECT_NE(shown[0]["text"].asString().find("start it again"), std::string::npos);

        // Once per run: the second close says nothing.
        ShowAgain(script);
        script.Click("closebtn");
        EXPECT_FALSE(Visible(script));
        EXPECT_TRUE(script.Messages().empty());

        // The duty ended: now closing ends the program.
        ShowAgain(script);
        script.Ask(Command(R"({"cmd":"background","duty":"server","active":false})"));
        program.Send(Command(R"({"cmd":"notify","control":"closebtn","type":"click"})"));
        EXPECT_EQ(program.WaitForExit(10000), 0) << program.StandardError();
    }
    {
        // A new run tells again, and this time the user turns the notice off.
        HeadlessProgram program(sandbox, {"--simulate=keyboard"});
        Script script(program);
        script.Wait(800);
        script.Ask(Command(R"({"cmd":"tray","shown":false})"));
        script.Ask(Command(R"({"cmd":"background","duty":"rules","active":true})"));
        script.Ask(Command(R"({"cmd":"answer","result":1,"dont_show_again":true})"));
        script.Click("closebtn");
        const Json::Value shown = script.Ask(Command(R"({"cmd":"messages"})"))["messages"];
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_TRUE(shown[0]["dont_show_again"].asBool());
        script.Ask(Command(R"({"cmd":"quit"})"));
        EXPECT_EQ(program.Finish(), 0);
    }
    const Json::Value settings =
        ReadJsonFile(sandbox.Root() / "config" / "TELIX TX512 keyboard Driver" / "settings.json");
    EXPECT_EQ(settings["BackgroundNoticeOff"].asString(), "1") << settings.toStyledString();
    {
        HeadlessProgram program(sandbox, {"--simulate=keyboard"});
        Script script(program);
        script.Wait(800);
        script.Ask(Command(R"({"cmd":"tray","shown":false})"));
        script.Ask(Command(R"({"cmd":"background","duty":"rules","active":true})"));
        script.Click("closebtn");
        EXPECT_FALSE(Visible(script));
        EXPECT_TRUE(script.Messages().empty());
        script.Ask(Command(R"({"cmd":"quit"})"));
        EXPECT_EQ(program.Finish(), 0);
    }
}

TEST_F(TrayJourney, TheSettingsWindowExplainsStartAtLoginOnlyWithoutATray) {
    HeadlessProgram program(sandbox, {"--simulate=keyboard"});
    Script script(program);
    script.Wait(800);
    for (bool tray : {true, false}) {
        script.Ask(
            Command(std::string(R"({"cmd":"tray","shown":)") + (tray ? "true" : "false") + "}"));
        script.Menu("setwnd_menu");
        const Json::Value note = script.Get("autostart_no_tray_layout");
        EXPECT_EQ(note["visible"].asBool(), !tray) << note.toStyledString();
        EXPECT_NE(script.Get("autostart_no_tray_text")["text"].asString().find("start it again"),
                  std::string::npos);
        script.Click("closebtn");  // the settings window's
    }
    script.Ask(Command(R"({"cmd":"quit"})"));
    EXPECT_EQ(program.Finish(), 0);
}

}  // namespace
}  // namespace journeys
