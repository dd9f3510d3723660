// SPDX-License-Identifier: GPL-3.0-or-later
// Real Qt input on a shown skin window reaches the library once, as the user's action,
// and the native window follows what the library does with its window.
#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>

#include <initializer_list>
#include <vector>

#include "QtTestSupport.h"
#include "ui/CComboUI.h"
#include "ui/CContainerUI.h"
#include "ui/CEditUI.h"
#include "ui/controls/CDeviceKeyButtonUI.h"
#include "ui/qt/QtSkinWidget.h"

namespace {

using qttest::SampleWindow;
using ui::qt::QtSkinWidget;

class QtSkinWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        qttest::UseSampleSkin();
        ASSERT_TRUE(window.Create(0, "TELIX TX512 keyboard Driver", ui::UI_WNDSTYLE_VISIBLE, 0, 40,
                                  30, 460, 260));
        run.pump.Kick();
        widget = run.desktop.WidgetOf(window.GetHWND());
        ASSERT_NE(widget, nullptr);
        window.seen.clear();
    }
    void TearDown() override {
        if (window.IsWindow()) window.DestroyWindow();
        run.pump.Kick();
    }
    QPoint Centre(const char* name) {
        ui::CControlUI* control = window.GetPaintManager().FindControl(name);
        EXPECT_NE(control, nullptr) << name;
        if (control == nullptr) return {};
        const ui::Rect rc = control->GetPos();
        return QPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }

    qttest::PumpedLoop run;
    SampleWindow window;
    QtSkinWidget* widget = nullptr;
};

TEST_F(QtSkinWidgetTest, ShownWindowIsPlacedAndTitledAsTheLibrarySays) {
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->geometry(), QRect(40, 30, 460, 260));
    EXPECT_EQ(widget->windowTitle(), QString("TELIX TX512 keyboard Driver"));
    window.ShowWindow(false);
    run.pump.Kick();
    EXPECT_FALSE(widget->isVisible());
    window.ShowWindow(true);
    window.SetWindowPos(ui::Rect{100, 80, 560, 340});
    run.pump.Kick();
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->pos(), QPoint(100, 80));
}

TEST_F(QtSkinWidgetTest, ClickOnAButtonRaisesOneClick) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, Centre("apply_btn"));
    EXPECT_EQ(window.Count("click", "apply_btn"), 1);
    // A press on the button released outside it is no click.
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, Centre("apply_btn"));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, QPoint(5, 200));
    EXPECT_EQ(window.Count("click", "apply_btn"), 1);
}

TEST_F(QtSkinWidgetTest, TypingIntoAnEditAndLeavingItRaisesOneKillFocusWithTheText) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, Centre("profile_name_edit"));
    QTest::keyClicks(widget, "Game 7");
    QTest::keyClick(widget, Qt::Key_Backspace);
    QTest::keyClick(widget, Qt::Key_8);
    EXPECT_EQ(window.Count("killfocus", "profile_name_edit"), 0);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, Centre("apply_btn"));
    ASSERT_EQ(window.Count("killfocus", "profile_name_edit"), 1);
    EXPECT_EQ(window.Last("killfocus")->text, "Game 8");
    // Setting the text from the program raises nothing.
    window.seen.clear();
    auto* edit = static_cast<ui::CEditUI*>(
        window.GetPaintManager().FindControl("profile_name_edit")->GetInterface("Edit"));
    edit->SetText("Other");
    run.pump.Kick();
    EXPECT_TRUE(window.seen.empty());
}

TEST_F(QtSkinWidgetTest, LeavingTheWindowEndsTheEditAsWell) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, Centre("profile_name_edit"));
    QTest::keyClicks(widget, "abc");
    // Clicking empty background moves the focus off the edit too.
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(5, 200));
    EXPECT_EQ(window.Count("killfocus", "profile_name_edit"), 1);
    EXPECT_EQ(window.Last("killfocus")->text, "abc");
}

TEST_F(QtSkinWidgetTest, ComboListChoiceRaisesOneItemSelect) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, Centre("device_profile_combo"));
    QMenu* list = widget->ComboPopup();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->actions().size(), 3);
    EXPECT_EQ(list->actions()[1]->text(), QString("Profile 2"));
    list->actions()[2]->trigger();
    list->close();
    QTest::qWait(20);  // the list's own close handling
    auto* combo = static_cast<ui::CComboUI*>(
        window.GetPaintManager().FindControl("device_profile_combo")->GetInterface("Combo"));
    EXPECT_EQ(window.Count("itemselect", "device_profile_combo"), 1);
    EXPECT_EQ(window.Last("itemselect")->wParam, 2u);
    EXPECT_EQ(combo->GetCurSel(), 2);
    EXPECT_FALSE(combo->IsDropped());
    // Closing the list without a choice only folds the combo up.
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, Centre("device_profile_combo"));
    ASSERT_NE(widget->ComboPopup(), nullptr);
    widget->ComboPopup()->close();
    QTest::qWait(20);
    EXPECT_EQ(window.Count("itemselect", "device_profile_combo"), 1);
    EXPECT_FALSE(combo->IsDropped());
}

TEST_F(QtSkinWidgetTest, DesktopCloseAsksTheWindowAndItsEndRemovesTheNativeWindow) {
    QPointer<QtSkinWidget> native(widget);
    widget->close();  // the title bar's close button of the desktop
    run.pump.Kick();
    EXPECT_FALSE(window.IsWindow());
    QTest::qWait(10);  // the native window goes on the next turn of Qt's loop
    EXPECT_TRUE(native.isNull());
}

TEST_F(QtSkinWidgetTest, MaximiseFillsTheScreenAndRestoreGoesBack) {
    window.SendMessage(ui::WM_SYSCOMMAND, ui::SC_MAXIMIZE, 0);
    run.pump.Kick();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(widget->geometry(), area);
    EXPECT_EQ(window.GetPaintManager().GetClientSize(), (ui::Size{area.width(), area.height()}));
    window.SendMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
    run.pump.Kick();
    EXPECT_EQ(widget->geometry(), QRect(40, 30, 460, 260));
}

TEST_F(QtSkinWidgetTest, PaintedWidgetShowsTheLayout) {
    const QImage image = widget->Render();
    EXPECT_TRUE(qttest::Near(image.pixelColor(5, 5), QColor(0x11, 0x13, 0x18)));
    EXPECT_TRUE(qttest::Near(image.pixelColor(5, 150), QColor(0x1B, 0x1F, 0x27)));
}


namespace {

// What the desktop shows of the widget: the window's backing store as its paints left it.
QImage OnScreen(QtSkinWidget* widget) {
    QTest::qWait(20);  // pending paints run (update requests wait a moment)
    const QRect place = widget->geometry();
    return widget->screen()
        ->grabWindow(0, place.x(), place.y(), place.width(), place.height())
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

int PixelsApart(const QImage& a, const QImage& b, const ui::Rect& area) {
    int apart = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (!qttest::Near(a.pixelColor(x, y), b.pixelColor(x, y), 3)) ++apart;
    return apart;
}

std::vector<ui::CDeviceKeyButtonUI*> KeysNamed(ui::CPaintManagerUI& pm,
                                               std::initializer_list<const char*> names) {
    std::vector<ui::CDeviceKeyButtonUI*> keys;
    for (const char* name : names) {
        ui::CControlUI* control = pm.FindControl(name);
        auto* key = control != nullptr ? static_cast<ui::CDeviceKeyButtonUI*>(
                                             control->GetInterface("DeviceKeyButton"))
                                       : nullptr;
        EXPECT_NE(key, nullptr) << name;
        if (key != nullptr) keys.push_back(key);
    }
    return keys;
}

// What the window shows, each of `keys` and all of it, is what a whole repaint draws now.
void ExpectNoStaleKey(QtSkinWidget* widget, const std::vector<ui::CDeviceKeyButtonUI*>& keys) {
    const QImage shown = OnScreen(widget);
    const QImage whole = widget->Render().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(shown.size(), whole.size());
    for (ui::CDeviceKeyButtonUI* key : keys)
        EXPECT_EQ(PixelsApart(shown, whole, key->GetPos()), 0) << key->GetName();
    EXPECT_EQ(PixelsApart(shown, whole, ui::Rect{0, 0, whole.width(), whole.height()}), 0);
}

}  // namespace

TEST_F(QtSkinWidgetTest, LightsChangingFrameAfterFrameLeaveNoStaleKeyOnScreen) {
    std::vector<ui::CDeviceKeyButtonUI*> keys = KeysNamed(
        window.GetPaintManager(), {"key_esc", "key_w", "key_a", "key_s", "key_d", "key_space"});
    ASSERT_EQ(keys.size(), 6u);
    // Keys without a legend draw nothing over their light, as the keyboard picture's
    // light buttons: theirs is repainted over the picture kept beneath it.
    for (size_t i : {0, 2, 3, 5}) keys[i]->SetText("");
    run.pump.Kick();
    for (int frame = 0; frame < 12; ++frame) {
        for (size_t i = 0; i < keys.size(); ++i) {
            if ((frame + i) % 3 == 0) continue;  // some keys keep their light this frame
            const std::uint32_t word = (frame * 40 + i * 70) % 256 | (i * 50 % 256) << 8 |
                                       (255 - frame * 20) % 256 << 16;
            keys[i]->SetLightColour(word, static_cast<std::uint8_t>(120 + 10 * i), true);
        }
        // Something else changes under a lit key now and then: its legend, its cap,
        // its light going off and on again.
        if (frame == 4) keys[2]->SetText("Q");
        if (frame == 5) keys[1]->SetText("");
        if (frame == 6) keys[0]->SetNormalImage("key_hot.png");  // beneath its light
        if (frame == 7) keys[3]->SetLightOverlay(false);
        if (frame == 9) keys[3]->SetLightOverlay(true);
        if (frame == 10) {
            // A key leaves the picture: nothing may ask it to draw its light again.
            auto* parent = static_cast<ui::CContainerUI*>(
                keys[5]->GetParent()->GetInterface("Container"));
            ASSERT_NE(parent, nullptr);
            ASSERT_TRUE(parent->Remove(keys[5]));
            keys.pop_back();
        }
        run.pump.Kick();
        QTest::qWait(20);
    }
    ExpectNoStaleKey(widget, keys);
}

TEST_F(QtSkinWidgetTest, LightsChangingLevelAsWellAsColourLeaveNoStaleKeyOnScreen) {
    // Each key's light is laid over the picture beneath it as dimmed for its level; a new
    // level must dim it again, not keep the last one.
    const std::vector<ui::CDeviceKeyButtonUI*> keys =
        KeysNamed(window.GetPaintManager(), {"key_esc", "key_a", "key_s", "key_space"});
    ASSERT_EQ(keys.size(), 4u);
    for (ui::CDeviceKeyButtonUI* key : keys) key->SetText("");
    run.pump.Kick();
    for (int frame = 0; frame < 10; ++frame) {
        for (size_t i = 0; i < keys.size(); ++i) {
            const std::uint32_t word = (frame * 60 + i * 90) % 256 | (255 - frame * 25) % 256 << 8 |
                                       (i * 80) % 256 << 16;
            const int level = (frame / 3 % 2 == 0) ? 255 : 60 + 40 * static_cast<int>(i);
            keys[i]->SetLightColour(word, static_cast<std::uint8_t>(level), true);
        }
        run.pump.Kick();
        QTest::qWait(20);
    }
    ExpectNoStaleKey(widget, keys);
}

}  // namespace
