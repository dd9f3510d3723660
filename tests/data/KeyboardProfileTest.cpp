// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <json/json.h>

#include <string>
#include <vector>

#include "DataTestFolder.h"
#include "data/CKeyboardProfiledata.h"

namespace fs = std::filesystem;

namespace {

class KeyboardProfileTest : public DataTestFolder {
protected:
    // Makes `section` the in-memory section, through a profile file as the device does.
    void LoadSection(const std::string& section) {
        WriteText(path_, "{ \"profilename\" : \"p\", \"Device\" : [ " + section + " ] }");
        profile_.SetProfilePath(path_);
        profile_.LoadSection(path_);
    }
    Json::Value SavedSection() {
        EXPECT_TRUE(profile_.Save());
        return Parse(ReadText(path_))["Device"][0];
    }

    fs::path path_;
    CKeyboardProfiledata profile_;

    void SetUp() override {
        DataTestFolder::SetUp();
        path_ = root_ / "profile.Json";
    }
};


TEST_F(KeyboardProfileTest, KeyListReadsBothHalvesAndSavesOnlyAssignments) {
    LoadSection(R"({ "KeyList" : [ { "Assignment" : 131076, "DefaultAssignment" : 4 },
                                    { "Assignment" : 7 }, { "DefaultAssignment" : 16777215 } ] })");
    const std::vector<KeyMapping> keys = profile_.GetKeyList();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].current, (KeyAssignment{0, 0x02, 0x00, 0x04}));
    EXPECT_EQ(keys[0].defaults, (KeyAssignment{0, 0x00, 0x00, 0x04}));
    EXPECT_EQ(keys[1].defaults, (KeyAssignment{1, 0, 0, 0}));
    EXPECT_EQ(keys[2].current, (KeyAssignment{2, 0, 0, 0}));
    EXPECT_EQ(keys[2].defaults, (KeyAssignment{2, 0xFF, 0xFF, 0xFF}));

    std::vector<KeyMapping> five(5);
    for (uint16_t i = 0; i < 5; ++i) five[i].current = {i, 0x10, static_cast<uint8_t>(i), 0x01};
    profile_.SetKeyList(five);
    EXPECT_EQ(SavedSection()["KeyList"],
              Parse(R"([ { "Assignment" : 1048577, "DefaultAssignment" : 4 },
        { "Assignment" : 1048833 }, { "Assignment" : 1049089, "DefaultAssignment" : 16777215 },
        { "Assignment" : 1049345 }, { "Assignment" : 1049601 } ])"));

    LoadSection("{}");
    EXPECT_TRUE(profile_.GetKeyList().empty());
}

TEST_F(KeyboardProfileTest, LightInfoReadsFlagsAndWritesOnlyStoredBytes) {
    LoadSection(
        R"({ "LightInfo" : { "SelectItem" : 19, "Light" : 4, "Speed" : 2, "Fx" : 3, "MultiColor" : 7,
                     "Red" : 255, "Green" : 16, "Blue" : 1, "ZZCCLedMode" : 2, "CustomGroup" : 5 } })");
    const LightSetting read = profile_.GetLightInfo();
    EXPECT_EQ(read, (LightSetting{.mode = 19,
                                  .brightness = 4,
                                  .speed = 2,
                                  .direction = 3,
                                  .multiColour = 1,
                                  .red = 255,
                                  .green = 16,
                                  .blue = 1,
                                  .zzccMode = 2,
                                  .customGroup = 5}));

    // Word 2's lower bytes stay in memory only; multi-colour is stored as 0 or 1.
    std::array<uint32_t, 4> words = read.ToWords();
    words[1] = (words[1] & ~0xFFu) | 7;
    words[2] = 0x05ABCDEF;
    profile_.SetLightInfo(words[0], words[1], words[2], words[3]);
    EXPECT_EQ(SavedSection()["LightInfo"],
              Parse(R"({ "SelectItem" : 19, "Light" : 4, "Speed" : 2, "Fx" : 3,
        "MultiColor" : 1, "Red" : 255, "Green" : 16, "Blue" : 1, "ZZCCLedMode" : 5, "CustomGroup" : 5 })"));

    // A section without "LightInfo" leaves the current setting as it was.
    LoadSection("{}");
    EXPECT_EQ(profile_.GetLightInfo().zzccMode, 5);
    EXPECT_EQ(profile_.GetLightInfo().mode, 19);
}

TEST_F(KeyboardProfileTest, LightListMarksPresentElements) {
    LoadSection(
        R"({ "LightList" : [ { "LEDREGMode" : 2, "LEDBrightness" : 3, "LEDSpeed" : 1, "LEDDirection" : 2,
                     "LEDMultiColor" : 0, "red" : 9, "green" : 8, "blue" : 7 }, null ] })");
    const std::vector<LightSetting> list = profile_.GetLightList();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], (LightSetting{.mode = 2,
                                     .brightness = 3,
                                     .speed = 1,
                                     .direction = 1,
                                     .multiColour = 0,
                                     .red = 9,
                                     .green = 8,
                                     .blue = 7,
                                     .present = 1}));
    EXPECT_EQ(list[1], LightSetting{});
    LoadSection("{}");
    EXPECT_TRUE(profile_.GetLightList().empty());
}

TEST_F(KeyboardProfileTest, SystemStagesPackHalvesAndResetWhenMissing) {
    LoadSection(
        R"({ "SystemStages" : { "Repeat" : 30, "RepeatDelay" : 500, "Key6Flag" : 1, "PollingRate" : 70000,
                     "WFlag" : 1, "WinFlag" : 0 } })");
    EXPECT_EQ(profile_.GetSystemStages(),
              (std::array<uint32_t, 3>{30u | 500u << 16, 1u | (70000u & 0xFFFF) << 16, 1u}));
    profile_.SetSystemStages(0x00C80014, 0x00030000, 0x00010001);
    EXPECT_EQ(SavedSection()["SystemStages"],
              Parse(R"({ "Repeat" : 20, "RepeatDelay" : 200, "Key6Flag" : 0,
        "PollingRate" : 3, "WFlag" : 1, "WinFlag" : 1 })"));

    LoadSection("{}");
    EXPECT_EQ(profile_.GetSystemStages(), (std::array<uint32_t, 3>{}));
}

TEST_F(KeyboardProfileTest, CustomColoursFillMissingGroupsWithZeros) {
    LoadSection("{}");
    const std::vector<CustomColour> colours = profile_.GetCustomColours(2, 126);
    EXPECT_EQ(colours, std::vector<CustomColour>(126));
    const Json::Value groups = SavedSection()["CustomLightMode"]["LightColorInfo"];
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_TRUE(groups[0].isNull());
    EXPECT_TRUE(groups[1].isNull());
    ASSERT_EQ(groups[2].size(), 126u);
    EXPECT_EQ(groups[2][125], Parse(R"({ "Red" : 0, "Green" : 0, "Blue" : 0, "Alpha" : 0 })"));

    LoadSection(R"({ "CustomLightMode" : { "CustomLightModeGroupIndex" : 1,
                     "LightColorInfo" : [ null, [ { "Red" : 1, "Green" : 2, "Blue" : 3, "Alpha" : 4 }, null ] ] } })");
    EXPECT_EQ(profile_.GetCustomGroupIndex(), 1);
    EXPECT_EQ(profile_.GetCustomColours(1, 3), (std::vector<CustomColour>{{1, 2, 3, 4}, {}, {}}));
    EXPECT_EQ(profile_.GetSection()["CustomLightMode"]["LightColorInfo"][1][2]["Alpha"], 0);

    profile_.SetCustomColours({{9, 8, 7, 6}}, 0);
    profile_.SetCustomGroupIndex(0);
    const Json::Value saved = SavedSection()["CustomLightMode"];
    EXPECT_EQ(saved["CustomLightModeGroupIndex"], 0);
    EXPECT_EQ(saved["LightColorInfo"][0][0],
              Parse(R"({ "Red" : 9, "Green" : 8, "Blue" : 7, "Alpha" : 6 })"));
    EXPECT_EQ(saved["LightColorInfo"][1][0]["Red"], 1);
}

TEST_F(KeyboardProfileTest, WrongShapesAndHostileNumbersNeitherThrowNorExplode) {
    LoadSection(
        R"({ "KeyList" : 5, "LightInfo" : [ 1 ], "SystemStages" : "x", "LightList" : { "a" : 1 },
                     "CustomLightMode" : { "CustomLightModeGroupIndex" : 2000000000, "LightColorInfo" : { "a" : 1 } } })");
    EXPECT_NO_THROW({
        EXPECT_TRUE(profile_.GetKeyList().empty());
        EXPECT_EQ(profile_.GetLightInfo(), LightSetting{});
        EXPECT_TRUE(profile_.GetLightList().empty());
        EXPECT_EQ(profile_.GetSystemStages(), (std::array<uint32_t, 3>{}));
        const int group = profile_.GetCustomGroupIndex();
        EXPECT_EQ(profile_.GetCustomColours(group, 126).size(), 126u);
        EXPECT_EQ(profile_.GetCustomColours(-1, -5).size(), 0u);
        profile_.SetCustomColours({{1, 1, 1, 1}}, group);
        profile_.SetKeyList(std::vector<KeyMapping>(2));
        profile_.SetSystemStages(1, 2, 3);
        profile_.GetCustomColours(0, 1);
    });
    const Json::Value saved = SavedSection();
    EXPECT_EQ(saved["KeyList"].size(), 2u);
    EXPECT_EQ(saved["SystemStages"]["Key6Flag"], 2);
    EXPECT_EQ(saved["CustomLightMode"]["LightColorInfo"].size(), 1u);

    LoadSection(
        R"({ "LightInfo" : { "SelectItem" : "3", "Light" : 1e30, "Speed" : 4294967298, "Fx" : -1,
                     "Red" : 2.9, "MultiColor" : "yes" } })");
    EXPECT_EQ(profile_.GetLightInfo(), (LightSetting{.speed = 2, .direction = 255, .red = 2}));
}

}  // namespace
