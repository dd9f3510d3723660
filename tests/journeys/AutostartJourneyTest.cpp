// SPDX-License-Identifier: GPL-3.0-or-later
// Starting at login: the settings window's tick writes and removes the autostart entry,
// shows what the desktop will do, and the entry starts the program in the tray.
#include <gtest/gtest.h>
#include <json/json.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

namespace fs = std::filesystem;

class AutostartJourney : public ::testing::Test {
protected:
    fs::path Entry() const {
        return sandbox_.Root() / "config" / "autostart" / "telix-tx512.desktop";
    }
    bool Ticked(Script& script) { return script.Get("autostart_check")["selected"].asBool(); }
    void Tick(Script& script, bool on) {
        Json::Value extra;
        extra["selected"] = on;
        script.Notify("autostart_check", "selectchanged", extra);
    }
    Sandbox sandbox_;
};

TEST_F(AutostartJourney, TheSettingsTickWritesAndRemovesTheEntry) {
    HeadlessProgram program(sandbox_, {"--simulate=none"});
    Script script(program);
    script.Menu("setwnd_menu");
    EXPECT_FALSE(Ticked(script));

    Tick(script, true);
    ASSERT_TRUE(fs::exists(Entry()));
    const std::string text = ReadTextFile(Entry());
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(text.find("telix-tx512\" --hidden\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
    EXPECT_TRUE(Ticked(script));

    Tick(script, false);
    EXPECT_FALSE(fs::exists(Entry()));
    EXPECT_FALSE(Ticked(script));
    EXPECT_TRUE(script.Messages().empty());
    script.Click("closebtn");
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(AutostartJourney, AnEntryTheUserHidOrCannotBeWrittenShowsUnticked) {
    fs::create_directories(Entry().parent_path());
    std::ofstream(Entry()) << "[Desktop Entry]\nType=Application\nExec=telix-tx512 --hidden\n"
                              "Hidden=true\n";
    {
        HeadlessProgram program(sandbox_, {"--simulate=none"});
        Script script(program);
        script.Menu("setwnd_menu");
        EXPECT_FALSE(Ticked(script));
        script.Click("closebtn");
        EXPECT_EQ(program.Finish(), 0);
    }
    // A folder where the entry belongs: the tick stays off and the user is told.
    fs::remove(Entry());
    fs::create_directories(Entry() / "in-the-way");
    HeadlessProgram program(sandbox_, {"--simulate=none"});
    Script script(program);
    script.Menu("setwnd_menu");
    script.Answer(1);
    Tick(script, true);
    EXPECT_FALSE(Ticked(script));
    const auto messages = script.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "settings_autostart_failed_text");
    script.Click("closebtn");
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(AutostartJourney, StartedHiddenTheWindowStaysInTheTrayUntilAsked) {
    HeadlessProgram program(sandbox_, {"--simulate", "--hidden"});
    Script script(program);
    script.Wait(1500);  // the first scan and the devices' arrival
    Json::Value window;
    window["cmd"] = "window";
    EXPECT_FALSE(script.Ask(window)["visible"].asBool());
    script.Sim("pad", "unplug");
    script.Sim("pad", "plug");
    script.Wait(300);
    EXPECT_FALSE(script.Ask(window)["visible"].asBool());
    // A second start is the user asking for the window.
    EXPECT_EQ(RunProgram(sandbox_, {}), 0);
    script.Wait(200);
    EXPECT_TRUE(script.Ask(window)["visible"].asBool());
    EXPECT_EQ(program.Finish(), 0);
}

}  // namespace
}  // namespace journeys
