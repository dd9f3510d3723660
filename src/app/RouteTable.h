// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rows of the main window's routing table: which notification type and which sender
// name lead to which operation. The rows cover every control of the skin, including those
// of panels still to come; a panel only registers the handlers of its operations.
// NotifyRouter walks the rows.
#include <span>
#include <string_view>

#include "app/ControlName.h"
#include "app/OperationIds.h"

namespace app {

enum class RouteMatch { AnySender, Exact, Prefix };

struct RouteRow {
    std::string_view type;  // notification type, or kMenuCommandType for menu items
    RouteMatch match = RouteMatch::Exact;
    std::string_view name;  // whole name, or a prefix ending in "_"
    ops::Id operation;
    int arg = 0;                // handed to the handler as RouteCall::arg
    bool endsHandling = false;  // no later row runs, nor the library's default handling
    NameCase nameCase = NameCase::Ignore;
};

// The row type of menu items; no control raises a notification of this type.
inline constexpr std::string_view kMenuCommandType = "menucommand";

// All rows, in the order they are tried: within a type, every matching row runs.
std::span<const RouteRow> RouteTable();

// Notification types after which the library's default handling is skipped.
bool SkipsDefaultHandling(std::string_view type);

}  // namespace app
