// SPDX-License-Identifier: GPL-3.0-or-later
// The command words as a shell hands them over: what each command takes, what it refuses
// before anything is sent, and the words it is handed to a running copy with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/cli/CliRequest.h"
#include "app/cli/CommandLookup.h"

namespace app::cli {
namespace {

using Words = std::vector<std::string>;

CliRequest Parsed(const Words& words) {
    const ParsedRequest parsed = ParseRequest(words);
    EXPECT_TRUE(parsed.request) << parsed.error;
    return parsed.request.value_or(CliRequest{});
}

std::string Refusal(const Words& words) {
    const ParsedRequest parsed = ParseRequest(words);
    EXPECT_FALSE(parsed.request) << words[0];
    return parsed.error;
}

TEST(CliRequest, EachCommandTakesItsOperandsAndOptions) {
    CliRequest r = Parsed({"profile", "list", "--device", "pad", "--json"});
    EXPECT_EQ(r.verb, CliRequest::Verb::ProfileList);
    EXPECT_EQ(r.device, CliRequest::Device::Pad);
    EXPECT_TRUE(r.json);
    EXPECT_FALSE(r.Writes());

    r = Parsed({"profile", "apply", "My FPS", "--device=keyboard"});
    EXPECT_EQ(r.verb, CliRequest::Verb::ProfileApply);
    EXPECT_EQ(r.profile, "My FPS");
    EXPECT_TRUE(r.Writes());

    r = Parsed({"profile", "export", "2", "out.json"});
    EXPECT_EQ(r.profile, "2");
    EXPECT_EQ(r.file, "out.json");

    r = Parsed(
        {"light", "mode", "Breathing", "--brightness=5", "--speed", "0", "--colour", "#00ff7F"});
    EXPECT_EQ(r.mode, "Breathing");
    EXPECT_EQ(r.brightness, 5);
    EXPECT_EQ(r.speed, 0);
    EXPECT_EQ(r.colour, 0x00FF7Fu);
    EXPECT_EQ(Parsed({"light", "mode", "1", "--color", "000000"}).colour, 0u);

    r = Parsed({"status", "--simulate=keyboard"});
    EXPECT_EQ(r.verb, CliRequest::Verb::Status);
    EXPECT_EQ(r.simulate, "keyboard");
    EXPECT_EQ(Parsed({"status", "--simulate"}).simulate, "");
}

TEST(CliRequest, BadUsageIsRefusedWithWhatToDo) {
    EXPECT_NE(Refusal({"profile"}).find("needs a command"), std::string::npos);
    EXPECT_NE(Refusal({"profile", "rename", "a"}).find("unknown command 'profile rename'"),
              std::string::npos);
    EXPECT_NE(Refusal({"profile", "apply"}).find("usage: telix-tx512 profile apply"),
              std::string::npos);
    EXPECT_NE(Refusal({"profile", "apply", "a", "b"}).find("too many"), std::string::npos);
    EXPECT_NE(Refusal({"status", "extra"}).find("too many"), std::string::npos);
    EXPECT_NE(Refusal({"profile", "apply", "a", "--json"}).find("unknown option '--json'"),
              std::string::npos);
    EXPECT_NE(Refusal({"status", "--brightness", "1"}).find("unknown option"), std::string::npos);
    EXPECT_NE(Refusal({"status", "--device", "mouse6"}).find("keyboard|pad|mouse|headset"),
              std::string::npos);
    EXPECT_NE(Refusal({"status", "--device", "Mouse"}).find("not 'Mouse'"), std::string::npos);
    EXPECT_NE(Refusal({"status", "--device"}).find("needs a value"), std::string::npos);
    for (const char* brightness : {"6", "-1", "", "2x", "1.5", "99999999999"})
        EXPECT_NE(Refusal({"light", "mode", "1", "--brightness", brightness}).find("0 to 5"),
                  std::string::npos)
            << brightness;
    EXPECT_NE(Refusal({"light", "mode", "1", "--speed", "5"}).find("0 to 4"), std::string::npos);
    for (const char* colour : {"12345", "1234567", "GG0000", "#", "0x1234", "+12345"})
        EXPECT_NE(Refusal({"light", "mode", "1", "--colour", colour}).find("RRGGBB"),
                  std::string::npos)
            << colour;
    EXPECT_NE(Refusal({"light", "mode", "1", "--brightness"}).find("needs a number"),
              std::string::npos);
}

TEST(CliRequest, NamesWithPathsOrControlsAndOddFilesAreRefused) {
    EXPECT_NE(Refusal({"profile", "apply", "../../etc/passwd"}).find("holds '/'"),
              std::string::npos);
    EXPECT_NE(Refusal({"profile", "export", "a\\b", "f"}).find("holds '\\'"), std::string::npos);
    EXPECT_NE(Refusal({"profile", "apply", "a\x1b[2J"}).find("control character"),
              std::string::npos);
    EXPECT_NE(Refusal({"profile", "apply", ""}).find("is empty"), std::string::npos);
    EXPECT_NE(Refusal({"profile", "apply", std::string(300, 'a')}).find("longer than 256"),
              std::string::npos);
    EXPECT_NE(Refusal({"light", "mode", "a/b"}).find("the mode holds"), std::string::npos);
    EXPECT_NE(Refusal({"profile", "import", ""}).find("file name is empty"), std::string::npos);
    EXPECT_NE(Refusal({"profile", "import", "a\nb"}).find("control character"), std::string::npos);
    EXPECT_NE(Refusal({"profile", "import", std::string(5000, 'a')}).find("longer than 4096"),
              std::string::npos);
    // Unicode names are names.
    EXPECT_EQ(Parsed({"profile", "apply", "Ärger 日本"}).profile, "Ärger 日本");
}

TEST(CliRequest, WordsForTheRunningCopyMakeFilesAbsoluteAndParseBackTheSame) {
    const CliRequest r = Parsed({"profile", "export", "FPS", "sub/../out.json", "--device", "pad"});
    const Words words = r.Words("/home/u/work");
    EXPECT_EQ(words,
              (Words{"profile", "export", "FPS", "/home/u/work/out.json", "--device", "pad"}));
    EXPECT_EQ(Parsed({"profile", "import", "/abs/p.json"}).Words("/x")[2], "/abs/p.json");

    const CliRequest light = Parsed({"light", "mode", "3", "--speed", "2", "--colour", "0a0B0c"});
    const CliRequest again = Parsed(light.Words("/"));
    EXPECT_EQ(again.mode, "3");
    EXPECT_EQ(again.speed, 2);
    EXPECT_FALSE(again.brightness);
    EXPECT_EQ(again.colour, 0x0A0B0Cu);
    EXPECT_TRUE(Parsed(Parsed({"status", "--json"}).Words("/")).json);
    // Every kind goes to the running copy as the word it came in as.
    for (const char* word : {"keyboard", "pad", "mouse", "headset"}) {
        const CliRequest kind = Parsed({"light", "mode", "2", "--device", word});
        EXPECT_STREQ(DeviceWord(kind.device), word);
        EXPECT_EQ(Parsed(kind.Words("/")).device, kind.device) << word;
    }
    EXPECT_EQ(DeviceOfWord("pad "), std::nullopt);
}

TEST(CliRequest, CommandWordsAreToldApartFromOptions) {
    EXPECT_TRUE(IsCommand({"status"}));
    EXPECT_TRUE(IsCommand({"profile", "list"}));
    EXPECT_FALSE(IsCommand({"--status"}));
    EXPECT_FALSE(IsCommand({}));
    EXPECT_FALSE(IsCommand({"--simulate", "--headless"}));
    EXPECT_FALSE(IsCommand({"--simulate"}));
    // --simulate may come first, as with the program's options.
    EXPECT_TRUE(IsCommand({"--simulate", "status"}));
    EXPECT_EQ(Parsed({"--simulate=pad", "profile", "list"}).simulate, "pad");
    EXPECT_EQ(Parsed({"--simulate", "status"}).verb, CliRequest::Verb::Status);
    // The help and the manual page both list every command.
    for (const auto& command : CommandHelps()) {
        EXPECT_NE(HelpText().find(command.synopsis), std::string::npos) << command.synopsis;
        EXPECT_NE(ManualPage().find(".B " + command.synopsis.substr(0, 7)), std::string::npos);
    }
    EXPECT_NE(HelpText().find("--hidden"), std::string::npos);
    EXPECT_EQ(ManualPage().rfind(".TH TELIX-TX512 1", 0), 0u);
}

TEST(CommandLookup, ProfilesByExactNameThenAnyCaseThenNumber) {
    const std::vector<std::string> names = {"Work", "work", "FPS", "3", "Ärger"};
    EXPECT_EQ(FindProfile(names, "work").index, 1);  // exact wins over the other case
    EXPECT_EQ(FindProfile(names, "fps").index, 2);
    EXPECT_EQ(FindProfile(names, "ärger").index, 4);
    EXPECT_EQ(FindProfile(names, "3").index, 3);  // a profile called "3" before number 3
    EXPECT_EQ(FindProfile(names, "0").index, 0);
    const Lookup ambiguous = FindProfile(names, "WORK");
    EXPECT_EQ(ambiguous.index, -1);
    EXPECT_NE(ambiguous.error.find("several profiles"), std::string::npos);
    EXPECT_NE(FindProfile(names, "5").error.find("no profile number 5"), std::string::npos);
    EXPECT_NE(FindProfile(names, "-1").error.find("no profile called '-1'"), std::string::npos);
    EXPECT_NE(FindProfile({}, "0").error.find("no profile number 0"), std::string::npos);
}

TEST(CommandLookup, ModesByNumberOrNameOnlyWhenOffered) {
    const std::vector<ModeName> modes = {{"light_mode_0", "Off", true},
                                         {"light_mode_1", "Wave", true},
                                         {"light_mode_2", "Secret", false}};
    EXPECT_EQ(FindMode(modes, "1").index, 1);
    EXPECT_EQ(FindMode(modes, "WAVE").index, 1);
    EXPECT_EQ(FindMode(modes, "light_mode_0").index, 0);
    EXPECT_NE(FindMode(modes, "2").error.find("not offered"), std::string::npos);
    EXPECT_NE(FindMode(modes, "secret").error.find("not offered"), std::string::npos);
    const Lookup out = FindMode(modes, "3");
    EXPECT_NE(out.error.find("out of range: modes go from 0 to 2"), std::string::npos);
    const Lookup unknown = FindMode(modes, "Disco");
    EXPECT_NE(unknown.error.find("1  Wave"), std::string::npos);
    EXPECT_EQ(unknown.error.find("Secret"), std::string::npos);
}

}  // namespace
}  // namespace app::cli
