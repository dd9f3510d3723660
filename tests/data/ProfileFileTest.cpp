// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <json/json.h>
#include <sys/stat.h>

#include <string>

#include "DataTestFolder.h"
#include "data/CKeyboardProfiledata.h"
#include "data/DataPaths.h"

namespace fs = std::filesystem;

namespace {

const char* const kDefaultProfile =
    R"({ "Device" : [ { "KeyList" : [ { "Assignment" : 4, "DefaultAssignment" : 4 } ],
                        "LightInfo" : { "SelectItem" : 3 } } ] })";

class ProfileFileTest : public DataTestFolder {
protected:
    void SetUp() override {
        DataTestFolder::SetUp();
        defaultPath_ = DataPaths::DefaultProfileFile("keyboard");
        WriteText(defaultPath_, kDefaultProfile);
        path_ = DataPaths::ProfileFile("keyboard", "2021_03_07_09_05_02_045");
        profile_.SetDefaultProfilePath(defaultPath_);
        profile_.SetProfilePath(path_);
    }

    fs::path defaultPath_;
    fs::path path_;
    CKeyboardProfiledata profile_;
};

const char* const kRecreated =
    "{\n"
    "   \"Device\" : [\n"
    "      {\n"
    "         \"KeyList\" : [\n"
    "            {\n"
    "               \"Assignment\" : 4,\n"
    "               \"DefaultAssignment\" : 4\n"
    "            }\n"
    "         ],\n"
    "         \"LightInfo\" : {\n"
    "            \"SelectItem\" : 3\n"
    "         }\n"
    "      }\n"
    "   ]\n"
    "}\n";


TEST_F(ProfileFileTest, PathsFollowTheKindFolders) {
    EXPECT_EQ(defaultPath_, root_ / "program" / "DefaultData" / "keyboard.Json");
    EXPECT_EQ(path_, root_ / "user" / "TELIX TX512 keyboard Driver" / "keyboard" /
                         "2021_03_07_09_05_02_045.Json");
    EXPECT_EQ(DataPaths::LightConfigFile("MousePad", "vexal_light"),
              root_ / "user" / "TELIX TX512 keyboard Driver" / "MousePad" / "vexal_light.config");
    EXPECT_EQ(DataPaths::DefaultLightFile(),
              root_ / "program" / "DefaultData" / "default_light.json");
    for (const char* uuid : {"", ".", "..", "../keyboard", "a/b", "a\\b"})
        EXPECT_TRUE(DataPaths::ProfileFile("keyboard", uuid).empty()) << uuid;
    EXPECT_TRUE(DataPaths::ProfileFile("keyboard", std::string("a\0b", 3)).empty());

    // An empty path leaves the stored one.
    profile_.SetProfilePath({});
    profile_.SetDefaultProfilePath({});
    EXPECT_EQ(profile_.GetProfilePath(), path_);
    EXPECT_EQ(profile_.GetDefaultProfilePath(), defaultPath_);
}

TEST_F(ProfileFileTest, MissingOrBrokenProfileIsRecreatedFromTheDefaults) {
    EXPECT_EQ(profile_.LoadSection(path_)["LightInfo"]["SelectItem"], 3);
    EXPECT_EQ(ReadText(path_), kRecreated);

    for (const char* broken :
         {"{ \"Device\" : [", "[ 1, 2 ]", "\"text\"", "{ \"Device\" : [ 7 ] }"}) {
        WriteText(path_, broken);
        profile_.LoadSection(path_);
        EXPECT_EQ(ReadText(path_), kRecreated) << broken;
    }

    // A readable file keeps its other members and other elements.
    WriteText(
        path_,
        R"({ "profilename" : "Game", "profileUUID" : "u", "Device" : [ null, { "x" : 1 } ] })");
    profile_.LoadSection(path_);
    const Json::Value root = Parse(ReadText(path_));
    EXPECT_EQ(root["profilename"], "Game");
    EXPECT_EQ(root["profileUUID"], "u");
    EXPECT_EQ(root["Device"][1]["x"], 1);
    EXPECT_EQ(root["Device"][0], Parse(kDefaultProfile)["Device"][0]);
}

TEST_F(ProfileFileTest, WithoutDefaultsTooTheSectionStaysNull) {
    fs::remove(defaultPath_);
    profile_.SetLightInfo(0x01020304, 0, 0, 0);
    profile_.LoadSection(path_);
    EXPECT_EQ(ReadText(path_), "{\n   \"Device\" : [ null ]\n}\n");
    EXPECT_TRUE(profile_.GetKeyList().empty());
    EXPECT_EQ(profile_.GetSystemStages(), (std::array<uint32_t, 3>{}));
    EXPECT_EQ(profile_.GetLightInfo().mode, 4);  // the in-memory setting is kept
}

TEST_F(ProfileFileTest, SavesLeaveTheRestOfTheFileAsItIs) {
    WriteText(path_, R"({ "profilename" : "Game", "profileUUID" : "2021_03_07_09_05_02_045",
                          "Device" : [ { "KeyList" : [] }, { "other" : [ 1, 2 ] } ], "extra" : { "k" : true } })");
    profile_.LoadSection(path_);
    for (int i = 0; i < 3; ++i) {
        profile_.SetSystemStages(static_cast<uint32_t>(i), 0, 0);
        ASSERT_TRUE(profile_.Save());
    }
    EXPECT_EQ(ReadText(path_),
              "{\n"
              "   \"Device\" : [\n"
              "      {\n"
              "         \"KeyList\" : [],\n"
              "         \"SystemStages\" : {\n"
              "            \"Key6Flag\" : 0,\n"
              "            \"PollingRate\" : 0,\n"
              "            \"Repeat\" : 2,\n"
              "            \"RepeatDelay\" : 0,\n"
              "            \"WFlag\" : 0,\n"
              "            \"WinFlag\" : 0\n"
              "         }\n"
              "      },\n"
              "      {\n"
              "         \"other\" : [ 1, 2 ]\n"
              "      }\n"
              "   ],\n"
              "   \"extra\" : {\n"
              "      \"k\" : true\n"
              "   },\n"
              "   \"profileUUID\" : \"2021_03_07_09_05_02_045\",\n"
              "   \"profilename\" : \"Game\"\n"
              "}\n");

    // An edit made on disk since the load survives the next save.
    Json::Value root = Parse(ReadText(path_));
    root["profilename"] = "Renamed";
    WriteText(path_, Json::StyledWriter().write(root));
    ASSERT_TRUE(profile_.Save());
    EXPECT_EQ(Parse(ReadText(path_))["profilename"], "Renamed");
}

TEST_F(ProfileFileTest, ResetToDefaultsNeverWritesTheDefaultFile) {
    WriteText(defaultPath_, "{ broken");
    profile_.LoadSection(defaultPath_);
    EXPECT_EQ(ReadText(defaultPath_), "{ broken");

    // Loading the defaults and saving makes the profile a copy of them.
    WriteText(defaultPath_, kDefaultProfile);
    WriteText(path_, R"({ "profilename" : "p", "Device" : [ { "KeyList" : [] } ] })");
    profile_.LoadSection(defaultPath_);
    ASSERT_TRUE(profile_.Save());
    EXPECT_EQ(Parse(ReadText(path_))["Device"][0], Parse(kDefaultProfile)["Device"][0]);
    EXPECT_EQ(Parse(ReadText(path_))["profilename"], "p");
    EXPECT_EQ(ReadText(defaultPath_), kDefaultProfile);
}

TEST_F(ProfileFileTest, WhatCannotBeReadIsNotReplaced) {
    // A FIFO (or any non-file) where the profile should be: the defaults are used in
    // memory, but nothing overwrites it.
    ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
    EXPECT_EQ(profile_.LoadSection(path_)["LightInfo"]["SelectItem"], 3);
    EXPECT_FALSE(profile_.Save());
    struct stat info {};
    ASSERT_EQ(::stat(path_.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(ProfileFileTest, AnOutOfRangeDeviceIndexTouchesNothing) {
    WriteText(path_, kRecreated);
    for (int index : {-1, 1 << 30}) {
        profile_.SetDeviceIndex(index);
        EXPECT_TRUE(profile_.LoadSection(path_).isNull());
        profile_.SetKeyList(std::vector<KeyMapping>(1));
        EXPECT_FALSE(profile_.Save());
        EXPECT_EQ(ReadText(path_), kRecreated);
    }
}

}  // namespace
