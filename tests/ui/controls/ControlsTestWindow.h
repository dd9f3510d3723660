// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window-less paint manager holding a layout built from XML through the control factory,
// with every notification recorded and input fed through the manager's input entry.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/CControlUI.h"
#include "ui/CDialogBuilder.h"
#include "ui/CMessageLoop.h"
#include "ui/CPaintManagerUI.h"
#include "ui/ManualClock.h"
#include "ui/RecordingRenderTarget.h"
#include "ui/TNotifyUI.h"
#include "ui/controls/ProgramControls.h"

namespace tx512::test {

struct Notice {
    std::string type;
    ui::CControlUI* sender = nullptr;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

class ControlsTestWindow : public ui::INotifyUI {
public:
    ControlsTestWindow() : loop(std::make_shared<ui::ManualClock>()) {
        ui::RegisterProgramControls();
        manager.SetMessageLoop(&loop);
        manager.AddNotifier(this);
    }
    ~ControlsTestWindow() override { manager.RemoveNotifier(this); }

    // Builds `xml` as the window's tree and lays it out in a client area of `size`.
    ui::CControlUI* Load(std::string_view xml, ui::Size size = {400, 300}) {
        ui::CDialogBuilder builder;
        ui::CControlUI* root = builder.Create(xml, nullptr, &manager);
        EXPECT_NE(root, nullptr) << builder.GetLastError();
        if (root == nullptr) return nullptr;
        manager.AttachDialog(root);
        manager.SetClientSize(size);
        manager.EnsureLayout();
        notices.clear();  // "windowinit" is not what the tests look at
        return root;
    }

    template <typename T>
    T* Find(std::string_view name, std::string_view interfaceName) {
        ui::CControlUI* control = manager.FindControl(name);
        EXPECT_NE(control, nullptr) << "no control " << name;
        if (control == nullptr) return nullptr;
        auto* typed = static_cast<T*>(control->GetInterface(interfaceName));
        EXPECT_NE(typed, nullptr) << name << " is not a " << interfaceName;
        return typed;
    }

    bool Input(ui::TInputEvent::Kind kind, ui::Point pt, int button = 0) {
        ui::TInputEvent input;
        input.kind = kind;
        input.pt = pt;
        input.button = button;
        return manager.HandleInput(input);
    }
    void Move(ui::Point pt) { Input(ui::TInputEvent::Kind::MouseMove, pt); }
    void Down(ui::Point pt) { Input(ui::TInputEvent::Kind::MouseDown, pt); }
    void Up(ui::Point pt) { Input(ui::TInputEvent::Kind::MouseUp, pt); }
    void Click(ui::Point pt) {
        Move(pt);
        Down(pt);
        Up(pt);
    }
    void Drag(ui::Point from, ui::Point to) {
        Move(from);
        Down(from);
        Move(ui::Point{(from.x + to.x) / 2, (from.y + to.y) / 2});
        Move(to);
        Up(to);
    }

    std::vector<std::string> Types() const {
        std::vector<std::string> types;
        for (const Notice& n : notices) types.push_back(n.type);
        return types;
    }
    int Count(std::string_view type) const {
        int count = 0;
        for (const Notice& n : notices) count += n.type == type ? 1 : 0;
        return count;
    }
    const Notice* Last(std::string_view type) const {
        for (auto it = notices.rbegin(); it != notices.rend(); ++it)
            if (it->type == type) return &*it;
        return nullptr;
    }

    void Notify(ui::TNotifyUI& msg) override {
        // Focus moves with every press; no test here is about them.
        if (msg.sType == "setfocus" || msg.sType == "killfocus") return;
        notices.push_back(Notice{msg.sType, msg.pSender, msg.wParam, msg.lParam});
    }

    ui::CMessageLoop loop;
    ui::CPaintManagerUI manager;
    std::vector<Notice> notices;
};

// What a control draws for its own rectangle.
inline ui::RecordingRenderTarget Paint(ui::CControlUI& control) {
    ui::RecordingRenderTarget rec;
    control.DoPaint(rec, control.GetPos());
    return rec;
}

}  // namespace tx512::test
