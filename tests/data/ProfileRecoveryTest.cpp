// SPDX-License-Identifier: GPL-3.0-or-later
// A profile file the program cannot take as it is must never cost the user what it held:
// it is copied aside before the defaults take its place, and when it cannot be copied (or
// not even read) it is left alone and no save may bury it.
#include <gtest/gtest.h>
#include <json/json.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "DataTestFolder.h"
#include "data/CKeyboardProfiledata.h"
#include "data/DataPaths.h"

namespace fs = std::filesystem;

namespace {

using Outcome = CBasicProfiledata::LoadReport::Outcome;

const char* const kDefaults = R"({ "Device" : [ { "LightInfo" : { "SelectItem" : 3 } } ] })";

class ProfileRecoveryTest : public DataTestFolder {
protected:
    void SetUp() override {
        DataTestFolder::SetUp();
        WriteText(DataPaths::DefaultProfileFile("keyboard"), kDefaults);
        path_ = DataPaths::ProfileFile("keyboard", "2021_03_07_09_05_02_045");
        profile_.SetDefaultProfilePath(DataPaths::DefaultProfileFile("keyboard"));
        profile_.SetProfilePath(path_);
    }
    std::vector<fs::path> Copies() const {
        std::vector<fs::path> copies;
        for (const auto& item : fs::directory_iterator(path_.parent_path()))
            if (item.path().filename().string().find(".Json.unreadable-") != std::string::npos)
                copies.push_back(item.path());
        return copies;
    }

    fs::path path_;
    CKeyboardProfiledata profile_;
};


TEST_F(ProfileRecoveryTest,
       AFileThatIsNotUtf8IsCopiedAsideWithEveryByteBeforeTheDefaultsReplaceIt) {
    const std::string latin1 =
        "{ \"profilename\" : \"Caf\xe9\", \"profileUUID\" : \"2021_03_07_09_05_02_045\",\n"
        "  \"Device\" : [ { \"LightInfo\" : { \"SelectItem\" : 9 } } ] }";
    WriteText(path_, latin1);
    profile_.LoadSection(path_);

    const CBasicProfiledata::LoadReport report = profile_.LastLoad();
    EXPECT_EQ(report.outcome, Outcome::Replaced);
    EXPECT_TRUE(report.Lost());
    ASSERT_EQ(Copies(), std::vector<fs::path>{report.copy});
    EXPECT_EQ(ReadText(report.copy), latin1);
    EXPECT_EQ(Parse(ReadText(path_))["Device"][0]["LightInfo"]["SelectItem"], 3);

    // The rebuilt file loads as it is, and a second damage gets a copy of its own.
    profile_.LoadSection(path_);
    EXPECT_EQ(profile_.LastLoad().outcome, Outcome::Loaded);
    WriteText(path_, "{ \"Device\" : [ 7 ] }");
    profile_.LoadSection(path_);
    EXPECT_EQ(profile_.LastLoad().outcome, Outcome::Replaced);
    EXPECT_EQ(Copies().size(), 2u);
    EXPECT_EQ(ReadText(report.copy), latin1);
}

TEST_F(ProfileRecoveryTest, OnlyWhatTheUserHadCountsAsLost) {
    profile_.LoadSection(path_);  // no file yet
    EXPECT_EQ(profile_.LastLoad().outcome, Outcome::Created);
    WriteText(path_, R"({ "profilename" : "Game", "profileUUID" : "u" })");  // a new profile
    profile_.LoadSection(path_);
    EXPECT_EQ(profile_.LastLoad().outcome, Outcome::Created);
    EXPECT_EQ(Parse(ReadText(path_))["profilename"], "Game");
    for (const char* shape : {R"({ "Device" : "x" })", R"({ "Device" : [ [ 1 ] ] })", "[ 1 ]"}) {
        WriteText(path_, shape);
        profile_.LoadSection(path_);
        EXPECT_EQ(profile_.LastLoad().outcome, Outcome::Replaced) << shape;
    }
    EXPECT_TRUE(Copies().size() == 3u);
}

TEST_F(ProfileRecoveryTest, AFileThatCannotBeReadIsLeftAloneAndNoSaveBuriesIt) {
    // A FIFO in the file's place reads as unreadable, for root as well.
    fs::create_directories(path_.parent_path());
    ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
    profile_.LoadSection(path_);
    EXPECT_EQ(profile_.LastLoad().outcome, Outcome::Kept);
    EXPECT_TRUE(profile_.LastLoad().Lost());
    EXPECT_EQ(profile_.GetLightInfo().mode, 3);  // the defaults, in memory only
    profile_.SetSystemStages(1, 2, 3);
    EXPECT_FALSE(profile_.Save());
    EXPECT_TRUE(fs::is_fifo(path_));
    EXPECT_TRUE(Copies().empty());

    // Once another profile loaded, saves go to it again.
    const fs::path other = DataPaths::ProfileFile("keyboard", "other");
    profile_.SetProfilePath(other);
    profile_.LoadSection(other);
    EXPECT_TRUE(profile_.Save());
}

TEST_F(ProfileRecoveryTest, ASaveOverAFileDamagedSinceTheLoadKeepsACopyFirst) {
    profile_.LoadSection(path_);
    const std::string damaged = "{ \"profilename\" : \"\xff\" }";
    WriteText(path_, damaged);
    profile_.SetSystemStages(5, 0, 0);
    ASSERT_TRUE(profile_.Save());
    ASSERT_EQ(Copies().size(), 1u);
    EXPECT_EQ(ReadText(Copies()[0]), damaged);
    EXPECT_EQ(Parse(ReadText(path_))["Device"][0]["SystemStages"]["Repeat"], 5);
}

}  // namespace
