// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/NotifyRouter.h"

#include <string>

#include "platform/Trace.h"
#include "ui/CControlUI.h"

namespace app {

NotifyRouter::NotifyRouter(ShellOperations& operations) : operations_(operations) {
    for (const RouteRow& row : RouteTable()) rowsByType_[row.type].push_back(&row);
}

bool NotifyRouter::Route(ui::TNotifyUI& msg) {
    // Copied now: a handler may destroy the sender before later rows run.
    const std::string name = msg.pSender != nullptr ? msg.pSender->GetName() : std::string();
    if (msg.sType != "timer" && platform::TraceEnabled()) {
        platform::Trace(msg.sType + "\n");
        platform::Trace(name + "\n");
    }
    if (msg.sType == kMenuCommandType) return false;
    const Outcome outcome = Walk(msg.sType, name, msg);
    return outcome.ended || SkipsDefaultHandling(msg.sType);
}

bool NotifyRouter::RouteMenuCommand(std::string_view item) {
    ui::TNotifyUI standIn;
    standIn.sType = std::string(kMenuCommandType);
    return Walk(kMenuCommandType, item, standIn).matched;
}

NotifyRouter::Outcome NotifyRouter::Walk(std::string_view type, std::string_view name,
                                         ui::TNotifyUI& msg) {
    Outcome outcome;
    auto rows = rowsByType_.find(type);
    if (rows == rowsByType_.end()) return outcome;
    const ControlNameParts parts = SplitControlName(name);
    for (const RouteRow* row : rows->second) {
        long n = 0;
        switch (row->match) {
            case RouteMatch::AnySender:
                break;
            case RouteMatch::Exact:
                if (!NameEquals(name, row->name, row->nameCase)) continue;
                break;
            case RouteMatch::Prefix:
                if (!parts.hasPrefix || !NameEquals(parts.prefix, row->name, row->nameCase))
                    continue;
                n = parts.n;
                break;
        }
        outcome.matched = true;
        operations_.Call(row->operation, RouteCall{msg, name, n, row->arg});
        if (row->endsHandling) {
            outcome.ended = true;
            break;
        }
    }
    return outcome;
}

}  // namespace app
