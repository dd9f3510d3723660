// SPDX-License-Identifier: GPL-3.0-or-later
// The computer sleeping and waking up under the running program, seen from outside: the
// devices change while the program ignores the scanner's news, and on waking it must
// stand as if it had followed them, and still answer at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

constexpr const char* kSuspend = R"({"cmd":"send","msg":536,"wparam":4})";
constexpr const char* kResume = R"({"cmd":"send","msg":536,"wparam":18})";
// Page k of "device_switch" belongs to tab k: mouse, keyboard, mouse pad, headset.
constexpr int kKeyboardPage = 1;
constexpr int kPadPage = 2;
// Long enough for a scanner pass (100 ms apart) to see a plug or an unplug.
constexpr int kScanMs = 400;
// A device's tables are read half a second after it arrives.
constexpr int kPowerConnectionMs = 1200;
// Generous for a loaded machine; a program stuck on dead channels takes far longer.
constexpr long kPowerPromptMs = 1000;

class PowerJourney : public ::testing::Test {
protected:
    Json::Value Ask(HeadlessProgram& program, const std::string& line) {
        Json::Value answer = program.Send(line);
        EXPECT_TRUE(answer.isObject()) << line << "\nstderr:\n" << program.StandardError();
        EXPECT_TRUE(answer["ok"].asBool()) << line << ": " << answer.toStyledString();
        return answer;
    }
    Json::Value Get(HeadlessProgram& program, const std::string& control) {
        return Ask(program, R"({"cmd":"get","control":")" + control + R"("})");
    }
    // A `get` right after waking up, with the time its answer took.
    Json::Value GetPromptly(HeadlessProgram& program, const std::string& control) {
        const auto start = std::chrono::steady_clock::now();
        Json::Value answer = Get(program, control);
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now() - start)
                              .count();
        EXPECT_LT(took, kPowerPromptMs) << control;
        return answer;
    }
    void Wait(HeadlessProgram& program, int ms) {
        Ask(program, R"({"cmd":"wait","ms":)" + std::to_string(ms) + "}");
    }
    void Sim(HeadlessProgram& program, const std::string& device, const std::string& op) {
        Ask(program, R"({"cmd":"sim","device":")" + device + R"(","op":")" + op + R"("})");
    }
    Json::Value WireLog(HeadlessProgram& program, const std::string& device) {
        return Ask(program, R"({"cmd":"sim","device":")" + device + R"(","op":"wirelog"})");
    }
    static int Replies(const Json::Value& log) {
        int count = 0;
        for (const Json::Value& entry : log["log"])
            if (entry["dir"].asString() == "in") ++count;
        return count;
    }
    static bool ReadsInformation(const Json::Value& log) {
        const std::vector<int> sent = CommandsSent(log);
        return std::find(sent.begin(), sent.end(), 1) != sent.end();
    }
    // The first visible tab's name: with the tabs in table order (mouse, keyboard, pad),
    // it tells whether the keyboard's is shown.
    std::string FirstTabName(HeadlessProgram& program) {
        return Get(program, "device_select_layout/device_select_name")["text"].asString();
    }
    // Both devices connected and their reports so far read: the keyboard's tab name.
    std::string Settle(HeadlessProgram& program) {
        Wait(program, kPowerConnectionMs);
        WireLog(program, "keyboard");
        WireLog(program, "pad");
        return FirstTabName(program);
    }
    // Right after waking up: the keyboard's tab is shown and selected, its page on screen.
    void ExpectKeyboardCurrent(HeadlessProgram& program, const std::string& keyboardTab) {
        EXPECT_EQ(GetPromptly(program, "device_switch")["cursel"].asInt(), kKeyboardPage);
        EXPECT_FALSE(Get(program, "No_device_Link")["visible"].asBool());
        EXPECT_EQ(FirstTabName(program), keyboardTab);
        EXPECT_TRUE(Get(program, "device_select_layout/device_select")["selected"].asBool());
    }
    void Quit(HeadlessProgram& program) {
        Ask(program, R"({"cmd":"quit"})");
        EXPECT_EQ(program.Finish(), 0);
    }

    Sandbox sandbox;
};

TEST_F(PowerJourney, DevicesUnpluggedInSleepAreGoneOnWaking) {
    HeadlessProgram program(sandbox, {"--simulate"});
    Wait(program, kPowerConnectionMs);
    ASSERT_EQ(Get(program, "device_switch")["cursel"].asInt(), kKeyboardPage);
    const std::string keyboardTab = FirstTabName(program);

    Ask(program, kSuspend);
    Sim(program, "keyboard", "unplug");
    Wait(program, kScanMs);
    Ask(program, kResume);
    EXPECT_FALSE(GetPromptly(program, "No_device_Link")["visible"].asBool());
    EXPECT_EQ(Get(program, "device_switch")["cursel"].asInt(), kPadPage);
    EXPECT_EQ(Get(program, "device_power_switch")["cursel"].asInt(), kPadPage);
    EXPECT_FALSE(Get(program, "keyboard_device_page")["visible"].asBool());
    EXPECT_TRUE(Get(program, "mousepad_device_page")["visible"].asBool());
    EXPECT_NE(FirstTabName(program), keyboardTab);
    EXPECT_TRUE(Get(program, "device_select_layout/device_select")["selected"].asBool());

    Ask(program, kSuspend);
    Sim(program, "pad", "unplug");
    Wait(program, kScanMs);
    Ask(program, kResume);
    EXPECT_TRUE(GetPromptly(program, "No_device_Link")["visible"].asBool());
    EXPECT_EQ(Get(program, "device_switch")["cursel"].asInt(), 0);
    EXPECT_FALSE(Get(program, "mousepad_device_page")["visible"].asBool());
    Quit(program);
}

TEST_F(PowerJourney, AKeyboardRepluggedInSleepIsOpenOnItsNewNodeAndAnswers) {
    HeadlessProgram program(sandbox, {"--simulate"});
    const std::string keyboardTab = Settle(program);

    Ask(program, kSuspend);
    Sim(program, "keyboard", "unplug");
    Wait(program, kScanMs);
    Sim(program, "keyboard", "plug");
    Wait(program, kScanMs);
    // Asleep, the program leaves the new node alone.
    EXPECT_TRUE(CommandsSent(WireLog(program, "keyboard")).empty());

    Ask(program, kResume);
    ExpectKeyboardCurrent(program, keyboardTab);
    Wait(program, kPowerConnectionMs);
    const Json::Value log = WireLog(program, "keyboard");
    EXPECT_TRUE(ReadsInformation(log));  // the connection routine ran again
    EXPECT_GT(Replies(log), 0);
    // Its event channel is on the new node too: the device telling of a profile switch
    // made on it gets the program reading its settings.
    Ask(program, R"({"cmd":"sim","device":"keyboard","op":"event","usage":1026})");
    Wait(program, kPowerConnectionMs);
    EXPECT_FALSE(CommandsSent(WireLog(program, "keyboard")).empty());
    Quit(program);
}

TEST_F(PowerJourney, SleepWithNothingChangedChangesNothing) {
    HeadlessProgram program(sandbox, {"--simulate"});
    const std::string keyboardTab = Settle(program);

    Ask(program, kSuspend);
    Wait(program, kScanMs);
    Ask(program, kResume);
    ExpectKeyboardCurrent(program, keyboardTab);
    EXPECT_TRUE(Get(program, "keyboard_device_page")["visible"].asBool());
    Wait(program, kPowerConnectionMs);
    // Neither device was connected again.
    EXPECT_FALSE(ReadsInformation(WireLog(program, "keyboard")));
    EXPECT_FALSE(ReadsInformation(WireLog(program, "pad")));
    Quit(program);
}

}  // namespace
}  // namespace journeys
