// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ControlAutomation.h"

#include <algorithm>
#include <climits>
#include <utility>
#include <string>

#include "app/AutomationJson.h"
#include "ui/CColorPaletteUI.h"
#include "ui/CContainerUI.h"
#include "ui/CControlUI.h"
#include "ui/CEditUI.h"
#include "ui/COptionUI.h"
#include "ui/CPaintManagerUI.h"
#include "ui/CProgressUI.h"
#include "ui/CTabLayoutUI.h"
#include "ui/IListItemUI.h"
#include "ui/IListOwnerUI.h"
#include "ui/Utf8Text.h"
#include "ui/controls/CDeviceKeyButtonUI.h"

namespace app {

namespace {

using automation::BoolMember;
using automation::BoolMemberOr;
using automation::ColorMember;
using automation::Has;
using automation::IntMember;
using automation::IntMemberOr;
using automation::StringMember;

// The control as the interface of that name, cast to exactly the class that returns it.
template <class T>
T* As(ui::CControlUI& control, const char* interfaceName) {
    return static_cast<T*>(control.GetInterface(interfaceName));
}

std::string Named(const ui::CControlUI& control) {
    return "control " + control.GetName() + " (" + control.GetClass() + ")";
}

template <class T>
T& Require(ui::CControlUI& control, const char* interfaceName, const std::string& type) {
    T* typed = As<T>(control, interfaceName);
    if (typed == nullptr) throw CommandError(Named(control) + " cannot raise \"" + type + "\"");
    return *typed;
}

void SelectItem(ui::CControlUI& control, ui::CPaintManagerUI& manager, const Json::Value& command) {
    auto& owner = Require<ui::IListOwnerUI>(control, "IListOwner", "itemselect");
    auto* items = As<ui::CContainerUI>(control, "Container");
    const int count = items != nullptr ? items->GetCount() : 0;
    if (count == 0) throw CommandError(Named(control) + " has no items");
    const int index = static_cast<int>(IntMember(command, "index", 0, count - 1));
    const int old = owner.GetCurSel();
    // Without the owner's own notification, so that the window hears it exactly once.
    if (index != old && !owner.SelectItem(index, false, false))
        throw CommandError("item " + std::to_string(index) + " of " + Named(control) +
                           " cannot be selected");
    manager.SendNotify(&control, "itemselect", static_cast<std::uintptr_t>(index), old);
}

void SelectOption(ui::CControlUI& control, ui::CPaintManagerUI& manager,
                  const Json::Value& command) {
    auto& option = Require<ui::COptionUI>(control, "Option", "selectchanged");
    const bool selected = BoolMember(command, "selected");
    option.Selected(selected, false);
    manager.SendNotify(&control, "selectchanged", selected ? 1u : 0u);
}

void SetValue(ui::CControlUI& control, ui::CPaintManagerUI& manager, const Json::Value& command,
              const std::string& type) {
    auto& progress = Require<ui::CProgressUI>(control, "Progress", type);
    progress.SetValue(static_cast<int>(IntMember(command, "value", INT_MIN, INT_MAX)));
    manager.SendNotify(&control, type);
}

void LeaveField(ui::CControlUI& control, ui::CPaintManagerUI& manager, const Json::Value& command) {
    if (Has(command, "text")) control.SetText(StringMember(command, "text"));
    if (manager.GetFocus() == &control) {
        // The manager's own path: the field clamps its number, then "killfocus" is raised.
        manager.SetFocus(nullptr);
        return;
    }
    ui::TEventUI event;
    event.Type = ui::EventType::KillFocus;
    event.pSender = &control;
    control.Event(event);
    manager.SendNotify(&control, "killfocus");
}

void PickColour(ui::CControlUI& control, ui::CPaintManagerUI& manager, const Json::Value& command) {
    auto& palette = Require<ui::CColorPaletteUI>(control, "ColorPalette", "colorchanged");
    palette.SetSelectColor(ColorMember(command, "color"));
    // The palette holds hue, saturation and brightness: report the colour it now shows.
    manager.SendNotify(&control, "colorchanged", palette.GetSelectColor());
}

ui::Point PointMember(const Json::Value& command, const char* name, const ui::Rect& origin) {
    const Json::Value& value = command[name];
    if (!value.isArray() || value.size() != 2 || !value[0].isInt() || !value[1].isInt())
        throw CommandError(std::string("member ") + name + " must be [x, y]");
    return {origin.left + value[0].asInt(), origin.top + value[1].asInt()};
}

// The rectangle a user drags over to take in exactly the named children of `control`.
ui::Rect SpanOfChildren(ui::CControlUI& control, const Json::Value& names) {
    auto* container = As<ui::CContainerUI>(control, "Container");
    if (!names.isArray() || names.empty() || container == nullptr)
        throw CommandError("member keys must name controls inside " + Named(control));
    ui::Rect span;
    for (const Json::Value& name : names) {
        ui::CControlUI* child = name.isString() ? container->FindSubControl(name.asString()) : nullptr;
        if (child == nullptr) throw CommandError("no control " + name.toStyledString() + " in " + Named(control));
        const ui::Rect pos = child->GetPos();
        span = span.IsEmpty() ? pos
                              : ui::Rect{std::min(span.left, pos.left), std::min(span.top, pos.top),
                                         std::max(span.right, pos.right), std::max(span.bottom, pos.bottom)};
    }
    // Inside the keys' outer edges, so that a neighbour touching them is not taken in.
    return span.Deflate(ui::Rect{1, 1, 1, 1});
}

// Presses the mouse button at one point, moves to another and lets go, as a user drags.
void Drag(ui::CControlUI& control, ui::CPaintManagerUI& manager, const Json::Value& command) {
    // Where things are is what the user sees: the window as it is laid out now.
    manager.EnsureLayout();
    ui::Point from;
    ui::Point to;
    if (Has(command, "keys")) {
        const ui::Rect span = SpanOfChildren(control, command["keys"]);
        from = {span.left, span.top};
        to = {span.right - 1, span.bottom - 1};
    } else {
        from = PointMember(command, "from", control.GetPos());
        to = PointMember(command, "to", control.GetPos());
    }
    for (const auto& [type, at] : {std::pair{ui::EventType::ButtonDown, from},
                                   std::pair{ui::EventType::MouseMove, to},
                                   std::pair{ui::EventType::ButtonUp, to}}) {
        ui::TEventUI event;
        event.Type = type;
        event.pSender = &control;
        event.ptMouse = at;
        control.Event(event);
    }
}

void Click(ui::CControlUI& control, ui::CPaintManagerUI& manager) {
    // A button's activation raises "click" itself and, for an option, changes its state
    // as a real click does.
    if (control.GetInterface("Button") != nullptr && control.Activate()) return;
    manager.SendNotify(&control, "click");
}

Json::Value Light(ui::CDeviceKeyButtonUI& key) {
    Json::Value light(Json::objectValue);
    light["color"] = key.GetLightColour();
    light["alpha"] = key.GetLightAlpha();
    light["overlay"] = key.IsLightOverlay();
    return light;
}

// What a list shows of an item: its text, or for a row made of controls (an event row of
// the macro editor) the texts of its parts that show one, separated by blanks.
std::string ItemText(ui::CControlUI& item) {
    std::string text = item.GetText();
    auto* parts = As<ui::CContainerUI>(item, "Container");
    if (!text.empty() || parts == nullptr) return text;
    for (int i = 0; i < parts->GetCount(); ++i) {
        const std::string part = parts->GetItemAt(i)->GetText();
        if (part.empty()) continue;
        if (!text.empty()) text += ' ';
        text += part;
    }
    return text;
}

// The state "get" reports for one control (without "ok").
Json::Value Describe(ui::CControlUI& control) {
    Json::Value state(Json::objectValue);
    state["name"] = control.GetName();
    state["class"] = control.GetClass();
    std::string text = control.GetText();
    if (auto* edit = As<ui::CEditUI>(control, "Edit"); edit != nullptr && edit->IsPasswordMode())
        text.assign(static_cast<std::size_t>(ui::utf8::Length(text)), '*');
    state["text"] = text;
    state["visible"] = control.IsVisible();
    state["enabled"] = control.IsEnabled();
    if (!control.GetUserData().empty()) state["userdata"] = control.GetUserData();
    if (!control.GetToolTip().empty()) state["tooltip"] = control.GetToolTip();

    if (auto* option = As<ui::COptionUI>(control, "Option")) {
        state["selected"] = option->IsSelected();
    } else if (auto* item = As<ui::IListItemUI>(control, "ListItem")) {
        state["selected"] = item->IsSelected();
    } else if (auto* key = As<ui::CDeviceKeyButtonUI>(control, "DeviceKeyButton")) {
        state["selected"] = key->IsSelectedByArea();
        state["keyselected"] = key->IsKeySelected();
        state["light"] = Light(*key);
    }
    if (auto* progress = As<ui::CProgressUI>(control, "Progress")) {
        state["value"] = progress->GetValue();
        state["min"] = progress->GetMinValue();
        state["max"] = progress->GetMaxValue();
    }
    if (auto* owner = As<ui::IListOwnerUI>(control, "IListOwner")) {
        Json::Value items(Json::arrayValue);
        if (auto* container = As<ui::CContainerUI>(control, "Container")) {
            for (int i = 0; i < container->GetCount(); ++i)
                items.append(ItemText(*container->GetItemAt(i)));
        }
        state["items"] = items;
        state["cursel"] = owner->GetCurSel();
    } else if (auto* tabs = As<ui::CTabLayoutUI>(control, "TabLayout")) {
        state["cursel"] = tabs->GetCurSel();
    }
    if (auto* palette = As<ui::CColorPaletteUI>(control, "ColorPalette"))
        state["color"] = palette->GetSelectColor();
    return state;
}

}  // namespace

ui::CControlUI& ControlAutomation::Find(const Json::Value& command, ui::CPaintManagerUI*& manager) {
    const std::string name = StringMember(command, "control");
    manager = nullptr;
    ui::CControlUI* control = m_host.FindControl(name, &manager);
    if (control == nullptr) throw CommandError("no control named " + name);
    if (manager == nullptr) manager = control->GetManager();
    return *control;
}

Json::Value ControlAutomation::Notify(const Json::Value& command) {
    const std::string type = StringMember(command, "type");
    if (type.empty()) throw CommandError("member type must not be empty");
    ui::CPaintManagerUI* manager = nullptr;
    ui::CControlUI& control = Find(command, manager);
    if (manager == nullptr) throw CommandError(Named(control) + " is not in a window");
    // A user cannot act on what is hidden or disabled; a script that does so has found a
    // fault unless it says it means it.
    const bool force = BoolMemberOr(command, "force", false);
    if (!force && !control.IsVisible()) throw CommandError(Named(control) + " is hidden");
    if (!force && !control.IsEnabled()) throw CommandError(Named(control) + " is disabled");
    m_host.FocusMovesTo(manager);

    if (type == "itemselect") {
        SelectItem(control, *manager, command);
    } else if (type == "selectchanged") {
        SelectOption(control, *manager, command);
    } else if (type == "valuechanged" || type == "movevaluechanged") {
        SetValue(control, *manager, command, type);
    } else if (type == "textchanged") {
        control.SetText(StringMember(command, "text"));
        manager->SendNotify(&control, "textchanged");
    } else if (type == "killfocus") {
        LeaveField(control, *manager, command);
    } else if (type == "colorchanged") {
        PickColour(control, *manager, command);
    } else if (type == "click") {
        Click(control, *manager);
    } else if (type == "drag") {
        Drag(control, *manager, command);
    } else {
        const auto wParam = IntMemberOr(command, "wParam", 0, 0, INT64_MAX);
        const auto lParam = IntMemberOr(command, "lParam", 0, INT64_MIN, INT64_MAX);
        manager->SendNotify(&control, type, static_cast<std::uintptr_t>(wParam),
                            static_cast<std::intptr_t>(lParam));
    }
    // The notification may have removed the control: it is not touched again.
    return automation::Ok();
}

Json::Value ControlAutomation::Get(const Json::Value& command) {
    ui::CPaintManagerUI* manager = nullptr;
    Json::Value answer = Describe(Find(command, manager));
    answer["ok"] = true;
    return answer;
}

}  // namespace app
