// SPDX-License-Identifier: GPL-3.0-or-later
// Where a command's file name points and what an export may replace: only what the user
// named, and only a plain file that is not one of the program's own.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/cli/CommandFiles.h"
#include "platform/UniqueFd.h"

namespace app::cli {
namespace {

namespace fs = std::filesystem;

class CommandFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-files-XXXXXX";
        root_ = ::mkdtemp(pattern);
        for (const char* sub : {"data", "config", "runtime", "home"}) fs::create_directories(root_ / sub);
        ::chmod((root_ / "runtime").c_str(), 0700);
        ::setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (root_ / "runtime").c_str(), 1);
    }
    void TearDown() override {
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) ::unsetenv(name);
        fs::remove_all(root_);
    }
    fs::path Home(const std::string& name) const { return root_ / "home" / name; }
    fs::path root_;
};

TEST_F(CommandFilesTest, ARelativeNameIsTakenWhereTheCommandWasTyped) {
    std::string why;
    EXPECT_EQ(CommandFile("/abs/p.json", "", why), fs::path("/abs/p.json"));
    EXPECT_EQ(CommandFile("out/../p.json", "/home/me", why), fs::path("/home/me/p.json"));
    EXPECT_TRUE(why.empty());
    // Without the typing folder there is no right answer: never the running copy's own.
    EXPECT_TRUE(CommandFile("p.json", "", why).empty());
    EXPECT_NE(why.find("relative"), std::string::npos) << why;
    why.clear();
    EXPECT_TRUE(CommandFile("p.json", "not/absolute", why).empty());
    EXPECT_FALSE(why.empty());
}

TEST_F(CommandFilesTest, ExportWritesNewOrPlainFilesOnly) {
    EXPECT_EQ(ExportProblem(Home("new.json")), "");
    std::ofstream(Home("old.json")) << "{}";
    EXPECT_EQ(ExportProblem(Home("old.json")), "");

    ASSERT_EQ(::mkfifo(Home("fifo").c_str(), 0600), 0);
    EXPECT_NE(ExportProblem(Home("fifo")).find("not a regular file"), std::string::npos);
    EXPECT_NE(ExportProblem("/dev/null").find("not a regular file"), std::string::npos);

    platform::UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM, 0));
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, Home("sock").c_str());
    ASSERT_EQ(::bind(fd.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    EXPECT_NE(ExportProblem(Home("sock")).find("not a regular file"), std::string::npos);

    // Never through a link, wherever it points, and not even a dangling one.
    fs::create_symlink(Home("old.json"), Home("link.json"));
    fs::create_symlink(Home("nowhere.json"), Home("dangling.json"));
    EXPECT_NE(ExportProblem(Home("link.json")).find("symbolic link"), std::string::npos);
    EXPECT_NE(ExportProblem(Home("dangling.json")).find("symbolic link"), std::string::npos);

    EXPECT_NE(ExportProblem(root_ / "home").find("is a folder"), std::string::npos);
    EXPECT_NE(ExportProblem(Home("missing/p.json")).find("does not exist"), std::string::npos);
}

TEST_F(CommandFilesTest, ExportStaysOutOfTheProgramsOwnFolders) {
    const fs::path settings = root_ / "config" / "TELIX TX512 keyboard Driver" / "settings.json";
    fs::create_directories(settings.parent_path());
    std::ofstream(settings) << "{}";
    EXPECT_NE(ExportProblem(settings).find("settings folder"), std::string::npos);
    const fs::path lock = root_ / "runtime" / "TELIX_TX512_keyboard_Driver.lock";
    std::ofstream(lock) << "";
    EXPECT_NE(ExportProblem(lock).find("runtime folder"), std::string::npos);
    EXPECT_NE(ExportProblem(root_ / "data" / "TELIX TX512 keyboard Driver" / "x.json").find("data folder"),
              std::string::npos);
    // Also when a folder on the way is a link into them.
    fs::create_directory_symlink(root_ / "config", Home("cfg"));
    EXPECT_NE(ExportProblem(Home("cfg") / "TELIX TX512 keyboard Driver" / "new.json").find("settings folder"),
              std::string::npos);
}

}  // namespace
}  // namespace app::cli
