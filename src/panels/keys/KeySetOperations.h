// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's key handlers: a click on a key of the keyboard picture selects it for
// the key panel; every change in the panel is applied to the key at once (the device's
// key list and the profile); the panel's buttons restore the default, undo, apply, and
// write the keys and the macros they play to the keyboard; while the key edit has the
// focus, keys pressed are captured into it.
//
// UI thread only.
#include <memory>

#include "app/ShellOperations.h"
#include "panels/IPanelShell.h"

namespace model {
class CLumitrekUSBDevice;
}

namespace panels {

class CKeySetControlUI;

class KeySetOperations {
public:
    explicit KeySetOperations(IPanelShell& shell);
    KeySetOperations(const KeySetOperations&) = delete;
    KeySetOperations& operator=(const KeySetOperations&) = delete;

    void Register(app::ShellOperations& operations);

    static CKeySetControlUI* PanelOf(model::CLumitrekUSBDevice& device);

    // Key `position` of the current keyboard's picture was clicked.
    void SelectKey(int position);
    // Key `position` of a device's picture (a keyboard's or a mouse's; null: nothing).
    void SelectKey(model::CLumitrekUSBDevice* device, int position);
    // The controls as the selected key's mapping, in the device and the profile.
    void Apply();
    void RestoreDefault();
    void Undo();
    void WriteToKeyboard();
    void CategoryPicked();
    void ModePicked();
    void ModifierPicked(int option);
    void StartCapture();
    void StopCapture();
    // A key reported by the hook while the key edit has the focus.
    void Captured(const app::RouteCall& call);

private:
    CKeySetControlUI* CurrentPanel();

    IPanelShell& shell_;
    bool capturing_ = false;
    std::shared_ptr<KeySetOperations*> alive_;
};

}  // namespace panels
