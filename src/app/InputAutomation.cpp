// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/InputAutomation.h"

#include <string>

#include "app/AutomationHost.h"
#include "app/AutomationJson.h"
#include "data/macro/InputTables.h"
#include "ui/CControlUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/TEventUI.h"

namespace app {

namespace {

using Kind = ui::TInputEvent::Kind;

// The evdev code of a key given by code or by its name in the key table ("A", "RAlt",
// "Num Enter", ...).
int KeyCode(const Json::Value& command) {
    if (automation::Has(command, "code"))
        return static_cast<int>(automation::IntMember(command, "code", 1, 767));
    const std::string name = automation::StringMember(command, "name");
    for (const input::KeyRow& row : input::KeyRows())
        if (name == row.name) return input::EvdevCodeOf(row);
    throw CommandError("no key named " + name + " in the key table");
}

void Deliver(AutomationHost& host, const ui::TInputEvent& input) {
    if (!host.SendInput(input)) throw CommandError("the main window is gone");
}

}  // namespace

void PressKey(AutomationHost& host, const Json::Value& command) {
    const int code = KeyCode(command);
    const std::string action =
        automation::Has(command, "action") ? automation::StringMember(command, "action") : "press";
    if (action != "down" && action != "up" && action != "press")
        throw CommandError("member action must be \"down\", \"up\" or \"press\"");
    ui::TInputEvent input;
    input.scanCode = code;
    const int row = input::KeyRowOfEvdev(code);
    if (row >= 0) input.key = input::KeyRows()[row].virtualKey;
    if (action != "up") {
        input.kind = Kind::KeyDown;
        Deliver(host, input);
    }
    if (action != "down") {
        input.kind = Kind::KeyUp;
        Deliver(host, input);
    }
}

void UseMouse(AutomationHost& host, const Json::Value& command) {
    const std::string name = automation::StringMember(command, "control");
    ui::CControlUI* control = host.FindControl(name);
    if (control == nullptr) throw CommandError("no control named " + name);
    if (!control->IsVisible()) throw CommandError("control " + name + " is hidden");
    const std::string button =
        automation::Has(command, "button") ? automation::StringMember(command, "button") : "left";
    const std::string action =
        automation::Has(command, "action") ? automation::StringMember(command, "action") : "click";
    ui::TInputEvent input;
    if (button == "left") input.button = 0;
    else if (button == "right") input.button = 1;
    else if (button == "middle") input.button = 2;
    else throw CommandError("member button must be \"left\", \"right\" or \"middle\"");
    if (action != "click" && action != "down" && action != "up" && action != "double")
        throw CommandError("member action must be \"click\", \"down\", \"up\" or \"double\"");
    // Where the control is now: what the last command changed may not be laid out yet.
    if (ui::CPaintManagerUI* manager = control->GetManager()) manager->EnsureLayout();
    const ui::Rect rc = control->GetPos();
    input.pt = ui::Point{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    input.kind = Kind::MouseMove;
    Deliver(host, input);
    if (action != "up") {
        input.kind = Kind::MouseDown;
        Deliver(host, input);
    }
    if (action != "down") {
        input.kind = Kind::MouseUp;
        Deliver(host, input);
    }
    if (action == "double") {
        input.kind = Kind::DoubleClick;
        Deliver(host, input);
        input.kind = Kind::MouseUp;
        Deliver(host, input);
    }
}

}  // namespace app
