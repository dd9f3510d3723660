// SPDX-License-Identifier: GPL-3.0-or-later
// The factory data beside the program: every file parses, has the members the program
// reads, and gives the data layer sensible values (the default profiles are what every
// new profile starts from).
#include <gtest/gtest.h>
#include <json/json.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "ShippedFiles.h"
#include "data/CKeyboardProfiledata.h"
#include "data/CMouseProfiledata.h"
#include "data/CZo6533Profiledata.h"
#include "data/JsonDataFile.h"
#include "data/LightNameLists.h"
#include "data/macro/ShootFile.h"
#include "ui/CResourceManager.h"

namespace {

namespace fs = std::filesystem;

// The keyboard's factory table, position by position (type, byte 1, byte 0 in hex).
constexpr const char* kFactoryTable =
    "200029 20003A 20003B 20003C 20003D 20003E 20003F 200040 200041 200042 200043 200044 "
    "200045 200046 200047 200048 A01B00 A02400 200000 200000 200000 200035 20001E 20001F "
    "200020 200021 200022 200023 200024 200025 200026 200027 20002D 20002E 20002A 200049 "
    "20004A 20004B 200053 200054 200055 200056 20002B 200014 20001A 200008 200015 200017 "
    "20001C 200018 20000C 200012 200013 20002F 200030 200031 20004C 20004D 20004E 20005F "
    "200060 200061 200000 200039 200004 200016 200007 200009 20000A 20000B 20000D 20000E "
    "20000F 200033 200034 200028 20005C 20005D 20005E 20008A 20008B 200090 200091 200088 "
    "200200 20001D 20001B 200006 200019 200005 200011 200010 200036 200037 200038 202000 "
    "200052 200059 20005A 20005B 200087 200089 200064 200085 200032 200100 200800 200400 "
    "20002C 204000 A00100 200065 201000 200050 200051 20004F 200062 200063 200058 200057 "
    "D0A201 D0A202 D0A203 D0A204 D0A205 208000";

std::vector<uint32_t> FactoryTable() {
    std::vector<uint32_t> entries;
    const std::string text = kFactoryTable;
    for (size_t at = 0; at < text.size(); at += 7)
        entries.push_back(static_cast<uint32_t>(std::strtoul(text.substr(at, 6).c_str(), nullptr, 16)));
    return entries;
}

// Each test loads a default profile into a profile file of its own, as a new profile does.
class DefaultProfiles : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-resources-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    template <class Profile>
    Json::Value Load(Profile& profile, const std::string& kindFile) {
        profile.SetDefaultProfilePath(shipped::DefaultDataDir() / kindFile);
        profile.SetProfilePath(folder_ / ("new " + kindFile));
        return profile.LoadSection(profile.GetProfilePath());
    }

    // The modes the lighting panel offers for a light-list index (visible names).
    static std::set<int> OfferedModes(int lightListIndex) {
        LightNameLists lists;
        lists.Load(JsonDataFile(), lightListIndex, shipped::DefaultDataDir() / "default_light.json",
                   fs::path("/nonexistent/vexal_light.config"));
        std::set<int> modes;
        for (size_t i = 0; i < lists.defaultVisible.size(); ++i)
            if (lists.defaultVisible[i]) modes.insert(static_cast<int>(i));
        return modes;
    }

    fs::path folder_;
};

TEST(DefaultDataFiles, EveryFileParsesAsAnObjectWithItsMembers) {
    const JsonDataFile files;
    struct Expected {
        const char* file;
        std::vector<const char*> sectionMembers;
    };
    const std::vector<Expected> profiles = {
        {"keyboard.Json", {"LightInfo", "KeyList", "SystemStages", "CustomLightMode", "LightList"}},
        {"MousePad.Json", {"LightInfo", "LightList"}},
        {"mouse.Json", {"LightInfo", "KeyList", "LightList", "DPIStages", "SystemStages", "ReportStages",
                        "CorrectInfo"}},
        {"HD.Json", {"LightInfo", "LightList", "SystemSetStages", "EQHzValueInfo", "CustomEQNameInfo",
                     "CustomEQHzValueInfo"}},
    };
    for (const Expected& expected : profiles) {
        JsonDataFile::ReadStatus status{};
        const Json::Value root = files.ReadJsonFile(shipped::DefaultDataDir() / expected.file, status);
        ASSERT_EQ(status, JsonDataFile::ReadStatus::Ok) << expected.file;
        ASSERT_TRUE(root["Device"].isArray()) << expected.file;
        const Json::Value& section = root["Device"][0];
        ASSERT_TRUE(section.isObject()) << expected.file;
        for (const char* member : expected.sectionMembers)
            EXPECT_TRUE(section.isMember(member)) << expected.file << " lacks " << member;
        // Integers everywhere the data layer reads integers.
        for (const char* member : {"SelectItem", "Light", "Speed", "Red", "Green", "Blue", "Fx",
                                   "ZZCCLedMode", "CustomGroup", "MultiColor"})
            EXPECT_TRUE(section["LightInfo"][member].isInt()) << expected.file << " LightInfo." << member;
    }
    for (const char* file : {"default_light.json", "Language.config"}) {
        JsonDataFile::ReadStatus status{};
        EXPECT_TRUE(files.ReadJsonFile(shipped::DefaultDataDir() / file, status).isObject()) << file;
        EXPECT_EQ(status, JsonDataFile::ReadStatus::Ok) << file;
    }
}

TEST_F(DefaultProfiles, KeyboardStartsWithTheFactoryKeysAndSaneSettings) {
    CKeyboardProfiledata profile;
    ASSERT_FALSE(Load(profile, "keyboard.Json").isNull());

    const std::vector<KeyMapping> keys = profile.GetKeyList();
    const std::vector<uint32_t> factory = FactoryTable();
    ASSERT_EQ(factory.size(), 126u);
    ASSERT_EQ(keys.size(), 126u);
    for (size_t p = 0; p < keys.size(); ++p) {
        EXPECT_EQ(keys[p].defaults.Packed(), factory[p]) << "default of position " << p;
        EXPECT_EQ(keys[p].current.Packed(), factory[p]) << "assignment of position " << p;
    }

    const LightSetting light = profile.GetLightInfo();
    EXPECT_EQ(OfferedModes(0).count(light.mode), 1u) << "the panel cannot show mode " << int(light.mode);
    EXPECT_LE(light.brightness, 5);
    EXPECT_GT(light.brightness, 0) << "a new keyboard should light up";
    EXPECT_LE(light.speed, 4);
    EXPECT_LE(light.direction, 1);

    const auto stages = profile.GetSystemStages();
    const uint32_t repeat = stages[0] & 0xFFFF, delay = stages[0] >> 16;
    const uint32_t sixKey = stages[1] & 0xFFFF, polling = stages[1] >> 16;
    const uint32_t wFlag = stages[2] & 0xFFFF, winLock = stages[2] >> 16;
    EXPECT_GE(repeat, 1u);
    EXPECT_LE(repeat, 10u) << "outside the repeat slider's range";
    EXPECT_LE(delay, 3u);
    EXPECT_LE(polling, 3u);
    EXPECT_LE(sixKey, 1u);
    EXPECT_LE(wFlag, 1u);
    EXPECT_EQ(winLock, 0u) << "the Windows key must work out of the box";

    // No LED follows a lighting of its own: a present "LightList" entry would override
    // the effect on that key for good.
    const std::vector<LightSetting> list = profile.GetLightList();
    EXPECT_EQ(list.size(), 126u);
    for (size_t n = 0; n < list.size(); ++n) EXPECT_EQ(list[n].present, 0) << "LED " << n;

    // Every custom colour group the panel offers has a colour for each LED.
    const int groups = static_cast<int>(profile.GetSection()["CustomLightMode"]["LightColorInfo"].size());
    EXPECT_EQ(groups, 5) << "one group per item of light_combo_custommodeSelect";
    EXPECT_LT(profile.GetCustomGroupIndex(), groups);
    for (int g = 0; g < groups; ++g) {
        ASSERT_EQ(profile.GetSection()["CustomLightMode"]["LightColorInfo"][g].size(), 126u) << "group " << g;
        const std::vector<CustomColour> colours = profile.GetCustomColours(g, 126);
        EXPECT_EQ(colours.size(), 126u);
    }
}

TEST_F(DefaultProfiles, PadMouseAndHeadsetStartInModesTheirPanelsOffer) {
    CBasicProfiledata pad;
    ASSERT_FALSE(Load(pad, "MousePad.Json").isNull());
    EXPECT_EQ(OfferedModes(2).count(pad.GetLightInfo().mode), 1u);
    EXPECT_EQ(pad.GetLightList().size(), 15u);
    for (const LightSetting& led : pad.GetLightList()) EXPECT_EQ(led.present, 0);

    CMouseProfiledata mouse;
    ASSERT_FALSE(Load(mouse, "mouse.Json").isNull());
    EXPECT_EQ(OfferedModes(1).count(mouse.GetLightInfo().mode), 1u);
    EXPECT_EQ(mouse.GetKeyList().size(), 10u) << "one mapping per key position of the mouse";
    const std::vector<DpiStage> dpi = mouse.GetDpiStages();
    ASSERT_FALSE(dpi.empty());
    EXPECT_LT(mouse.GetActiveDpiStage(), static_cast<int>(dpi.size()));
    for (size_t i = 1; i < dpi.size(); ++i) EXPECT_GT(dpi[i].x, dpi[i - 1].x) << "stages rise";
    // In steps of 50 DPI, within the 200 steps a mouse of this family takes.
    for (const DpiStage& stage : dpi) EXPECT_LE(stage.x, 200) << "a stage is held in DPI steps";
    EXPECT_FALSE(mouse.GetCorrectList().empty());
    EXPECT_NE(mouse.GetMouseSystemStages()[0] & 0xFFFF, 0u) << "a double-click time of 0";

    CZo6533Profiledata headset;
    ASSERT_FALSE(Load(headset, "HD.Json").isNull());
    EXPECT_EQ(OfferedModes(3).count(headset.GetLightInfo().mode), 1u);
    for (int preset = 1; preset <= 12; ++preset)
        EXPECT_EQ(headset.GetEqBands(preset).size(), 10u) << "preset " << preset;
    EXPECT_TRUE(headset.GetCustomEqNames().empty()) << "no user presets in a new profile";
}

TEST(DefaultLightNames, EachKindListsItsModesAndHidesTheProgramOnlyOnes) {
    struct Kind {
        int lightListIndex;
        size_t modes;
        std::set<int> hidden;
    };
    // Keyboard modes 0, 19, 21 and 23 (and the pad's and headset's 5) only play light
    // programs; the other kinds' lists run to their last mode number.
    const std::vector<Kind> kinds = {{0, 31, {0, 19, 21, 23}}, {1, 9, {}}, {2, 9, {5}}, {3, 9, {5}}};
    for (const Kind& kind : kinds) {
        LightNameLists lists;
        lists.Load(JsonDataFile(), kind.lightListIndex, shipped::DefaultDataDir() / "default_light.json",
                   fs::path("/nonexistent/vexal_light.config"));
        ASSERT_EQ(lists.defaultNames.size(), kind.modes) << "light list " << kind.lightListIndex;
        ASSERT_EQ(lists.defaultVisible.size(), kind.modes);
        for (size_t m = 0; m < kind.modes; ++m) {
            EXPECT_EQ(!lists.defaultVisible[m], kind.hidden.count(static_cast<int>(m)) == 1)
                << "light list " << kind.lightListIndex << " mode " << m;
            EXPECT_FALSE(lists.defaultNames[m].empty());
        }
        EXPECT_FALSE(lists.areaNames.empty());
    }
}

TEST(LanguageConfig, ListsSimplifiedChineseFirstAndEveryFileLoads) {
    const Json::Value config = JsonDataFile().ReadJsonFile(shipped::DefaultDataDir() / "Language.config");
    const Json::Value& languages = config["Language"];
    ASSERT_TRUE(languages.isArray());
    ASSERT_GE(languages.size(), 3u);
    EXPECT_EQ(languages[0]["Language_name"].asString(), "Simplified Chinese");
    std::set<std::string> names;
    std::set<int> ids;
    for (const Json::Value& entry : languages) {
        for (const char* member : {"Language_name", "Language_file", "Language_text"})
            EXPECT_TRUE(entry[member].isString() && !entry[member].asString().empty()) << member;
        EXPECT_TRUE(entry["Language_ID"].isInt());
        names.insert(entry["Language_name"].asString());
        ids.insert(entry["Language_ID"].asInt());
    }
    EXPECT_TRUE(names.count("English") == 1 && names.count("Traditional Chinese") == 1);
    EXPECT_EQ(ids.size(), languages.size()) << "the saved choice is found by its identifier";
    shipped::PrepareSkin();
    for (const std::string& file : shipped::LanguageFiles()) {
        EXPECT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage(file)) << file;
        EXPECT_TRUE(ui::CResourceManager::GetInstance().HasText("message_text_22")) << file;
    }
}

}  // namespace

// The four shipped recoil patterns: whole patterns, each shot a left click with a pull
// downwards against the climb, and a delay between shots.
TEST(DefaultRecoilPatterns, EverySlotShipsAWholePatternThatPullsDown) {
    const JsonDataFile files;
    for (int slot = 0; slot < ShootFile::kWeapons; ++slot) {
        const fs::path file = ShootFile::PathOf(shipped::DefaultDataDir(), slot);
        const ShootFile::Pattern pattern = ShootFile::ReadPattern(files, file);
        ASSERT_EQ(pattern.status, ShootFile::Status::Ok) << file;
        for (int shot = 0; shot < ShootFile::kShots; ++shot) {
            const auto value = ShootFile::ReadShot(files, file, shot);
            ASSERT_TRUE(value.has_value());
            EXPECT_FALSE(value->up) << file << " shot " << shot;
            EXPECT_GT(value->y, 0) << file << " shot " << shot;
            EXPECT_GE(value->delay, 50) << file << " shot " << shot;
            const auto events = ShootFile::EventsOf(*value);
            EXPECT_TRUE(std::equal(events.begin(), events.end(),
                                   pattern.events.begin() + shot * ShootFile::kEventsPerShot))
                << file << " shot " << shot << " is not in the form the panel writes";
        }
    }
}
