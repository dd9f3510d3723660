// SPDX-License-Identifier: GPL-3.0-or-later
// Device work seen from outside: the keyboard goes silent, slow or away while writes are
// queued, and the window must keep answering at once while the device's own work ends
// the way the user was told, without stale writes reaching the next keyboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

using Clock = std::chrono::steady_clock;

// The tables are read half a second after an arrival; a second is plenty for the rest.
// Generous for a loaded machine: a window waiting on a silent device takes seconds.
constexpr long kDeviceWorkPromptMs = 500;
constexpr int kPosition89 = 89;  // factory 20 00 05
constexpr int kAssignment = 0x200005;
constexpr int kNoSlot = 255;

long MsSince(Clock::time_point start) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// The 3-byte entry of key slot `slot` in a key table shown as hex.
std::string Entry(const Json::Value& memory, const char* area, int slot) {
    return memory[area].asString().substr(static_cast<size_t>(slot) * 6, 6);
}

// Slots whose entry in the device's key table differs from the factory layout.
std::vector<int> ChangedSlots(const Json::Value& memory) {
    std::vector<int> changed;
    const std::string table = memory["keytable"].asString();
    const std::string layout = memory["keylayout"].asString();
    for (size_t slot = 0; slot * 6 < layout.size(); ++slot) {
        if (table.substr(slot * 6, 6) != layout.substr(slot * 6, 6))
            changed.push_back(static_cast<int>(slot));
    }
    return changed;
}

bool Sends(const std::vector<int>& commands, int code) {
    return std::find(commands.begin(), commands.end(), code) != commands.end();
}

class DeviceWorkJourney : public ::testing::Test {
protected:
    Json::Value Ask(HeadlessProgram& program, const Json::Value& command) {
        Json::Value answer = program.Send(command);
        EXPECT_TRUE(answer.isObject()) << command.toStyledString() << "\nstderr:\n"
                                       << program.StandardError();
        EXPECT_TRUE(answer["ok"].asBool()) << command.toStyledString() << answer.toStyledString();
        return answer;
    }
    static Json::Value Command(const std::string& name, const std::string& op = "") {
        Json::Value command;
        command["cmd"] = name;
        if (!op.empty()) {
            command["op"] = op;
            command["device"] = "keyboard";
        }
        return command;
    }
    Json::Value Sim(HeadlessProgram& program, const std::string& op, Json::Value command = {}) {
        Json::Value full = Command("sim", op);
        for (const auto& member : command.getMemberNames()) full[member] = command[member];
        return Ask(program, full);
    }
    Json::Value Device(HeadlessProgram& program, const std::string& op, Json::Value command = {}) {
        Json::Value full = Command("device", op);
        for (const auto& member : command.getMemberNames()) full[member] = command[member];
        return Ask(program, full);
    }
    Json::Value Fault(HeadlessProgram& program, const std::string& fault, int count,
                      int delayMs = 0, int code = -1) {
        Json::Value command;
        command["fault"] = fault;
        if (fault != "clear") command["count"] = count;
        if (delayMs > 0) command["delay"] = delayMs;
        if (code >= 0) command["command"] = code;
        return Sim(program, "fault", command);
    }
    Json::Value SetKey(HeadlessProgram& program, int position, int assignment = -1) {
        Json::Value command;
        command["position"] = position;
        if (assignment >= 0) command["assignment"] = assignment;
        return Device(program, "setkey", command);
    }
    Json::Value Status(HeadlessProgram& program) { return Device(program, "status"); }
    Json::Value Memory(HeadlessProgram& program) { return Sim(program, "memory"); }
    void Wait(HeadlessProgram& program, int ms) {
        Json::Value command = Command("wait");
        command["ms"] = ms;
        Ask(program, command);
    }
    std::vector<std::string> MessageKeys(HeadlessProgram& program) {
        std::vector<std::string> keys;
        const Json::Value answer = Ask(program, Command("messages"));
        for (const Json::Value& box : answer["messages"]) keys.push_back(box["key"].asString());
        return keys;
    }
    // A control read as the user would see it; every round trip counts towards the worst.
    void Poke(HeadlessProgram& program) {
        Json::Value command = Command("get");
        command["control"] = "device_switch";
        const auto start = Clock::now();
        Ask(program, command);
        worstGetMs_ = std::max(worstGetMs_, MsSince(start));
        ++gets_;
    }
    // Keeps the window busy answering for `ms` of wall time.
    void KeepAsking(HeadlessProgram& program, int ms) {
        const auto start = Clock::now();
        while (MsSince(start) < ms) {
            Poke(program);
            Wait(program, 100);
        }
    }
    // Polls until nothing waits, runs or has yet to be reported; every completion seen on
    // the way is kept by operation, so one finishing just before another is not lost.
    Json::Value WaitIdle(HeadlessProgram& program, int limitMs) {
        const auto start = Clock::now();
        Json::Value status;
        do {
            Poke(program);
            status = Status(program);
            const Json::Value& last = status["last"];
            if (last.isObject() && last.isMember("op")) seen_[last["op"].asString()] = last;
            if (status["idle"].asBool()) return status;
            Wait(program, 20);
        } while (MsSince(start) < limitMs);
        ADD_FAILURE() << "the keyboard was still busy after " << limitMs << " ms";
        return status;
    }
    // A keyboard plugged in at the start whose connection read its tables in full.
    Json::Value Connected(HeadlessProgram& program) {
        Wait(program, kConnectionMs);
        Json::Value status = Status(program);
        EXPECT_TRUE(status["connected"].asBool());
        EXPECT_TRUE(status["tablesread"].asBool());
        EXPECT_EQ(status["slots"].size(), 126u);
        return status;
    }
    void ExpectAnsweredPromptly() {
        EXPECT_GT(gets_, 0);
        EXPECT_LT(worstGetMs_, kDeviceWorkPromptMs) << "worst of " << gets_ << " gets";
    }

    Sandbox sandbox;
    long worstGetMs_ = 0;
    int gets_ = 0;
    std::map<std::string, Json::Value> seen_;
};

TEST_F(DeviceWorkJourney, ASilentKeyboardAtPlugInNeverHoldsTheWindowAndConnectsOnceItAnswers) {
    HeadlessProgram program(sandbox, {"--simulate=none"});
    Wait(program, 500);
    Fault(program, "noreply", 20);
    Sim(program, "plug");
    // Each lost request costs the worker its full time limit: the connection routine takes
    // seconds, none of which the window may spend waiting.
    KeepAsking(program, 10000);
    Json::Value status = WaitIdle(program, 5000);
    EXPECT_TRUE(status["connected"].asBool());
    EXPECT_FALSE(status["tablesread"].asBool());
    const std::vector<int> tried = CommandsSent(Sim(program, "wirelog"));
    ASSERT_FALSE(tried.empty());
    EXPECT_EQ(tried.front(), 1);
    EXPECT_FALSE(Sends(tried, 9)) << "a key table was written over one never read";
    EXPECT_TRUE(ChangedSlots(Memory(program)).empty());

    // The keyboard answers again and is plugged back: a whole connection.
    Fault(program, "clear", 0);
    Sim(program, "unplug");
    Wait(program, 300);
    Sim(program, "plug");
    KeepAsking(program, kConnectionMs);
    status = WaitIdle(program, 3000);
    EXPECT_TRUE(status["connected"].asBool());
    EXPECT_TRUE(status["tablesread"].asBool());
    EXPECT_NE(status["slots"][kPosition64].asInt(), kNoSlot);
    const std::vector<int> read = CommandsSent(Sim(program, "wirelog"));
    EXPECT_TRUE(Sends(read, 7));
    EXPECT_TRUE(Sends(read, 27));
    const Json::Value memory = Memory(program);
    EXPECT_EQ(memory["keytable"], memory["keylayout"]);
    EXPECT_TRUE(MessageKeys(program).empty());
    ExpectAnsweredPromptly();
    Ask(program, Command("quit"));
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(DeviceWorkJourney, AKeyboardThatStopsAnsweringWithWritesQueuedEndsThemAndTellsTheUser) {
    HeadlessProgram program(sandbox, {"--simulate=keyboard"});
    const int slot = Connected(program)["slots"][kPosition64].asInt();
    ASSERT_NE(slot, kNoSlot);
    SetKey(program, kPosition64, kAssignment);
    Fault(program, "noreply", 6);
    Device(program, "applyprofile");
    Device(program, "writesettings");
    Json::Value status = WaitIdle(program, 25000);
    EXPECT_EQ(status["queued"].asInt(), 2);
    EXPECT_EQ(status["finished"].asInt(), 2);
    EXPECT_EQ(status["last"]["op"].asString(), "writesettings");
    EXPECT_FALSE(status["last"]["cancelled"].asBool());
    EXPECT_TRUE(status["last"].isMember("result"));

    // Either the keys got through or the user heard that they did not; never a key table
    // half made of zeroes.
    const std::vector<std::string> told = MessageKeys(program);
    const bool warned =
        std::find(told.begin(), told.end(), "message_keys_not_written") != told.end();
    Json::Value memory = Memory(program);
    const bool written = Entry(memory, "keytable", slot) == "200005";
    EXPECT_NE(warned, written) << "warned " << warned << ", written " << written;
    if (seen_.count("applyprofile") != 0) {
        const Json::Value& apply = seen_["applyprofile"];
        EXPECT_FALSE(apply["cancelled"].asBool());
        EXPECT_EQ(apply["keys"].asString() == "written", written) << apply.toStyledString();
    }
    for (int changed : ChangedSlots(memory)) EXPECT_EQ(changed, slot);

    // The key table write itself is lost: nothing is half written and the user is told.
    Fault(program, "noreply", 1, 0, 9);
    SetKey(program, 0, 0x200006);
    Device(program, "applykeys");
    status = WaitIdle(program, 10000);
    EXPECT_EQ(status["last"]["keys"].asString(), "failed");
    EXPECT_EQ(status["last"]["message"].asString(), "message_keys_not_written");
    EXPECT_EQ(MessageKeys(program), std::vector<std::string>{"message_keys_not_written"});
    for (int changed : ChangedSlots(Memory(program))) EXPECT_EQ(changed, slot);

    // Answering again: the next apply writes both keys at their slots and nothing else.
    Fault(program, "clear", 0);
    Device(program, "applykeys");
    status = WaitIdle(program, 5000);
    EXPECT_EQ(status["queued"].asInt(), 4);
    EXPECT_EQ(status["finished"].asInt(), 4);
    EXPECT_EQ(status["last"]["op"].asString(), "applykeys");
    EXPECT_FALSE(status["last"]["cancelled"].asBool());
    EXPECT_EQ(status["last"]["keys"].asString(), "written");
    EXPECT_EQ(status["last"]["message"].asString(), "");
    memory = Memory(program);
    const int slot0 = status["slots"][0].asInt();
    EXPECT_EQ(Entry(memory, "keytable", slot), "200005");
    EXPECT_EQ(Entry(memory, "keytable", slot0), "200006");
    EXPECT_EQ(ChangedSlots(memory),
              (std::vector<int>{std::min(slot, slot0), std::max(slot, slot0)}));
    EXPECT_TRUE(MessageKeys(program).empty());
    ExpectAnsweredPromptly();
    Ask(program, Command("quit"));
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(DeviceWorkJourney, AnUnplugDropsTheQueueAndTheNextConnectionOnlyReads) {
    HeadlessProgram program(sandbox, {"--simulate=keyboard"});
    Connected(program);
    SetKey(program, kPosition64, kAssignment);
    const Json::Value before = Memory(program);
    Fault(program, "slow", 3, 800);
    Device(program, "applyprofile");
    Device(program, "writesettings");
    Device(program, "applykeys");
    Wait(program, 300);  // the first request is still waiting for its slow answer
    Sim(program, "unplug");
    const auto unplugged = Clock::now();
    Json::Value status = WaitIdle(program, 3000);
    EXPECT_LT(MsSince(unplugged), 1500);
    EXPECT_FALSE(status["connected"].asBool());
    EXPECT_EQ(status["queued"].asInt(), 3);
    EXPECT_EQ(status["finished"].asInt(), 3);
    for (const auto& [op, last] : seen_) {
        const bool failed = last.isMember("keys") ? last["keys"].asString() != "written"
                                                  : last["result"].asInt() != 1;
        EXPECT_TRUE(last["cancelled"].asBool() || failed) << last.toStyledString();
    }
    Sim(program, "wirelog");  // what went out before the unplug

    Fault(program, "clear", 0);
    Sim(program, "plug");
    KeepAsking(program, kConnectionMs);
    status = WaitIdle(program, 3000);
    EXPECT_TRUE(status["tablesread"].asBool());
    EXPECT_EQ(status["finished"].asInt(), 3);
    const std::vector<int> replugged = CommandsSent(Sim(program, "wirelog"));
    EXPECT_TRUE(Sends(replugged, 7));
    for (int stale : {6, 9, 21}) EXPECT_FALSE(Sends(replugged, stale)) << "command " << stale;
    const Json::Value after = Memory(program);
    EXPECT_EQ(after["keytable"], before["keytable"]);
    EXPECT_EQ(after["settings"], before["settings"]);
    EXPECT_TRUE(MessageKeys(program).empty());

    // Until asked: then the keys go to the new connection.
    Device(program, "applykeys");
    status = WaitIdle(program, 5000);
    EXPECT_EQ(status["last"]["keys"].asString(), "written");
    EXPECT_TRUE(Sends(CommandsSent(Sim(program, "wirelog")), 9));
    ExpectAnsweredPromptly();
    Ask(program, Command("quit"));
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(DeviceWorkJourney, QuittingWithWritesQueuedOnASilentKeyboardEndsAtOnce) {
    HeadlessProgram program(sandbox, {"--simulate=keyboard"});
    Connected(program);
    SetKey(program, kPosition64, kAssignment);
    Fault(program, "noreply", 20);
    Device(program, "applyprofile");
    for (int index = 0; index < 3; ++index) {
        Json::Value command;
        command["index"] = index;
        Device(program, "writesettings", command);
    }
    Device(program, "applykeys");
    Wait(program, 200);
    Poke(program);
    EXPECT_FALSE(Status(program)["idle"].asBool());
    const auto start = Clock::now();
    Ask(program, Command("quit"));
    EXPECT_EQ(program.Finish(4000), 0);
    EXPECT_LT(MsSince(start), 3000);
    ExpectAnsweredPromptly();
}

class RemapAcrossReplug : public DeviceWorkJourney,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(RemapAcrossReplug, RemappedKeyKeepsItsSlotAndMapsBack) {
    HeadlessProgram program(sandbox, {"--simulate=keyboard"});
    Json::Value command;
    command["mode"] = GetParam();
    Sim(program, "readback", command);
    const Json::Value slots = Connected(program)["slots"];
    const int slot64 = slots[kPosition64].asInt();
    const int slot89 = slots[kPosition89].asInt();
    ASSERT_NE(slot64, kNoSlot);
    ASSERT_NE(slot89, kNoSlot);
    ASSERT_EQ(Entry(Memory(program), "keylayout", slot64), "200004");
    ASSERT_EQ(Entry(Memory(program), "keylayout", slot89), "200005");

    SetKey(program, kPosition64, kAssignment);
    Device(program, "applykeys");
    EXPECT_EQ(WaitIdle(program, 5000)["last"]["keys"].asString(), "written");
    EXPECT_EQ(Entry(Memory(program), "keytable", slot64), "200005");

    // The new connection reads a table in which two slots carry B (or, read back as the
    // factory layout, none changed): position 64 must keep its slot either way.
    Sim(program, "unplug");
    Wait(program, 300);
    Sim(program, "plug");
    Json::Value status = Connected(program);
    EXPECT_EQ(status["slots"], slots);
    EXPECT_EQ(status["slots"][kPosition64].asInt(), slot64);

    SetKey(program, kPosition64);
    Device(program, "applykeys");
    status = WaitIdle(program, 5000);
    EXPECT_EQ(status["last"]["keys"].asString(), "written");
    const Json::Value memory = Memory(program);
    EXPECT_EQ(Entry(memory, "keytable", slot64), "200004");
    EXPECT_EQ(Entry(memory, "keytable", slot89), "200005");
    EXPECT_EQ(memory["keytable"], memory["keylayout"]);
    EXPECT_TRUE(MessageKeys(program).empty());
    ExpectAnsweredPromptly();
    Ask(program, Command("quit"));
    EXPECT_EQ(program.Finish(), 0);
}

// The user's remap is the program's, not the device's: a keyboard that reads back its
// factory layout on the next connection must not undo it at the next apply. The remap
// outlives the connection only in the profile file the profile panel names.
TEST_F(DeviceWorkJourney, AKeyRemappedBeforeAReplugIsStillWrittenAfterIt) {
    HeadlessProgram program(sandbox, {"--simulate=keyboard"});
    const int slot = Connected(program)["slots"][kPosition64].asInt();
    SetKey(program, kPosition64, kAssignment);
    Device(program, "applykeys");
    EXPECT_EQ(WaitIdle(program, 5000)["last"]["keys"].asString(), "written");
    Sim(program, "unplug");
    Wait(program, 300);
    Sim(program, "plug");
    Connected(program);
    Device(program, "applykeys");
    EXPECT_EQ(WaitIdle(program, 5000)["last"]["keys"].asString(), "written");
    const Json::Value memory = Memory(program);
    EXPECT_EQ(Entry(memory, "keytable", slot), "200005") << "the remap was lost with the replug";
    EXPECT_EQ(ChangedSlots(memory), std::vector<int>{slot});
    ExpectAnsweredPromptly();
    Ask(program, Command("quit"));
    EXPECT_EQ(program.Finish(), 0);
}

INSTANTIATE_TEST_SUITE_P(DeviceWorkJourney, RemapAcrossReplug,
                         ::testing::Values("layout", "written"));

TEST_F(DeviceWorkJourney, KeyPressBurstsDuringAnApplyDoNotDisturbIt) {
    HeadlessProgram program(sandbox, {"--simulate=keyboard"});
    const int slot = Connected(program)["slots"][kPosition64].asInt();
    SetKey(program, kPosition64, kAssignment);
    // Slow key table chunks keep the apply going while the events pour in between them.
    Fault(program, "slow", 2, 300, 9);
    Device(program, "applyprofile");
    for (int burst = 0; burst < 4; ++burst) {
        if (burst == 1) {
            EXPECT_FALSE(Status(program)["idle"].asBool()) << "the apply ended early";
        }
        for (int key = burst * 10; key < burst * 10 + 10; ++key) {
            Json::Value command;
            command["slot"] = key;
            Sim(program, "press", command);
            Sim(program, "release", command);
        }
        Poke(program);
        Wait(program, 120);
    }
    const Json::Value status = WaitIdle(program, 5000);
    EXPECT_EQ(status["finished"].asInt(), 1);
    EXPECT_EQ(status["last"]["op"].asString(), "applyprofile");
    EXPECT_EQ(status["last"]["settings"].asInt(), 1);
    EXPECT_EQ(status["last"]["keys"].asString(), "written");
    const Json::Value memory = Memory(program);
    EXPECT_EQ(Entry(memory, "keytable", slot), "200005");
    EXPECT_EQ(ChangedSlots(memory), std::vector<int>{slot});
    EXPECT_TRUE(MessageKeys(program).empty());
    ExpectAnsweredPromptly();
    Ask(program, Command("quit"));
    EXPECT_EQ(program.Finish(), 0);
}

}  // namespace
}  // namespace journeys
