// SPDX-License-Identifier: GPL-3.0-or-later
// What the compositor is told of the library's windows: their size is fixed (minimum =
// maximum, following the library when it resizes them), they bring their own title bar,
// and pop-ups belong to a window
// on the screen, so that compositors without free-standing pop-ups can place them.
#include <QTest>

#include "QtTestSupport.h"
#include "ui/qt/QtSkinWidget.h"

namespace {

using qttest::SampleWindow;

TEST(QtWindowPlacementTest, AWindowsSizeIsFixedAndFollowsTheLibrary) {
    qttest::UseSampleSkin();
    qttest::PumpedLoop run;
    SampleWindow window;
    ASSERT_TRUE(window.Create(0, "main", ui::UI_WNDSTYLE_VISIBLE, 0, 0, 0, 460, 260));
    run.pump.Kick();
    ui::qt::QtSkinWidget* native = run.desktop.WidgetOf(window.GetHWND());
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(native->minimumSize(), QSize(460, 260));
    EXPECT_EQ(native->maximumSize(), QSize(460, 260));
    // The skin draws its own title bar: the desktop must not add another.
    EXPECT_TRUE(native->windowFlags().testFlag(Qt::FramelessWindowHint));

    // The library lays the window out at another size (another DPI, say).
    window.SetWindowPos(ui::Rect{10, 10, 510, 310});
    run.pump.Kick();
    EXPECT_EQ(native->minimumSize(), QSize(500, 300));
    EXPECT_EQ(native->maximumSize(), QSize(500, 300));
    EXPECT_EQ(native->size(), QSize(500, 300));
    window.DestroyWindow();
    run.pump.Kick();
}

TEST(QtWindowPlacementTest, APopUpBelongsToItsOwnerOrElseToAWindowOnTheScreen) {
    qttest::UseSampleSkin();
    qttest::PumpedLoop run;
    SampleWindow owner;
    SampleWindow other;
    ASSERT_TRUE(owner.Create(0, "main", ui::UI_WNDSTYLE_VISIBLE, 0, 0, 0, 460, 260));
    ASSERT_TRUE(other.Create(0, "other", ui::UI_WNDSTYLE_VISIBLE, 0, 300, 0, 460, 260));
    run.pump.Kick();

    SampleWindow popup;
    ASSERT_TRUE(popup.Create(owner.GetHWND(), "popup", ui::UI_WNDSTYLE_VISIBLE,
                             ui::UI_WNDSTYLE_EX_NOACTIVATE, 20, 20, 200, 120));
    run.pump.Kick();
    ui::qt::QtSkinWidget* shown = run.desktop.WidgetOf(popup.GetHWND());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->windowFlags() & Qt::Popup, Qt::Popup);
    EXPECT_EQ(shown->parentWidget(), run.desktop.WidgetOf(owner.GetHWND()));
    popup.DestroyWindow();
    run.pump.Kick();

    // With its owner hidden (in the tray), a pop-up goes over a window that is shown.
    owner.ShowWindow(false, false);
    run.pump.Kick();
    SampleWindow late;
    ASSERT_TRUE(late.Create(owner.GetHWND(), "late", ui::UI_WNDSTYLE_VISIBLE,
                            ui::UI_WNDSTYLE_EX_NOACTIVATE, 20, 20, 200, 120));
    run.pump.Kick();
    ui::qt::QtSkinWidget* lateShown = run.desktop.WidgetOf(late.GetHWND());
    ASSERT_NE(lateShown, nullptr);
    EXPECT_EQ(lateShown->parentWidget(), run.desktop.WidgetOf(other.GetHWND()));
    late.DestroyWindow();
    other.DestroyWindow();
    owner.DestroyWindow();
    run.pump.Kick();
}

}  // namespace
