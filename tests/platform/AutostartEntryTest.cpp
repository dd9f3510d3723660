// SPDX-License-Identifier: GPL-3.0-or-later
// The autostart entry as desktops read it: quoting of the program's path, Hidden=true, and
// a system entry that the user's own entry must override rather than merely lose.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/AutostartEntry.h"

namespace fs = std::filesystem;
using platform::AutostartEntry;

namespace {

class AutostartEntryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-autostart-XXXXXX";
        root_ = ::mkdtemp(pattern);
    }
    void TearDown() override { fs::remove_all(root_); }
    AutostartEntry Entry() {
        return AutostartEntry(root_ / "user", {root_ / "sys1", root_ / "sys2"});
    }
    void Write(const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    std::string Read(const fs::path& file) {
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path root_;
};

TEST(AutostartEntryText, ExecQuotesEveryPathTheDesktopCouldMisread) {
    EXPECT_EQ(AutostartEntry::ExecArgument("/usr/bin/telix-tx512"), "\"/usr/bin/telix-tx512\"");
    EXPECT_EQ(AutostartEntry::ExecArgument("/opt/my tools/t"), "\"/opt/my tools/t\"");
    // Inside quotes ", `, $ and \ take a backslash, which the string escaping doubles.
    EXPECT_EQ(AutostartEntry::ExecArgument("a\"b`c$d"), "\"a\\\\\"b\\\\`c\\\\$d\"");
    EXPECT_EQ(AutostartEntry::ExecArgument("a\\b"), "\"a\\\\\\\\b\"");
    EXPECT_EQ(AutostartEntry::ExecArgument("100%"), "\"100%%\"");
    const std::string text = AutostartEntry::EntryText("/usr/bin/telix-tx512");
    EXPECT_NE(text.find("\nExec=\"/usr/bin/telix-tx512\" --hidden\n"), std::string::npos) << text;
    EXPECT_FALSE(AutostartEntry::SaysHidden(text));
}

TEST(AutostartEntryText, HiddenCountsOnlyInTheDesktopEntryGroup) {
    EXPECT_TRUE(AutostartEntry::SaysHidden("[Desktop Entry]\nName=x\nHidden=true\n"));
    EXPECT_TRUE(AutostartEntry::SaysHidden("# c\n[Desktop Entry]\n  Hidden = true \r\n"));
    EXPECT_FALSE(AutostartEntry::SaysHidden("[Desktop Entry]\nHidden=false\n"));
    EXPECT_FALSE(
        AutostartEntry::SaysHidden("[Desktop Entry]\nHidden=True\n"));  // values are case-sensitive
    EXPECT_FALSE(AutostartEntry::SaysHidden("[Desktop Action x]\nHidden=true\n"));
    EXPECT_FALSE(AutostartEntry::SaysHidden("[Desktop Entry]\nNoHidden=true\n"));
}

TEST_F(AutostartEntryTest, EnableAndDisableTheUsersOwnEntry) {
    AutostartEntry entry = Entry();
    EXPECT_FALSE(entry.IsActive());
    EXPECT_TRUE(entry.DecidingFile().empty());
    ASSERT_TRUE(entry.Enable("/usr/bin/telix-tx512"));
    EXPECT_TRUE(entry.IsActive());
    EXPECT_EQ(entry.DecidingFile(), root_ / "user" / "telix-tx512.desktop");
    ASSERT_TRUE(entry.Disable());
    EXPECT_FALSE(fs::exists(entry.UserFile()));
    EXPECT_FALSE(entry.IsActive());
    EXPECT_TRUE(entry.Disable());  // nothing there is nothing to do
}

TEST_F(AutostartEntryTest, ASystemEntryIsHiddenByTheUsersRatherThanComingBack) {
    Write(root_ / "sys2" / "telix-tx512.desktop", "[Desktop Entry]\nExec=telix-tx512 --hidden\n");
    AutostartEntry entry = Entry();
    EXPECT_TRUE(entry.IsActive());
    ASSERT_TRUE(entry.Disable());
    EXPECT_TRUE(AutostartEntry::SaysHidden(Read(entry.UserFile())));
    EXPECT_FALSE(entry.IsActive());
    ASSERT_TRUE(entry.Enable("/usr/bin/telix-tx512"));
    EXPECT_TRUE(entry.IsActive());

    // A system entry hidden already needs no entry of the user's.
    Write(root_ / "sys1" / "telix-tx512.desktop", "[Desktop Entry]\nHidden=true\n");
    ASSERT_TRUE(entry.Disable());
    EXPECT_FALSE(fs::exists(entry.UserFile()));
    EXPECT_FALSE(entry.IsActive());

    // An entry that is not a sensible file counts as hidden.
    Write(entry.UserFile(), std::string(70 * 1024, '#'));
    EXPECT_FALSE(entry.IsActive());
}

TEST_F(AutostartEntryTest, TheFoldersComeFromTheEnvironment) {
    ::setenv("XDG_CONFIG_HOME", (root_ / "cfg").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", ("relative:" + (root_ / "sysA").string()).c_str(), 1);
    Write(root_ / "sysA" / "autostart" / "telix-tx512.desktop", "[Desktop Entry]\n");
    AutostartEntry entry;
    EXPECT_EQ(entry.UserFile(), root_ / "cfg" / "autostart" / "telix-tx512.desktop");
    EXPECT_EQ(entry.DecidingFile(), root_ / "sysA" / "autostart" / "telix-tx512.desktop");
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_CONFIG_DIRS");
}

}  // namespace
