// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <json/json.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "DataTestFolder.h"
#include "data/CKeyboardProfiledata.h"
#include "data/DataPaths.h"
#include "data/LightNameLists.h"

namespace fs = std::filesystem;

namespace {

class LightFilesTest : public DataTestFolder {
protected:
    void SetUp() override {
        DataTestFolder::SetUp();
        configPath_ = DataPaths::LightConfigFile("keyboard", "vexal_light");
        Json::Value config;
        for (int i = 0; i < 20; ++i) {
            Json::Value program;
            program["LightName"] = "program " + std::to_string(i);
            program["Guid"] = "guid" + std::to_string(i);
            config["LightInfo"][0].append(program);
            WriteProgram(configPath_.parent_path() / ("guid" + std::to_string(i) + ".light"), i);
        }
        WriteText(configPath_, Json::StyledWriter().write(config));
    }

    // Program i: one step whose red is i.
    static void WriteProgram(const fs::path& path, int i) {
        WriteText(path, R"({ "LEDEffectList" : [ { "LEDREGMode" : 1, "red" : )" +
                            std::to_string(i) + R"(, "Time" : 100 } ] })");
    }

    std::vector<LightStep> StepsForMode(int mode) {
        profile_.SetLightInfo(static_cast<uint32_t>(mode), 0, 0, 0);
        profile_.LoadLightConfig(configPath_);
        return profile_.LoadLightSteps();
    }

    fs::path configPath_;
    CKeyboardProfiledata profile_;
};


TEST_F(LightFilesTest, TheModeNumberPicksTheProgram) {
    ASSERT_EQ(StepsForMode(19).size(), 1u);
    EXPECT_EQ(StepsForMode(19)[0].red, 19);
    EXPECT_EQ(StepsForMode(5)[0].red, 5);
    EXPECT_TRUE(StepsForMode(20).empty());  // beyond the config's programs

    // Another kind plays the programs of its own element, the ones its name list shows.
    Json::Value config = Parse(ReadText(configPath_));
    config["LightInfo"][2][0]["Guid"] = "guid7";
    WriteText(configPath_, Json::StyledWriter().write(config));
    profile_.SetLightListIndex(2);
    EXPECT_EQ(StepsForMode(0)[0].red, 7);
    profile_.SetLightListIndex(0);

    EXPECT_EQ(profile_.LoadLightConfig(configPath_)["LightInfo"][0].size(), 20u);
    EXPECT_TRUE(profile_.LoadLightConfig(root_ / "none.config").isNull());
    EXPECT_TRUE(profile_.LoadLightSteps().empty());
}

TEST_F(LightFilesTest, StepsReadEveryMemberAndMissingOnesAsZero) {
    WriteText(configPath_.parent_path() / "guid3.light", R"({ "LEDEffectList" : [
        { "LEDREGMode" : 4, "LEDDirection" : 2, "LEDBrightness" : 3, "LEDSpeed" : 1, "LEDMultiColor" : 1,
          "red" : 10, "green" : 20, "blue" : 30, "Time" : 1000, "Cyle" : 2 },
        { "Time" : 2000 }, { "Time" : -1 } ] })");
    const std::vector<LightStep> steps = StepsForMode(3);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0], (LightStep{4, 3, 1, 2, 1, 10, 20, 30, 1000, 2}));
    EXPECT_EQ(steps[1], (LightStep{.timeMs = 2000}));
    EXPECT_EQ(steps[2].timeMs, -1);

    WriteText(configPath_.parent_path() / "guid3.light", "not json");
    EXPECT_TRUE(StepsForMode(3).empty());
}

TEST_F(LightFilesTest, ProgramsAreFoundBesideTheConfigOnly) {
    // The current directory does not matter: a program there is not found, one beside
    // the config is found from anywhere.
    const fs::path elsewhere = root_ / "elsewhere";
    fs::create_directories(elsewhere);
    WriteProgram(elsewhere / "outside.light", 77);
    Json::Value config = Parse(ReadText(configPath_));
    config["LightInfo"][0][6]["Guid"] = "outside";
    config["LightInfo"][0][7]["Guid"] = "../../../elsewhere/outside";
    config["LightInfo"][0][8]["Guid"] = "/" + (elsewhere / "outside").string();
    WriteText(configPath_, Json::StyledWriter().write(config));

    const fs::path saved = fs::current_path();
    fs::current_path(elsewhere);
    EXPECT_TRUE(StepsForMode(6).empty());
    EXPECT_TRUE(StepsForMode(7).empty());
    EXPECT_TRUE(StepsForMode(8).empty());
    EXPECT_EQ(StepsForMode(9)[0].red, 9);
    fs::current_path(saved);
}

TEST_F(LightFilesTest, NameListsKeepWhatTheFilesDoNotReplace) {
    Json::Value defaults;
    for (int i = 0; i < 31; ++i) {
        Json::Value mode;
        mode["LightName"] = "light_mode_" + std::to_string(i);
        mode["visible"] = i != 12;
        defaults["DefaultLightName"][0].append(mode);
    }
    defaults["AreaLightName"][0][0]["LightName"] = "area_all";
    defaults["DefaultLightName"][2][0]["LightName"] = "pad_mode";
    const fs::path defaultPath = DataPaths::DefaultLightFile();
    WriteText(defaultPath, Json::StyledWriter().write(defaults));

    LightNameLists lists;
    lists.Load(JsonDataFile(), 0, defaultPath, configPath_);
    ASSERT_EQ(lists.defaultNames.size(), 31u);
    EXPECT_EQ(lists.defaultNames[30], "light_mode_30");
    ASSERT_EQ(lists.defaultVisible.size(), 31u);
    EXPECT_FALSE(lists.defaultVisible[12]);
    EXPECT_TRUE(lists.defaultVisible[11]);
    EXPECT_EQ(lists.areaNames, std::vector<std::string>{"area_all"});
    ASSERT_EQ(lists.programNames.size(), 20u);
    EXPECT_EQ(lists.programNames[19], "program 19");

    // The mouse pad's entry replaces only the mode names; the other lists have no entry
    // for it and keep their content, as they do when the files are gone.
    lists.Load(JsonDataFile(), 2, defaultPath, configPath_);
    EXPECT_EQ(lists.defaultNames, std::vector<std::string>{"pad_mode"});
    EXPECT_EQ(lists.defaultVisible, std::vector<bool>{false});
    EXPECT_EQ(lists.areaNames, std::vector<std::string>{"area_all"});
    EXPECT_EQ(lists.programNames.size(), 20u);
    lists.Load(JsonDataFile(), 0, root_ / "none.json", root_ / "none.config");
    EXPECT_EQ(lists.defaultNames, std::vector<std::string>{"pad_mode"});
    EXPECT_EQ(lists.programNames.size(), 20u);
}

}  // namespace
