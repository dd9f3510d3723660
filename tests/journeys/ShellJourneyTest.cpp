// SPDX-License-Identifier: GPL-3.0-or-later
// The shell seen from outside: the program started headless against the simulated
// devices, driven through its automation interface as another tool would drive it.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <chrono>
#include <cstdlib>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "HeadlessProgram.h"

namespace journeys {
namespace {

std::filesystem::path SocketFile(const Sandbox& sandbox) {
    return sandbox.Root() / "runtime" / "TELIX_TX512_keyboard_Driver.sock";
}

// One exchange on the running copy's local socket: a line out, the answer line (if any)
// back within `waitMs`.
std::string Local(const Sandbox& sandbox, const std::string& line, int waitMs) {
    const std::string path = SocketFile(sandbox).string();
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    std::string answer;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size()) && waitMs > 0) {
        timeval timeout{waitMs / 1000, (waitMs % 1000) * 1000};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        char chunk[8192];
        ssize_t n = 0;
        while (answer.find('\n') == std::string::npos && (n = read(fd, chunk, sizeof chunk)) > 0) {
            answer.append(chunk, static_cast<size_t>(n));
        }
    }
    close(fd);
    return answer;
}

class ShellJourney : public ::testing::Test {
protected:
    Json::Value Ask(HeadlessProgram& program, const std::string& line) {
        Json::Value answer = program.Send(line);
        EXPECT_TRUE(answer.isObject()) << line << "\nstderr:\n" << program.StandardError();
        return answer;
    }
    Json::Value Get(HeadlessProgram& program, const std::string& control) {
        Json::Value answer = Ask(program, R"({"cmd":"get","control":")" + control + R"("})");
        EXPECT_TRUE(answer["ok"].asBool()) << control << ": " << answer.toStyledString();
        return answer;
    }
    void Wait(HeadlessProgram& program, int ms) {
        Json::Value answer = Ask(program, R"({"cmd":"wait","ms":)" + std::to_string(ms) + "}");
        EXPECT_TRUE(answer["ok"].asBool());
    }
    bool WindowVisible(HeadlessProgram& program) {
        Json::Value answer = Ask(program, R"({"cmd":"window"})");
        return answer["visible"].asBool();
    }

    Sandbox sandbox;
};

TEST_F(ShellJourney, WithNoDeviceTheWindowShowsAfterTheFirstScanWithTheNoDeviceNotice) {
    HeadlessProgram program(sandbox, {"--simulate=none"});
    Wait(program, 600);
    EXPECT_TRUE(WindowVisible(program));
    EXPECT_TRUE(Get(program, "No_device_Link")["visible"].asBool());
    EXPECT_EQ(Get(program, "device_switch")["cursel"].asInt(), 0);
    EXPECT_TRUE(Ask(program, R"({"cmd":"quit"})")["ok"].asBool());
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(ShellJourney, DevicesComeAndGoAndTheCurrentDeviceFollowsTheRules) {
    HeadlessProgram program(sandbox, {"--simulate=none"});
    Wait(program, 400);
    // Keyboard plugged in: its tab is shown and selected, its page replaces page 0.
    ASSERT_TRUE(Ask(program, R"({"cmd":"sim","device":"keyboard","op":"plug"})")["ok"].asBool());
    Wait(program, 250);
    EXPECT_FALSE(Get(program, "No_device_Link")["visible"].asBool());
    EXPECT_TRUE(Get(program, "keyboard_device_page")["visible"].asBool());
    const int keyboardPage = Get(program, "device_switch")["cursel"].asInt();
    EXPECT_NE(keyboardPage, 0);
    // Half a second after the arrival the keyboard's tables are read: information block
    // first, then the key table and LED map.
    Ask(program, R"({"cmd":"sim","device":"keyboard","op":"wirelog"})");
    Wait(program, 900);
    const std::vector<int> sent =
        CommandsSent(Ask(program, R"({"cmd":"sim","device":"keyboard","op":"wirelog"})"));
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), 1);
    EXPECT_NE(std::find(sent.begin(), sent.end(), 7), sent.end());
    // The preview runs: the keys of the picture carry the software lighting.
    const Json::Value light = Get(program, "light_0")["light"];
    ASSERT_TRUE(light.isObject());
    EXPECT_TRUE(light["overlay"].asBool());

    // The pad arrives later: the keyboard stays current.
    ASSERT_TRUE(Ask(program, R"({"cmd":"sim","device":"pad","op":"plug"})")["ok"].asBool());
    Wait(program, 250);
    EXPECT_EQ(Get(program, "device_switch")["cursel"].asInt(), keyboardPage);

    // The keyboard goes: the pad becomes current.
    ASSERT_TRUE(Ask(program, R"({"cmd":"sim","device":"keyboard","op":"unplug"})")["ok"].asBool());
    Wait(program, 250);
    EXPECT_TRUE(Get(program, "mousepad_device_page")["visible"].asBool());
    EXPECT_NE(Get(program, "device_switch")["cursel"].asInt(), keyboardPage);
    EXPECT_FALSE(Get(program, "No_device_Link")["visible"].asBool());

    // And the pad too: nothing left, the notice is back on page 0.
    ASSERT_TRUE(Ask(program, R"({"cmd":"sim","device":"pad","op":"unplug"})")["ok"].asBool());
    Wait(program, 250);
    EXPECT_TRUE(Get(program, "No_device_Link")["visible"].asBool());
    EXPECT_EQ(Get(program, "device_switch")["cursel"].asInt(), 0);
    Ask(program, R"({"cmd":"quit"})");
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(ShellJourney, ASecondCopyWakesTheFirstAndEndsAtOnce) {
    HeadlessProgram first(sandbox, {"--simulate=none"});
    Wait(first, 500);
    ASSERT_TRUE(WindowVisible(first));
    // Closed to the tray: hidden, still running.
    Ask(first, R"({"cmd":"notify","control":"closebtn","type":"click"})");
    ASSERT_FALSE(WindowVisible(first));

    // A script is refused beside a running copy, and leaves its window as it was.
    EXPECT_EQ(RunProgram(sandbox, {"--headless", "--script", "/dev/null", "--simulate=none"}), 2);
    Wait(first, 300);
    EXPECT_FALSE(WindowVisible(first));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunProgram(sandbox, {"--hidden", "--simulate=none"}), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    Wait(first, 300);
    EXPECT_TRUE(WindowVisible(first));
    Ask(first, R"({"cmd":"quit"})");
    EXPECT_EQ(first.Finish(), 0);
}

TEST_F(ShellJourney, SwitchingTheLanguageChangesTextsAndIsKeptForTheNextStart) {
    // The first start follows the locale: English here.
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    ::setenv("LANG", "en_US.UTF-8", 1);
    {
        HeadlessProgram program(sandbox, {"--simulate=none"});
        Wait(program, 300);
        const std::string before = Get(program, "nodevice_ok_btn")["text"].asString();
        // Index 2 of the shipped list is Traditional Chinese.
        ASSERT_TRUE(Ask(program, R"({"cmd":"send","msg":3089,"wparam":2})")["ok"].asBool());
        const std::string after = Get(program, "nodevice_ok_btn")["text"].asString();
        EXPECT_NE(before, after);
        EXPECT_FALSE(after.empty());
        EXPECT_NE(after, "no_device_ok_text");
        Ask(program, R"({"cmd":"quit"})");
        EXPECT_EQ(program.Finish(), 0);
    }
    HeadlessProgram again(sandbox, {"--simulate=none"});
    Wait(again, 300);
    const std::string text = Get(again, "nodevice_ok_btn")["text"].asString();
    Ask(again, R"({"cmd":"send","msg":3089,"wparam":2})");
    EXPECT_EQ(Get(again, "nodevice_ok_btn")["text"].asString(), text);
    Ask(again, R"({"cmd":"quit"})");
    EXPECT_EQ(again.Finish(), 0);
}

TEST_F(ShellJourney, OtherProgramsTakeTheLightingAndReadTheDeviceTableOverTheSocket) {
    HeadlessProgram program(sandbox, {"--simulate=keyboard"});
    Wait(program, 1200);
    const std::string taken = Get(program, "control_light_status")["text"].asString();
    // The factory tool's query is answered on the same connection.
    const std::string table = Local(sandbox, "{\"type\":\"worktool_query\"}\n", 2000);
    EXPECT_NE(table.find("\"worktool_table\""), std::string::npos) << table;
    EXPECT_NE(table.find("[2,3,0,2,4,0,0,2,12815,20571,1,12815,4100,3,0,0,7"), std::string::npos)
        << table;
    // Another process releases the lighting: the button says so, and the keyboard's
    // picture stops following the software effect.
    Local(sandbox, "{\"type\":\"light_control\",\"wparam\":1,\"lparam\":0}\n", 0);
    Wait(program, 200);
    const std::string released = Get(program, "control_light_status")["text"].asString();
    EXPECT_NE(released, taken);
    // A request whose first number is not 1 is not one: nothing changes.
    Local(sandbox, "{\"type\":\"light_control\",\"wparam\":2,\"lparam\":1}\n", 0);
    Wait(program, 200);
    EXPECT_EQ(Get(program, "control_light_status")["text"].asString(), released);
    Local(sandbox, "{\"type\":\"light_control\",\"wparam\":1,\"lparam\":1}\n", 0);
    Wait(program, 200);
    EXPECT_EQ(Get(program, "control_light_status")["text"].asString(), taken);
    Ask(program, R"({"cmd":"quit"})");
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(ShellJourney, ControlsOnSeveralPagesAreTheOnesOnScreenOrNamedByTheirPage) {
    HeadlessProgram program(sandbox, {"--simulate"});
    Wait(program, 1200);
    // Both pages have a "light_0"; the keyboard's is on screen.
    EXPECT_TRUE(Get(program, "light_0")["visible"].asBool());
    EXPECT_FALSE(Get(program, "mousepad_device_page/light_0")["visible"].asBool());
    EXPECT_TRUE(Get(program, "keyboard_device_page/light_0")["visible"].asBool());
    // Switching to the pad's tab with the next button.
    Ask(program, R"({"cmd":"notify","control":"device_select_next","type":"click"})");
    Wait(program, 200);
    EXPECT_TRUE(Get(program, "mousepad_device_page")["visible"].asBool());
    EXPECT_TRUE(Get(program, "mousepad_device_page/light_0")["visible"].asBool());
    EXPECT_FALSE(Get(program, "keyboard_device_page")["visible"].asBool());
    // Nothing after the last tab; back again with the previous button.
    Ask(program, R"({"cmd":"notify","control":"device_select_next","type":"click"})");
    EXPECT_TRUE(Get(program, "mousepad_device_page")["visible"].asBool());
    Ask(program, R"({"cmd":"notify","control":"device_select_prev","type":"click"})");
    EXPECT_TRUE(Get(program, "keyboard_device_page")["visible"].asBool());
    Ask(program, R"({"cmd":"quit"})");
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(ShellJourney, TheSessionEndingClosesTheProgramTheWayTheTrayExitDoes) {
    HeadlessProgram program(sandbox, {"--simulate=keyboard"});
    Wait(program, 1200);
    Ask(program, R"({"cmd":"sim","device":"keyboard","op":"wirelog"})");
    program.Signal(SIGTERM);
    // It ends by itself, with its script still open, and its usual exit code.
    EXPECT_EQ(program.WaitForExit(10000), 0) << program.StandardError();
    // The socket file goes with it: the next start is a first copy at once.
    EXPECT_FALSE(std::filesystem::exists(SocketFile(sandbox)));
}

TEST_F(ShellJourney, TheTrayExitEndsTheProgramAndBadLinesDoNot) {
    HeadlessProgram program(sandbox, {"--simulate"});
    EXPECT_FALSE(Ask(program, "this is not json")["ok"].asBool());
    EXPECT_FALSE(Ask(program, R"({"cmd":"get","control":"no_such_control"})")["ok"].asBool());
    Wait(program, 700);
    EXPECT_TRUE(Ask(program, R"({"cmd":"menu","item":"exit"})")["ok"].asBool());
    EXPECT_EQ(program.Finish(), 0);
}

}  // namespace
}  // namespace journeys
