// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's handlers of the lighting page: every change the user makes to the
// effect, its brightness, speed, direction and colours goes into the current device's
// setting and profile (saved), restarts the preview, and is sent to the device. Also the
// keyboard's custom colours (groups, keys coloured by area, all keys lit or dark) and
// "same mode", which gives the other connected devices the same kind of effect.
//
// UI thread only.
#include <cstdint>
#include <functional>

#include "app/ShellOperations.h"
#include "data/LightSetting.h"
#include "panels/IPanelShell.h"

namespace model {
class CLumitrekUSBDevice;
}

namespace panels {

class CLightControlUI;

class LightingOperations {
public:
    explicit LightingOperations(IPanelShell& shell) : shell_(shell) {}

    void Register(app::ShellOperations& operations);

    static CLightControlUI* PanelOf(model::CLumitrekUSBDevice& device);
    // Whether more than one device is connected: the same-mode button is offered then.
    static void SetSeveralDevices(model::CLumitrekUSBDevice& device, bool several);

    void ModePicked();
    // Mode, brightness, speed, colour and multi-colour as the page shows them, in one
    // change of the setting (one write).
    void ApplyShown();
    void Brightness();
    void Speed();
    void ZzccModePicked();
    void MultiColour();
    void Direction(int direction);
    void PaletteColour();
    void Swatch(long n);
    // Channel 0 red, 1 green, 2 blue.
    void ColourEdited(int channel);
    void CustomGroupPicked();
    void SameMode();
    // The per-key selection on the keyboard picture ended: the selected keys take the
    // current colour (custom colour mode only).
    void SelectionEnd();
    // Every key lit in the current colour (true) or dark (false).
    void FillCustomColours(bool lit);

    // The device takes `setting`: stored with its profile (saved), the preview restarted
    // and the settings block sent. `clearSync` leaves the synchronised lighting first.
    static void Apply(model::CLumitrekUSBDevice& device, const LightSetting& setting,
                      bool clearSync);

private:
    bool Current(model::CLumitrekUSBDevice*& device, CLightControlUI*& panel);
    // The current device's setting changed by `edit` (which may refuse: false), then applied.
    void Change(bool clearSync, const std::function<bool(CLightControlUI&, LightSetting&)>& edit);
    // A colour (ARGB) taken as the user's: multi-colour off, shown in the values, the
    // palette and the colour button, and applied.
    using ColourPick = std::function<uint32_t(CLightControlUI&, const LightSetting&)>;
    void TakeColour(bool clearSync, const ColourPick& pick);

    IPanelShell& shell_;
};

}  // namespace panels
