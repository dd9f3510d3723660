// SPDX-License-Identifier: GPL-3.0-or-later
// The command line seen from a shell: the same commands handed to a running copy (whose
// window must follow as if the user had clicked) and done by the program itself when none
// runs, each checked on the simulated keyboard's memory and by its exit code and messages.
#include <gtest/gtest.h>
#include <json/json.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "support/Eventually.h"
#include "HeadlessProgram.h"

namespace journeys {
namespace {

namespace fs = std::filesystem;

constexpr int kRemapped = 0x200005;

int Byte(const std::string& hex, int i) {
    return std::stoi(hex.substr(static_cast<size_t>(i) * 2, 2), nullptr, 16);
}

class CommandLineJourney : public ::testing::Test {
protected:
    // A profile file as another user would hand it over: the defaults, lit in mode 7 with
    // key 64 remapped.
    fs::path WriteProfileFile(const std::string& name) {
        Json::Value profile = ReadJsonFile(fs::path(TX512_SOURCE_DIR) / "resources" /
                                           "DefaultData" / "keyboard.Json");
        EXPECT_TRUE(profile.isObject());
        profile["profilename"] = name;
        profile["profileUUID"] = "2026_01_01_00_00_00_009";
        profile["Device"][0]["LightInfo"]["SelectItem"] = 7;
        profile["Device"][0]["KeyList"][kPosition64]["Assignment"] = kRemapped;
        const fs::path file = sandbox_.Root() / (name + ".json");
        std::ofstream(file, std::ios::binary) << profile.toStyledString();
        return file;
    }
    CommandRun Run(std::vector<std::string> args) { return RunCommand(sandbox_, args); }
    Json::Value Memory(Script& script) { return script.Sim("keyboard", "memory"); }
    std::string Key64(Script& script, const Json::Value& memory) {
        Json::Value command;
        command["cmd"] = "device";
        command["op"] = "status";
        command["device"] = "keyboard";
        const int slot = script.Ask(command)["slots"][kPosition64].asInt();
        return memory["keytable"].asString().substr(static_cast<size_t>(slot) * 6, 6);
    }
    Json::Value Status(std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"status", "--json"};
        args.insert(args.end(), extra.begin(), extra.end());
        const CommandRun run = Run(args);
        EXPECT_EQ(run.code, 0) << run.err;
        Json::Value root;
        std::string errors;
        Json::CharReaderBuilder builder;
        std::istringstream in(run.out);
        EXPECT_TRUE(Json::parseFromStream(builder, in, &root, &errors)) << run.out;
        return root["devices"][0];
    }

    Sandbox sandbox_;
};

TEST_F(CommandLineJourney, ARunningCopyAppliesProfilesAndLightingAsIfClicked) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Script script(program);
    script.Wait(kConnectionMs);
    const fs::path file = WriteProfileFile("Shooter");

    CommandRun run = Run({"profile", "import", file.string()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("'Shooter'"), std::string::npos) << run.out;

    script.Sim("keyboard", "wirelog");
    // By name in any case; the window's combo shows the pick as a click would leave it.
    run = Run({"profile", "apply", "SHOOTER"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(script.Get("device_profile_combo")["cursel"], 1);
    Json::Value memory = Memory(script);
    EXPECT_EQ(Byte(memory["settings"].asString(), 1), 7);
    EXPECT_EQ(Key64(script, memory), "200005");

    // Back by number: the first profile's own key 64.
    run = Run({"profile", "apply", "0"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Key64(script, Memory(script)), "200004");
    EXPECT_EQ(script.Get("device_profile_combo")["cursel"], 0);

    // One lighting command is one settings write, with every value in it.
    script.Sim("keyboard", "wirelog");
    run = Run({"light", "mode", "5", "--brightness", "3", "--speed", "1", "--colour", "123456"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<int> sent = CommandsSent(script.Sim("keyboard", "wirelog"));
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 6), 1);
    const std::string settings = Memory(script)["settings"].asString();
    EXPECT_EQ(Byte(settings, 1), 5);
    EXPECT_EQ(Byte(settings, 2), 3);
    EXPECT_EQ(Byte(settings, 3), 3);  // the keyboard keeps 4 - speed
    EXPECT_EQ(Byte(settings, 6), 0x12);
    EXPECT_EQ(Byte(settings, 7), 0x34);
    EXPECT_EQ(Byte(settings, 8), 0x56);
    EXPECT_EQ(script.Get("light_combo_modeSelect")["cursel"], 5);

    const Json::Value keyboard = Status();
    EXPECT_TRUE(keyboard["connected"].asBool());
    EXPECT_EQ(keyboard["profile"]["index"], 0);
    EXPECT_EQ(keyboard["lighting"]["mode"], 5);
    EXPECT_EQ(keyboard["lighting"]["colour"], "123456");

    run = Run({"profile", "list", "--json"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find(R"("name":"Shooter")"), std::string::npos) << run.out;
    EXPECT_TRUE(script.Messages().empty());
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(CommandLineJourney, UntrustedInputIsRefusedAndNothingIsWritten) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Script script(program);
    script.Wait(kConnectionMs);
    const fs::path notProfile = sandbox_.Root() / "notes.json";
    std::ofstream(notProfile) << R"({"shopping":["milk"]})";
    const fs::path fifo = sandbox_.Root() / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path link = sandbox_.Root() / "link.json";
    fs::create_symlink(notProfile, link);
    script.Sim("keyboard", "wirelog");
    const std::string before = Memory(script)["settings"].asString();

    struct Case {
        std::vector<std::string> args;
        int code;
        std::string says;
    };
    const std::vector<Case> cases = {
        {{"profile", "apply", "../../etc/passwd"}, 2, "holds '/'"},
        {{"profile", "apply", "Nobody"}, 1, "no profile called 'Nobody'"},
        {{"profile", "apply", "7"}, 1, "no profile number 7"},
        {{"profile", "import", notProfile.string()}, 1, "not a profile file"},
        {{"profile", "import", "/dev/zero"}, 1, "not a file"},
        {{"profile", "import", (sandbox_.Root() / "missing.json").string()}, 1, "no such file"},
        {{"profile", "export", "0",
          (sandbox_.Root() / "data" / "TELIX TX512 keyboard Driver" / "keyboard" /
           "ProfileList.ini")
              .string()},
         1,
         "program's own data folder"},
        {{"profile", "export", "0", sandbox_.Root().string()}, 1, "is a folder"},
        {{"profile", "export", "0", fifo.string()}, 1, "not a regular file"},
        {{"profile", "export", "0", "/dev/null"}, 1, "not a regular file"},
        {{"profile", "export", "0", link.string()}, 1, "symbolic link"},
        {{"profile", "export", "0",
          (sandbox_.Root() / "config" / "TELIX TX512 keyboard Driver" / "settings.json").string()},
         1,
         "settings folder"},
        {{"profile", "export", "0",
          (sandbox_.Root() / "runtime" / "TELIX_TX512_keyboard_Driver.sock").string()},
         1,
         "not a regular file"},
        {{"light", "mode", "99"}, 1, "out of range"},
        {{"light", "mode", "5", "--brightness", "6"}, 2, "from 0 to 5"},
        {{"light", "mode", "5", "--colour", "12345G"}, 2, "RRGGBB"},
        {{"light", "mode", "Disco"}, 1, "no lighting mode called 'Disco'"},
        {{"profile", "apply", "0", "--device", "pad"}, 1, "no mouse pad is connected"},
        {{"profile"}, 2, "needs a command"},
    };
    for (const Case& c : cases) {
        const CommandRun run = Run(c.args);
        EXPECT_EQ(run.code, c.code) << c.args[1] << " " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    EXPECT_TRUE(CommandsSent(script.Sim("keyboard", "wirelog")).empty());
    EXPECT_EQ(Memory(script)["settings"].asString(), before);
    EXPECT_EQ(ReadTextFile(link), R"({"shopping":["milk"]})");
    EXPECT_TRUE(fs::exists(sandbox_.Root() / "runtime" / "TELIX_TX512_keyboard_Driver.sock"));
    EXPECT_EQ(script.Get("device_profile_combo")["items"].size(), 1u);
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(CommandLineJourney, NamesThatWouldSteerATerminalAreCleanedAndShownEscaped) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Script script(program);
    script.Wait(kConnectionMs);
    // CSI as one C1 character, a right-to-left override and an isolate.
    const fs::path file = WriteProfileFile("Evil\u009B2J\u202Etxt.exe\u2066x");
    CommandRun run = Run({"profile", "import", file.string()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("'Evil2Jtxt.exex'"), std::string::npos) << run.out;
    EXPECT_EQ(script.Get("device_profile_combo")["items"][1].asString(), "Evil2Jtxt.exex");

    // A list edited by hand keeps what it holds, but prints it escaped.
    const fs::path list = sandbox_.Root() / "data" / "TELIX TX512 keyboard Driver" / "keyboard" / "ProfileList.ini";
    std::string text = ReadTextFile(list);
    const auto at = text.find("Evil2Jtxt.exex");
    ASSERT_NE(at, std::string::npos) << text;
    text.replace(at, 4, "Ev\u0085il\u202E");
    std::ofstream(list, std::ios::binary) << text;
    run = Run({"profile", "list"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Ev\\x85il\\u202E2Jtxt.exex"), std::string::npos) << run.out;
    run = Run({"profile", "list", "--json"});
    EXPECT_NE(run.out.find("Ev\\u0085il\\u202E2J"), std::string::npos) << run.out;
    for (const std::string& out : {run.out, Run({"profile", "list"}).out}) {
        EXPECT_EQ(out.find("\u0085"), std::string::npos);
        EXPECT_EQ(out.find("\u202E"), std::string::npos);
    }
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(CommandLineJourney, ASecondCommandWhileTheFirstWritesIsToldToWait) {
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Script script(program);
    script.Wait(kConnectionMs);
    ASSERT_EQ(Run({"profile", "import", WriteProfileFile("Slow").string()}).code, 0);
    // Slow key table reports keep the apply going for a while.
    Json::Value fault;
    fault["cmd"] = "sim";
    fault["device"] = "keyboard";
    fault["op"] = "fault";
    fault["fault"] = "slow";
    fault["count"] = 7;
    fault["delay"] = 250;
    fault["command"] = 9;
    script.Ask(fault);
    script.Sim("keyboard", "wirelog");  // only the apply's reports from here on

    StartedCommand apply(sandbox_, {"profile", "apply", "Slow"});
    // The second command comes once the first is writing key tables (the slow ones).
    ASSERT_TRUE(test_support::Eventually([&] {
        const std::vector<int> sent = CommandsSent(script.Sim("keyboard", "wirelog"));
        return std::find(sent.begin(), sent.end(), 9) != sent.end();
    }));
    const CommandRun second = Run({"light", "mode", "3"});
    EXPECT_EQ(second.code, 1);
    EXPECT_NE(second.err.find("still writing"), std::string::npos) << second.err;
    const CommandRun first = apply.Wait();
    EXPECT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(Key64(script, Memory(script)), "200005");
    EXPECT_NE(Byte(Memory(script)["settings"].asString(), 1), 3);
    EXPECT_EQ(program.Finish(), 0);
}

TEST_F(CommandLineJourney, WithoutARunningCopyTheCommandDoesTheWorkItself) {
    const fs::path file = WriteProfileFile("Solo");
    CommandRun run = Run({"profile", "import", file.string(), "--simulate=keyboard"});
    ASSERT_EQ(run.code, 0) << run.err;
    run = Run({"profile", "apply", "solo", "--simulate=keyboard"});
    ASSERT_EQ(run.code, 0) << run.err;
    run = Run({"light", "mode", "Breathing", "--brightness", "1", "--simulate=keyboard"});
    ASSERT_EQ(run.code, 0) << run.err;
    const Json::Value keyboard = Status({"--simulate=keyboard"});
    EXPECT_EQ(keyboard["profile"]["name"], "Solo");
    EXPECT_EQ(keyboard["lighting"]["mode"], 5);
    EXPECT_EQ(keyboard["lighting"]["brightness"], 1);

    // Export writes the profile as stored; no device, no work.
    const fs::path exported = sandbox_.Root() / "out.json";
    run = Run({"profile", "export", "Solo", exported.string(), "--simulate=keyboard"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadJsonFile(exported)["profilename"], "Solo");
    run = Run({"profile", "list", "--simulate=none"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("no keyboard is connected"), std::string::npos) << run.err;

    // The keyboard kept what the commands sent it: a copy started now finds it there.
    HeadlessProgram program(sandbox_, {"--simulate=keyboard"});
    Script script(program);
    script.Wait(kConnectionMs);
    const Json::Value memory = Memory(script);
    EXPECT_EQ(Byte(memory["settings"].asString(), 1), 5);
    EXPECT_EQ(Byte(memory["settings"].asString(), 2), 1);
    EXPECT_EQ(script.Get("device_profile_combo")["cursel"], 1);
    EXPECT_EQ(program.Finish(), 0);
}

}  // namespace
}  // namespace journeys
