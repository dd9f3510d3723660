// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The controls of a panel, found by name inside it on first use and remembered. A name
// the panel lacks gives null every time (and is looked for again: the layout may come
// later). UI thread only.
#include <map>
#include <string>
#include <string_view>

#include "ui/CContainerUI.h"
#include "ui/CControlUI.h"

namespace panels {

class NamedControls {
public:
    explicit NamedControls(ui::CContainerUI& panel) : panel_(panel) {}

    ui::CControlUI* Find(std::string_view name) const {
        auto it = found_.find(name);
        if (it != found_.end()) return it->second;
        ui::CControlUI* control = panel_.FindSubControl(name);
        if (control != nullptr) found_.emplace(std::string(name), control);
        return control;
    }
    // The control as the skin class `interfaceName` ("Option", "Slider", ...), or null.
    template <class T>
    T* Find(std::string_view name, const char* interfaceName) const {
        ui::CControlUI* control = Find(name);
        return control ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
    }

private:
    ui::CContainerUI& panel_;
    mutable std::map<std::string, ui::CControlUI*, std::less<>> found_;
};

}  // namespace panels
