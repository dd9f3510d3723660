#include <gtest/gtest.h>

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

TEST(CommandLine, HelpListsEveryOption) {
    std::string help = app::HelpText();
    for (const auto& option : app::KnownOptions()) {
        EXPECT_NE(help.find("--" + option.name), std::string::npos) << option.name;
    }
}
