// SPDX-License-Identifier: GPL-3.0-or-later
// A user's device that is not quite the simulator's: a capture of the simulated keyboard
// altered as another keyboard might differ (another firmware release, fewer key slots,
// one more collection, its interfaces listed the other way round, a late reply) drives
// the program through its connection, a key write and a profile switch.
#include <gtest/gtest.h>
#include <json/json.h>

#include <fstream>
#include <string>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

constexpr int kCaptureConnectionMs = 2000;
constexpr int kSlots = 120;
// A vendor collection of its own (page 0xFF00, report 5) that this program does not use.
constexpr const char* kExtraCollection = "0600ff0901a1018505150026ff00750895070902 8102c0";

Json::Value Device(Script& script, const std::string& op, Json::Value command = Json::Value()) {
    command["cmd"] = "device";
    command["op"] = op;
    command["device"] = "keyboard";
    return script.Ask(command);
}

// The late reply: the status block answered 300 ms after it was asked for.
Json::Value LateStatusExchange(const Json::Value& exchange) {
    Json::Value kept(Json::arrayValue);
    for (Json::ArrayIndex i = 0; i + 1 < exchange.size(); ++i) {
        const std::string hex = exchange[i]["hex"].asString();
        if (exchange[i]["dir"] != "out" || hex.substr(6, 2) != "1a") continue;
        Json::Value reply = exchange[i + 1];
        reply["ms"] = exchange[i]["ms"].asDouble() + 300.0;
        kept.append(exchange[i]);
        kept.append(reply);
    }
    return kept;
}

class CaptureJourney : public ::testing::Test {
protected:
    std::filesystem::path AlteredCapture() {
        const auto file = sandbox_.Root() / "mine.json";
        const CommandRun run =
            RunCommand(sandbox_, {"--simulate=keyboard", "--diagnose", "--capture", file.string()});
        EXPECT_EQ(run.code, 0) << run.err;
        Json::Value capture = ReadJsonFile(file);
        Json::Value& device = capture["devices"][0];
        device["identity"]["release"] = "0207";
        Json::Value& tables = device["tables"];
        std::string info = tables["info"].asString();
        info.replace(10, 2, "78");  // 120 key slots
        tables["info"] = info;
        tables["key_table"] = tables["key_table"].asString().substr(0, kSlots * 6);
        tables["led_map"] = tables["led_map"].asString().substr(0, kSlots * 2);
        Json::Value& descriptors = device["descriptors"];
        descriptors[1]["hex"] = descriptors[1]["hex"].asString() + kExtraCollection;
        descriptors[1]["reading"] = Json::Value();
        Json::Value reversed(Json::arrayValue);
        reversed.append(descriptors[1]);
        reversed.append(descriptors[0]);
        descriptors = reversed;
        device["exchange"] = LateStatusExchange(device["exchange"]);
        std::ofstream(file) << capture.toStyledString();
        return file;
    }

    Sandbox sandbox_;
};

TEST_F(CaptureJourney, AnAlteredKeyboardConnectsTakesAKeyAndSwitchesProfile) {
    const auto file = AlteredCapture();
    HeadlessProgram program(sandbox_, {"--simulate=capture:" + file.string()});
    Script script(program);
    script.Wait(kCaptureConnectionMs);
    Json::Value status = Device(script, "status");
    EXPECT_TRUE(status["connected"].asBool());
    EXPECT_TRUE(status["tablesread"].asBool());
    int mapped = 0;
    for (const Json::Value& slot : status["slots"]) mapped += slot.asInt() != 255;
    EXPECT_GT(mapped, 90);
    for (const Json::Value& slot : status["slots"])
        EXPECT_TRUE(slot.asInt() == 255 || slot.asInt() < kSlots);

    const Json::Value memory = script.Sim("keyboard", "memory");
    EXPECT_EQ(memory["keytable"].asString().size(), std::size_t{kSlots} * 6);

    // A key write: position 30's slot takes play/pause, and only that entry changes.
    const int slot = status["slots"][30].asInt();
    ASSERT_LT(slot, kSlots);
    Json::Value setkey;
    setkey["position"] = 30;
    setkey["assignment"] = 0x30CD00;
    Device(script, "setkey", setkey);
    Device(script, "applykeys");
    script.Wait(1500);
    status = Device(script, "status");
    EXPECT_EQ(status["last"]["keys"].asString(), "written") << status;
    const std::string after = script.Sim("keyboard", "memory")["keytable"].asString();
    EXPECT_EQ(after.substr(static_cast<std::size_t>(slot) * 6, 6), "30cd00");
    EXPECT_EQ(after.size(), std::size_t{kSlots} * 6);

    // The user switches the keyboard to its second profile: the program reads that block.
    script.Sim("keyboard", "wirelog");
    Json::Value profile;
    profile["cmd"] = "sim";
    profile["device"] = "keyboard";
    profile["op"] = "profile";
    profile["index"] = 1;
    script.Ask(profile);
    // The read follows the device's event through a timer: give a loaded machine time.
    bool readSecond = false;
    Json::Value log(Json::arrayValue);
    for (int tries = 0; tries < 20 && !readSecond; ++tries) {
        script.Wait(250);
        const Json::Value answer = script.Sim("keyboard", "wirelog");
        for (const Json::Value& entry : answer["log"]) {
            const std::string hex = entry["hex"].asString();
            log.append(hex.substr(0, 16));
            // command 5, 26 bytes, offset 25
            readSecond |= entry["dir"] == "out" && hex.substr(6, 8) == "051a1900";
        }
    }
    EXPECT_TRUE(readSecond) << log;
    EXPECT_EQ(program.Finish(), 0);
    // Where the simulator had to make its own choices, the user is told.
    EXPECT_NE(program.StandardError().find("answered after 300 ms"), std::string::npos)
        << program.StandardError();
}

TEST_F(CaptureJourney, TheSimCommandPutsTheCapturedKeyboardInPlaceOfTheSimulatorsOwn) {
    const auto file = AlteredCapture();
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Script script(program);
    script.Wait(kCaptureConnectionMs);
    Json::Value capture;
    capture["cmd"] = "sim";
    capture["device"] = "keyboard";
    capture["op"] = "capture";
    capture["file"] = file.string();
    const Json::Value answer = script.Ask(capture);
    ASSERT_TRUE(answer["notes"].isArray());
    EXPECT_EQ(script.Sim("keyboard", "memory")["keytable"].asString().size(),
              std::size_t{kSlots} * 6);
    script.Wait(kCaptureConnectionMs);
    const Json::Value status = Device(script, "status");
    EXPECT_TRUE(status["connected"].asBool());
    EXPECT_TRUE(status["tablesread"].asBool());
    for (const Json::Value& slot : status["slots"])
        EXPECT_TRUE(slot.asInt() == 255 || slot.asInt() < kSlots);
    // A file that is not there is refused, and the keyboard stays.
    capture["file"] = (sandbox_.Root() / "missing.json").string();
    EXPECT_FALSE(program.Send(capture)["ok"].asBool());
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(CaptureJourney, NoCaptureIsMadeWhileTheProgramTalksToTheDevices) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Script script(program);
    script.Wait(200);
    const auto file = sandbox_.Root() / "while-running.json";
    const CommandRun run = RunCommand(sandbox_, {"--diagnose", "--capture", file.string()});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("the program is running"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(CaptureJourney, ACaptureThatCannotStandForADeviceStopsTheRunAndSaysWhere) {
    const auto file = sandbox_.Root() / "broken.json";
    std::ofstream(file) << R"({"format":"telix-tx512 device capture","version":1,"devices":[)"
                        << R"({"kind":"keyboard","identity":{"vendor":"320f","product":"zz"}}]})";
    const CommandRun run =
        RunCommand(sandbox_, {"--simulate=capture:" + file.string(), "--list-devices"});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("devices[0].identity.product"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace journeys
