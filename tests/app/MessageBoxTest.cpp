// SPDX-License-Identifier: GPL-3.0-or-later
// The message box: buttons per mode, answers, DPI, placement, closing from outside, the
// scripted answers of headless runs, and formatting of untrusted translations.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "app/CMsgWnd.h"
#include "app/MessageBox.h"
#include "platform/Trace.h"
#include "ui/CControlUI.h"
#include "ui/CDialogBuilder.h"
#include "ui/CHeadlessDriver.h"
#include "ui/CResourceManager.h"
#include "ui/WindowImplBase.h"

namespace {

using app::CMsgWnd;

// Stands in for the main window: something to own the box and to translate through.
class OwnerWnd : public ui::WindowImplBase {
public:
    std::string GetWindowClassName() const override { return "OwnerWnd"; }

protected:
    std::string GetSkinFile() override {
        return R"(<Window size="800,600"><VerticalLayout>
                    <Label name="text_test" visible="false"/><Control/>
                  </VerticalLayout></Window>)";
    }
};

// What the box looked like while it was waiting for the user.
struct Seen {
    bool shown = false;
    bool confirmVisible = false;
    bool cancelVisible = false;
    bool ownerInputEnabled = true;
    std::string title;
    std::string text;
    bool markup = false;
    int dpi = 0;
    ui::Rect rect;
};

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::CResourceManager& resources = ui::CResourceManager::GetInstance();
        resources.Release();
        ui::CDialogBuilder::ClearCache();
        resources.SetResourcePath(std::filesystem::path(TX512_SOURCE_DIR) / "resources" / "skin");
        ASSERT_TRUE(resources.LoadResource("res.xml"));
        ASSERT_TRUE(resources.LoadLanguage("lan_en.xml"));
        platform::SetTraceSink([this](std::string_view text) { trace.emplace_back(text); });
        ASSERT_TRUE(owner.Create(0, "owner", 0, 0, 300, 200, 800, 600));
        owner.ShowWindow(true);
        driver.RunPending();
    }
    void TearDown() override {
        app::MessageBoxScript::Uninstall();
        platform::SetTraceSink({});
        owner.DestroyWindow();
        ui::CResourceManager::GetInstance().Release();
        EXPECT_TRUE(CMsgWnd::OpenBoxes().empty()) << "a box outlived its call";
    }

    // Answers the next box by clicking `button` once it is up; `seen` tells what it showed.
    void AnswerWith(const std::string& button) {
        seen = Seen{};
        driver.OnIdle([this, button] {
            CMsgWnd* box = CMsgWnd::Newest();
            if (box == nullptr || seen.shown) return false;
            ui::CPaintManagerUI& pm = box->GetPaintManager();
            seen.shown = true;
            seen.confirmVisible = pm.FindControl("confirm_btn")->IsVisible();
            seen.cancelVisible = pm.FindControl("cancel_btn")->IsVisible();
            seen.ownerInputEnabled = owner.GetPaintManager().IsInputEnabled();
            seen.title = pm.FindControl("MessageTitle")->GetText();
            seen.text = pm.FindControl("MessageText")->GetText();
            seen.markup = pm.FindControl("MessageText")->IsShowHtml();
            seen.dpi = pm.GetDPI();
            seen.rect = box->GetWindowRect();
            return driver.Click(pm.FindControl(button));
        });
    }

    ui::CHeadlessDriver driver;
    OwnerWnd owner;
    Seen seen;
    std::vector<std::string> trace;
};

TEST_F(MessageBoxTest, ButtonsFollowTheModeAndEachButtonGivesItsAnswer) {
    AnswerWith("closebtn");
    EXPECT_EQ(app::ShowKeyedMessage(owner.GetHWND(), "message_text_22", 96, 0), 0);
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(seen.confirmVisible);
    EXPECT_FALSE(seen.cancelVisible) << "mode 0 has no cancel button";
    EXPECT_FALSE(seen.ownerInputEnabled) << "the box is modal";
    EXPECT_TRUE(owner.GetPaintManager().IsInputEnabled()) << "the owner is usable again";
    EXPECT_EQ(seen.text,
              "Restore this device's factory settings? The changes in this profile will be lost.");
    EXPECT_TRUE(seen.markup);
    EXPECT_EQ(seen.title, ui::CResourceManager::GetInstance().GetText("message_title_text"))
        << "no title given: the layout's stays";

    AnswerWith("confirm_btn");
    EXPECT_EQ(app::ShowKeyedMessage(owner.GetHWND(), "message_text_22", 96, 1), 1);
    EXPECT_TRUE(seen.confirmVisible);
    EXPECT_TRUE(seen.cancelVisible);

    AnswerWith("cancel_btn");
    EXPECT_EQ(app::ShowMessage(owner.GetHWND(), "Question", "plain words", 96, true, 1), 0);
    EXPECT_EQ(seen.title, "Question");
    EXPECT_EQ(seen.text, "plain words");

    // An unknown mode keeps the layout's buttons (both).
    AnswerWith("confirm_btn");
    EXPECT_EQ(app::ShowMessage(0, {}, "message_text_22", 96, true, 7), 1);
    EXPECT_TRUE(seen.confirmVisible);
    EXPECT_TRUE(seen.cancelVisible);
}

TEST_F(MessageBoxTest, BoxIsCentredOverItsOwnerAndScaledByTheDpi) {
    AnswerWith("confirm_btn");
    app::ShowKeyedMessage(owner.GetHWND(), "message_text_5", 100, 0);
    EXPECT_EQ(seen.dpi, 96) << "100 is not a DPI the box supports";
    EXPECT_EQ(seen.rect.Width(), 400);
    EXPECT_EQ(seen.rect.Height(), 220);
    EXPECT_EQ(seen.rect.left + seen.rect.Width() / 2, 300 + 400);
    EXPECT_EQ(seen.rect.top + seen.rect.Height() / 2, 200 + 300);
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "MSG_WND DPI SET ERROR"), 1);

    trace.clear();
    AnswerWith("confirm_btn");
    app::ShowKeyedMessage(owner.GetHWND(), "message_text_5", 144, 0);
    EXPECT_EQ(seen.dpi, 144);
    EXPECT_EQ(seen.rect.Width(), 600);
    EXPECT_EQ(seen.rect.Height(), 330);
    EXPECT_EQ(owner.GetPaintManager().GetDPI(), 144) << "the DPI applies to every window";
    // The owner grew with the scale; the box is centred over it as it is now.
    const ui::Rect ownerRect = owner.GetWindowRect();
    EXPECT_EQ(ownerRect.Width(), 1200);
    EXPECT_EQ(seen.rect.left + seen.rect.Width() / 2, ownerRect.left + ownerRect.Width() / 2);
    EXPECT_EQ(seen.rect.top + seen.rect.Height() / 2, ownerRect.top + ownerRect.Height() / 2);
    EXPECT_TRUE(trace.empty());
}

TEST_F(MessageBoxTest, ClosingTheBoxFromOutsideCancelsAndLeavesTheOwnerAlone) {
    driver.OnIdle([] {
        CMsgWnd* box = CMsgWnd::Newest();
        if (box == nullptr) return false;
        box->SendMessage(ui::WM_SYSCOMMAND, ui::SC_CLOSE, 0);
        return true;
    });
    EXPECT_EQ(app::ShowKeyedMessage(owner.GetHWND(), "message_text_22", 96, 1), 0);
    EXPECT_TRUE(owner.IsWindow());
    EXPECT_TRUE(owner.IsWindowVisible());

    // A box whose loop is quit under it gives no "yes" and does not stay behind.
    driver.OnIdle([this] {
        if (CMsgWnd::Newest() == nullptr || driver.Loop().IsQuitting()) return false;
        driver.Loop().PostQuitMessage(0);
        return true;
    });
    EXPECT_EQ(app::ShowKeyedMessage(owner.GetHWND(), "message_text_22", 96, 1), 0);
}

TEST_F(MessageBoxTest, ScriptAnswersBoxesAtOnceAndRecordsWhatTheyShowed) {
    app::MessageBoxScript::Install();
    app::MessageBoxScript::QueueAnswer(1);
    driver.OnIdle([] {
        ADD_FAILURE() << "a scripted box waited for the user";
        return false;
    });
    EXPECT_EQ(app::ShowKeyedMessage(owner.GetHWND(), "message_text_22", 96, 1), 1);
    EXPECT_EQ(app::ShowKeyedMessage(owner.GetHWND(), "message_text_4", 96, 1), 0)
        << "nothing queued: cancel";
    EXPECT_EQ(app::ShowFormattedMessage(owner.GetHWND(), owner.GetPaintManager(), "message_text_16",
                                        12, 96),
              0);
    EXPECT_TRUE(CMsgWnd::OpenBoxes().empty());

    const std::vector<app::MessageBoxScript::Shown> shown = app::MessageBoxScript::TakeShown();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].key, "message_text_22");
    EXPECT_EQ(shown[0].text,
              "Restore this device's factory settings? The changes in this profile will be lost.");
    EXPECT_EQ(shown[0].mode, 1);
    EXPECT_EQ(shown[0].answer, 1);
    EXPECT_EQ(shown[1].key, "message_text_4");
    EXPECT_EQ(shown[1].answer, 0);
    EXPECT_EQ(shown[2].key, "message_text_16");
    EXPECT_EQ(shown[2].text,
              "The macros do not fit into the keyboard's memory. Remove at least 12 events and "
              "try again.");
    EXPECT_EQ(shown[2].mode, 0);
    EXPECT_TRUE(app::MessageBoxScript::TakeShown().empty()) << "records are taken once";

    // Without the script the box waits for the user again.
    app::MessageBoxScript::Uninstall();
    AnswerWith("confirm_btn");
    EXPECT_EQ(app::ShowKeyedMessage(owner.GetHWND(), "message_text_22", 96, 1), 1);
    EXPECT_TRUE(seen.shown);
}

TEST_F(MessageBoxTest, FormattedMessageIsShownWithoutMarkup) {
    // A translation that happens to look like markup must show as written.
    ui::CResourceManager::GetInstance().AddText("message_text_16", "<b>%d</b> left");
    AnswerWith("confirm_btn");
    app::ShowFormattedMessage(owner.GetHWND(), owner.GetPaintManager(), "message_text_16", 3, 96);
    EXPECT_FALSE(seen.markup);
    EXPECT_EQ(seen.text, "<b>3</b> left");
    EXPECT_FALSE(seen.cancelVisible);
}

TEST(MessageText, OnlyTheFirstNumberOrTextConversionIsFilled) {
    using app::FormatMessageText;
    EXPECT_EQ(FormatMessageText("Remove %d events", 7), "Remove 7 events");
    EXPECT_EQ(FormatMessageText("%s / %ls / %S", 7), "7 / %ls / %S");
    EXPECT_EQ(FormatMessageText("%ls!", 42), "42!");
    EXPECT_EQ(FormatMessageText("%i %u", -5), "-5 %u");
    EXPECT_EQ(FormatMessageText("no conversion", 7), "no conversion");
    EXPECT_EQ(FormatMessageText("", 7), "");
    // Widths and flags as printf would lay them out.
    EXPECT_EQ(FormatMessageText("[%5d]", 42), "[   42]");
    EXPECT_EQ(FormatMessageText("[%-5d]", 42), "[42   ]");
    EXPECT_EQ(FormatMessageText("[%05d]", -42), "[-0042]");
    EXPECT_EQ(FormatMessageText("[%+d]", 42), "[+42]");
    EXPECT_EQ(FormatMessageText("[%.3s]", 12345), "[12345]");
    EXPECT_EQ(FormatMessageText("%lld", LLONG_MIN), "-9223372036854775808");
}

TEST(MessageText, HostileTranslationsShowLiterallyAndReadNothingElse) {
    using app::FormatMessageText;
    // Conversions that would read or write other arguments are never run.
    EXPECT_EQ(FormatMessageText("%n%d", 7), "%n7");
    EXPECT_EQ(FormatMessageText("%p %x %f %d", 7), "%p %x %f 7");
    EXPECT_EQ(FormatMessageText("%s%s%s%s%s%s", 7), "7%s%s%s%s%s");
    EXPECT_EQ(FormatMessageText("%d %d", 7), "7 %d");
    EXPECT_EQ(FormatMessageText("%*d %.*s %d", 7), "%*d %.*s 7") << "no width argument to read";
    EXPECT_EQ(FormatMessageText("100%% of %d", 7), "100% of 7");
    EXPECT_EQ(FormatMessageText("%%d %d", 7), "%d 7");
    // Cut off at the end of the text.
    EXPECT_EQ(FormatMessageText("50 %", 7), "50 %");
    EXPECT_EQ(FormatMessageText("50 %-0", 7), "50 %-0");
    EXPECT_EQ(FormatMessageText("%l", 7), "%l");
    // A width no layout needs is not honoured (no huge allocation).
    EXPECT_EQ(FormatMessageText("%999999999999d|%d", 7), "%999999999999d|7");
    EXPECT_EQ(FormatMessageText("%256d", 7).size(), 256u);
    // Not a conversion character at all, and multi-byte text around it.
    EXPECT_EQ(FormatMessageText("请删除 %d 个动作 %é", 3), "请删除 3 个动作 %é");
}

}  // namespace
