// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Routes notifications by type to handlers (a window's message map) and, for controls
// that name a virtual window ("virtualwnd" attribute), to the pump registered under that
// name.
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "ui/TNotifyUI.h"

namespace ui {

class CNotifyPump {
public:
    virtual ~CNotifyPump() = default;

    bool AddVirtualWnd(std::string_view name, CNotifyPump* pump);
    bool RemoveVirtualWnd(std::string_view name);
    // A message-map entry: `handler` runs for every notification of `type`.
    void OnNotifyType(std::string_view type, std::function<void(TNotifyUI&)> handler);
    // Runs the virtual window's pump (for a sender inside one) or this pump's handler for
    // the type. True when a handler ran.
    bool NotifyPump(TNotifyUI& msg);

private:
    std::map<std::string, CNotifyPump*, std::less<>> m_virtualWnds;
    std::map<std::string, std::function<void(TNotifyUI&)>, std::less<>> m_handlers;
};

}  // namespace ui
