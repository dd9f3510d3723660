// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "Version.h"
#include "app/Application.h"
#include "app/CommandLine.h"

TEST(CommandLine, KnownFlagsParseAndUnknownOnesAreRefusedWithTheirName) {
    std::string error;
    auto ok = app::ParseCommandLine({"--version"}, error);
    ASSERT_TRUE(ok.has_value());
    EXPECT_TRUE(ok->Has("version"));
    EXPECT_FALSE(ok->Has("help"));

    EXPECT_FALSE(app::ParseCommandLine({"--frobnicate"}, error).has_value());
    EXPECT_NE(error.find("--frobnicate"), std::string::npos);
    EXPECT_FALSE(app::ParseCommandLine({"stray"}, error).has_value());
    EXPECT_FALSE(app::ParseCommandLine({"--version=3"}, error).has_value());
}

TEST(CommandLine, VersionNamesTheVersionAloneOnItsFirstLineThenTheLicence) {
    const std::string text = app::VersionText();
    EXPECT_EQ(text.substr(0, text.find('\n')), std::string("telix-tx512 ") + TX512_VERSION);
    EXPECT_NE(text.find("GPL-3.0-or-later"), std::string::npos);
    EXPECT_NE(text.find("Copyright (C) "), std::string::npos);
    EXPECT_NE(text.find("NO WARRANTY"), std::string::npos);
}

TEST(CommandLine, HelpListsEveryOption) {
    std::string help = app::HelpText();
    for (const auto& option : app::KnownOptions()) {
        EXPECT_NE(help.find("--" + option.name), std::string::npos) << option.name;
    }
}

TEST(CommandLine, SimulateTakesAnOptionalChoiceOnlyAfterAnEqualsSign) {
    std::string error;
    auto plain = app::ParseCommandLine({"--simulate", "--headless", "--script", "-"}, error);
    ASSERT_TRUE(plain.has_value()) << error;
    EXPECT_EQ(plain->Value("simulate"), "");
    EXPECT_EQ(plain->Value("script"), "-");

    auto chosen = app::ParseCommandLine({"--simulate=pad"}, error);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->Value("simulate"), "pad");
    // A separate word is not the choice: it stays an argument, and a stray one is refused.
    EXPECT_FALSE(app::ParseCommandLine({"--simulate", "pad"}, error).has_value());

    for (const char* value : {"", "keyboard", "pad", "mouse", "mouse6", "all", "none"}) {
        EXPECT_TRUE(app::SimulationChoice::Parse(value).has_value()) << value;
    }
    EXPECT_TRUE(app::SimulationChoice::Parse("")->keyboard);
    EXPECT_TRUE(app::SimulationChoice::Parse("")->pad);
    EXPECT_FALSE(app::SimulationChoice::Parse("keyboard")->pad);
    EXPECT_FALSE(app::SimulationChoice::Parse("none")->Any());
    // Bare --simulate stays keyboard and pad; "all" adds the mouse; "mouse6" is the mouse
    // behind its receiver.
    EXPECT_FALSE(app::SimulationChoice::Parse("")->mouse);
    EXPECT_TRUE(app::SimulationChoice::Parse("all")->mouse);
    EXPECT_TRUE(app::SimulationChoice::Parse("all")->keyboard);
    EXPECT_FALSE(app::SimulationChoice::Parse("mouse")->mouseLongWait);
    EXPECT_TRUE(app::SimulationChoice::Parse("mouse6")->mouseLongWait);
    EXPECT_FALSE(app::SimulationChoice::Parse("mouse")->keyboard);
    EXPECT_FALSE(app::SimulationChoice::Parse("Mouse").has_value());
}
