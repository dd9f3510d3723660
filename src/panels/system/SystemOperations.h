// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's handlers of the keyboard's system settings page: report rate, repeat
// rate and delay, the three switches and the repeat try-out field. Each change goes into
// the keyboard's record and its profile (saved); report rate and the switches also go to
// the keyboard at once, in its settings block, while the repeat values stay in the
// profile. With no keyboard current the controls are ignored.
//
// UI thread only.
#include <cstdint>
#include <functional>

#include "app/ShellOperations.h"
#include "panels/IPanelShell.h"

namespace model {
class KeyboardSystemControls;
struct SystemStages;
}  // namespace model

namespace panels {

class SystemOperations {
public:
    explicit SystemOperations(IPanelShell& shell) : shell_(shell) {}

    void Register(app::ShellOperations& operations);

    void PollingRate(long n);
    void RepeatDelay(long n);
    void RepeatRate();
    void WinLock();
    void WFlag();
    void SixKeyFlag();
    void ClearRepeatTest();

private:
    using Edit = std::function<void(model::KeyboardSystemControls&, model::SystemStages&)>;
    // The current keyboard's record changed by `edit`, stored in the keyboard and its
    // profile (saved) and, when `write`, sent to the keyboard in its settings block.
    void Change(bool write, const Edit& edit);

    IPanelShell& shell_;
};

}  // namespace panels
