// SPDX-License-Identifier: GPL-3.0-or-later
// Tray clicks reach the owner window as the tray message; the tray menu comes from an XML
// menu layout and reports its items as the library's menus do.
#include <QAction>
#include <QMenu>

#include "QtTestSupport.h"
#include "ui/CMenuWnd.h"
#include "ui/CTrayIcon.h"
#include "ui/IMessageTarget.h"
#include "ui/qt/QtTrayIcon.h"

namespace {

constexpr const char* kMenu =
    "<Menu><MenuElement name=\"setwnd_menu\" text=\"Settings\"/>"
    "<MenuElement name=\"about_menu\" text=\"About &amp; help\"/>"
    "<MenuElement name=\"hidden_menu\" text=\"Hidden\" visible=\"false\"/>"
    "<MenuElement name=\"exit\" text=\"Exit\" userdata=\"bye\"/></Menu>";

struct Message {
    unsigned msg;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    std::string menuItem;
};

class Owner : public ui::IMessageTarget {
public:
    explicit Owner(ui::CMessageLoop& loop) : m_loop(loop), handle(loop.AddTarget(this)) {}
    ~Owner() override { m_loop.RemoveTarget(handle); }
    std::intptr_t HandleLoopMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) override {
        Message m{msg, wParam, lParam, {}};
        if (msg == ui::WM_MENUCLICK) {
            const auto* cmd = reinterpret_cast<const ui::MenuCmd*>(wParam);
            m.menuItem = cmd->szName + "/" + cmd->szUserData;
        }
        got.push_back(m);
        return 0;
    }
    ui::CMessageLoop& m_loop;
    ui::WindowHandle handle;
    std::vector<Message> got;
};

class QtTrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        tray.CreateTrayIcon(owner.handle, 107, "TELIX TX512 keyboard Driver");
    }
    qttest::PumpedLoop run;
    Owner owner{run.loop};
    ui::CTrayIcon tray;
};

TEST_F(QtTrayIconTest, ClicksBecomeTheTrayMessageOfTheOwner) {
    ui::qt::QtTrayIcon icon(tray, &run.pump);
    EXPECT_EQ(icon.ToolTip(), QString("TELIX TX512 keyboard Driver"));
    icon.Activate(QSystemTrayIcon::Trigger);
    icon.Activate(QSystemTrayIcon::Context);
    icon.Activate(QSystemTrayIcon::DoubleClick);  // not a message of its own
    ASSERT_EQ(owner.got.size(), 2u);
    EXPECT_EQ(owner.got[0].msg, ui::UIMSG_TRAYICON);
    EXPECT_EQ(owner.got[0].lParam, static_cast<std::intptr_t>(ui::WM_LBUTTONUP));
    EXPECT_EQ(owner.got[1].lParam, static_cast<std::intptr_t>(ui::WM_RBUTTONUP));
    tray.DeleteTrayIcon();
    icon.Activate(QSystemTrayIcon::Trigger);  // a deleted icon reports nothing
    EXPECT_EQ(owner.got.size(), 2u);
}

TEST_F(QtTrayIconTest, MenuFromXmlReportsTheChosenItemToTheOwner) {
    ui::qt::QtTrayIcon icon(tray, &run.pump);
    ASSERT_TRUE(icon.SetMenuXml(owner.handle, kMenu));
    EXPECT_EQ(icon.MenuItemNames(), (std::vector<std::string>{"setwnd_menu", "about_menu", "exit"}));
    EXPECT_EQ(icon.Menu()->actions()[1]->text(), QString("About && help"));
    icon.Menu()->actions()[2]->trigger();
    ASSERT_EQ(owner.got.size(), 1u);
    EXPECT_EQ(owner.got[0].msg, ui::WM_MENUCLICK);
    EXPECT_EQ(owner.got[0].menuItem, "exit/bye");
    // With its own menu the tray does not also tell the owner about right clicks.
    icon.Activate(QSystemTrayIcon::Context);
    EXPECT_EQ(owner.got.size(), 1u);
    EXPECT_FALSE(icon.SetMenuXml(owner.handle, "<Window/>"));
    EXPECT_EQ(icon.Menu(), nullptr);
}

TEST_F(QtTrayIconTest, FollowsTheLibrarysToolTip) {
    ui::qt::QtTrayIcon* icon = run.desktop.AddTrayIcon(tray);
    EXPECT_EQ(run.desktop.AddTrayIcon(tray), icon);  // one native icon per tray icon
    tray.SetToolTipText("Updated");
    run.pump.Kick();
    EXPECT_EQ(icon->ToolTip(), QString("Updated"));
    run.desktop.RemoveTrayIcon(tray);
}

}  // namespace
