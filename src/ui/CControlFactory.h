// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Creates controls by class name for the layout builder. The library's own classes are
// registered under their element names ("Button", "VerticalLayout", ...); a program adds
// its classes with RegistControl, usually under the C++ class name ("CCircleProgressUI")
// and, where layouts use it, the element name ("CircleProgress"). Names compare without
// regard to case; registering a name again replaces its creator.
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace ui {

class CControlUI;

class CControlFactory {
public:
    using Creator = std::function<CControlUI*()>;

    static CControlFactory& GetInstance();

    void RegistControl(std::string_view name, Creator creator);
    void UnregistControl(std::string_view name);
    bool IsRegistered(std::string_view name) const;
    // A new control (owned by the caller), or null for an unknown name.
    CControlUI* CreateControl(std::string_view name) const;

private:
    CControlFactory();
    std::map<std::string, Creator> m_creators;  // key: lower-case name
};

// Registers a default-constructed class under its own name: REGIST_CONTROL(CCircleProgressUI).
#define REGIST_CONTROL(cls) \
    ::ui::CControlFactory::GetInstance().RegistControl(#cls, [] { return new cls(); })

}  // namespace ui
