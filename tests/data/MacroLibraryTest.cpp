// SPDX-License-Identifier: GPL-3.0-or-later
// The macro library's files, the delay texts of the editor and the key repair after a delete.
#include <gtest/gtest.h>
#include <json/json.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "DataTestFolder.h"
#include "data/macro/MacroKeyRepair.h"
#include "data/macro/MacroLibrary.h"

namespace fs = std::filesystem;
using Transfer = MacroLibrary::Transfer;

class MacroLibraryTest : public DataTestFolder {
protected:
    void SetUp() override {
        DataTestFolder::SetUp();
        folder_ = root_ / "user" / "keyboard";
        fs::create_directories(folder_);
        library_ = MacroLibrary(folder_);
    }
    // Every file below the test folder with its bytes.
    std::map<fs::path, std::string> Files() const {
        std::map<fs::path, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(root_))
            if (entry.is_regular_file()) files[entry.path()] = ReadText(entry.path());
        return files;
    }
    void WriteList(const std::vector<std::string>& guids) const {
        Json::Value root(Json::objectValue);
        for (const std::string& guid : guids) {
            Json::Value& entry = root["MacroInfo"].append(Json::objectValue);
            entry["MacroName"] = "m" + std::to_string(root["MacroInfo"].size());
            entry["Guid"] = guid;
        }
        WriteText(library_.ListPath(), JsonDataFile::StyledText(root));
    }
    static Json::Value Event(const Json::Value& delay, int button = 4) {
        Json::Value event;
        event["Type"] = 10;
        event["Button"] = button;
        event["Action"] = "down";
        event["Delay"] = delay;
        return event;
    }
    fs::path Mac(const std::string& guid) const { return folder_ / (guid + ".mac"); }

    fs::path folder_;
    MacroLibrary library_{fs::path()};
};

TEST_F(MacroLibraryTest, AddTakesTheLowestFreeNameAndAFreshIdentifierAndWritesNoMacroFile) {
    EXPECT_EQ(MacroLibrary::NewName({}), "macro_1");
    ASSERT_TRUE(library_.Add("macro_1"));
    ASSERT_TRUE(library_.Add("MACRO_3"));
    for (const char* expected : {"macro_2", "macro_4"}) {
        const std::string name = MacroLibrary::NewName(MacroLibrary::Names(library_.Entries()));
        EXPECT_EQ(name, expected);
        ASSERT_TRUE(library_.Add(name));
    }
    std::set<std::string> guids;
    for (const MacroInfo& entry : library_.Entries()) guids.insert(entry.guid);
    EXPECT_EQ(guids.size(), 4u);
    const std::string list = ReadText(library_.ListPath());
    EXPECT_EQ(list, JsonDataFile::StyledText(Parse(list)));
    EXPECT_EQ(Files().size(), 1u);  // the list alone
}

TEST_F(MacroLibraryTest, AddWaitsPastIdentifiersTakenInTheListOrOnDisk) {
    // The next 40 milliseconds' identifiers are taken, alternately by entries and files.
    const auto now = std::chrono::system_clock::now();
    std::vector<std::string> taken, listed;
    for (int ms = 0; ms < 40; ++ms) {
        taken.push_back(JsonDataFile::MakeTimeStampName(now + std::chrono::milliseconds(ms)));
        if (ms % 2)
            WriteText(Mac(taken.back()), "{}");
        else
            listed.push_back(taken.back());
    }
    WriteList(listed);
    const auto added = library_.Add("x");
    ASSERT_TRUE(added);
    EXPECT_EQ(std::count(taken.begin(), taken.end(), added->guid), 0);
}

TEST_F(MacroLibraryTest, AFullLibraryRefusesAddAndImportAndChangesNoFile) {
    WriteList(std::vector<std::string>(MacroLibrary::kMaxMacros, "g"));
    WriteText(root_ / "in.mac", "{\"Events\": []}");
    const auto before = Files();
    EXPECT_FALSE(library_.Add("x"));
    EXPECT_EQ(library_.Import(root_ / "in.mac").result, Transfer::LibraryFull);
    EXPECT_EQ(Files(), before);
}

TEST_F(MacroLibraryTest, RemoveKeepsTheOrderAndDeletesOnlyThatMacrosFile) {
    WriteList({"a", "b", "c", "d", "shared", "shared"});
    for (const char* guid : {"a", "b", "c", "d", "shared"}) WriteText(Mac(guid), "{}");
    EXPECT_FALSE(library_.Remove(6));
    EXPECT_FALSE(library_.Remove(-1));
    ASSERT_TRUE(library_.Remove(2));
    ASSERT_TRUE(library_.Remove(4));  // a file still named by another entry stays
    const std::vector<MacroInfo> expected{{"m1", "a"}, {"m2", "b"}, {"m4", "d"}, {"m5", "shared"}};
    EXPECT_EQ(library_.Entries(), expected);
    EXPECT_FALSE(fs::exists(Mac("c")));
    for (const char* guid : {"a", "b", "d", "shared"}) EXPECT_TRUE(fs::exists(Mac(guid)));

    ASSERT_TRUE(library_.Rename(1, " New "));
    EXPECT_EQ(library_.Entries()[1].name, " New ");
    EXPECT_FALSE(library_.Rename(4, "x"));
}

TEST_F(MacroLibraryTest, DelaysAreSavedAsClampedDecimalStringsAndLoadedInFileOrder) {
    EXPECT_EQ(MacroLibrary::DelayText("007"), "7");
    EXPECT_EQ(MacroLibrary::DelayText(""), "0");
    EXPECT_EQ(MacroLibrary::DelayText("-5"), "0");
    EXPECT_EQ(MacroLibrary::ShownDelay("70000"), 65535);
    EXPECT_EQ(MacroLibrary::ShownDelay("99999999999999999999"), 65535);
    EXPECT_EQ(MacroLibrary::ShownDelay(" 12ms"), 12);

    ASSERT_TRUE(
        library_.SaveEvents("g", "M", {Event("007", 1), Json::Value(), Event(""), Event(50)}));
    Json::Value expected;
    expected["MacroName"] = "M";
    expected["Guid"] = "g";
    expected["Version"] = 64;
    for (const auto& [delay, button] :
         std::vector<std::pair<const char*, int>>{{"7", 1}, {"0", 4}, {"50", 4}})
        expected["Events"].append(Event(delay, button));
    EXPECT_EQ(ReadText(Mac("g")), JsonDataFile::StyledText(expected));
    EXPECT_EQ(library_.LoadEvents("g"),
              std::vector<Json::Value>(expected["Events"].begin(), expected["Events"].end()));

    ASSERT_TRUE(library_.SaveEvents("g", "M", {}));
    EXPECT_FALSE(Parse(ReadText(Mac("g"))).isMember("Events"));

    Json::Value many;
    for (std::size_t i = 0; i < MacroLibrary::kMaxLoadedEvents + 5; ++i)
        many["Events"].append(Event("1", static_cast<int>(i)));
    WriteText(Mac("many"), JsonDataFile::StyledText(many));
    const auto loaded = library_.LoadEvents("many");
    ASSERT_EQ(loaded.size(), MacroLibrary::kMaxLoadedEvents);
    EXPECT_EQ(loaded.back()["Button"].asUInt(), MacroLibrary::kMaxLoadedEvents - 1);

    WriteText(Mac("deep"), std::string(200, '[') + std::string(200, ']'));
    EXPECT_TRUE(library_.LoadEvents("deep").empty());
    EXPECT_TRUE(library_.LoadEvents("missing").empty());
}

TEST_F(MacroLibraryTest, ExportThenImportGivesANewIdentifierTheNextNameAndTheSameBytes) {
    const auto macro = library_.Add("macro_1");
    ASSERT_TRUE(macro);
    EXPECT_EQ(library_.Export(0, root_ / "out.mac"), Transfer::NotSaved);
    EXPECT_EQ(library_.Export(1, root_ / "out.mac"), Transfer::NoSuchMacro);
    EXPECT_FALSE(fs::exists(root_ / "out.mac"));
    ASSERT_TRUE(library_.SaveEvents(macro->guid, "macro_1", {Event("30")}));
    EXPECT_EQ(library_.Export(0, root_ / "no" / "dir" / "out.mac"), Transfer::NotWritten);
    ASSERT_EQ(library_.Export(0, root_ / "out.mac"), Transfer::Done);
    EXPECT_EQ(ReadText(root_ / "out.mac"), ReadText(Mac(macro->guid)));

    const auto imported = library_.Import(root_ / "out.mac");
    ASSERT_EQ(imported.result, Transfer::Done);
    EXPECT_EQ(imported.entry.name, "macro_2");
    EXPECT_NE(imported.entry.guid, macro->guid);
    EXPECT_EQ(library_.Entries().back(), imported.entry);
    EXPECT_EQ(ReadText(Mac(imported.entry.guid)), ReadText(root_ / "out.mac"));
}

TEST_F(MacroLibraryTest, ImportRefusesWhatIsNotAMacroAndCopiesNothing) {
    const std::string bad[] = {
        "not json",
        "[]",
        "{\"Events\": {}}",
        "{\"Events\": [1]}",
        R"({"Events": [{"Type": "10", "Button": 4, "Action": "down", "Delay": "1"}]})",
        R"({"Events": [{"Type": 10, "Button": 4.5, "Action": "down", "Delay": "1"}]})",
        R"({"Events": [{"Type": 10, "Button": 4, "Action": "press", "Delay": "1"}]})",
        R"({"Events": [{"Type": 10, "Button": 4, "Action": "up", "Delay": 1}]})",
        std::string(100, '[') + std::string(100, ']'),
        ""};
    WriteList({"a"});
    for (const std::string& text : bad) {
        WriteText(root_ / "in.mac", text);
        const auto before = Files();
        EXPECT_EQ(library_.Import(root_ / "in.mac").result, Transfer::NotAMacro) << text;
        EXPECT_EQ(Files(), before);
    }
    EXPECT_EQ(library_.Import(root_ / "missing.mac").result, Transfer::Unreadable);
    EXPECT_EQ(library_.Import(root_).result, Transfer::Unreadable);
    EXPECT_EQ(library_.Entries().size(), 1u);
}

TEST_F(MacroLibraryTest, IdentifiersThatAreNoPlainFileNamesNeverReachAFile) {
    const std::vector<std::string> guids = {"../victim", "../../victim", "a/b",
                                            "",          "..",           (root_ / "abs").string()};
    WriteList(guids);
    for (const fs::path& victim : {root_ / "user" / "victim.mac", root_ / "victim.mac",
                                   folder_ / "a" / "b.mac", root_ / "abs.mac", folder_ / "..mac"})
        WriteText(victim,
                  R"({"Events": [{"Type": 10, "Button": 4, "Action": "up", "Delay": "1"}]})");
    auto before = Files();

    EXPECT_EQ(library_.Entries().size(), guids.size());
    for (std::size_t i = 0; i < guids.size(); ++i) {
        EXPECT_TRUE(library_.LoadEvents(guids[i]).empty()) << guids[i];
        EXPECT_FALSE(library_.SaveEvents(guids[i], "x", {Event("1")})) << guids[i];
        EXPECT_EQ(library_.Export(static_cast<int>(i), root_ / "out.mac"), Transfer::NoSuchMacro);
    }
    for (std::size_t i = guids.size(); i-- > 0;) EXPECT_TRUE(library_.Remove(static_cast<int>(i)));
    EXPECT_TRUE(library_.Entries().empty());
    auto after = Files();
    for (auto* files : {&before, &after}) files->erase(library_.ListPath());
    EXPECT_EQ(after, before);
}

TEST_F(MacroLibraryTest, ABrokenListIsCopiedAsideBeforeItIsReplaced) {
    for (const char* broken : {"{ not json", "[1, 2]", "{\"MacroInfo\": \"x\"}"}) {
        fs::remove_all(folder_);
        WriteText(library_.ListPath(), broken);
        EXPECT_TRUE(library_.Entries().empty());
        EXPECT_FALSE(library_.Remove(0));
        EXPECT_FALSE(library_.Rename(0, "x"));
        EXPECT_EQ(Files().size(), 1u) << "a refused change keeps no copy";
        ASSERT_TRUE(library_.Add("macro_1")) << broken;
        EXPECT_EQ(library_.Entries().size(), 1u);
        std::vector<std::string> copies;
        for (const auto& entry : fs::directory_iterator(folder_))
            if (entry.path().filename().string().rfind("macro.config.unreadable-", 0) == 0)
                copies.push_back(ReadText(entry.path()));
        EXPECT_EQ(copies, std::vector<std::string>{broken});
    }
    // What cannot even be read is left alone.
    fs::remove(library_.ListPath());
    fs::create_directory(library_.ListPath());
    EXPECT_FALSE(library_.Add("macro_1"));
    EXPECT_TRUE(fs::is_directory(library_.ListPath()));
}

TEST_F(MacroLibraryTest, ADamagedListIsRebuiltFromTheMacroFilesAndKeptAside) {
    const auto macro = [](const std::string& name) {
        return JsonDataFile::StyledText(MacroLibrary::Document(name, "x", {Event("5")}));
    };
    const std::string truncated = "{\"MacroInfo\": [{\"MacroName\": \"a\", \"Gu";
    const std::string nested =
        "{\"MacroInfo\": " + std::string(500, '[') + std::string(500, ']') + "}";
    const std::string huge = "{\"MacroInfo\": [], \"pad\": \"" + std::string(20 << 20, 'x') + "\"}";
    for (const std::string* damaged : {&truncated, &nested, &huge}) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        WriteText(Mac("2024_01_02_00_00_00_000"), macro("second"));
        WriteText(Mac("2024_01_01_00_00_00_000"), macro("first"));
        WriteText(Mac("2024_01_03_00_00_00_000"), macro("FIRST"));  // a name taken
        WriteText(Mac("2024_01_04_00_00_00_000"), macro(""));
        WriteText(Mac("2024_01_05_00_00_00_000"), "{ not a macro");
        WriteText(folder_ / "notes.txt", macro("not a .mac"));
        WriteText(library_.ListPath(), *damaged);

        const fs::path copy = library_.RebuildDamagedList();
        ASSERT_FALSE(copy.empty()) << damaged->substr(0, 40);
        EXPECT_EQ(ReadText(copy), *damaged) << "the damaged file is kept byte for byte";
        const std::vector<MacroInfo> entries = library_.Entries();
        ASSERT_EQ(entries.size(), 4u);
        EXPECT_EQ(MacroLibrary::Names(entries),
                  (std::vector<std::string>{"first", "second", "macro_1", "macro_2"}));
        EXPECT_EQ(entries[0].guid, "2024_01_01_00_00_00_000") << "oldest first";
        EXPECT_EQ(entries[3].guid, "2024_01_04_00_00_00_000");
        EXPECT_EQ(library_.LoadEvents(entries[1].guid).size(), 1u);
        EXPECT_TRUE(library_.RebuildDamagedList().empty()) << "once rebuilt, it is a good list";
    }

    // An add to a damaged list keeps the macros its files hold.
    WriteText(library_.ListPath(), truncated);
    ASSERT_TRUE(library_.Add("new"));
    EXPECT_EQ(MacroLibrary::Names(library_.Entries()),
              (std::vector<std::string>{"first", "second", "macro_1", "macro_2", "new"}));
    // A missing list is no damage: nothing is made up.
    fs::remove(library_.ListPath());
    EXPECT_TRUE(library_.RebuildDamagedList().empty());
    EXPECT_FALSE(fs::exists(library_.ListPath()));
}

TEST(MacroKeyRepair, KeysOfTheDeletedMacroGetTheirDefaultAndLaterMacrosMoveDown) {
    const auto key = [](uint8_t type, uint8_t byte1, uint8_t byte0) {
        return KeyMapping{{7, type, byte1, byte0}, {7, 0x02, 0x04, 0x00}};
    };
    const std::vector<KeyMapping> keys = {key(0x70, 1, 2), key(0x71, 2, 5), key(0x71, 3, 9),
                                          key(0x70, 0, 0), key(0x02, 3, 0)};
    const auto result = MacroKeyRepair::AfterDelete(keys, 2);
    EXPECT_TRUE(result.changed);
    EXPECT_TRUE(result.playedDeleted);
    const std::vector<KeyMapping> expected = {keys[0], key(0x02, 0x04, 0x00), key(0x71, 2, 9),
                                              keys[3], keys[4]};
    EXPECT_EQ(result.keys, expected);

    const auto later = MacroKeyRepair::AfterDelete({keys[2], keys[4]}, 1);
    EXPECT_TRUE(later.changed);
    EXPECT_FALSE(later.playedDeleted);
    EXPECT_EQ(later.keys[0].current, (KeyAssignment{7, 0x71, 2, 9}));
    for (int deleted : {4, -1, 300}) {
        const auto none = MacroKeyRepair::AfterDelete(keys, deleted);
        EXPECT_FALSE(none.changed || none.playedDeleted) << deleted;
        EXPECT_EQ(none.keys, keys);
    }
}
