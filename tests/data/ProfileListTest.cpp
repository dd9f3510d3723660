// SPDX-License-Identifier: GPL-3.0-or-later
// The profile list file and the names the list gives the profiles it makes.
#include <gtest/gtest.h>
#include <json/json.h>

#include <string>
#include <vector>

#include "DataTestFolder.h"
#include "data/ProfileListFile.h"
#include "data/ProfileNames.h"

namespace fs = std::filesystem;

TEST(ProfileNames, NewCopiedAndImportedNamesNeverEqualATakenNameInAnyCase) {
    EXPECT_EQ(ProfileNames::NewName({}), "profile1");
    EXPECT_EQ(ProfileNames::NewName({"profile1", "Profile2"}), "profile3");
    EXPECT_EQ(ProfileNames::NewName({"PROFILE2", "x"}), "profile1");

    EXPECT_EQ(ProfileNames::CopyName("A", {"A"}), "A copy");
    EXPECT_EQ(ProfileNames::CopyName("A", {"A", "a COPY"}), "A copy copy");

    EXPECT_EQ(ProfileNames::ImportName("A", {"B"}), "A");
    EXPECT_EQ(ProfileNames::ImportName("A", {"A", "A(1)"}), "A(1)(2)");
    // Letters of other scripts compare by their lower-case form as well.
    EXPECT_EQ(ProfileNames::ImportName("Ärger", {"ärger"}), "Ärger(1)");
}

TEST(ProfileNames, NamesFromFilesAreTrimmedCleanedAndCutAtWholeCharacters) {
    EXPECT_EQ(ProfileNames::Trimmed("  \t Game \r\n"), "Game");
    EXPECT_EQ(ProfileNames::Trimmed("  "), "");
    EXPECT_EQ(ProfileNames::Cleaned(" a\x01"
                                    "b\x7f\nc "),
              "abc");
    EXPECT_EQ(ProfileNames::Cleaned("\x01\x02"), "");
    // C1 controls (a terminal's CSI among them) and the characters that reorder text go
    // too; the letters around them, and other characters of those ranges, stay.
    EXPECT_EQ(ProfileNames::Cleaned("a\u0085b\u009B[2Jc\u202Egnp.exe\u2066d\u2069"), "ab[2Jcgnp.exed");
    EXPECT_EQ(ProfileNames::Cleaned("\u00A0x\u2029\u2030"), "\u00A0x\u2029\u2030");
    EXPECT_EQ(ProfileNames::Accepted(" \u202Dname\u202C\x1b "), "name");

    std::string longName;
    for (int i = 0; i < 100; ++i) longName += "é";  // two bytes each
    const std::string cut = ProfileNames::Cleaned(longName);
    EXPECT_EQ(cut.size(), 2 * ProfileNames::kMaxImportedLength);
    EXPECT_EQ(cut.substr(0, 2), "é");
}

class ProfileListFileTest : public DataTestFolder {
protected:
    fs::path folder_;
    void SetUp() override {
        DataTestFolder::SetUp();
        folder_ = root_ / "user" / "kind";
        fs::create_directories(folder_);
    }
};

TEST_F(ProfileListFileTest, EntriesAreWrittenInTheListLayoutAndReadBack) {
    ProfileListFile list(folder_);
    EXPECT_EQ(list.Read(), JsonDataFile::ReadStatus::Missing);
    EXPECT_EQ(list.Count(), 0);
    list.Clear();
    list.Put(0, {"profile1", "2021_03_07_09_05_02_045"});
    list.Put(1, {"Game", "2021_03_07_09_05_02_046"});
    list.Put(2, {"Work", "2021_03_07_09_05_02_047"});
    list.SetSelected(2);
    list.Remove(1);
    list.SetSelected(1);
    ASSERT_TRUE(list.Write());
    EXPECT_EQ(ReadText(list.Path()),
              "{\n"
              "   \"profilelist\" : [\n"
              "      {\n"
              "         \"profileUUID\" : \"2021_03_07_09_05_02_045\",\n"
              "         \"profileislink\" : 0,\n"
              "         \"profilelinkmame\" : \"\",\n"
              "         \"profilename\" : \"profile1\"\n"
              "      },\n"
              "      {\n"
              "         \"profileUUID\" : \"2021_03_07_09_05_02_047\",\n"
              "         \"profileislink\" : 0,\n"
              "         \"profilelinkmame\" : \"\",\n"
              "         \"profilename\" : \"Work\"\n"
              "      }\n"
              "   ],\n"
              "   \"profileselect\" : 1\n"
              "}\n");

    ProfileListFile again(folder_);
    EXPECT_EQ(again.Read(), JsonDataFile::ReadStatus::Ok);
    EXPECT_EQ(again.Names(), (std::vector<std::string>{"profile1", "Work"}));
    EXPECT_EQ(again.At(1).uuid, "2021_03_07_09_05_02_047");
    EXPECT_EQ(again.Selected(), 1);
    EXPECT_EQ(again.At(5).uuid, "");
}

TEST_F(ProfileListFileTest, UuidsThatAreNoPlainFileNamesNameNoFile) {
    ProfileListFile list(folder_);
    EXPECT_EQ(list.ProfileFile("2021_03_07_09_05_02_045"),
              folder_ / "2021_03_07_09_05_02_045.Json");
    for (const char* uuid : {"", "..", "../../x", "/tmp/abs", "a/b"})
        EXPECT_TRUE(list.ProfileFile(uuid).empty()) << uuid;
}

TEST_F(ProfileListFileTest, ADamagedListIsCopiedAsideBeforeItCanBeWrittenOver) {
    const std::string damaged = "{ \"profilelist\" : [ { \"profilename\" : \"Caf\xe9\" } ] }";
    WriteText(folder_ / ProfileListFile::kFileName, damaged);
    ProfileListFile list(folder_);
    EXPECT_EQ(list.Read(), JsonDataFile::ReadStatus::Invalid);
    EXPECT_EQ(list.Count(), 0);
    list.Clear();
    list.Put(0, {"profile1", "u"});
    ASSERT_TRUE(list.Write());

    int copies = 0;
    for (const auto& item : fs::directory_iterator(folder_)) {
        if (item.path().filename().string().rfind("ProfileList.ini.unreadable-", 0) != 0) continue;
        ++copies;
        EXPECT_EQ(ReadText(item.path()), damaged);
    }
    EXPECT_EQ(copies, 1);
}

TEST_F(ProfileListFileTest, ProfileFilesThatNameThemselvesRebuildALostList) {
    WriteText(folder_ / "2021_03_07_09_05_02_046.Json",
              R"({ "profilename" : "Second", "profileUUID" : "2021_03_07_09_05_02_046" })");
    WriteText(folder_ / "2021_03_07_09_05_02_045.Json",
              R"({ "profilename" : "First", "profileUUID" : "2021_03_07_09_05_02_045" })");
    // Not profiles of this list: a file naming another UUID, one without a name, a copy
    // kept aside, a file that is not JSON.
    WriteText(folder_ / "copied.Json", R"({ "profilename" : "X", "profileUUID" : "other" })");
    WriteText(folder_ / "2021_03_07_09_05_02_047.Json",
              R"({ "profileUUID" : "2021_03_07_09_05_02_047" })");
    WriteText(folder_ / "2021_03_07_09_05_02_048.Json.unreadable-1", "{");
    WriteText(folder_ / "2021_03_07_09_05_02_049.Json", "not json");

    const auto found = ProfileListFile(folder_).FindProfileFiles();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "First");
    EXPECT_EQ(found[1].name, "Second");
}
