// SPDX-License-Identifier: GPL-3.0-or-later
// The profile panel on its list file and the profile files: every operation of the
// panel, in a window of its own, on scratch data folders.
#include <gtest/gtest.h>
#include <json/json.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/DataTestFolder.h"
#include "data/JsonDataFile.h"
#include "data/ProfileListFile.h"
#include "panels/profile/CDeviceProfileUI.h"
#include "ui/CComboUI.h"
#include "ui/CEditUI.h"
#include "ui/COptionUI.h"
#include "ui/CPaintManagerUI.h"

namespace fs = std::filesystem;
using panels::CDeviceProfileUI;

namespace {

const char* const kTabs[] = {"deng_Op_tab",   "key_Op_tab",       "macro_Op_tab",
                             "system_Op_tab", "cursor_Op_tab",    "6533_voice_Op_tab",
                             "magic_Op_tab",  "Virtual7.1_Op_tab"};

class ProfilePanelTest : public DataTestFolder, public ui::INotifyUI {
protected:
    void SetUp() override {
        DataTestFolder::SetUp();
        folder_ = root_ / "user" / "keyboard";
        fs::create_directories(folder_);
        defaults_ = root_ / "program" / "DefaultData" / "keyboard.Json";
        WriteText(defaults_, R"({ "Device" : [ { "LightInfo" : { "SelectItem" : 3 },
            "CustomEQNameInfo" : [ "factory" ] } ] })");

        panel_ = new CDeviceProfileUI();
        combo_ = Add<ui::CComboUI>("device_profile_combo");
        edit_ = Add<ui::CEditUI>("device_profile_name_edit");
        menu_ = Add<ui::CContainerUI>("profile_menu_layout");
        for (const char* tab : kTabs) Add<ui::COptionUI>(tab);
        manager_.AttachDialog(panel_);
        manager_.AddNotifier(this);
    }
    void TearDown() override {
        manager_.RemoveNotifier(this);
        DataTestFolder::TearDown();
    }
    template <class T>
    T* Add(const std::string& name) {
        auto* control = new T();
        control->SetName(name);
        panel_->Add(control);
        return control;
    }
    void Notify(ui::TNotifyUI& msg) override {
        if (msg.sType == "itemselect") picks_.push_back(static_cast<int>(msg.wParam));
    }

    // A list of `names` (uuids u0, u1, ...) with a profile file each, then the panel on it.
    void Start(const std::vector<std::string>& names, int selected = 0, int kind = 1) {
        ProfileListFile list(folder_);
        list.Clear();
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string uuid = "u" + std::to_string(i);
            list.Put(static_cast<int>(i), {names[i], uuid});
            Json::Value root;
            root["profilename"] = names[i];
            root["profileUUID"] = uuid;
            root["Device"][0]["LightInfo"]["SelectItem"] = static_cast<int>(i);
            files_.WriteJsonFile(folder_ / (uuid + ".Json"), root);
        }
        list.SetSelected(selected);
        if (!names.empty()) {
            ASSERT_TRUE(list.Write());
        }
        Init(kind);
    }
    void Init(int kind = 1) {
        panel_->SetKindCode(kind);
        panel_->SetFolders(folder_, defaults_);
        panel_->InitProfileList();
    }
    std::vector<std::string> Items() const {
        std::vector<std::string> items;
        for (int i = 0; i < combo_->GetCount(); ++i)
            items.push_back(combo_->GetItemAt(i)->GetText());
        return items;
    }
    ProfileListFile List() const {
        ProfileListFile list(folder_);
        list.Read();
        return list;
    }
    Json::Value ProfileFile(const std::string& uuid) const {
        return files_.ReadJsonFile(folder_ / (uuid + ".Json"));
    }
    bool TabShown(const char* name) { return panel_->FindSubControl(name)->IsOwnVisible(); }

    fs::path folder_;
    fs::path defaults_;
    JsonDataFile files_;
    ui::CPaintManagerUI manager_;
    CDeviceProfileUI* panel_ = nullptr;
    ui::CComboUI* combo_ = nullptr;
    ui::CEditUI* edit_ = nullptr;
    ui::CContainerUI* menu_ = nullptr;
    std::vector<int> picks_;
};


TEST_F(ProfilePanelTest, AFirstStartMakesProfile1FromTheDefaultsAndShowsTheKindsTabs) {
    Init();
    EXPECT_EQ(Items(), std::vector<std::string>{"profile1"});
    EXPECT_EQ(combo_->GetCurSel(), 0);
    EXPECT_EQ(edit_->GetText(), "profile1");
    EXPECT_TRUE(picks_.empty());  // the start selects without a notification
    const ProfileListFile list = List();
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Selected(), 0);
    EXPECT_EQ(panel_->GetSelectedUUID(), list.At(0).uuid);
    const Json::Value file = ProfileFile(list.At(0).uuid);
    EXPECT_EQ(file["profilename"], "profile1");
    EXPECT_EQ(file["profileUUID"], list.At(0).uuid);
    EXPECT_EQ(file["Device"][0]["LightInfo"]["SelectItem"], 3);

    EXPECT_FALSE(TabShown("cursor_Op_tab"));
    EXPECT_TRUE(TabShown("key_Op_tab"));
    EXPECT_FALSE(TabShown("magic_Op_tab"));
    panel_->SelectTab(2);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(static_cast<ui::COptionUI*>(panel_->FindSubControl(kTabs[i]))->IsSelected(),
                  i == 2);
    panel_->SelectTab(9);
    EXPECT_FALSE(static_cast<ui::COptionUI*>(panel_->FindSubControl(kTabs[2]))->IsSelected());
}

TEST_F(ProfilePanelTest, TabsFollowTheKind) {
    Start({"a"}, 0, 3);
    for (const char* hidden : {"cursor_Op_tab", "macro_Op_tab", "system_Op_tab", "key_Op_tab"})
        EXPECT_FALSE(TabShown(hidden)) << hidden;
    EXPECT_TRUE(TabShown("deng_Op_tab"));
    Init(7);
    for (const char* shown : {"6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"})
        EXPECT_TRUE(TabShown(shown)) << shown;
    EXPECT_FALSE(TabShown("key_Op_tab"));
    Init(2);
    EXPECT_TRUE(TabShown("cursor_Op_tab"));
}

TEST_F(ProfilePanelTest, ALostListIsRebuiltFromTheProfileFiles) {
    Start({"Work", "Game"}, 1);
    fs::remove(folder_ / ProfileListFile::kFileName);
    Init();
    EXPECT_EQ(Items(), (std::vector<std::string>{"Work", "Game"}));
    EXPECT_EQ(List().Count(), 2);
}

TEST_F(ProfilePanelTest, AddNamesTheSmallestFreeNumberAndStopsAtFiftyButCopiesDoNot) {
    Start({"profile1", "Profile2"}, 1);
    ASSERT_TRUE(panel_->AddProfile());
    EXPECT_EQ(Items().back(), "profile3");
    EXPECT_EQ(combo_->GetCurSel(), 1);  // the selection and the device stay
    EXPECT_EQ(List().Selected(), 1);
    const ProfileListFile::Entry added = List().At(2);
    EXPECT_EQ(added.name, "profile3");
    EXPECT_EQ(ProfileFile(added.uuid)["Device"][0]["LightInfo"]["SelectItem"], 3);
    EXPECT_EQ(ProfileFile(added.uuid)["profileUUID"], added.uuid);

    while (panel_->ProfileCount() < CDeviceProfileUI::kMaxProfiles)
        ASSERT_TRUE(panel_->AddProfile());
    ASSERT_TRUE(panel_->AddProfile());
    EXPECT_EQ(panel_->ProfileCount(), 50);
    ASSERT_TRUE(panel_->CopyProfile());
    EXPECT_EQ(panel_->ProfileCount(), 51);
    EXPECT_EQ(Items().back(), "Profile2 copy");

    // Profiles made within one millisecond still get files of their own.
    const ProfileListFile list = List();
    std::vector<std::string> uuids;
    for (int i = 0; i < list.Count(); ++i) uuids.push_back(list.At(i).uuid);
    std::sort(uuids.begin(), uuids.end());
    EXPECT_EQ(std::adjacent_find(uuids.begin(), uuids.end()), uuids.end());
}

TEST_F(ProfilePanelTest, CopyTakesTheSourceFileUnderTheNextFreeCopyName) {
    Start({"A", "A copy"}, 0);
    ASSERT_TRUE(panel_->CopyProfile());
    EXPECT_EQ(Items().back(), "A copy copy");
    EXPECT_EQ(List().Selected(), 0);
    const ProfileListFile::Entry copy = List().At(2);
    const Json::Value file = ProfileFile(copy.uuid);
    EXPECT_EQ(file["profilename"], "A copy copy");
    EXPECT_EQ(file["profileUUID"], copy.uuid);
    EXPECT_EQ(file["Device"], ProfileFile("u0")["Device"]);
}

TEST_F(ProfilePanelTest, DeleteRemovesTheFileSelectsTheNeighbourAndNeverTheLastProfile) {
    Start({"a", "b", "c"}, 0);
    ASSERT_TRUE(panel_->DeleteProfile());
    EXPECT_EQ(Items(), (std::vector<std::string>{"b", "c"}));
    EXPECT_FALSE(fs::exists(folder_ / "u0.Json"));
    EXPECT_EQ(List().Selected(), 0);
    EXPECT_EQ(panel_->GetSelectedUUID(), "u1");
    EXPECT_EQ(picks_, std::vector<int>{0});  // the device follows the pick

    panel_->SelectProfile(1, false);
    ASSERT_TRUE(panel_->DeleteProfile());
    EXPECT_EQ(Items(), std::vector<std::string>{"b"});
    EXPECT_EQ(List().Selected(), 0);
    ASSERT_TRUE(panel_->DeleteProfile());
    EXPECT_EQ(Items(), std::vector<std::string>{"b"});
    EXPECT_TRUE(fs::exists(folder_ / "u1.Json"));
}

TEST_F(ProfilePanelTest, RenameRefusesBlanksAndNamesOfOtherProfiles) {
    Start({"Work", "Game"}, 1);
    EXPECT_EQ(panel_->RenameProfile("  "), CDeviceProfileUI::kNameEmpty);
    EXPECT_EQ(panel_->RenameProfile("WORK"), CDeviceProfileUI::kNameTaken);
    EXPECT_EQ(panel_->RenameProfile("Game"), CDeviceProfileUI::kRenamed);
    EXPECT_EQ(panel_->RenameProfile(" Shooter "), CDeviceProfileUI::kRenamed);
    EXPECT_EQ(Items(), (std::vector<std::string>{"Work", "Shooter"}));
    EXPECT_EQ(edit_->GetText(), "Shooter");
    EXPECT_EQ(List().At(1).name, "Shooter");
    EXPECT_EQ(ProfileFile("u1")["profilename"], "Shooter");
    EXPECT_EQ(ProfileFile("u1")["Device"][0]["LightInfo"]["SelectItem"], 1);
}

TEST_F(ProfilePanelTest, AnExportImportsAgainAsANewProfileWithTheSameSections) {
    Start({"A", "A(1)"}, 0);
    const fs::path exported = root_ / "out" / "A.json";
    fs::create_directories(exported.parent_path());
    ASSERT_EQ(panel_->ExportProfile(exported), CDeviceProfileUI::Transfer::Done);
    EXPECT_EQ(files_.ReadJsonFile(exported), ProfileFile("u0"));

    ASSERT_EQ(panel_->ImportProfile(exported), CDeviceProfileUI::Transfer::Done);
    EXPECT_EQ(Items().back(), "A(1)(2)");
    const ProfileListFile::Entry imported = List().At(2);
    EXPECT_NE(imported.uuid, "u0");
    const Json::Value file = ProfileFile(imported.uuid);
    EXPECT_EQ(file["profileUUID"], imported.uuid);
    EXPECT_EQ(file["profilename"], "A(1)(2)");
    EXPECT_EQ(file["Device"], ProfileFile("u0")["Device"]);

    EXPECT_EQ(panel_->ExportProfile(root_ / "no" / "such" / "folder.json"),
              CDeviceProfileUI::Transfer::Failed);
    EXPECT_EQ(panel_->ImportProfile(root_ / "vanished.json"), CDeviceProfileUI::Transfer::Failed);
}

TEST_F(ProfilePanelTest, ImportsThatAreNoProfilesChangeNothing) {
    Start({"A"}, 0);
    const std::vector<std::string> hostile = {
        "[ 1, 2 ]",
        R"({ "profileUUID" : "x", "Device" : [ {} ] })",
        R"({ "profilename" : "n", "Device" : [ {} ] })",
        R"({ "profilename" : 5, "profileUUID" : "x", "Device" : [ {} ] })",
        R"({ "profilename" : "n", "profileUUID" : "x", "Device" : { "KeyList" : [] } })",
        R"({ "profilename" : "n", "profileUUID" : "x", "Device" : [ 7 ] })",
        R"({ "profilename" : "n", "profileUUID" : "x", "Device" : [] })",
        R"({ "profilename" : " ", "profileUUID" : "x", "Device" : [ {} ] })",
        std::string(
            "{ \"profilename\" : \"Caf\xe9\", \"profileUUID\" : \"x\", \"Device\" : [ {} ] }"),
        std::string(10000, '[') + std::string(10000, ']'),
    };
    const fs::path path = root_ / "import.json";
    for (const std::string& text : hostile) {
        WriteText(path, text);
        EXPECT_EQ(panel_->ImportProfile(path), CDeviceProfileUI::Transfer::NotValid)
            << text.substr(0, 80);
    }
    EXPECT_EQ(Items(), std::vector<std::string>{"A"});
    EXPECT_EQ(List().Count(), 1);

    // A UUID that leads out of the folder is never used: the profile gets a new one.
    WriteText(path, R"({ "profilename" : "Evil", "profileUUID" : "../../x",
                         "Device" : [ { "LightInfo" : { "SelectItem" : 2 } } ] })");
    ASSERT_EQ(panel_->ImportProfile(path), CDeviceProfileUI::Transfer::Done);
    const ProfileListFile::Entry imported = List().At(1);
    EXPECT_NE(imported.uuid, "../../x");
    EXPECT_FALSE(List().ProfileFile(imported.uuid).empty());
    EXPECT_FALSE(fs::exists(folder_.parent_path().parent_path() / "x.Json"));
}

TEST_F(ProfilePanelTest, ResetTakesTheDefaultsButAHeadsetKeepsItsEqualiserPresets) {
    Start({"Work"}, 0, 7);
    Json::Value file = ProfileFile("u0");
    file["Device"][0]["CustomEQNameInfo"][0] = "mine";
    file["Device"][0]["CustomEQHzValueInfo"][0] = 12;
    files_.WriteJsonFile(folder_ / "u0.Json", file);
    ASSERT_TRUE(panel_->ResetProfile());
    const Json::Value reset = ProfileFile("u0");
    EXPECT_EQ(reset["profilename"], "Work");
    EXPECT_EQ(reset["profileUUID"], "u0");
    EXPECT_EQ(reset["Device"][0]["LightInfo"]["SelectItem"], 3);
    EXPECT_EQ(reset["Device"][0]["CustomEQNameInfo"][0], "mine");
    EXPECT_EQ(reset["Device"][0]["CustomEQHzValueInfo"][0], 12);

    Init(1);  // a keyboard takes the defaults whole
    ASSERT_TRUE(panel_->ResetProfile());
    EXPECT_EQ(ProfileFile("u0")["Device"][0]["CustomEQNameInfo"][0], "factory");
}

TEST_F(ProfilePanelTest, TheMenuToggles) {
    Start({"A"});
    menu_->SetVisible(false);
    EXPECT_FALSE(panel_->IsProfileMenuVisible());
    panel_->ShowProfileMenu(true);
    EXPECT_TRUE(panel_->IsProfileMenuVisible());
}

TEST_F(ProfilePanelTest, AFileRemadeFromTheDefaultsGetsItsNameAndUuidBack) {
    Start({"Work", "Game"}, 0);
    const fs::path game = folder_ / "u1.Json";
    EXPECT_EQ(panel_->ProfileNameOf(game), "Game");
    EXPECT_EQ(panel_->ProfileNameOf(folder_ / "elsewhere.Json"), "");
    WriteText(game, R"({ "Device" : [ { "LightInfo" : { "SelectItem" : 3 } } ] })");
    panel_->RestoreProfileIdentity(game);
    const Json::Value file = ProfileFile("u1");
    EXPECT_EQ(file["profilename"], "Game");
    EXPECT_EQ(file["profileUUID"], "u1");
    EXPECT_EQ(file["Device"][0]["LightInfo"]["SelectItem"], 3);
}

}  // namespace
