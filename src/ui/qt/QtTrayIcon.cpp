// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtTrayIcon.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include "ui/CDialogBuilder.h"
#include "ui/CMenuWnd.h"
#include "ui/CMessageLoop.h"
#include "ui/CTrayIcon.h"
#include "ui/IDialogBuilderCallback.h"
#include "ui/qt/MarkupText.h"
#include "ui/qt/QtConvert.h"
#include "ui/qt/QtMessagePump.h"

namespace ui::qt {

namespace {

// The menu layout's own elements, which the control factory does not know.
class MenuElements : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(std::string_view className) override {
        if (className == "Menu") return new CMenuUI();
        if (className == "MenuElement") return new CMenuElementUI();
        return nullptr;
    }
};

struct MenuItem {
    std::string name;
    std::string userData;
    std::string text;
    bool visible = true;
    bool enabled = true;
    bool checked = false;
};

std::vector<MenuItem> ReadMenu(const std::string& xml) {
    std::vector<MenuItem> items;
    MenuElements elements;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(builder.Create(xml, &elements));
    if (!root || root->GetInterface("Menu") == nullptr) return items;
    root->FindControl(
        [&items](CControlUI* control) {
            auto* element = static_cast<CMenuElementUI*>(control->GetInterface("MenuElement"));
            if (element != nullptr) {
                items.push_back(MenuItem{element->GetName(), element->GetUserData(),
                                         element->GetText(), element->IsOwnVisible(),
                                         element->IsOwnEnabled(), element->IsChecked()});
            }
            return false;
        },
        Point{}, UIFIND_ALL | UIFIND_ME_FIRST);
    return items;
}

}  // namespace

QIcon QtTrayIcon::DefaultIcon() {
    if (!QGuiApplication::windowIcon().isNull()) return QGuiApplication::windowIcon();
    // A small keyboard, so that the icon is never an empty square.
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x20, 0x20, 0x24));
    painter.setPen(QPen(QColor(0x00, 0xC8, 0xFF), 3));
    painter.drawRoundedRect(QRectF(4, 16, 56, 34), 6, 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x00, 0xC8, 0xFF));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 5; ++col) painter.drawRect(QRectF(10 + col * 9.5, 21 + row * 9, 6, 5));
    }
    painter.end();
    return QIcon(pixmap);
}

QtTrayIcon::QtTrayIcon(const CTrayIcon& icon, QtMessagePump* pump, QObject* parent)
    : QObject(parent), m_icon(icon), m_pump(pump) {
    m_tray.setIcon(DefaultIcon());
    connect(&m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { Activate(reason); });
    Sync();
}

QtTrayIcon::~QtTrayIcon() {
    m_tray.setContextMenu(nullptr);
    m_tray.hide();
}

void QtTrayIcon::SetIcon(const QIcon& icon) { m_tray.setIcon(icon.isNull() ? DefaultIcon() : icon); }

void QtTrayIcon::Sync() {
    const QString tip = ToQString(m_icon.GetToolTipText());
    if (m_tray.toolTip() != tip) m_tray.setToolTip(tip);
    if (m_icon.IsVisible() != m_tray.isVisible()) m_tray.setVisible(m_icon.IsVisible());
}

bool QtTrayIcon::SetMenuXml(WindowHandle owner, std::string_view xml) {
    m_menuOwner = owner;
    m_menuXml = std::string(xml);
    if (ReadMenu(m_menuXml).empty()) {
        m_tray.setContextMenu(nullptr);
        m_menu.reset();
        return false;
    }
    if (!m_menu) {
        m_menu = std::make_unique<QMenu>();
        // Texts follow the language in effect when the menu opens.
        connect(m_menu.get(), &QMenu::aboutToShow, this, [this] { RebuildMenu(); });
    }
    RebuildMenu();
    m_tray.setContextMenu(m_menu.get());
    return true;
}

void QtTrayIcon::RebuildMenu() {
    if (!m_menu) return;
    m_menu->clear();
    for (const MenuItem& item : ReadMenu(m_menuXml)) {
        if (!item.visible) continue;
        QString text = ToQString(MarkupText::PlainText(item.text));
        text.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* action = m_menu->addAction(text);
        action->setObjectName(ToQString(item.name));
        action->setEnabled(item.enabled);
        if (item.checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        connect(action, &QAction::triggered, this,
                [this, item] { Choose(item.name, item.userData, item.text, item.checked); });
    }
}

std::vector<std::string> QtTrayIcon::MenuItemNames() const {
    std::vector<std::string> names;
    if (!m_menu) return names;
    for (const QAction* action : m_menu->actions()) names.push_back(FromQString(action->objectName()));
    return names;
}

void QtTrayIcon::Choose(const std::string& name, const std::string& userData,
                        const std::string& text, bool checked) {
    auto cmd = std::make_shared<MenuCmd>();
    cmd->szName = name;
    cmd->szUserData = userData;
    cmd->szText = text;
    cmd->bChecked = checked;
    MenuCmd* raw = cmd.get();
    CMessageLoop::PostMessage(m_menuOwner, WM_MENUCLICK, reinterpret_cast<std::uintptr_t>(raw), 0,
                              std::move(cmd));
    if (m_pump) m_pump->Kick();
}

void QtTrayIcon::Activate(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        m_icon.Click(WM_LBUTTONUP);
        break;
    case QSystemTrayIcon::Context:
        // With a menu of its own the tray shows it; the owner is told only without one.
        if (!m_menu) m_icon.Click(WM_RBUTTONUP);
        break;
    default:
        return;
    }
    if (m_pump) m_pump->Kick();
}

}  // namespace ui::qt
