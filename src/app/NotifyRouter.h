// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Routes the main window's notifications and menu commands through the routing table
// (RouteTable.h): by type, then by the sender's name, each matching row calls its
// operation in ShellOperations. Numbered controls match by the prefix of their name and
// hand the number on.
//
// "itemactivate" and "setfocus" (the window's message-map entries) go through Route like
// any other notification, so the window has one entry point for all of them.
#include <map>
#include <string_view>
#include <vector>

#include "app/RouteTable.h"
#include "app/ShellOperations.h"
#include "ui/TNotifyUI.h"

namespace app {

class NotifyRouter {
public:
    explicit NotifyRouter(ShellOperations& operations);

    // Writes the type and the sender's name to the trace (except for "timer"), then runs
    // every matching row in table order. Returns true when the library's default
    // handling must be skipped: after "click_wpremove" and "click_wpedit", and after a
    // row that ends the handling ("closebtn": the default would close the window for
    // good instead of hiding it in the tray).
    bool Route(ui::TNotifyUI& msg);

    // A chosen menu item, by name. False when no table lists it.
    bool RouteMenuCommand(std::string_view item);

private:
    struct Outcome {
        bool matched = false;
        bool ended = false;
    };
    Outcome Walk(std::string_view type, std::string_view name, ui::TNotifyUI& msg);

    ShellOperations& operations_;
    std::map<std::string_view, std::vector<const RouteRow*>, std::less<>> rowsByType_;
};

}  // namespace app
