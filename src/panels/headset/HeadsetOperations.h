// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's handlers of the headset's voice and voice-changer pages. Each acts on
// the current device when it is a headset and does nothing otherwise; what reaches the
// audio library and the profile is the headset object's business.
//
// UI thread only.
#include "app/ShellOperations.h"
#include "panels/IPanelShell.h"

namespace panels {

class HeadsetOperations {
public:
    explicit HeadsetOperations(IPanelShell& shell) : shell_(shell) {}

    void Register(app::ShellOperations& operations);

    // A taken name shows "message_text_5"; the result as SaveUserEqPreset gives it.
    int SaveUserPreset();

private:
    IPanelShell& shell_;
};

}  // namespace panels
