// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The registry of the shell's operations: an operation id (OperationIds.h) and the handler
// that carries it out. The routing table and the main window call operations by id; the
// window and each panel register their handlers, so the table never needs to know which
// panels exist yet. Calling an id nobody registered leaves a trace line and does nothing.
//
// With OperationIds.h this is the shell's contract with the panels, which register from
// the layer below the shell: it is all in this header, so they need not link the shell.
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/Trace.h"
#include "ui/TNotifyUI.h"

namespace app {

// What a handler learns about the call.
struct RouteCall {
    ui::TNotifyUI& msg;     // the notification (for menu commands and messages: a
                            // stand-in of that type with no sender)
    std::string_view name;  // the sender's name, or the menu item's
    long n = 0;             // the number ending a numbered control's name
    int arg = 0;            // the routing row's fixed argument
};

class ShellOperations {
public:
    using Handler = std::function<void(const RouteCall&)>;

    // Replaces a handler registered under the same id.
    void Register(std::string_view id, Handler handler) {
        if (!handler) {
            Unregister(id);
            return;
        }
        handlers_.insert_or_assign(std::string(id), std::move(handler));
    }
    void Unregister(std::string_view id) {
        auto it = handlers_.find(id);
        if (it != handlers_.end()) handlers_.erase(it);
    }
    bool Has(std::string_view id) const { return handlers_.find(id) != handlers_.end(); }

    // Runs the handler of `id`; returns whether there was one. A handler may register
    // or unregister operations, itself included, while it runs.
    bool Call(std::string_view id, const RouteCall& call) const {
        auto it = handlers_.find(id);
        if (it == handlers_.end()) {
            platform::TraceF("no handler: %.*s\n", static_cast<int>(id.size()), id.data());
            return false;
        }
        // A copy, so that the handler may unregister itself without destroying the
        // function that is running.
        const Handler handler = it->second;
        handler(call);
        return true;
    }
    // For callers with no notification at hand (timers, window messages).
    bool Call(std::string_view id, int arg = 0) const {
        ui::TNotifyUI none;
        return Call(id, RouteCall{none, {}, 0, arg});
    }

private:
    std::map<std::string, Handler, std::less<>> handlers_;
};

}  // namespace app
