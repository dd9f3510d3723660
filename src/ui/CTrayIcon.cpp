// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CTrayIcon.h"

#include "ui/CMessageLoop.h"

namespace ui {

CTrayIcon::~CTrayIcon() { DeleteTrayIcon(); }

void CTrayIcon::CreateTrayIcon(WindowHandle owner, int iconId, std::string_view toolTip,
                               unsigned message) {
    m_owner = owner;
    m_iconId = iconId;
    m_toolTip = toolTip;
    m_message = message;
    m_bVisible = true;
}

void CTrayIcon::DeleteTrayIcon() {
    m_bVisible = false;
    m_owner = 0;
}

bool CTrayIcon::RefreshHost() {
    if (m_hostQuery) m_hostShown = m_hostQuery();
    return m_hostShown;
}

bool CTrayIcon::Click(unsigned mouseMessage) const {
    if (!m_bVisible) return false;
    return CMessageLoop::PostMessage(m_owner, m_message, static_cast<std::uintptr_t>(m_iconId),
                                     static_cast<std::intptr_t>(mouseMessage));
}

}  // namespace ui
