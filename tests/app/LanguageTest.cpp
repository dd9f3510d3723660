// SPDX-License-Identifier: GPL-3.0-or-later
// Languages: the saved choice, applying a language (texts, font table, saving, repaint),
// the settings window's list, and translating a key.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/LanguageManager.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "platform/Trace.h"
#include "ui/CComboUI.h"
#include "ui/CControlUI.h"
#include "ui/CDialogBuilder.h"
#include "ui/CHeadlessDriver.h"
#include "ui/CListLabelElementUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CResourceManager.h"
#include "ui/TNotifyUI.h"

namespace {

namespace fs = std::filesystem;
using app::LanguageManager;

constexpr int kLanguages = 16;
const char* const kFiles[] = {"lan_cn.xml", "lan_en.xml", "lan_tw.xml"};

// Language i uses the shipped file i % 3 and id 1000 + i, so that indices 3, 5 and 15 exist
// and neighbours speak differently.
std::string LanguageConfig() {
    std::string json = "{ \"Language\": [";
    for (int i = 0; i < kLanguages; ++i) {
        json += std::string(i ? "," : "") + "{\"Language_ID\": " + std::to_string(1000 + i) +
                ", \"Language_file\": \"" + kFiles[i % 3] + "\", \"Language_name\": \"L" +
                std::to_string(i) + "\", \"Language_text\": \"<b>Language " + std::to_string(i) +
                "</b>\"}";
    }
    return json + "] }";
}

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tx512-lang-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "DefaultData");
        WriteConfig(LanguageConfig());
        platform::SetProgramDir(dir);
        const char* old = std::getenv("XDG_CONFIG_HOME");
        oldConfigHome = old != nullptr ? old : "";
        hadConfigHome = old != nullptr;
        ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);

        ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
        resources.Release();
        ui::CDialogBuilder::ClearCache();
        resources.SetResourcePath(fs::path(TX512_SOURCE_DIR) / "resources" / "skin");
        // As the main window starts: English first.
        ASSERT_TRUE(resources.LoadLanguage("lan_en.xml"));
        ui::CDialogBuilder builder;
        ui::CControlUI* root = builder.Create(
            R"(<Window><VerticalLayout><Label name="text_test" visible="false"/>
                 <Label name="message" text="message_text_22"/>
                 <Combo name="Language_combox_info" itemshowhtml="true"/>
               </VerticalLayout></Window>)",
            nullptr, &pm);
        ASSERT_NE(root, nullptr);
        pm.AttachDialog(root);
        pm.SetClientSize(ui::Size{400, 300});
        pm.EnsureLayout();
        platform::SetTraceSink([this](std::string_view text) { trace.emplace_back(text); });
    }
    void TearDown() override {
        platform::SetTraceSink({});
        platform::SetProgramDir({});
        if (hadConfigHome)
            ::setenv("XDG_CONFIG_HOME", oldConfigHome.c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        ui::CResourceManager::GetInstance().Release();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }

    void WriteConfig(const std::string& text) {
        std::ofstream(dir / "DefaultData" / "Language.config", std::ios::binary) << text;
    }
    std::string Saved() const {
        return platform::SettingsStore().Get("LANGUAGE").value_or("<none>");
    }
    std::string Message() { return pm.FindControl("message")->GetText(); }
    int Traced(const std::string& text) const {
        return static_cast<int>(std::count(trace.begin(), trace.end(), text));
    }
    // A font no table has: it survives exactly as long as the table is not rebuilt.
    void MarkFonts() { pm.AddFont(99, "marker", 9, false, false, false, true); }
    bool FontsRebuilt() const { return !pm.HasFont(99); }

    fs::path dir;
    std::string oldConfigHome;
    bool hadConfigHome = false;
    ui::CHeadlessDriver driver;
    ui::CPaintManagerUI pm;
    std::vector<std::string> trace;
};

TEST_F(LanguageTest, FirstStartAppliesTheFirstLanguageAndBuildsTheFontTable) {
    LanguageManager languages(pm);
    int childRepaints = 0;
    languages.SetChildWindowsNotifier([&] { ++childRepaints; });
    EXPECT_EQ(languages.CurrentIndex(), -1);
    const int index = languages.ReadSavedLanguage();
    EXPECT_EQ(index, 0) << "nothing saved yet";
    MarkFonts();
    languages.ApplyLanguage(index);

    EXPECT_TRUE(FontsRebuilt());
    EXPECT_EQ(pm.GetFont(0).iSize, 15);
    EXPECT_TRUE(pm.GetFont(1).bUnderline);
    EXPECT_EQ(pm.GetFont(3).iSize, 30);
    EXPECT_EQ(pm.GetFont(11).iSize, 28);
    EXPECT_TRUE(pm.GetFont(50).bBold);
    EXPECT_EQ(pm.GetFont(50).iSize, 18);
    EXPECT_TRUE(pm.GetFont(50).bShared);
    EXPECT_EQ(pm.GetFont(50).sFontName, "Verdana Unicode MS");
    EXPECT_FALSE(pm.HasFont(12));
    EXPECT_EQ(pm.GetFont(12).iSize, 12) << "an id outside the table gets the default font";

    EXPECT_EQ(languages.CurrentIndex(), 0);
    EXPECT_EQ(ui::CResourceManager::GetInstance().GetLanguage(), "L0");
    EXPECT_EQ(Message(), "恢复这个设备的出厂设置吗？此配置中的更改将会丢失。");
    EXPECT_EQ(Saved(), "1000");
    EXPECT_TRUE(fs::exists(dir / "config" / "TELIX TX512 keyboard Driver" / "settings.json"));
    EXPECT_EQ(Traced("写成功！"), 1);
    EXPECT_EQ(childRepaints, 1);
    EXPECT_TRUE(pm.IsUpdateNeeded());

    // The same language again changes nothing.
    MarkFonts();
    languages.ApplyLanguage(0);
    EXPECT_FALSE(FontsRebuilt());
    EXPECT_EQ(Traced("写成功！"), 1);
    EXPECT_EQ(childRepaints, 1);
}

TEST_F(LanguageTest, FontTableIsRebuiltOnlyAroundTheLanguagesWithTheirOwnGlyphs) {
    LanguageManager languages(pm);
    languages.ApplyLanguage(3);
    EXPECT_EQ(Message(), "恢复这个设备的出厂设置吗？此配置中的更改将会丢失。");

    MarkFonts();
    languages.ApplyLanguage(5);
    EXPECT_FALSE(FontsRebuilt()) << "3 -> 5";
    EXPECT_EQ(Message(), "恢復這個裝置的出廠設定嗎？此設定檔中的變更將會遺失。")
        << "texts follow even without a new font table";
    EXPECT_EQ(Saved(), "1005");

    languages.ApplyLanguage(15);
    EXPECT_TRUE(FontsRebuilt()) << "5 -> 15";
    MarkFonts();
    languages.ApplyLanguage(4);
    EXPECT_TRUE(FontsRebuilt()) << "leaving 15";
    MarkFonts();
    languages.ApplyLanguage(2);
    EXPECT_TRUE(FontsRebuilt()) << "into 2";
    MarkFonts();
    languages.ApplyLanguage(7);
    EXPECT_TRUE(FontsRebuilt()) << "out of 2";
    MarkFonts();
    languages.ApplyLanguage(1);
    EXPECT_FALSE(FontsRebuilt()) << "7 -> 1";
    EXPECT_EQ(Message(),
              "Restore this device's factory settings? The changes in this profile will be lost.");
}

TEST_F(LanguageTest, SavedChoiceIsFoundAgainAtTheNextStart) {
    {
        LanguageManager languages(pm);
        languages.ApplyLanguage(languages.ReadSavedLanguage());
        languages.ApplyLanguage(7);
    }
    LanguageManager nextRun(pm);
    EXPECT_EQ(nextRun.ReadSavedLanguage(), 7);

    // A saved value that is not a number, or no longer in the list, means the first one.
    for (const char* saved : {"abc", "1007x", "", "99999999999", "2000"}) {
        ASSERT_TRUE(platform::SettingsStore().Set("LANGUAGE", saved));
        EXPECT_EQ(nextRun.ReadSavedLanguage(), 0) << saved;
    }
    // Ids that are not numbers in the list do not break the search.
    WriteConfig(R"({"Language": [{"Language_ID": "x"}, 5, {"Language_ID": 2000}]})");
    EXPECT_EQ(nextRun.ReadSavedLanguage(), 2);
}

TEST_F(LanguageTest, UnknownLanguagesKeepTheTextsAndTheSavedChoice) {
    ASSERT_TRUE(platform::SettingsStore().Set("LANGUAGE", "1005"));
    LanguageManager languages(pm);

    // An index beyond the list.
    EXPECT_EQ(LanguageManager::EntryAt(kLanguages).file, "");
    EXPECT_EQ(LanguageManager::EntryAt(kLanguages).id, 0);
    EXPECT_EQ(LanguageManager::EntryAt(-3).name, "");
    languages.ApplyLanguage(kLanguages + 4);
    EXPECT_EQ(languages.CurrentIndex(), kLanguages + 4);
    EXPECT_EQ(Message(),
              "Restore this device's factory settings? The changes in this profile will be lost.")
        << "the texts loaded so far stay";
    EXPECT_EQ(Saved(), "1005");

    // A list that is missing or not JSON.
    for (const char* config : {"", "not json {", "[1, 2]", "{\"Language\": 3}"}) {
        WriteConfig(config);
        EXPECT_EQ(languages.ReadSavedLanguage(), 0) << config;
        EXPECT_EQ(LanguageManager::EntryAt(0).name, "") << config;
    }
    fs::remove(LanguageManager::ConfigFile());
    EXPECT_EQ(languages.ReadSavedLanguage(), 0);
    LanguageManager firstRun(pm);
    MarkFonts();
    firstRun.ApplyLanguage(0);
    EXPECT_EQ(Message(),
              "Restore this device's factory settings? The changes in this profile will be lost.");
    EXPECT_EQ(Saved(), "1005") << "the user's choice survives a missing list";
    EXPECT_TRUE(FontsRebuilt()) << "the font table is still built at the first application";
    EXPECT_TRUE(pm.HasFont(50));
}

TEST_F(LanguageTest, LanguageListShowsEveryEntryAndSelectsTheCurrentQuietly) {
    struct Recorder : ui::INotifyUI {
        void Notify(ui::TNotifyUI& msg) override { types.push_back(msg.sType); }
        std::vector<std::string> types;
    } recorder;
    pm.AddNotifier(&recorder);
    driver.RunPending();
    recorder.types.clear();

    LanguageManager languages(pm);
    languages.ApplyLanguage(4);
    languages.FillLanguageList(pm);
    auto* combo = dynamic_cast<ui::CComboUI*>(pm.FindControl("Language_combox_info"));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->GetCount(), kLanguages);
    EXPECT_EQ(combo->GetCurSel(), 4);
    ui::CControlUI* item = combo->GetItemAt(4);
    EXPECT_NE(dynamic_cast<ui::CListLabelElementUI*>(item), nullptr);
    EXPECT_EQ(item->GetText(), "<b>Language 4</b>");
    EXPECT_TRUE(item->IsShowHtml());
    driver.RunPending();
    EXPECT_TRUE(std::find(recorder.types.begin(), recorder.types.end(), "itemselect") ==
                recorder.types.end());

    // Reopening the settings window fills the list again, not twice over.
    languages.FillLanguageList(combo);
    EXPECT_EQ(combo->GetCount(), kLanguages);
    pm.RemoveNotifier(&recorder);
}

TEST_F(LanguageTest, TranslateReadsTheKeyBackThroughTheHiddenLabel) {
    EXPECT_EQ(LanguageManager::Translate(pm, "message_text_22"),
              "Restore this device's factory settings? The changes in this profile will be lost.");
    EXPECT_EQ(pm.FindControl("text_test")->GetTextKey(), "message_text_22");
    EXPECT_EQ(LanguageManager::Translate(pm, "no_such_key"), "no_such_key");

    // A window without the label still gets the library's text.
    ui::CPaintManagerUI bare;
    EXPECT_EQ(LanguageManager::Translate(bare, "message_text_7"),
              "The macros could not be prepared. The key assignments were written without them.");
    EXPECT_EQ(LanguageManager::Translate(pm, "message_text_7", "str_test"),
              "The macros could not be prepared. The key assignments were written without them.");
}

}  // namespace
