// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <json/json.h>

#include <string>
#include <vector>

#include "DataTestFolder.h"
#include "data/CMouseProfiledata.h"
#include "data/CZo6533Profiledata.h"

namespace fs = std::filesystem;

namespace {

class MouseHeadsetProfileTest : public DataTestFolder {
protected:
    template <typename Profile>
    void Load(Profile& profile, const std::string& section) {
        const fs::path path = root_ / "profile.Json";
        WriteText(path, R"({ "Device" : [ )" + section + " ] }");
        profile.SetProfilePath(path);
        profile.LoadSection(path);
    }
    template <typename Profile>
    Json::Value Saved(Profile& profile) {
        EXPECT_TRUE(profile.Save());
        return Parse(ReadText(profile.GetProfilePath()))["Device"][0];
    }

    CMouseProfiledata mouse_;
    CZo6533Profiledata headset_;
};

const char* const kStage =
    R"({ "StageActive" : 1, "StageXY" : 0, "StageDPIX" : 12000, "StageDPIY" : 70000,
                                 "StageColorR" : 255, "StageColorG" : 0, "StageColorB" : 9 })";


TEST_F(MouseHeadsetProfileTest, DpiStagesMergeIntoTheStoredOnes) {
    std::vector<DpiStage> five(5, DpiStage{0, 1, 400, 400, 1, 2, 3});
    mouse_.SetDpiStages(five);
    Load(mouse_, std::string(R"({ "DPIStages" : { "StageActive" : 2, "StageDPIs" : [ )") + kStage +
                     ", " + kStage + ", " + kStage + " ] } }");
    const std::vector<DpiStage> stages = mouse_.GetDpiStages();
    ASSERT_EQ(stages.size(), 5u);
    const DpiStage fromFile{1, 0, 12000, static_cast<uint16_t>(70000 % 65536), 255, 0, 9};
    EXPECT_EQ(stages[2], fromFile);
    EXPECT_EQ(stages[3], five[3]);
    EXPECT_EQ(mouse_.GetActiveDpiStage(), 2);

    mouse_.SetDpiStages({fromFile});
    mouse_.SetActiveDpiStage(0);
    const Json::Value saved = Saved(mouse_)["DPIStages"];
    EXPECT_EQ(saved["StageActive"], 0);
    EXPECT_EQ(saved["StageDPIs"][0]["StageDPIX"], 12000);
    EXPECT_EQ(saved["StageDPIs"][0]["StageDPIY"], 4464);
    EXPECT_EQ(saved["StageDPIs"].size(), 3u);  // elements beyond the list stay
}

TEST_F(MouseHeadsetProfileTest, MouseSystemWordsTakeTheReportRateFromItsOwnSection) {
    Load(mouse_,
         R"({ "SystemStages" : { "DoubleClickTime" : 500, "MouseSpeed" : 10, "PointerPrecision" : 1,
                      "ScorllPage" : 0, "WheelScorlllinse" : 3 } })");
    EXPECT_EQ(mouse_.GetMouseSystemStages(), (std::array<uint32_t, 3>{500u | 10u << 16, 1u, 3u}));

    mouse_.SetMouseSystemStages(0x000A01F4, 0x00010001, 0x00040005);
    const Json::Value saved = Saved(mouse_);
    EXPECT_EQ(saved["SystemStages"],
              Parse(R"({ "DoubleClickTime" : 500, "MouseSpeed" : 10, "PointerPrecision" : 1,
                                                 "ScorllPage" : 1, "WheelScorlllinse" : 5 })"));
    EXPECT_EQ(saved["ReportStages"]["StageActive"], 4);
    EXPECT_EQ(mouse_.GetMouseSystemStages()[2], 0x00040005u);

    Load(mouse_, R"({ "ReportStages" : { "StageActive" : 4 } })");
    EXPECT_EQ(mouse_.GetMouseSystemStages(), (std::array<uint32_t, 3>{}));
}

TEST_F(MouseHeadsetProfileTest, CorrectListIsReplacedOnEachRead) {
    Load(mouse_,
         R"({ "CorrectInfo" : [ { "CorrectPixThresh" : 3, "CorrectMinSq" : 4, "CorrectSelect" : 1,
                      "CorrectName" : "\u76f4\u7ebf" }, null ] })");
    const std::vector<CorrectEntry> list = mouse_.GetCorrectList();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], (CorrectEntry{3, 4, 1, "\xe7\x9b\xb4\xe7\xba\xbf"}));
    EXPECT_EQ(list[1], CorrectEntry{});
    Load(mouse_, "{}");
    EXPECT_TRUE(mouse_.GetCorrectList().empty());
}

TEST_F(MouseHeadsetProfileTest, EqPresetsMapOntoTheirElements) {
    std::string presets = R"({ "EQHzValueInfo" : [ null)";
    for (int p = 1; p <= 3; ++p) {
        presets += ", [";
        for (int band = 0; band < 10; ++band)
            presets +=
                (band ? ", " : " ") + ("{ \"value\" : " + std::to_string(p * 100 + band) + " }");
        presets += " ]";
    }
    Load(headset_, presets + " ] }");
    const std::vector<int32_t> preset1 = headset_.GetEqBands(1);
    ASSERT_EQ(preset1.size(), 10u);
    EXPECT_EQ(preset1[9], 109);
    EXPECT_EQ(headset_.GetEqBands(0), preset1);
    EXPECT_EQ(headset_.GetEqBands(20), preset1);
    EXPECT_EQ(headset_.GetEqBands(3)[0], 300);
    EXPECT_TRUE(headset_.GetEqBands(13).empty());
    headset_.SetEqBands(13, std::vector<int32_t>(10, 5));
    headset_.SetEqBands(2, {-6, 6});  // a short list writes only its bands
    const Json::Value saved = Saved(headset_)["EQHzValueInfo"];
    EXPECT_EQ(saved.size(), 4u);
    EXPECT_EQ(saved[2][0]["value"], -6);
    EXPECT_EQ(saved[2][2]["value"], 202);

    Load(headset_, "{}");
    EXPECT_EQ(headset_.GetEqBands(4), std::vector<int32_t>(10, 0));
    const Json::Value filled = Saved(headset_)["EQHzValueInfo"];
    ASSERT_EQ(filled.size(), 5u);
    EXPECT_TRUE(filled[3].isNull());
    ASSERT_EQ(filled[4].size(), 10u);
    EXPECT_EQ(filled[4][9], Parse(R"({ "value" : 0 })"));
}

TEST_F(MouseHeadsetProfileTest, HeadsetSettingsNamesAndCustomBands) {
    Load(
        headset_,
        R"({ "SystemSetStages" : { "MagicEnable" : 1, "MagicType" : 2, "EqType" : 13, "CustomEqSeletIndex" : 1,
                        "MicInSelect" : 1, "MicInValue" : 80, "MicMoniterSelect" : 0, "MicMoniterValue" : 50 },
                        "CustomEQNameInfo" : [ { "Name" : "Bass" }, { "Name" : "Voice" } ] })");
    EXPECT_EQ(headset_.GetSystemSetStages(), (std::array<int32_t, 8>{1, 2, 13, 1, 1, 80, 0, 50}));
    EXPECT_EQ(headset_.GetCustomEqNames(), (std::vector<std::string>{"Bass", "Voice"}));

    headset_.SetSystemSetStages({0, 0, 3, 0, 1, 70, 1, 40});
    headset_.SetCustomEqNames({"Only"});
    headset_.SetCustomEqBands(1, std::vector<int32_t>(10, -2));
    EXPECT_EQ(headset_.GetCustomEqBands(1), std::vector<int32_t>(10, -2));
    EXPECT_EQ(headset_.GetCustomEqBands(5000),
              std::vector<int32_t>(10, 0));  // read only beyond the write limit
    const Json::Value saved = Saved(headset_);
    EXPECT_EQ(saved["SystemSetStages"]["MicMoniterValue"], 40);
    EXPECT_EQ(saved["SystemSetStages"].size(), 8u);
    EXPECT_EQ(saved["CustomEQNameInfo"], Parse(R"([ { "Name" : "Only" } ])"));
    EXPECT_EQ(saved["CustomEQHzValueInfo"].size(), 2u);

    Load(headset_, "{}");
    EXPECT_EQ(headset_.GetSystemSetStages(), (std::array<int32_t, 8>{}));
    EXPECT_TRUE(headset_.GetCustomEqNames().empty());
}

TEST_F(MouseHeadsetProfileTest, TheSurroundSwitchIsOnOrOffWhateverTheFileHolds) {
    Load(headset_, "{}");
    EXPECT_FALSE(headset_.GetVirtualSurround());
    // Edited by hand: only a positive number (or true) switches it on.
    for (const char* value : {"1", "7", "true", "0", "-1", "\"1\"", "false", "null", "[1]"}) {
        Load(headset_, std::string(R"({ "VirtualSurround" : )") + value + " }");
        const std::string text = value;
        const bool on = text == "1" || text == "7" || text == "true";
        EXPECT_EQ(headset_.GetVirtualSurround(), on) << value;
    }
    headset_.SetVirtualSurround(true);
    EXPECT_EQ(Saved(headset_)["VirtualSurround"], 1);
    headset_.SetVirtualSurround(false);
    EXPECT_FALSE(headset_.GetVirtualSurround());
    EXPECT_EQ(Saved(headset_)["VirtualSurround"], 0);
}
}  // namespace
