#pragma once
// The main window's handlers of the keyboard's system settings page: report rate, repeat
// rate and delay, the three switches and the repeat try-out field. Each change goes into
// the keyboard's record and its profile (saved); report rate and the switches also go to
// the keyboard at once, in its settings block, while the repeat values stay in the
// profile. With no keyboard current the controls are ignored.
//
// UI thread only.
#include <cstdint>

#include "app/ShellOperations.h"
#include "panels/IPanelShell.h"

namespace model {
class CLumitrekKeyboardDevice;
struct SystemStages;
}  // namespace model

namespace panels {

class SystemOperations {
public:
    static constexpr int kChoices = 4;  // report rate and repeat delay options 0..3

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
    model::CLumitrekKeyboardDevice* Keyboard();
    // Stores the changed record in the keyboard and its profile, saves, and when `write`
    // sends the keyboard its settings block.
    static void Store(model::CLumitrekKeyboardDevice& keyboard, const model::SystemStages& stages,
                      bool write);

    IPanelShell& shell_;
};

}  // namespace panels
