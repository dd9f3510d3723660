// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's handlers of the mouse page's own settings: the DPI stages (enable,
// slider, edit, the slider's preview while dragged), the report rate, the four pointer
// settings, the settings pages and the free-standing DPI pair. DPI stages and the report rate go
// into the profile (saved) and to the mouse in its settings block; the pointer settings are only
// stored. With no mouse current the controls are ignored.
//
// UI thread only.
#include <array>
#include <cstdint>
#include <functional>

#include "app/ShellOperations.h"
#include "panels/IPanelShell.h"

namespace model {
class CLumitrekMouseDevice;
}

namespace panels {

class MouseOperations {
public:
    // The free-standing DPI pair ("vexal_DPI_") takes values in this range.
    static constexpr int kVexalDpiMin = 200;
    static constexpr int kVexalDpiMax = 6500;

    explicit MouseOperations(IPanelShell& shell) : shell_(shell) {}

    void Register(app::ShellOperations& operations);

    void DpiEnable(long n);
    void DpiSlider(long n);
    void DpiPreview(long n);
    void DpiEdited(long n);
    void ReportRate(long n);
    void PointerSpeed();
    void PointerPrecision();
    void ScrollPage();
    void ScrollSpeed();
    void DoubleClickSpeed();
    void SettingsPage(long n);
    void VexalSliderMoved(ui::TNotifyUI& msg, long n);
    void VexalEdited(ui::TNotifyUI& msg, long n);

private:
    model::CLumitrekMouseDevice* Mouse();
    // The profile saved and the settings block sent.
    void SaveAndWrite(model::CLumitrekMouseDevice& mouse);
    using Words = std::array<uint32_t, 3>;
    // The system words changed by `edit`, stored and saved; nothing is sent.
    void StoreWords(const std::function<void(model::CLumitrekMouseDevice&, Words&)>& edit);

    IPanelShell& shell_;
};

}  // namespace panels
