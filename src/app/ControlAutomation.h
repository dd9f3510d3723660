// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "notify" and "get" automation commands on the skin's controls. "notify" does what
// the user's action would do to the control (select an item, tick an option, move a
// slider, type a text, pick a colour) and then raises the notification the action raises,
// through the control's paint manager, so it reaches the window's Notify like real input.
// "get" reports what the user would see.
#include <json/json.h>

#include "app/AutomationHost.h"

namespace ui {
class CControlUI;
}

namespace app {

class ControlAutomation {
public:
    explicit ControlAutomation(AutomationHost& host) : m_host(host) {}

    // {"cmd":"notify","control":NAME,"type":TYPE, ...}; see docs/automation.md.
    Json::Value Notify(const Json::Value& command);
    // {"cmd":"get","control":NAME}
    Json::Value Get(const Json::Value& command);

private:
    ui::CControlUI& Find(const Json::Value& command, ui::CPaintManagerUI*& manager);

    AutomationHost& m_host;
};

}  // namespace app
