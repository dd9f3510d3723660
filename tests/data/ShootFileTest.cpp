// SPDX-License-Identifier: GPL-3.0-or-later
// Recoil pattern files: what a shot edit writes, and which files count as patterns.
#include <gtest/gtest.h>
#include <json/json.h>

#include <string>

#include "DataTestFolder.h"
#include "data/JsonDataFile.h"
#include "data/macro/ShootFile.h"

namespace {

class ShootFileTest : public DataTestFolder {
protected:
    // A pattern of 180 events as the program writes them, with an extra member to keep.
    Json::Value Pattern() const {
        Json::Value root;
        root["Name"] = "kept";
        for (int b = 0; b < ShootFile::kShots; ++b)
            for (const MacroEvent& e : ShootFile::EventsOf({false, 1, false, 2, 50})) {
                Json::Value element;
                element["Type"] = e.type;
                element["Button"] = e.button;
                element["Action"] = e.down ? "down" : "up";
                element["Delay"] = e.delay;
                root["Events"].append(element);
            }
        return root;
    }
    std::filesystem::path File() const {
        std::filesystem::create_directories(root_ / "user");
        return ShootFile::PathOf(root_ / "user", 2);
    }
    JsonDataFile files_;
};

TEST_F(ShootFileTest, SavingShotFourWritesItsSixEventsAndNothingElse) {
    ASSERT_TRUE(files_.WriteJsonFile(File(), Pattern()));
    EXPECT_EQ(File().filename(), "ShootData_2.Shoot");
    ASSERT_TRUE(ShootFile::WriteShot(files_, File(), 3, {true, 4, false, 12, 90}));

    const Json::Value root = files_.ReadJsonFile(File());
    EXPECT_EQ(root["Name"], "kept");
    const Json::Value& events = root["Events"];
    ASSERT_EQ(events.size(), 180u);
    const auto expect = [&](int i, int type, const char* action, int button, int delay) {
        const Json::Value& e = events[i];
        EXPECT_EQ(e["Type"].asInt(), type) << i;
        EXPECT_EQ(e["Action"].asString(), action) << i;
        EXPECT_EQ(e["Button"].asInt(), button) << i;
        EXPECT_TRUE(e["Delay"].isIntegral()) << i;
        EXPECT_EQ(e["Delay"].asInt(), delay) << i;
    };
    expect(18, 1, "down", 1, 10);
    expect(19, 1, "up", 1, 0);
    expect(20, 4, "down", 4, 5);
    expect(21, 5, "up", 12, 90);
    expect(22, 4, "down", 0, 0);
    expect(23, 5, "up", 0, 0);
    expect(24, 1, "down", 1, 10);  // shot 5 as it was
    expect(26, 4, "up", 1, 5);

    const auto shot = ShootFile::ReadShot(files_, File(), 3);
    ASSERT_TRUE(shot.has_value());
    EXPECT_EQ(*shot, (ShootFile::Shot{true, 4, false, 12, 90}));
    // Values the mouse cannot keep are cut to what it can.
    ASSERT_TRUE(ShootFile::WriteShot(files_, File(), 0, {false, 900, true, -5, 999999}));
    EXPECT_EQ(*ShootFile::ReadShot(files_, File(), 0),
              (ShootFile::Shot{false, 255, true, 0, 65535}));
}

TEST_F(ShootFileTest, OnlyAWholePatternIsAPattern) {
    EXPECT_EQ(ShootFile::ReadPattern(files_, File()).status, ShootFile::Status::Missing);
    ASSERT_TRUE(files_.WriteJsonFile(File(), Pattern()));
    const ShootFile::Pattern good = ShootFile::ReadPattern(files_, File());
    EXPECT_EQ(good.status, ShootFile::Status::Ok);
    EXPECT_EQ(good.events.size(), 180u);

    Json::Value shorter = Pattern();
    shorter["Events"].resize(179);
    Json::Value longer = Pattern();
    longer["Events"].append(longer["Events"][0]);
    Json::Value oddEvent = Pattern();
    oddEvent["Events"][40]["Action"] = "sideways";
    Json::Value nested = Pattern();
    nested["Events"][7]["Type"] = Json::Value(Json::arrayValue);
    Json::Value textDelay = Pattern();
    textDelay["Events"][3]["Delay"] = "75";  // a macro file's form reads as its number
    for (const Json::Value& bad : {shorter, longer, oddEvent, nested}) {
        ASSERT_TRUE(files_.WriteJsonFile(File(), bad));
        EXPECT_EQ(ShootFile::ReadPattern(files_, File()).status, ShootFile::Status::Malformed);
        EXPECT_FALSE(ShootFile::ReadShot(files_, File(), 0).has_value());
        const std::string before = ReadText(File());
        EXPECT_FALSE(ShootFile::WriteShot(files_, File(), 0, {}));
        EXPECT_EQ(ReadText(File()), before);  // a file that is no pattern is left alone
    }
    ASSERT_TRUE(files_.WriteJsonFile(File(), textDelay));
    EXPECT_EQ(ShootFile::ReadPattern(files_, File()).events[3].delay, 75);

    EXPECT_FALSE(ShootFile::IsPattern("not json"));
    EXPECT_FALSE(ShootFile::IsPattern(std::string(100, '[')));  // deeper than any data file
    EXPECT_FALSE(ShootFile::IsPattern("{\"Events\": []}"));
    EXPECT_TRUE(ShootFile::IsPattern(JsonDataFile::StyledText(Pattern())));
    EXPECT_FALSE(ShootFile::WriteShot(files_, File(), 30, {}));
}

}  // namespace
