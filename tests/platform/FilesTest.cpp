// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"

namespace fs = std::filesystem;

namespace {

class TempHome : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-platform-XXXXXX";
        dir_ = ::mkdtemp(pattern);
        ::setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(dir_);
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path dir_;
};

TEST_F(TempHome, UserDataDirCreatesEachMissingLevel) {
    fs::path kind = platform::UserDataDir("MousePad");
    EXPECT_EQ(kind, dir_ / "data" / "TELIX TX512 keyboard Driver" / "MousePad");
    EXPECT_TRUE(fs::is_directory(kind));
    EXPECT_TRUE(fs::is_directory(platform::ConfigDir()));
}

// A build tree keeps the data beside the binary; an installed tree keeps it in
// share/telix-tx512 beside lib/telix-tx512, under whatever prefix it was installed.
TEST_F(TempHome, DataDirIsBesideTheProgramInABuildTreeAndUnderShareWhenInstalled) {
    const fs::path program = dir_ / "usr" / "lib" / "telix-tx512";
    const fs::path shared = dir_ / "usr" / "share" / "telix-tx512";
    fs::create_directories(program);
    platform::SetProgramDir(program);
    EXPECT_EQ(platform::DataDir(), program)
        << "nothing anywhere: reported against the program folder";

    EXPECT_EQ(platform::InstalledDataDir(), shared);

    fs::create_directories(shared / "skin");
    EXPECT_EQ(platform::DataDir(), shared);

    fs::create_directories(program / "skin");
    EXPECT_EQ(platform::DataDir(), program) << "a build tree's own data comes first";
    platform::SetProgramDir({});
}

TEST_F(TempHome, AtomicWriteReplacesWholeAndKeepsPermissions) {
    fs::path file = dir_ / "profile.Json";
    ASSERT_TRUE(platform::WriteFileAtomically(file, "old"));
    ::chmod(file.c_str(), 0600);
    ASSERT_TRUE(platform::WriteFileAtomically(file, "new contents"));
    EXPECT_EQ(Read(file), "new contents");
    struct stat st{};
    ::stat(file.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // No temporary files left behind.
    int entries = 0;
    for ([[maybe_unused]] auto& e : fs::directory_iterator(dir_)) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(TempHome, AtomicWriteSweepsTemporariesLeftByAKilledWriter) {
    fs::path file = dir_ / "a.Json";
    fs::path stale = dir_ / ".a.Json.Ab12Cd";
    fs::path fresh = dir_ / ".a.Json.Zz99Yy";
    fs::path other = dir_ / ".b.Json.Ab12Cd";
    for (const auto& p : {stale, fresh, other}) std::ofstream(p) << "partial";
    fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::hours(1));
    fs::last_write_time(other, fs::file_time_type::clock::now() - std::chrono::hours(1));
    ASSERT_TRUE(platform::WriteFileAtomically(file, "x"));
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(fresh));  // may belong to a writer that is still running
    EXPECT_TRUE(fs::exists(other));  // another file's business
}

TEST_F(TempHome, AtomicWriteIntoAMissingFolderFailsAndLeavesNothing) {
    EXPECT_FALSE(platform::WriteFileAtomically(dir_ / "missing" / "x.Json", "data"));
    EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

TEST_F(TempHome, SettingsStoreKeepsOtherValuesAndSurvivesABrokenFile) {
    platform::SettingsStore store;
    EXPECT_FALSE(store.Get("LANGUAGE").has_value());
    ASSERT_TRUE(store.Set("LANGUAGE", "English"));
    ASSERT_TRUE(store.Set("OTHER", "1"));
    ASSERT_TRUE(store.Set("LANGUAGE", "简体中文"));
    platform::SettingsStore again;
    EXPECT_EQ(again.Get("LANGUAGE").value_or(""), "简体中文");
    EXPECT_EQ(again.Get("OTHER").value_or(""), "1");

    std::ofstream(store.File(), std::ios::trunc) << "{ not json";
    EXPECT_FALSE(store.Get("LANGUAGE").has_value());
    EXPECT_TRUE(store.Set("LANGUAGE", "English"));
    EXPECT_EQ(store.Get("LANGUAGE").value_or(""), "English");
}

}  // namespace
