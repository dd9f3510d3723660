// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The notification-area icon of a window: its icon, tool-tip and the message the owner
// receives for clicks on it (lParam = the mouse message, as WM_LBUTTONUP or WM_RBUTTONUP).
// The renderer shows it and reports clicks through Click().
//
// Whether the desktop shows tray icons at all is the renderer's to find out: it says so
// at start and whenever it learns of a change (SetHostShown), and may leave a query that
// asks afresh (RefreshHost), for decisions that must not rest on an old answer. Without a
// renderer that knows, a host is assumed, as it always was.
#include <functional>
#include <string>
#include <string_view>

#include "ui/UIDefs.h"

namespace ui {

constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned UIMSG_TRAYICON = WM_USER + 1;  // 0x401

class CTrayIcon {
public:
    ~CTrayIcon();
    void CreateTrayIcon(WindowHandle owner, int iconId, std::string_view toolTip,
                        unsigned message = UIMSG_TRAYICON);
    void DeleteTrayIcon();
    bool IsVisible() const { return m_bVisible; }
    int GetIconId() const { return m_iconId; }
    void SetIcon(int iconId) { m_iconId = iconId; }
    const std::string& GetToolTipText() const { return m_toolTip; }
    void SetToolTipText(std::string_view toolTip) { m_toolTip = toolTip; }
    // Whether a tray host shows the icon, as last learnt.
    bool IsHostShown() const { return m_hostShown; }
    void SetHostShown(bool shown) { m_hostShown = shown; }
    // Asked by RefreshHost; an empty query leaves the last answer standing.
    void SetHostQuery(std::function<bool()> query) { m_hostQuery = std::move(query); }
    // Asks the host query again (when there is one) and returns the answer.
    bool RefreshHost();
    // A click on the icon: posts the message to the owner (mouseMessage: WM_LBUTTONUP, ...).
    bool Click(unsigned mouseMessage) const;

private:
    WindowHandle m_owner = 0;
    int m_iconId = 0;
    std::string m_toolTip;
    unsigned m_message = UIMSG_TRAYICON;
    bool m_bVisible = false;
    bool m_hostShown = true;
    std::function<bool()> m_hostQuery;
};

}  // namespace ui
