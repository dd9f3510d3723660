// SPDX-License-Identifier: GPL-3.0-or-later
// The settings, about and skin windows seen from outside: opened from the tray menu and
// the title bar, checking for updates against a local stand-in of the update service
// (127.0.0.1 only), switching the language, closing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "HeadlessProgram.h"
#include "support/LocalUpdateServer.h"

namespace journeys {
namespace {

using Clock = std::chrono::steady_clock;
using testsupport::LocalUpdateServer;

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class SettingsJourney : public ::testing::Test {
protected:
    void TearDown() override {
        for (const char* name :
             {"TX512_UPDATE_URL", "TX512_UPDATE_CA_FILE", "LANG", "LC_ALL", "LC_MESSAGES"})
            ::unsetenv(name);
    }
    // The program inherits the locale and the service from this process.
    void Environment(const std::string& lang, const std::string& url = {},
                     const std::string& ca = {}) {
        ::unsetenv("LC_ALL");
        ::unsetenv("LC_MESSAGES");
        ::setenv("LANG", lang.c_str(), 1);
        if (url.empty())
            ::unsetenv("TX512_UPDATE_URL");
        else
            ::setenv("TX512_UPDATE_URL", url.c_str(), 1);
        if (ca.empty())
            ::unsetenv("TX512_UPDATE_CA_FILE");
        else
            ::setenv("TX512_UPDATE_CA_FILE", ca.c_str(), 1);
    }
    Json::Value Ask(HeadlessProgram& program, const std::string& line) {
        Json::Value answer = program.Send(line);
        EXPECT_TRUE(answer.isObject()) << line << "\nstderr:\n" << program.StandardError();
        return answer;
    }
    std::string Text(HeadlessProgram& program, const std::string& control) {
        const Json::Value answer = Ask(program, R"({"cmd":"get","control":")" + control + R"("})");
        EXPECT_TRUE(answer["ok"].asBool()) << control << ": " << answer.toStyledString();
        return answer["text"].asString();
    }
    bool Exists(HeadlessProgram& program, const std::string& control) {
        return Ask(program, R"({"cmd":"get","control":")" + control + R"("})")["ok"].asBool();
    }
    void Click(HeadlessProgram& program, const std::string& control) {
        const Json::Value answer =
            Ask(program, R"({"cmd":"notify","control":")" + control + R"(","type":"click"})");
        EXPECT_TRUE(answer["ok"].asBool()) << control << ": " << answer.toStyledString();
    }
    // Waits until the status line no longer says "checking"; the longest answer to a
    // command meanwhile is how long the window's loop was busy at most.
    std::string WaitForCheck(HeadlessProgram& program, const std::string& checking,
                             Clock::duration& took, Clock::duration& longestAnswer,
                             int limitSeconds = 20) {
        const auto start = Clock::now();
        longestAnswer = {};
        std::string status = checking;
        while (status == checking && Clock::now() - start < std::chrono::seconds(limitSeconds)) {
            const auto asked = Clock::now();
            status = Text(program, "Update_Status_text");
            longestAnswer = std::max(longestAnswer, Clock::now() - asked);
        }
        took = Clock::now() - start;
        return status;
    }

    Sandbox sandbox;
};

Json::Value Answers() {
    Json::Value script;
    script["answers"].append(LocalUpdateServer::Answer(
        "QX20P51C",
        R"({"name":"kb","version":"106","version_name":"1.06","path":"https://127.0.0.1/kb.bin"})"));
    script["default"]["body"] = R"({"name":"other","version":"5","version_name":"0.0.5"})";
    return script;
}

TEST_F(SettingsJourney,
       FromTheTrayTheWindowChecksOverHttpsSwitchesLanguageAndRefusesToCloseMidUpdate) {
    testsupport::TestAuthority authority;
    ASSERT_TRUE(authority.Ready()) << "the openssl tool is needed";
    LocalUpdateServer server(Answers(), authority.ServerCert(), authority.ServerKey());
    ASSERT_TRUE(server.Running());
    Environment("en_US.UTF-8", server.BaseUrl(), authority.CaFile().string());
    HeadlessProgram program(sandbox, {"--simulate"});
    Ask(program, R"({"cmd":"wait","ms":1500})");  // the devices connect

    EXPECT_TRUE(Ask(program, R"({"cmd":"menu","item":"setwnd_menu"})")["modal"].asBool());
    Clock::duration took{};
    Clock::duration longest{};
    EXPECT_EQ(WaitForCheck(program, "Checking for updates…", took, longest),
              "Updates are available");
    std::cout << "[ figures ] settings window to a complete list: "
              << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
              << " ms; longest answer of the window meanwhile: "
              << std::chrono::duration_cast<std::chrono::milliseconds>(longest).count() << " ms\n";
    EXPECT_LT(longest, std::chrono::milliseconds(500));

    // The keyboard (firmware 0x0105) is offered 106; the program is up to date.
    EXPECT_EQ(Text(program, "update_entry_0/check_name_select"), "NORVANE Game Device");
    EXPECT_EQ(Text(program, "update_entry_0/OldRev"), "V0105");
    EXPECT_EQ(Text(program, "update_entry_0/updateRev"), "V106");
    EXPECT_TRUE(
        Ask(program, R"({"cmd":"get","control":"update_entry_0/check_name_select"})")["selected"]
            .asBool());
    EXPECT_EQ(Text(program, "update_entry_2/check_name_select"), "AP");
    EXPECT_EQ(Text(program, "update_entry_2/update_status_text"), "Up to date");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    // The rows are asked together: the keyboard's request is any of them.
    int keyboardRequests = 0;
    for (const Json::Value& request : requests) {
        if (request["key"].asString().find("QX20P51C") == std::string::npos) continue;
        ++keyboardRequests;
        EXPECT_EQ(testsupport::FromHex(request["body"].asString()),
                  "app_key=VEXAL_1_QX20P51C_TELIX+TX512+keyboard+Driver_1&version=105");
    }
    EXPECT_EQ(keyboardRequests, 1);

    // A language picked here changes the windows at once and is kept.
    EXPECT_TRUE(
        Ask(program,
            R"({"cmd":"notify","control":"Language_combox_info","type":"itemselect","index":2})")
            ["ok"]
                .asBool());
    EXPECT_EQ(Text(program, "Update_Status_text"), "有可用的更新");
    EXPECT_NE(ReadFile(sandbox.Root() / "config" / "TELIX TX512 keyboard Driver" / "settings.json")
                  .find("1028"),
              std::string::npos);

    // Confirmed entries wait for their download: the window does not close under them.
    Click(program, "update_fw_and_ap");
    Click(program, "update_OK_btn");
    EXPECT_EQ(Text(program, "update_entry_0/update_status_text"), "等待下載");
    Click(program, "closebtn");
    Ask(program, R"({"cmd":"wait","ms":100})");
    EXPECT_TRUE(Exists(program, "update_entry_0")) << "closing is refused";
    // Quitting still ends the program.
    EXPECT_TRUE(Ask(program, R"({"cmd":"quit"})")["ok"].asBool());
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(SettingsJourney, WithoutAnAnswerEveryEntrySaysSoAndAHangingRequestDoesNotHoldTheWindow) {
    {
        Environment("en_US.UTF-8");  // no service configured
        HeadlessProgram program(sandbox, {"--simulate=keyboard"});
        Ask(program, R"({"cmd":"wait","ms":1500})");
        Click(program, "setbtn");
        Clock::duration took{};
        Clock::duration longest{};
        EXPECT_EQ(WaitForCheck(program, "Checking for updates…", took, longest),
                  "The update service did not answer");
        EXPECT_EQ(Text(program, "update_entry_0/update_status_text"),
                  "The update service did not answer");
        EXPECT_EQ(Text(program, "update_entry_1/update_status_text"),
                  "The update service did not answer");
        EXPECT_FALSE(
            Ask(program, R"({"cmd":"get","control":"update_fw_and_ap"})")["visible"].asBool());
        Click(program, "laterbtn");
        Ask(program, R"({"cmd":"wait","ms":50})");
        EXPECT_FALSE(Exists(program, "laterbtn"));
        EXPECT_TRUE(Ask(program, R"({"cmd":"quit"})")["ok"].asBool());
        EXPECT_EQ(program.Finish(), 0);
    }
    {
        // A server whose certificate no trusted authority signed is not believed.
        testsupport::TestAuthority authority;
        ASSERT_TRUE(authority.Ready()) << "the openssl tool is needed";
        LocalUpdateServer stranger(Answers(), authority.StrangerCert(), authority.StrangerKey());
        ASSERT_TRUE(stranger.Running());
        Environment("en_US.UTF-8", stranger.BaseUrl(), authority.CaFile().string());
        HeadlessProgram program(sandbox, {"--simulate=keyboard"});
        Ask(program, R"({"cmd":"wait","ms":1500})");
        Ask(program, R"({"cmd":"menu","item":"setwnd_menu"})");
        Clock::duration took{};
        Clock::duration longest{};
        EXPECT_EQ(WaitForCheck(program, "Checking for updates…", took, longest),
                  "The update service did not answer");
        EXPECT_EQ(Text(program, "update_entry_0/update_status_text"),
                  "The update service did not answer");
        EXPECT_TRUE(stranger.Requests().empty());
        EXPECT_TRUE(Ask(program, R"({"cmd":"quit"})")["ok"].asBool());
        EXPECT_EQ(program.Finish(), 0);
    }
    Json::Value silent;
    silent["default"]["silent"] = true;
    testsupport::TestAuthority authority;
    ASSERT_TRUE(authority.Ready()) << "the openssl tool is needed";
    LocalUpdateServer server(silent, authority.ServerCert(), authority.ServerKey());
    ASSERT_TRUE(server.Running());
    Environment("en_US.UTF-8", server.BaseUrl(), authority.CaFile().string());
    HeadlessProgram program(sandbox, {"--simulate=none"});
    Ask(program, R"({"cmd":"wait","ms":600})");
    Ask(program, R"({"cmd":"menu","item":"setwnd_menu"})");
    Ask(program, R"({"cmd":"wait","ms":300})");
    EXPECT_EQ(Text(program, "Update_Status_text"), "Checking for updates…");
    const auto start = Clock::now();
    Click(program, "closebtn");
    Ask(program, R"({"cmd":"wait","ms":0})");
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000)) << "the request is cancelled";
    EXPECT_FALSE(Exists(program, "laterbtn"));

    // Quitting while the request hangs ends the program at once too.
    Ask(program, R"({"cmd":"menu","item":"setwnd_menu"})");
    Ask(program, R"({"cmd":"wait","ms":300})");
    const auto quitting = Clock::now();
    EXPECT_TRUE(Ask(program, R"({"cmd":"quit"})")["ok"].asBool());
    EXPECT_EQ(program.Finish(), 0);
    EXPECT_LT(Clock::now() - quitting, std::chrono::milliseconds(2000));
    EXPECT_EQ(server.Requests().size(), 2u) << "one request per opening";
}

TEST_F(SettingsJourney, ADrippingServiceEndsEveryEntryWithinTheLimitAndAPlainAddressIsRefused) {
    testsupport::TestAuthority authority;
    ASSERT_TRUE(authority.Ready()) << "the openssl tool is needed";
    Json::Value drip;
    drip["default"]["drip_ms"] = 500;  // a byte every half second, never done
    LocalUpdateServer server(drip, authority.ServerCert(), authority.ServerKey());
    ASSERT_TRUE(server.Running());
    Environment("en_US.UTF-8", server.BaseUrl(), authority.CaFile().string());
    const std::filesystem::path dateFile =
        sandbox.Root() / "data" / "TELIX TX512 keyboard Driver" / "updatetime.config";
    std::filesystem::create_directories(dateFile.parent_path());
    std::ofstream(dateFile) << R"({"updatelasttime": {"value": "2020-1-2"}})";
    {
        HeadlessProgram program(sandbox, {"--simulate=keyboard"});
        Ask(program, R"({"cmd":"wait","ms":1500})");
        Ask(program, R"({"cmd":"menu","item":"setwnd_menu"})");
        Clock::duration took{};
        Clock::duration longest{};
        EXPECT_EQ(WaitForCheck(program, "Checking for updates…", took, longest, 40),
                  "The update service did not answer");
        std::cout << "[ figures ] dripping service: settings window to every entry final: "
                  << std::chrono::duration_cast<std::chrono::milliseconds>(took).count()
                  << " ms; longest answer of the window meanwhile: "
                  << std::chrono::duration_cast<std::chrono::milliseconds>(longest).count()
                  << " ms\n";
        EXPECT_LT(took, std::chrono::seconds(30));
        EXPECT_LT(longest, std::chrono::milliseconds(500));
        for (const char* entry : {"update_entry_0", "update_entry_1"})
            EXPECT_EQ(Text(program, std::string(entry) + "/update_status_text"),
                      "The update service did not answer")
                << entry;
        EXPECT_EQ(server.Requests().size(), 2u);
        EXPECT_TRUE(Ask(program, R"({"cmd":"quit"})")["ok"].asBool());
        EXPECT_EQ(program.Finish(), 0);
    }
    EXPECT_NE(ReadFile(dateFile).find("2020-1-2"), std::string::npos) << "no check succeeded";

    // The same service on a plain address is never asked, and the user is told where.
    LocalUpdateServer plain(drip);
    ASSERT_TRUE(plain.Running());
    Environment("en_US.UTF-8", plain.BaseUrl());
    HeadlessProgram program(sandbox, {"--simulate=none"});
    Ask(program, R"({"cmd":"wait","ms":600})");
    Ask(program, R"({"cmd":"menu","item":"setwnd_menu"})");
    Clock::duration took{};
    Clock::duration longest{};
    EXPECT_EQ(WaitForCheck(program, "Checking for updates…", took, longest),
              "The update service's address must begin with https://. Change the setting: "
              "TX512_UPDATE_URL");
    EXPECT_TRUE(plain.Requests().empty());
    EXPECT_TRUE(Ask(program, R"({"cmd":"quit"})")["ok"].asBool());
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(SettingsJourney, FirstStartFollowsTheLocaleAndTheSkinAndAboutWindowsDoTheirWork) {
    Environment("zh_TW.UTF-8");
    HeadlessProgram program(sandbox, {"--simulate=none"});
    Ask(program, R"({"cmd":"wait","ms":600})");

    EXPECT_TRUE(Ask(program, R"({"cmd":"menu","item":"about_menu"})")["modal"].asBool());
    EXPECT_EQ(Text(program, "software_ver_label"), "版本 V0100");
    EXPECT_EQ(Text(program, "licence_label"), "自由軟體，依 GNU GPL 第 3 版或更新版本發布");
    Click(program, "closebtn");
    Ask(program, R"({"cmd":"wait","ms":50})");
    EXPECT_FALSE(Exists(program, "software_ver_label"));

    // The chooser opens under "skinbtn"; a picked image is recorded.
    Click(program, "skinbtn");
    EXPECT_TRUE(Ask(program, R"({"cmd":"get","control":"skin_image_btn"})")["visible"].asBool());
    Click(program, "skin_image_btn");
    const std::string ini =
        ReadFile(sandbox.Root() / "data" / "TELIX TX512 keyboard Driver" / "main.ini");
    EXPECT_NE(ini.find("[SKINIMAGE]"), std::string::npos) << ini;
    EXPECT_NE(ini.find("FLAGS=1"), std::string::npos) << ini;
    EXPECT_NE(ini.find("IMAGE=common/background.png"), std::string::npos) << ini;
    // Acting anywhere else closes it.
    EXPECT_TRUE(
        Ask(program, R"({"cmd":"notify","control":"device_switch","type":"elsewhere"})")["ok"]
            .asBool());
    EXPECT_FALSE(Exists(program, "skin_image_btn"));

    EXPECT_TRUE(Ask(program, R"({"cmd":"quit"})")["ok"].asBool());
    EXPECT_EQ(program.Finish(), 0);
    // Following the locale is not a choice: nothing was saved.
    EXPECT_EQ(ReadFile(sandbox.Root() / "config" / "TELIX TX512 keyboard Driver" / "settings.json")
                  .find("LANGUAGE"),
              std::string::npos);
}

}  // namespace
}  // namespace journeys
