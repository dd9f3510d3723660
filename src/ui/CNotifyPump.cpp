// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CNotifyPump.h"

namespace ui {

bool CNotifyPump::AddVirtualWnd(std::string_view name, CNotifyPump* pump) {
    if (name.empty() || pump == nullptr || m_virtualWnds.count(name) != 0) return false;
    m_virtualWnds.emplace(std::string(name), pump);
    return true;
}

bool CNotifyPump::RemoveVirtualWnd(std::string_view name) {
    auto it = m_virtualWnds.find(name);
    if (it == m_virtualWnds.end()) return false;
    m_virtualWnds.erase(it);
    return true;
}

void CNotifyPump::OnNotifyType(std::string_view type, std::function<void(TNotifyUI&)> handler) {
    if (handler) m_handlers[std::string(type)] = std::move(handler);
    else m_handlers.erase(std::string(type));
}

bool CNotifyPump::NotifyPump(TNotifyUI& msg) {
    if (!msg.sVirtualWnd.empty()) {
        auto it = m_virtualWnds.find(msg.sVirtualWnd);
        if (it != m_virtualWnds.end()) return it->second->NotifyPump(msg);
    }
    auto handler = m_handlers.find(msg.sType);
    if (handler == m_handlers.end()) return false;
    // Copy: the handler may replace its own entry.
    std::function<void(TNotifyUI&)> run = handler->second;
    run(msg);
    return true;
}

}  // namespace ui
