// SPDX-License-Identifier: GPL-3.0-or-later
// The sectioned ini file of the skin record, and the desktop settings tools.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/DesktopSettings.h"
#include "platform/IniFile.h"

namespace fs = std::filesystem;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-ini-XXXXXX";
        dir_ = ::mkdtemp(pattern);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Bytes() const {
        std::ifstream in(dir_ / "main.ini", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path dir_;
};

TEST_F(IniFileTest, ValuesAreWrittenIntoTheirSectionAndEverythingElseStays) {
    const platform::IniFile ini(dir_ / "main.ini");
    EXPECT_FALSE(ini.Read("SKINIMAGE", "FLAGS").has_value()) << "no file yet";
    ASSERT_TRUE(ini.Write("SKINIMAGE", "FLAGS", "1"));
    ASSERT_TRUE(ini.Write("SKINIMAGE", "IMAGE", "common/background.png"));
    EXPECT_EQ(Bytes(), "[SKINIMAGE]\r\nFLAGS=1\r\nIMAGE=common/background.png\r\n");

    // Another program's sections, comments and blank lines survive a write.
    std::ofstream(dir_ / "main.ini", std::ios::binary)
        << "; mine\n[Other]\nA = 1\n\n[skinimage]\nflags = 0\n\n[Last]\nB=2\n";
    ASSERT_TRUE(ini.Write("SKINIMAGE", "FLAGS", "1"));
    ASSERT_TRUE(ini.Write("SKINIMAGE", "IMAGE", "x.png"));
    EXPECT_EQ(Bytes(),
              "; mine\r\n[Other]\r\nA = "
              "1\r\n\r\n[skinimage]\r\nFLAGS=1\r\nIMAGE=x.png\r\n\r\n[Last]\r\nB=2\r\n");
    EXPECT_EQ(ini.Read("SkinImage", "image").value_or(""), "x.png");
    EXPECT_EQ(ini.Read("Other", "A").value_or(""), "1");
    EXPECT_FALSE(ini.Read("Other", "IMAGE").has_value()) << "keys belong to their section";

    // Nothing that would break the file's lines is written.
    EXPECT_FALSE(ini.Write("SKINIMAGE", "IMAGE", "a\nFLAGS=1"));
    EXPECT_FALSE(ini.Write("SKIN]X", "IMAGE", "a"));
    EXPECT_FALSE(ini.Write("SKINIMAGE", "A=B", "a"));
    EXPECT_EQ(ini.Read("SKINIMAGE", "IMAGE").value_or(""), "x.png");
}

TEST(DesktopSettings, EachKnownDesktopHasItsToolAndOthersNone) {
    using Page = platform::DesktopSettings::Page;
    using Command = std::vector<std::string>;
    EXPECT_EQ(platform::DesktopSettings::CommandFor("ubuntu:GNOME", Page::Keyboard),
              (Command{"gnome-control-center", "keyboard"}));
    EXPECT_EQ(platform::DesktopSettings::CommandFor("KDE", Page::Mouse),
              (Command{"systemsettings", "kcm_mouse"}));
    EXPECT_EQ(platform::DesktopSettings::CommandFor("xfce", Page::Mouse),
              (Command{"xfce4-mouse-settings"}));
    EXPECT_EQ(platform::DesktopSettings::CommandFor("X-Cinnamon", Page::Keyboard),
              (Command{"cinnamon-settings", "keyboard"}));
    EXPECT_TRUE(platform::DesktopSettings::CommandFor("", Page::Keyboard).empty());
    EXPECT_TRUE(platform::DesktopSettings::CommandFor("sway", Page::Keyboard).empty());
    EXPECT_FALSE(platform::DesktopSettings::Open(2)) << "no page 2";
    ::setenv("XDG_CURRENT_DESKTOP", "none-known", 1);
    EXPECT_FALSE(platform::DesktopSettings::Open(0));
    ::unsetenv("XDG_CURRENT_DESKTOP");
}

}  // namespace
