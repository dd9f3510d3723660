// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The automation's keyboard and mouse: input handed to the main window through the same
// entry the desktop's events take, so that what a script types or clicks is handled as a
// person's typing and clicking is (key capture included).
#include <json/json.h>

namespace app {

class AutomationHost;

// {"cmd":"key","code":EVDEV | "name":KEY,"action":"down"|"up"|"press"}
void PressKey(AutomationHost& host, const Json::Value& command);
// {"cmd":"mouse","control":NAME,"button":"left"|"right"|"middle",
//  "action":"click"|"down"|"up"|"double"}
void UseMouse(AutomationHost& host, const Json::Value& command);

}  // namespace app
