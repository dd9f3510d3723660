// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/macro/MacroEventRow.h"

#include <string>

#include "data/JsonAccess.h"
#include "data/JsonDataFile.h"
#include "data/macro/InputTables.h"
#include "data/macro/MacroLibrary.h"
#include "panels/SkinStyle.h"
#include "ui/CEditUI.h"
#include "ui/CLabelUI.h"
#include "ui/CListContainerElementUI.h"
#include "ui/CPaintManagerUI.h"

namespace panels {

namespace {

constexpr const char* kDownStyle = "macro_label_down_style";
constexpr const char* kUpStyle = "macro_label_up_style";
constexpr const char* kKeyboardStyle = "macro_label_keyboard_style";
constexpr const char* kMouseStyle = "macro_label_mouse_style";
constexpr const char* kTextStyle = "macro_label_text_style";
constexpr ui::Color kDelayBackground = 0x00444444;
constexpr int kDelayHeight = 25;
constexpr int kDelayChars = 6;

enum EventType { kMouseButton = 1, kMouseA = 2, kMouseB = 3, kMoveX = 4, kMoveY = 5,
                 kModifier = 9, kKey = 10 };

struct Look {
    std::string actionStyle;
    std::string actionText;
    std::string nameStyle;
    std::string nameKey;
};

Look LookOf(const Json::Value& event) {
    const int type = JsonAccess::ReadInt(event, "Type");
    const int button = JsonAccess::ReadInt(event, "Button");
    const bool down = JsonAccess::ReadText(event, "Action") == "down";
    Look look;
    look.actionStyle = down ? kDownStyle : kUpStyle;
    switch (type) {
        case kKey:
        case kModifier: {
            look.nameStyle = kKeyboardStyle;
            const int row =
                type == kKey ? input::KeyRowOfUsage(button) : input::KeyRowOfModifier(button);
            if (row >= 0) look.nameKey = input::KeyNameKey(input::KeyRows()[row]);
            break;
        }
        case kMouseButton: {
            look.nameStyle = kMouseStyle;
            const int row = input::MouseRowOfButton(button);
            if (row >= 0) look.nameKey = input::MouseRows()[row].nameKey;
            break;
        }
        case kMoveX:
        case kMoveY: {
            look.nameStyle = kMouseStyle;
            look.actionStyle = kTextStyle;
            look.actionText = std::to_string(button);
            const int row = input::MouseRowOfMove(type | (down ? input::kPressBit : 0));
            if (row >= 0) look.nameKey = input::MouseRows()[row].nameKey;
            break;
        }
        case kMouseA:
        case kMouseB:
            look.nameStyle = kMouseStyle;
            look.actionStyle = kTextStyle;
            break;
        default:
            break;
    }
    return look;
}

}  // namespace

ui::CListContainerElementUI* MacroEventRow::Build(const Json::Value& event, uint16_t delay,
                                                  ui::CPaintManagerUI* skin) {
    const Look look = LookOf(event);
    auto* row = new ui::CListContainerElementUI();
    row->SetName(kRowName);
    row->SetFixedHeight(kRowHeight);
    row->SetChildVAlign(4);
    ui::CLabelUI* action = SkinStyle::Label(look.actionStyle, look.actionText, false, skin);
    // Arrows and distances share one column, so that the names line up.
    action->SetFixedWidth(kActionWidth);
    row->Add(action);
    row->Add(SkinStyle::Label(look.nameStyle, look.nameKey, true, skin));

    auto* edit = new ui::CEditUI();
    edit->SetName(kDelayEditName);
    SkinStyle::Apply(*edit, kTextStyle, skin);
    edit->SetBkColor(kDelayBackground);
    edit->SetFixedHeight(kDelayHeight);
    edit->SetMaxChar(kDelayChars);
    edit->SetNumberOnly(true);
    edit->SetMinValue(0);
    edit->SetMaxValue(MacroLibrary::kMaxDelay);
    edit->SetText(std::to_string(delay));
    row->Add(edit);
    Store(*row, event);
    return row;
}

ui::CListContainerElementUI* MacroEventRow::Build(const Json::Value& event,
                                                  ui::CPaintManagerUI* skin) {
    return Build(event, MacroLibrary::ShownDelay(JsonAccess::ReadText(event, "Delay")), skin);
}

std::optional<Json::Value> MacroEventRow::StoredEvent(const ui::CControlUI& row) {
    const std::string& text = row.GetUserData();
    if (text.empty()) return std::nullopt;
    Json::Value event;
    if (!JsonDataFile::ParseText(text, event)) return std::nullopt;
    return event;
}

void MacroEventRow::Store(ui::CControlUI& row, const Json::Value& event) {
    row.SetUserData(event.toStyledString());
}

ui::CEditUI* MacroEventRow::DelayEdit(ui::CControlUI& row) {
    auto* container = static_cast<ui::CListContainerElementUI*>(
        row.GetInterface("ListContainerElement"));
    if (container == nullptr || container->GetCount() < 3) return nullptr;
    ui::CControlUI* last = container->GetItemAt(2);
    return static_cast<ui::CEditUI*>(last->GetInterface("Edit"));
}

Json::Value MacroEventRow::MouseEvent(uint8_t typeByte, int button, uint16_t delay) {
    Json::Value event(Json::objectValue);
    event["Action"] = (typeByte & input::kPressBit) != 0 ? "down" : "up";
    event["Button"] = button;
    event["Type"] = typeByte & 0x7F;
    event["Delay"] = std::to_string(delay);
    return event;
}

}  // namespace panels
