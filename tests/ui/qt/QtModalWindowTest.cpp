// SPDX-License-Identifier: GPL-3.0-or-later
// A modal skin window (the message box's way) runs on Qt's loop: shown above its owner,
// the owner refusing input meanwhile, and the run returning the code it was closed with.
#include <QTest>

#include "QtTestSupport.h"
#include "ui/CControlUI.h"
#include "ui/qt/QtSkinWidget.h"

namespace {

using qttest::SampleWindow;

QPoint Centre(ui::WindowImplBase& window, const char* name) {
    ui::CControlUI* control = window.GetPaintManager().FindControl(name);
    if (control == nullptr) return {};
    const ui::Rect rc = control->GetPos();
    return QPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

TEST(QtModalWindowTest, ModalRunShowsTheBoxOverItsOwnerAndReturnsTheCloseCode) {
    qttest::UseSampleSkin();
    qttest::PumpedLoop run;
    SampleWindow owner;
    ASSERT_TRUE(owner.Create(0, "main", ui::UI_WNDSTYLE_VISIBLE, 0, 0, 0, 460, 260));
    run.pump.Kick();
    int code = -2;
    bool ownerRefusedInput = false;
    bool shownOverOwner = false;
    run.loop.PostTask([&] {
        SampleWindow box;
        ASSERT_TRUE(box.Create(owner.GetHWND(), "msgwnd", 0, 0, 0, 0, 460, 260));
        // Once the box is on screen, the user presses its close button.
        run.loop.SetTimer(&code, 1, 30, [&] {
            run.loop.KillTimer(&code, 1);
            ui::qt::QtSkinWidget* native = run.desktop.WidgetOf(box.GetHWND());
            ASSERT_NE(native, nullptr);
            shownOverOwner = native->isVisible() &&
                             native->parentWidget() == run.desktop.WidgetOf(owner.GetHWND());
            ownerRefusedInput = !owner.GetPaintManager().IsInputEnabled();
            QTest::mouseClick(native, Qt::LeftButton, Qt::NoModifier, Centre(box, "closebtn"));
        });
        code = box.ShowModal();
        run.loop.PostQuitMessage(0);
    });
    run.pump.Run();
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(shownOverOwner);
    EXPECT_TRUE(ownerRefusedInput);
    EXPECT_TRUE(owner.GetPaintManager().IsInputEnabled());
    owner.DestroyWindow();
    run.pump.Kick();
}

}  // namespace
