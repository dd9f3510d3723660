// SPDX-License-Identifier: GPL-3.0-or-later
// The paint manager's timers, asynchronous notifications and the safe removal of
// controls while their notifications are being handled.
#include "UiTestSupport.h"

#include "ui/CButtonUI.h"
#include "ui/CMessageLoop.h"
#include "ui/CListUI.h"
#include "ui/CListLabelElementUI.h"
#include "ui/CVerticalLayoutUI.h"

namespace {

using namespace ui;
using Seen = std::vector<std::string>;

class PaintManagerTest : public uitest::LayoutFixture {};

TEST_F(PaintManagerTest, ControlTimersArriveAsTimerNotifications) {
    Build(R"(<VerticalLayout><Control name="device_tab"/><Control name="other"/></VerticalLayout>)");
    CControlUI* tab = pm.FindControl("device_tab");
    // Timer 1001 once after 500 ms, 1000 every 50 ms: the device tab's pattern.
    ASSERT_TRUE(pm.SetTimer(tab, 1001, 500));
    ASSERT_TRUE(pm.SetTimer(tab, 1000, 50));
    struct OneShot : INotifyUI {
        CPaintManagerUI* pm;
        void Notify(TNotifyUI& msg) override {
            if (msg.sType == "timer" && msg.wParam == 1001) pm->KillTimer(msg.pSender, 1001);
        }
    } oneShot;
    oneShot.pm = &pm;
    pm.AddNotifier(&oneShot);
    driver.Advance(1000);
    int t1000 = 0, t1001 = 0;
    for (const auto& e : recorder.entries) {
        ASSERT_EQ(e.type, "timer");
        EXPECT_EQ(e.sender, "device_tab");
        t1000 += e.wParam == 1000;
        t1001 += e.wParam == 1001;
    }
    EXPECT_EQ(t1001, 1);
    EXPECT_EQ(t1000, 20);
    EXPECT_TRUE(pm.HasTimer(tab, 1000));
    EXPECT_FALSE(pm.HasTimer(tab, 1001));
    pm.RemoveNotifier(&oneShot);
    // A control that leaves the tree takes its timers with it.
    recorder.Clear();
    static_cast<CContainerUI*>(pm.GetRoot())->Remove(tab);
    driver.Advance(200);
    EXPECT_EQ(recorder.Seen(true), Seen{});
    EXPECT_FALSE(pm.HasTimer(tab, 1000));
}

TEST_F(PaintManagerTest, AsyncNotificationsArriveLaterOrNotAtAll) {
    Build(R"(<VerticalLayout name="root"><Control name="a"/><Control name="b"/></VerticalLayout>)");
    CControlUI* a = pm.FindControl("a");
    CControlUI* b = pm.FindControl("b");
    pm.SendNotify(a, "click_select_end", 1, 2, true);
    pm.SendNotify(b, "click_select_end", 0, 0, true);
    pm.SendNotify(a, "click", 0, 0, false);
    EXPECT_EQ(recorder.Seen(), Seen{"click:a"}) << "sync arrives at once, async waits";
    // b leaves the tree before the loop runs: its pending notification is dropped.
    static_cast<CContainerUI*>(pm.GetRoot())->Remove(b);
    driver.RunPending();
    EXPECT_EQ(recorder.Seen(), (Seen{"click:a", "click_select_end:a"}));
    EXPECT_EQ(recorder.entries.back().wParam, 1u);
    EXPECT_EQ(recorder.entries.back().lParam, 2);
}

// A handler that removes the control it is being told about, as panels do with rows.
TEST_F(PaintManagerTest, RemovingTheSenderFromItsOwnHandlerIsSafe) {
    Build(R"(<List name="list"><ListLabelElement name="row" height="20"/><ListLabelElement name="keep" height="20"/></List>)");
    auto* list = Find<CListUI>("list");
    struct Remover : INotifyUI {
        CListUI* list;
        int seen = 0;
        void Notify(TNotifyUI& msg) override {
            if (msg.sType == "itemclick" && msg.pSender->GetName() == "row") {
                list->Remove(msg.pSender);
                ++seen;
            }
        }
    } remover;
    remover.list = list;
    pm.AddNotifier(&remover);
    driver.Click(pm.FindControl("row"));
    EXPECT_EQ(remover.seen, 1);
    EXPECT_EQ(pm.FindControl("row"), nullptr);
    EXPECT_EQ(list->GetCount(), 1);
    EXPECT_EQ(pm.GetFocus(), nullptr) << "the focus did not stay on a removed control";
    pm.RemoveNotifier(&remover);
    // Further input and paint after the delayed deletion are fine.
    driver.RunPending();
    driver.Click(pm.FindControl("keep"));
    EXPECT_EQ(list->GetCurSel(), 0);
}

TEST_F(PaintManagerTest, HitTestsHotTrackingAndRepaintRequests) {
    Build(R"(<VerticalLayout><Button name="top" height="50"/>
             <Button name="nomouse" height="50" mouse="false"/>
             <Control name="rest"/><Control name="over" float="true" pos="10,10,60,40"/></VerticalLayout>)");
    EXPECT_EQ(pm.FindControl(Point{100, 80}), pm.GetRoot()) << "a control without mouse input is skipped";
    EXPECT_EQ(pm.FindControl(Point{20, 20})->GetName(), "over") << "floats lie on top";
    EXPECT_EQ(pm.FindControl(Point{100, 20})->GetName(), "top");
    EXPECT_EQ(pm.FindControl(Point{500, 20}), nullptr) << "outside the window";
    auto* top = Find<CButtonUI>("top");
    driver.MoveTo(pm, Point{100, 20});
    EXPECT_EQ(pm.GetHot(), top);
    EXPECT_NE(top->GetButtonState() & UISTATE_HOT, 0u);
    driver.MoveTo(pm, Point{100, 200});
    EXPECT_EQ(top->GetButtonState() & UISTATE_HOT, 0u);
    int before = pm.GetInvalidateCount();
    top->SetText("x");
    EXPECT_GT(pm.GetInvalidateCount(), before);
    // Input is refused while the window is disabled (under a modal window).
    pm.SetInputEnabled(false);
    EXPECT_FALSE(driver.Click(top));
    EXPECT_EQ(recorder.Count("click", "top"), 0);
}

TEST(PaintManagerWithoutLoopTest, WorksWithoutAMessageLoop) {
    // A bare manager (no loop on this thread): asynchronous notifications arrive at once,
    // timers are refused, removed controls are deleted when the handling ends.
    ASSERT_EQ(CMessageLoop::Current(), nullptr);
    CPaintManagerUI pm;
    uitest::NotifyRecorder recorder;
    CDialogBuilder builder;
    pm.AttachDialog(builder.Create(R"(<VerticalLayout><Button name="b" height="20"/><Control/></VerticalLayout>)",
                                   nullptr, &pm));
    pm.AddNotifier(&recorder);
    pm.SetClientSize(Size{100, 100});
    pm.EnsureLayout();
    CControlUI* b = pm.FindControl("b");
    EXPECT_FALSE(pm.SetTimer(b, 1, 10));
    pm.SendNotify(b, "click_select_end", 0, 0, true);
    EXPECT_EQ(recorder.Count("click_select_end", "b"), 1);
    static_cast<CContainerUI*>(pm.GetRoot())->Remove(b);
    EXPECT_EQ(pm.FindControl("b"), nullptr);
    // A new tree replaces the old one; the old root goes with its controls.
    pm.AttachDialog(builder.Create(R"(<Label name="fresh"/>)", nullptr, &pm));
    EXPECT_NE(pm.FindControl("fresh"), nullptr);
    EXPECT_EQ(recorder.Count("windowinit", "fresh"), 0);
    pm.EnsureLayout();
    EXPECT_EQ(recorder.Count("windowinit", "fresh"), 1) << "each new tree gets its first layout";
}

TEST_F(PaintManagerTest, PushedStateFollowsTheMouseWhilePressed) {
    Build(R"(<VerticalLayout><Button name="btn" height="40"/><Control/></VerticalLayout>)");
    auto* btn = Find<CButtonUI>("btn");
    Point inside = driver.CentreOf(btn);
    TInputEvent input;
    input.kind = TInputEvent::Kind::MouseDown;
    input.pt = inside;
    pm.HandleInput(input);
    EXPECT_NE(btn->GetButtonState() & UISTATE_PUSHED, 0u);
    input.kind = TInputEvent::Kind::MouseMove;
    input.pt = Point{inside.x, 200};
    pm.HandleInput(input);
    EXPECT_EQ(btn->GetButtonState() & UISTATE_PUSHED, 0u) << "outside: shown released";
    input.pt = inside;
    pm.HandleInput(input);
    EXPECT_NE(btn->GetButtonState() & UISTATE_PUSHED, 0u);
    input.kind = TInputEvent::Kind::MouseUp;
    pm.HandleInput(input);
    EXPECT_EQ(btn->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED), 0u);
    EXPECT_EQ(recorder.Count("click", "btn"), 1);
}

}  // namespace
