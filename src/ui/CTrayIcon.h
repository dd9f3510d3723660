#pragma once
// The notification-area icon of a window: its icon, tool-tip and the message the owner
// receives for clicks on it (lParam = the mouse message, as WM_LBUTTONUP or WM_RBUTTONUP).
// The renderer shows it and reports clicks through Click().
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
    // A click on the icon: posts the message to the owner (mouseMessage: WM_LBUTTONUP, ...).
    bool Click(unsigned mouseMessage) const;

private:
    WindowHandle m_owner = 0;
    int m_iconId = 0;
    std::string m_toolTip;
    unsigned m_message = UIMSG_TRAYICON;
    bool m_bVisible = false;
};

}  // namespace ui
