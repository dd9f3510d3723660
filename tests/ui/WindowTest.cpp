// SPDX-License-Identifier: GPL-3.0-or-later
// Windows built from skin files: creation order, modal runs and their codes, closing,
// messages from other threads, window timers, sizes and DPI, menus and the tray icon.
#include "UiTestSupport.h"

#include <atomic>
#include <thread>

#include "ui/CMenuWnd.h"
#include "ui/CTrayIcon.h"
#include "ui/WindowImplBase.h"

namespace {

using namespace ui;

constexpr const char* kMsgLayout = R"(<Window size="400,200">
  <VerticalLayout name="root">
    <HorizontalLayout height="30"><Label name="MessageTitle" text="title"/>
      <Button name="maxbtn" width="30"/><Button name="restorebtn" width="30" visible="false"/>
      <Button name="closebtn" width="30"/></HorizontalLayout>
    <Label name="MessageText"/>
    <HorizontalLayout height="40"><Button name="confirm_btn"/><Button name="cancel_btn"/></HorizontalLayout>
  </VerticalLayout></Window>)";

class TestWnd : public WindowImplBase {
public:
    explicit TestWnd(std::vector<std::string>* log) : log_(log) {}
    std::string GetWindowClassName() const override { return "MsgWnd"; }
    std::string GetSkinFile() override { return "XML_MSG"; }
    void InitWindow() override {
        log_->push_back(std::string("InitWindow root=") + (m_pm.GetRoot() != nullptr ? "yes" : "no"));
    }
    void Notify(TNotifyUI& msg) override {
        if (msg.sType == "windowinit" || msg.sType == "windowsize")
            log_->push_back(msg.sType + ":" + msg.pSender->GetName());
        if (msg.sType == "click" && msg.pSender->GetName() == "confirm_btn") {
            if (onConfirm) onConfirm();
            Close(1);
            return;
        }
        if (msg.sType == "click" && msg.pSender->GetName() == "cancel_btn") {
            Close(0);
            return;
        }
        WindowImplBase::Notify(msg);
    }
    std::intptr_t HandleCustomMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                                      bool& handled) override {
        if (msg == 0xC11 || msg == WM_TIMER || msg == WM_MENUCLICK) {
            std::string entry = "msg " + std::to_string(msg) + " " + std::to_string(wParam);
            if (msg == WM_MENUCLICK) entry = "menu " + reinterpret_cast<const MenuCmd*>(wParam)->szName;
            log_->push_back(entry);
            handled = true;
            return static_cast<std::intptr_t>(wParam) + lParam;
        }
        return WindowImplBase::HandleCustomMessage(msg, wParam, lParam, handled);
    }
    std::intptr_t OnClose(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam,
                          bool& handled) override {
        if (refuseClose) {
            handled = true;
            log_->push_back("close refused");
            return 0;
        }
        return WindowImplBase::OnClose(msg, wParam, lParam, handled);
    }
    void OnFinalMessage(WindowHandle hWnd) override {
        WindowImplBase::OnFinalMessage(hWnd);
        log_->push_back("final");
        if (deleteSelf) delete this;
    }
    CControlUI* Control(const char* name) { return m_pm.FindControl(name); }

    bool refuseClose = false;
    bool deleteSelf = false;
    std::function<void()> onConfirm;

private:
    std::vector<std::string>* log_;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        skin.Write("msg.xml", kMsgLayout);
        skin.Write("menu.xml", R"(<Menu width="120"><MenuElement name="about_menu" text="About" height="20"/>
            <MenuElement name="setwnd_menu" text="Settings" height="20"/>
            <MenuElement name="exit" text="Exit" height="20"/></Menu>)");
        skin.Write("res.xml", R"(<Res><XML id="XML_MSG" path="msg.xml"/></Res>)");
        ASSERT_TRUE(CResourceManager::GetInstance().LoadResource("res.xml"));
    }
    uitest::ScratchSkin skin;
    CHeadlessDriver driver;
    std::vector<std::string> log;
};

TEST_F(WindowTest, LayoutIsBuiltBeforeInitWindowAndWindowinitFollows) {
    TestWnd wnd(&log);
    ASSERT_TRUE(wnd.Create(0, "msgwnd", 0, 0));
    EXPECT_EQ(log, std::vector<std::string>{"InitWindow root=yes"});
    EXPECT_EQ(wnd.GetWindowRect().Width(), 400) << "the layout's size";
    driver.RunPending();
    EXPECT_EQ(log, (std::vector<std::string>{"InitWindow root=yes", "windowinit:root"}));
    EXPECT_NE(wnd.Control("confirm_btn")->GetPos().Width(), 0);
    wnd.ResizeClient(500, 300);
    EXPECT_EQ(log.back(), "windowsize:root");
    EXPECT_EQ(wnd.GetPaintManager().GetClientSize(), (Size{500, 300}));
}

TEST_F(WindowTest, ModalRunReturnsTheCloseCode) {
    TestWnd wnd(&log);
    ASSERT_TRUE(wnd.Create(0, "msgwnd", 0, 0));
    driver.OnIdle([&] { return driver.Click(wnd.Control("confirm_btn")); });
    EXPECT_EQ(wnd.ShowModal(), 1);
    EXPECT_FALSE(wnd.IsWindow());
    EXPECT_EQ(log.back(), "final");

    // The title-bar close button closes with 0 by default.
    TestWnd second(&log);
    ASSERT_TRUE(second.Create(0, "msgwnd", 0, 0));
    driver.OnIdle([&] { return driver.Click(second.Control("closebtn")); });
    EXPECT_EQ(second.ShowModal(), 0);
}

TEST_F(WindowTest, RefusedCloseKeepsTheModalRunGoing) {
    TestWnd wnd(&log);
    ASSERT_TRUE(wnd.Create(0, "msgwnd", 0, 0));
    wnd.refuseClose = true;
    int step = 0;
    driver.OnIdle([&] {
        ++step;
        if (step == 1) return driver.Click(wnd.Control("cancel_btn"));
        wnd.refuseClose = false;
        return driver.Click(wnd.Control("confirm_btn"));
    });
    EXPECT_EQ(wnd.ShowModal(), 1);
    EXPECT_NE(std::find(log.begin(), log.end(), "close refused"), log.end());
    EXPECT_EQ(step, 2);
}

TEST_F(WindowTest, NestedModalsAndTheDisabledOwner) {
    auto* owner = new TestWnd(&log);
    owner->deleteSelf = true;
    ASSERT_TRUE(owner->Create(0, "owner", 0, 0));
    const WindowHandle ownerHandle = owner->GetHWND();
    driver.RunPending();
    int innerCode = -2;
    bool ownerInputDuringModal = true;
    owner->onConfirm = [&] {
        // From the owner's own handler: a second modal window owned by it.
        TestWnd inner(&log);
        ASSERT_TRUE(inner.Create(ownerHandle, "inner", 0, 0));
        driver.OnIdle([&] {
            ownerInputDuringModal = owner->GetPaintManager().IsInputEnabled();
            return driver.Click(inner.Control("cancel_btn"));
        });
        innerCode = inner.ShowModal();
        driver.OnIdle(nullptr);
    };
    driver.OnIdle([&] { return driver.Click(owner->Control("confirm_btn")); });
    // The owner itself runs modally and deletes itself when closed.
    EXPECT_EQ(owner->ShowModal(), 1);
    EXPECT_EQ(innerCode, 0);
    EXPECT_FALSE(ownerInputDuringModal);
    EXPECT_EQ(CWindowWnd::FromHandle(ownerHandle), nullptr);
}

TEST_F(WindowTest, MessagesFromWorkersAndWindowTimers) {
    TestWnd wnd(&log);
    ASSERT_TRUE(wnd.Create(0, "main", 0, 0));
    driver.RunPending();
    const WindowHandle h = wnd.GetHWND();
    std::atomic<std::intptr_t> answer{-1};
    std::thread worker([&] { answer = CMessageLoop::SendMessage(h, 0xC11, 3, 4); });
    // A modal run on the UI thread serves the worker's send; once handled, close.
    driver.OnIdle([&] {
        if (std::find(log.begin(), log.end(), "msg 3089 3") == log.end()) return false;
        return driver.Click(wnd.Control("confirm_btn"));
    });
    EXPECT_EQ(wnd.ShowModal(), 1);
    worker.join();
    EXPECT_EQ(answer, 7);

    TestWnd timed(&log);
    ASSERT_TRUE(timed.Create(0, "timed", 0, 0));
    log.clear();
    timed.SetTimer(1011, 100);
    driver.Advance(250);
    EXPECT_EQ(log, (std::vector<std::string>{"windowinit:root", "msg 275 1011", "msg 275 1011"}));
    timed.KillTimer(1011);
    driver.Advance(250);
    EXPECT_EQ(log.size(), 3u);
}

TEST_F(WindowTest, DpiScalesTheWindowAndItsLayout) {
    TestWnd wnd(&log);
    ASSERT_TRUE(wnd.Create(0, "main", 0, 0, 0, 0, 1000, 640));
    driver.RunPending();
    const int buttonHeight = wnd.Control("confirm_btn")->GetPos().Height();
    wnd.GetPaintManager().SetDPI(144);
    EXPECT_EQ(wnd.GetWindowRect().Width(), 1500);
    EXPECT_EQ(wnd.GetWindowRect().Height(), 960);
    wnd.GetPaintManager().EnsureLayout();
    EXPECT_EQ(wnd.Control("confirm_btn")->GetPos().Height(), buttonHeight * 3 / 2);
    // Centring over the screen.
    CWindowWnd::SetScreenRect(Rect{0, 0, 1920, 1080});
    wnd.CenterWindow();
    EXPECT_EQ(wnd.GetWindowRect().left, 210);
    EXPECT_EQ(wnd.GetWindowRect().top, 60);
    EXPECT_EQ(wnd.GetPaintManager().GetWindowOrigin(), (Point{210, 60})) << "followed the move";
    // Maximise swaps the title buttons.
    wnd.SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
    EXPECT_FALSE(wnd.Control("maxbtn")->IsVisible());
    EXPECT_TRUE(wnd.Control("restorebtn")->IsVisible());
    wnd.SendMessage(WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_TRUE(wnd.Control("maxbtn")->IsVisible());
}

TEST_F(WindowTest, MenusReportTheChosenItemName) {
    TestWnd owner(&log);
    ASSERT_TRUE(owner.Create(0, "main", 0, 0));
    driver.RunPending();
    log.clear();
    CWindowWnd::SetScreenRect(Rect{0, 0, 1920, 1080});
    CMenuWnd* menu = CMenuWnd::CreateMenu(owner.GetHWND(), "menu.xml", Point{1900, 1000},
                                          eMenuAlignment_Right | eMenuAlignment_Bottom);
    ASSERT_NE(menu, nullptr);
    const WindowHandle menuHandle = menu->GetHWND();
    EXPECT_EQ(menu->GetItemNames(), (std::vector<std::string>{"about_menu", "setwnd_menu", "exit"}));
    // Right/bottom alignment: the menu ends at the anchor.
    EXPECT_EQ(menu->GetWindowRect(), (Rect{1780, 940, 1900, 1000}));
    // A click on an item.
    driver.Click(menu->GetPaintManager().FindControl("exit"));
    EXPECT_EQ(log, std::vector<std::string>{"menu exit"});
    EXPECT_FALSE(CMenuWnd::IsOpen(menuHandle)) << "closed (and deleted) after the choice";

    // Losing the focus closes a menu without a choice; Choose picks by name.
    log.clear();
    menu = CMenuWnd::CreateMenu(owner.GetHWND(), "menu.xml", Point{10, 10});
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetWindowRect().left, 10);
    TInputEvent focusOut;
    focusOut.kind = TInputEvent::Kind::WindowFocusOut;
    WindowHandle second = menu->GetHWND();
    menu->HandleInput(focusOut);
    driver.RunPending();
    EXPECT_FALSE(CMenuWnd::IsOpen(second));
    EXPECT_TRUE(log.empty());
    menu = CMenuWnd::CreateMenu(owner.GetHWND(), "menu.xml", Point{10, 10});
    ASSERT_NE(menu, nullptr);
    EXPECT_FALSE(menu->Choose("no_such_item"));
    EXPECT_TRUE(menu->Choose("setwnd_menu"));
    driver.RunPending();
    EXPECT_EQ(log, std::vector<std::string>{"menu setwnd_menu"});
    EXPECT_EQ(CMenuWnd::CreateMenu(owner.GetHWND(), "missing.xml", Point{}), nullptr);

    // Keys: down to an item and Return chooses it; Escape closes without a choice.
    log.clear();
    menu = CMenuWnd::CreateMenu(owner.GetHWND(), "menu.xml", Point{10, 10});
    ASSERT_NE(menu, nullptr);
    driver.Key(menu->GetPaintManager(), vk::Down);
    driver.Key(menu->GetPaintManager(), vk::Return);
    EXPECT_EQ(log, std::vector<std::string>{"menu about_menu"});
    log.clear();
    menu = CMenuWnd::CreateMenu(owner.GetHWND(), "menu.xml", Point{10, 10});
    ASSERT_NE(menu, nullptr);
    const WindowHandle escaped = menu->GetHWND();
    driver.Key(menu->GetPaintManager(), vk::Escape);
    EXPECT_FALSE(CMenuWnd::IsOpen(escaped));
    EXPECT_TRUE(log.empty());
}

TEST_F(WindowTest, TrayClicksReachTheOwner) {
    TestWnd owner(&log);
    ASSERT_TRUE(owner.Create(0, "main", 0, 0));
    driver.RunPending();
    log.clear();
    CTrayIcon tray;
    EXPECT_FALSE(tray.Click(WM_LBUTTONUP)) << "no icon yet";
    tray.CreateTrayIcon(owner.GetHWND(), 107, "TELIX TX512 keyboard Driver", 0xC11);
    EXPECT_TRUE(tray.Click(WM_RBUTTONUP));
    driver.RunPending();
    EXPECT_EQ(log, std::vector<std::string>{"msg 3089 107"});
    tray.DeleteTrayIcon();
    EXPECT_FALSE(tray.Click(WM_LBUTTONUP));
}

}  // namespace
