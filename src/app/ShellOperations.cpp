#include "app/ShellOperations.h"

#include "platform/Trace.h"

namespace app {

void ShellOperations::Register(std::string_view id, Handler handler) {
    if (!handler) {
        Unregister(id);
        return;
    }
    handlers_.insert_or_assign(std::string(id), std::move(handler));
}

void ShellOperations::Unregister(std::string_view id) {
    auto it = handlers_.find(id);
    if (it != handlers_.end()) handlers_.erase(it);
}

bool ShellOperations::Has(std::string_view id) const {
    return handlers_.find(id) != handlers_.end();
}

bool ShellOperations::Call(std::string_view id, const RouteCall& call) const {
    auto it = handlers_.find(id);
    if (it == handlers_.end()) {
        platform::TraceF("no handler: %.*s\n", static_cast<int>(id.size()), id.data());
        return false;
    }
    // A copy, so that the handler may unregister itself without destroying the function
    // that is running.
    const Handler handler = it->second;
    handler(call);
    return true;
}

bool ShellOperations::Call(std::string_view id, int arg) const {
    ui::TNotifyUI none;
    return Call(id, RouteCall{none, {}, 0, arg});
}

}  // namespace app
