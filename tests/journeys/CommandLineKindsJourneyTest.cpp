// SPDX-License-Identifier: GPL-3.0-or-later
// The command line on every kind of device: the mouse and the headset take the same
// profile and lighting commands as the keyboard and the pad, and "status" reports every
// kind, each on its own simulated device.
#include <gtest/gtest.h>
#include <json/json.h>

#include <sstream>
#include <string>
#include <vector>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

constexpr int kConnectionMs = 1500;

class CommandLineKindsJourney : public ::testing::Test {
protected:
    CommandRun Run(std::vector<std::string> args) { return RunCommand(sandbox_, args); }
    // "status --json" as a map from the kind's word to its entry, in the order given.
    std::vector<Json::Value> Status(const std::string& simulate) {
        const CommandRun run = Run({"status", "--json", "--simulate=" + simulate});
        EXPECT_EQ(run.code, 0) << run.err;
        Json::Value root;
        std::string errors;
        Json::CharReaderBuilder builder;
        std::istringstream in(run.out);
        EXPECT_TRUE(Json::parseFromStream(builder, in, &root, &errors)) << run.out;
        std::vector<Json::Value> devices;
        for (const Json::Value& device : root["devices"]) devices.push_back(device);
        return devices;
    }

    Sandbox sandbox_;
};

TEST_F(CommandLineKindsJourney, StatusListsEveryKindAndWhichAreConnected) {
    for (const char* simulate : {"mouse", "headset"}) {
        const std::vector<Json::Value> devices = Status(simulate);
        ASSERT_EQ(devices.size(), 4u) << simulate;
        const std::vector<std::string> words = {"keyboard", "pad", "mouse", "headset"};
        for (std::size_t i = 0; i < words.size(); ++i) {
            EXPECT_EQ(devices[i]["device"], words[i]);
            EXPECT_EQ(devices[i]["connected"].asBool(), words[i] == simulate) << words[i];
        }
        const Json::Value& connected = devices[simulate == std::string("mouse") ? 2 : 3];
        EXPECT_TRUE(connected.isMember("firmware"));
        EXPECT_TRUE(connected["lighting"].isMember("mode"));
    }
    const CommandRun text = Run({"status", "--simulate=mouse"});
    EXPECT_EQ(text.code, 0) << text.err;
    EXPECT_NE(text.out.find("mouse: connected"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("headset: not connected"), std::string::npos) << text.out;
}

TEST_F(CommandLineKindsJourney, TheMouseAndTheHeadsetTakeProfileAndLightingCommands) {
    for (const char* kind : {"mouse", "headset"}) {
        const std::string simulate = std::string("--simulate=") + kind;
        CommandRun run = Run({"profile", "list", "--device", kind, "--json", simulate});
        ASSERT_EQ(run.code, 0) << kind << ": " << run.err;
        EXPECT_NE(run.out.find(std::string("\"device\":\"") + kind + "\""), std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find("\"applied\":true"), std::string::npos) << run.out;
        run = Run({"light", "mode", "2", "--brightness", "3", "--device", kind, simulate});
        ASSERT_EQ(run.code, 0) << kind << ": " << run.err;
        const std::vector<Json::Value> devices = Status(kind);
        ASSERT_EQ(devices.size(), 4u);
        const Json::Value& device = devices[kind == std::string("mouse") ? 2 : 3];
        EXPECT_EQ(device["lighting"]["mode"], 2) << kind;
        EXPECT_EQ(device["lighting"]["brightness"], 3) << kind;
    }
    // A kind that is not there is said by its name.
    const CommandRun absent = Run({"profile", "list", "--device", "headset", "--simulate=mouse"});
    EXPECT_EQ(absent.code, 1);
    EXPECT_NE(absent.err.find("no headset is connected"), std::string::npos) << absent.err;
}

TEST_F(CommandLineKindsJourney, ARunningCopyAppliesLightingToTheMouseAsIfClicked) {
    HeadlessProgram program(sandbox_, {"--simulate=mouse"});
    Script script(program);
    script.Wait(kConnectionMs);
    const CommandRun run = Run({"light", "mode", "4", "--device", "mouse"});
    ASSERT_EQ(run.code, 0) << run.err;
    // The settings block on the mouse carries the mode (byte 1).
    const std::string settings = script.Sim("mouse", "memory")["settings"].asString();
    EXPECT_EQ(settings.substr(2, 2), "04") << settings;
    EXPECT_EQ(program.Finish(), 0);
}

}  // namespace
}  // namespace journeys
