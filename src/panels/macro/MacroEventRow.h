// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One event of the macro editor: a row of "macro_action_list" named "macro_action",
// holding the action (press or release arrow, or a move's distance), the name of the key,
// button or move, and the delay edit "macro_delay". The row keeps its event as styled
// JSON text in its user data; the delay edit, not the stored "Delay", is what a save
// takes, so a delay being typed is never lost to the stored one.
//
// UI thread only.
#include <json/json.h>

#include <cstdint>
#include <optional>
#include <string>

namespace ui {
class CControlUI;
class CPaintManagerUI;
class CEditUI;
class CListContainerElementUI;
}  // namespace ui

namespace panels {

class MacroEventRow {
public:
    static constexpr const char* kRowName = "macro_action";
    static constexpr const char* kDelayEditName = "macro_delay";
    static constexpr int kRowHeight = 30;

    static constexpr int kActionWidth = 44;

    // A new row for `event`, whose delay edit shows `delay`. The caller owns it until it
    // is added to a list. The row styles come from `skin` (the window the row goes to; the
    // styles wait for the row to join a window without it).
    static ui::CListContainerElementUI* Build(const Json::Value& event, uint16_t delay,
                                              ui::CPaintManagerUI* skin);
    // The same, with the delay the event stores (above 65534 shown as 65535).
    static ui::CListContainerElementUI* Build(const Json::Value& event, ui::CPaintManagerUI* skin);

    // The row's stored event; nothing when the text does not read as JSON.
    static std::optional<Json::Value> StoredEvent(const ui::CControlUI& row);
    static void Store(ui::CControlUI& row, const Json::Value& event);
    // The delay edit of a row (null when the row has none).
    static ui::CEditUI* DelayEdit(ui::CControlUI& row);
    // The event of a pointer move or button from its type byte (bit 7: press, or a move
    // towards the left or upwards), with the delay as its text.
    static Json::Value MouseEvent(uint8_t typeByte, int button, uint16_t delay);
};

}  // namespace panels
