// SPDX-License-Identifier: GPL-3.0-or-later
// The settings window with its update page against a local stand-in of the update service
// (127.0.0.1 only), where it opens, what it refuses; the language the first start follows;
// the skin record.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "support/Eventually.h"
#include "app/LanguageManager.h"
#include "app/LocaleLanguage.h"
#include "app/ShellIds.h"
#include "app/settings/CSetWnd.h"
#include "app/settings/SettingsWindows.h"
#include "app/settings/SkinRecord.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"
#include "platform/Trace.h"
#include "support/LocalUpdateServer.h"
#include "ui/CControlUI.h"
#include "ui/CDialogBuilder.h"
#include "ui/CHeadlessDriver.h"
#include "ui/CResourceManager.h"
#include "ui/CTabLayoutUI.h"
#include "ui/WindowImplBase.h"
#include "ui/controls/CUpdateInfoListItemUI.h"
#include "ui/controls/ProgramControls.h"
#include "update/UpdateDateFile.h"

namespace fs = std::filesystem;

namespace {

using app::CSetWnd;
using app::UpdatePage;
using testsupport::LocalUpdateServer;

// Stands in for the main window: owns the settings window and counts what it is told.
class SettingsOwnerWnd : public ui::WindowImplBase {
public:
    std::string GetWindowClassName() const override { return "OwnerWnd"; }
    int updateMarksCleared = 0;
    std::vector<std::uintptr_t> languagesAsked;

protected:
    std::string GetSkinFile() override {
        return R"(<Window size="1000,640"><VerticalLayout name="root" bkimage="common/background.png">
                    <Label name="text_test" visible="false"/><Button name="skinbtn" width="30" height="30"/>
                  </VerticalLayout></Window>)";
    }
    std::intptr_t HandleCustomMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t, bool& handled) override {
        handled = msg == app::kMsgClearUpdateMark || msg == app::kMsgApplyLanguage;
        if (msg == app::kMsgClearUpdateMark) ++updateMarksCleared;
        if (msg == app::kMsgApplyLanguage) languagesAsked.push_back(wParam);
        return 0;
    }
};

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tx512-settings-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ::setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        const fs::path resources = fs::path(TX512_SOURCE_DIR) / "resources";
        platform::SetProgramDir(resources);
        ui::CResourceManager& skin = ui::CResourceManager::GetInstance();
        skin.Release();
        ui::CDialogBuilder::ClearCache();
        skin.SetResourcePath(resources / "skin");
        ASSERT_TRUE(skin.LoadResource("res.xml"));
        ASSERT_TRUE(skin.LoadLanguage("lan_en.xml"));
        ui::RegisterProgramControls();
        platform::SetTraceSink([this](std::string_view text) { trace_.emplace_back(text); });
        ASSERT_TRUE(owner_.Create(0, "owner", 0, 0, 100, 50, 1000, 640));
        owner_.ShowWindow(true);
        driver_.RunPending();
    }
    void TearDown() override {
        window_.reset();
        owner_.DestroyWindow();
        platform::SetTraceSink({});
        platform::SetProgramDir({});
        ui::CResourceManager::GetInstance().Release();
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "LANG", "LC_ALL", "LC_MESSAGES"})
            ::unsetenv(name);
        fs::remove_all(dir_);
    }

    // The keyboard (firmware 0x0105) and the program (version 10).
    static std::vector<update::UpdateProduct> Rows() {
        auto rows = update::UpdateProductTable();
        rows[1].version = 0x0105;
        rows[3].version = 10;
        return {rows[1], rows[3]};
    }
    // Opens the window (not modally) and lets its check run to the end.
    void Open(const update::UpdateService& service) {
        CSetWnd::Setup setup;
        setup.owner = owner_.GetHWND();
        setup.rows = Rows();
        setup.service = service;
        window_ = std::make_unique<CSetWnd>(std::move(setup));
        ASSERT_TRUE(window_->Create(owner_.GetHWND(), "SetWnd", 0, 0, 0, 0, CSetWnd::kWidth, CSetWnd::kHeight));
        window_->ShowWindow(true);
        // The check runs on its own thread against the local stand-in service.
        test_support::Eventually([&] {
            driver_.RunPending();
            return window_->Page().OverallStatus() != UpdatePage::kChecking;
        });
    }
    ui::CControlUI* Find(const std::string& name) { return window_->GetPaintManager().FindControl(name); }
    std::string Text(const std::string& name) { return Find(name)->GetText(); }
    std::string EntryText(std::size_t k, const std::string& name) {
        return window_->Page().Entry(k)->FindSubControl(name)->GetText();
    }
    void Click(const std::string& name) {
        window_->GetPaintManager().SendNotify(Find(name), "click");
        driver_.RunPending();
    }
    // The stand-in service over TLS, trusted through the CA-file setting.
    std::unique_ptr<LocalUpdateServer> Serve(const Json::Value& script) {
        if (!authority_) authority_ = std::make_unique<testsupport::TestAuthority>();
        EXPECT_TRUE(authority_->Ready()) << "the openssl tool is needed";
        auto server = std::make_unique<LocalUpdateServer>(script, authority_->ServerCert(),
                                                          authority_->ServerKey());
        EXPECT_TRUE(server->Running());
        return server;
    }
    update::UpdateService Service(const LocalUpdateServer& server) const {
        return update::UpdateService{server.BaseUrl(), authority_->CaFile().string(), {}};
    }
    static Json::Value Script(const std::string& keyboard, const std::string& others) {
        Json::Value script;
        script["answers"].append(LocalUpdateServer::Answer("QX20P51C", keyboard));
        script["default"]["body"] = others;
        return script;
    }

    fs::path dir_;
    ui::CHeadlessDriver driver_;
    SettingsOwnerWnd owner_;
    std::unique_ptr<CSetWnd> window_;
    std::vector<std::string> trace_;
    std::unique_ptr<testsupport::TestAuthority> authority_;
};

TEST_F(SettingsWindowTest, WithoutAServiceNothingIsAskedAndEveryEntrySaysSo) {
    Open(update::UpdateService{});
    EXPECT_EQ(window_->Page().OverallStatus(), UpdatePage::kNoAnswer);
    EXPECT_EQ(Text("Update_Status_text"), "The update service did not answer");
    EXPECT_FALSE(Find("update_status_ring")->IsVisible());
    for (std::size_t k = 0; k < 2; ++k) {
        EXPECT_EQ(EntryText(k, "update_status_text"), "The update service did not answer") << k;
        EXPECT_FALSE(window_->Page().Entry(k)->IsTickEnabled()) << k;
    }
    EXPECT_EQ(EntryText(0, "OldRev"), "V0105");
    EXPECT_EQ(EntryText(1, "check_name_select"), "AP");
    EXPECT_FALSE(Find("update_fw_and_ap")->IsVisible());
    EXPECT_EQ(owner_.updateMarksCleared, 0);
    // Nothing is being updated: a close goes through.
    window_->SendMessage(ui::WM_CLOSE, 0, 0);
    EXPECT_FALSE(window_->IsWindow());
}

TEST_F(SettingsWindowTest, ConfirmedEntriesHoldTheWindowOpenExceptForTheSystemCloseCommand) {
    const auto server =
        Serve(Script(R"({"name":"kb","version":"106","path":"https://127.0.0.1/k"})",
                     R"({"name":"ap","version":"10"})"));
    Open(Service(*server));
    ASSERT_EQ(window_->Page().OverallStatus(), UpdatePage::kHaveUpdates);
    ui::CUpdateInfoListItemUI* keyboard = window_->Page().Entry(0);
    EXPECT_EQ(keyboard->GetStatus(), 1);
    EXPECT_TRUE(keyboard->IsTicked());
    EXPECT_EQ(keyboard->GetUserData(), "https://127.0.0.1/k");
    EXPECT_EQ(EntryText(0, "updateRev"), "V106");
    EXPECT_EQ(window_->Page().Entry(1)->GetStatus(), 7);
    EXPECT_TRUE(Find("update_fw_and_ap")->IsVisible());

    // Untick and tick: the button follows.
    keyboard->SetTicked(false, true);
    driver_.RunPending();
    EXPECT_FALSE(Find("update_fw_and_ap")->IsVisible());
    keyboard->SetTicked(true, true);
    driver_.RunPending();
    Click("update_fw_and_ap");
    auto* tabs = static_cast<ui::CTabLayoutUI*>(Find("get_update_tab_layout")->GetInterface("TabLayout"));
    EXPECT_EQ(tabs->GetCurSel(), 1) << "the confirmation";
    Click("update_OK_btn");
    EXPECT_EQ(keyboard->GetStatus(), 3);
    EXPECT_EQ(EntryText(0, "update_status_text"), "Waiting for the download");
    EXPECT_EQ(tabs->GetCurSel(), 0);
    EXPECT_FALSE(Find("update_fw_and_ap")->IsEnabled());

    window_->SendMessage(ui::WM_CLOSE, 0, 0);
    EXPECT_TRUE(window_->IsWindow()) << "refused while an entry waits for its download";
    Click("laterbtn");
    EXPECT_TRUE(window_->IsWindow());
    window_->SendMessage(ui::WM_SYSCOMMAND, ui::SC_CLOSE, 0);
    EXPECT_FALSE(window_->IsWindow());
    EXPECT_TRUE(owner_.IsWindow()) << "only the settings window closes";
}

TEST_F(SettingsWindowTest, TheUpToDateLineKeepsTheCheckDateAcrossALanguageChange) {
    const auto server =
        Serve(Script(R"({"name":"kb","version":"105"})", R"({"name":"ap","version":"9"})"));
    Open(Service(*server));
    ASSERT_EQ(window_->Page().OverallStatus(), UpdatePage::kUpToDate);
    const std::string today = update::UpdateDateFile::Today();
    EXPECT_EQ(Text("Update_Status_text"), "Everything is up to date. Last checked: " + today);
    EXPECT_EQ(owner_.updateMarksCleared, 1) << "the main window's update mark goes";
    EXPECT_EQ(update::UpdateDateFile::ReadOrCreate("never"), today);

    ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_cn.xml"));
    ui::CResourceManager::GetInstance().ReloadText();
    window_->SendMessage(app::kMsgApplyLanguage, 0, 0);
    EXPECT_EQ(Text("Update_Status_text"), "已是最新版本，上次检查：" + today);

    // Reports about an entry being updated mean nothing while none is.
    for (std::uintptr_t report : {1u, 2u, 4u}) window_->SendMessage(app::kUpdateRelayMessage, report, 50);
    EXPECT_EQ(window_->Page().Entry(0)->GetStatus(), 7);
    EXPECT_EQ(window_->Page().OverallStatus(), UpdatePage::kUpToDate);

    // The language list sends the pick to the main window.
    window_->GetPaintManager().SendNotify(Find("Language_combox_info"), "itemselect", 2, 1);
    EXPECT_EQ(owner_.languagesAsked, std::vector<std::uintptr_t>{2});
}

TEST_F(SettingsWindowTest, AFailingServiceIsNoAnswerAndKeepsTheDateOfTheLastCheck) {
    ASSERT_TRUE(update::UpdateDateFile::Write("2020-1-2"));
    Json::Value script =
        Script(R"({"name":"kb","version":"106"})", R"({"name":"ap","version":"99"})");
    script["answers"][0]["status"] = 500;
    script["default"]["status"] = 302;
    script["default"]["headers"]["Location"] = "https://127.0.0.1/";
    const auto server = Serve(script);
    Open(Service(*server));
    EXPECT_EQ(window_->Page().OverallStatus(), UpdatePage::kNoAnswer);
    EXPECT_EQ(Text("Update_Status_text"), "The update service did not answer");
    for (std::size_t k = 0; k < 2; ++k) {
        EXPECT_EQ(EntryText(k, "update_status_text"), "The update service did not answer") << k;
        EXPECT_FALSE(window_->Page().Entry(k)->IsTicked()) << k;
    }
    EXPECT_EQ(server->Requests().size(), 2u);
    EXPECT_EQ(update::UpdateDateFile::ReadOrCreate("never"), "2020-1-2");
    EXPECT_EQ(owner_.updateMarksCleared, 0);
}

TEST_F(SettingsWindowTest, APlainAddressIsRefusedNamingItsSetting) {
    update::UpdateService service;
    service.refusedSetting = "UpdateURL";
    Open(service);
    EXPECT_EQ(window_->Page().OverallStatus(), UpdatePage::kNoAnswer);
    EXPECT_EQ(
        Text("Update_Status_text"),
        "The update service's address must begin with https://. Change the setting: UpdateURL");
    EXPECT_EQ(EntryText(0, "update_status_text"), "The update service did not answer");
    ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_tw.xml"));
    ui::CResourceManager::GetInstance().ReloadText();
    window_->SendMessage(app::kMsgApplyLanguage, 0, 0);
    EXPECT_EQ(Text("Update_Status_text"),
              "更新服務的位址必須以 https:// 開頭，請修改設定： UpdateURL");
}

TEST_F(SettingsWindowTest, OpensBesideTheMainWindowOrCentredAtItsScale) {
    app::SettingsWindows windows(app::SettingsWindows::Host{
        &owner_.GetPaintManager(), [this] { return owner_.GetHWND(); }, [] { return nullptr; }, nullptr, {}});
    ui::Rect seen;
    int opened = 0;
    driver_.OnIdle([&] {
        auto* open = ui::CWindowWnd::FromHandle(windows.SettingsHandle());
        if (open == nullptr || !open->IsWindowVisible()) return false;
        seen = open->GetWindowRect();
        ++opened;
        windows.OpenSettingsWindow(true);  // a second one is refused
        open->SendMessage(ui::WM_SYSCOMMAND, ui::SC_CLOSE, 0);
        return true;
    });
    windows.OpenSettingsWindow(false);
    EXPECT_EQ(seen, (ui::Rect{1100 - 630 - 30, 50 + 60, 1100 - 30, 50 + 60 + 500}));
    windows.OpenSettingsWindow(true);
    EXPECT_EQ(seen, (ui::Rect{100 + 185, 50 + 70, 100 + 185 + 630, 50 + 70 + 500}));
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(windows.SettingsHandle(), 0u);

    owner_.GetPaintManager().SetDPI(144);
    const ui::Rect main = owner_.GetWindowRect();
    windows.OpenSettingsWindow(false);
    EXPECT_EQ(seen.Width(), 945);
    EXPECT_EQ(seen.left, main.right - 945 - 45);
    EXPECT_EQ(seen.top, main.top + 90);
    driver_.OnIdle({});
}

TEST_F(SettingsWindowTest, TheUpdateRowsAreTheConnectedDevicesAndTheProgram) {
    const auto rows = app::SettingsWindows::PrepareUpdateProducts(nullptr);
    ASSERT_EQ(rows.size(), 1u) << "no device connected";
    EXPECT_EQ(rows[0].model, "ALL");
    EXPECT_EQ(rows[0].version, update::InstalledAppVersion());
}

TEST_F(SettingsWindowTest, FirstStartFollowsTheLocaleUntilAChoiceIsSaved) {
    EXPECT_EQ(app::LocaleLanguage::IdForLocale("zh_CN.UTF-8"), app::LocaleLanguage::kSimplifiedChinese);
    EXPECT_EQ(app::LocaleLanguage::IdForLocale("zh_SG"), app::LocaleLanguage::kSimplifiedChinese);
    for (const char* traditional : {"zh_TW.UTF-8", "zh_HK", "zh_MO.Big5@x"})
        EXPECT_EQ(app::LocaleLanguage::IdForLocale(traditional), app::LocaleLanguage::kTraditionalChinese);
    for (const char* english : {"en_US.UTF-8", "C", "POSIX", "de_DE", "zh", ""})
        EXPECT_EQ(app::LocaleLanguage::IdForLocale(english), app::LocaleLanguage::kEnglish) << english;

    app::LanguageManager languages(owner_.GetPaintManager());
    ::setenv("LANG", "zh_TW.UTF-8", 1);
    EXPECT_EQ(languages.ReadSavedLanguage(), 2);
    ::setenv("LC_MESSAGES", "zh_CN.UTF-8", 1);
    EXPECT_EQ(languages.ReadSavedLanguage(), 0) << "LC_MESSAGES before LANG";
    ::setenv("LC_ALL", "en_GB.UTF-8", 1);
    EXPECT_EQ(languages.ReadSavedLanguage(), 1) << "LC_ALL first";
    EXPECT_FALSE(languages.HasSavedChoice());
    languages.ApplyLanguage(1, false);
    EXPECT_FALSE(languages.HasSavedChoice()) << "following the locale is not a choice";
    languages.ApplyLanguage(2);
    EXPECT_EQ(platform::SettingsStore().Get("LANGUAGE").value_or(""), "1028");
    ::setenv("LC_ALL", "zh_CN.UTF-8", 1);
    EXPECT_EQ(languages.ReadSavedLanguage(), 2) << "a saved choice wins";
}

TEST_F(SettingsWindowTest, TheSkinRecordRestoresOnlyAChosenPlainImage) {
    EXPECT_FALSE(app::SkinRecord::Restorable().has_value()) << "nothing recorded";
    ASSERT_TRUE(app::SkinRecord::Write(true, "common/background.png"));
    EXPECT_EQ(app::SkinRecord::Restorable().value_or(""), "common/background.png");
    ASSERT_TRUE(app::SkinRecord::Write(false, app::SkinRecord::kDefaultImage));
    EXPECT_FALSE(app::SkinRecord::Restorable().has_value()) << "a reset is not restored";
    // What the image syntax would read as attributes is not taken from the file.
    std::ofstream(app::SkinRecord::File()) << "[SKINIMAGE]\nFLAGS=1\nIMAGE=x.png' corner='1,1,1,1\n";
    EXPECT_FALSE(app::SkinRecord::Restorable().has_value());

    ui::CControlUI* root = owner_.GetPaintManager().FindControl("root");
    app::SkinRecord::Apply(owner_.GetPaintManager(), {true, 0xFF102030, {}});
    EXPECT_EQ(root->GetBkColor(), 0xFF102030u);
    EXPECT_EQ(root->GetBkImage(), "");
    app::SkinRecord::Apply(owner_.GetPaintManager(), {false, 0, "common/background.png"});
    EXPECT_EQ(root->GetBkColor(), 0u);
    EXPECT_EQ(root->GetBkImage(), "common/background.png");
}

}  // namespace
