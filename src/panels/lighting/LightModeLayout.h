// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which parts of the lighting page a mode uses, per device kind: the keyboard has its own
// table, the mouse pad and the headset share one, the mouse has one. A part a mode does
// not mention keeps the state an earlier mode left it in.
#include <cstdint>

namespace panels {

enum class PartState : uint8_t { Keep, Enabled, Disabled };

struct LightModeLayout {
    // The colour controls.
    PartState multiColour = PartState::Keep;  // "deng_7color_check"
    PartState rgbEdit = PartState::Keep;      // "deng_RGB_edit"
    PartState swatchRow1 = PartState::Keep;   // "deng_color_select"
    PartState swatchRow2 = PartState::Keep;   // "deng_color_select1"
    PartState swatches = PartState::Keep;     // "deng_color_layout"
    PartState palette = PartState::Keep;      // "colorpallet_layout"
    bool directionEnabled = false;            // "deng_fx_layout"
    // Text keys of the two direction options; null keeps the kind's defaults.
    const char* directionOne = nullptr;        // "deng_FXL_check" (direction 1)
    const char* directionZero = nullptr;       // "deng_FXR_check" (direction 0)
    bool brightnessEnabled = false;            // "deng_light_layout"
    PartState speedShown = PartState::Keep;    // "deng_speed_layout" visible
    PartState speedEnabled = PartState::Keep;  // "deng_speed_layout" enabled
    bool sameMode = false;                     // "deng_same_mode" offered
    bool zzccShown = false;                    // "light_combo_ZZCCmodeSelectLayout"
    bool customShown = false;                  // "lightcustom_layout"
};

// Kind codes: 1 keyboard, 2 mouse, 3 mouse pad, 7 headset. False for another kind (the
// page is then left as it is).
bool LayoutOfMode(int kind, int mode, LightModeLayout& layout);

// The lighting effect types every kind offers, for giving several devices the same one.
enum class EffectType { None, Spectrum, Breathing, Static, Blink, Off };
EffectType EffectTypeOf(int kind, int mode);
// The mode of `type` on a device of `kind`; -1 when it has none.
int ModeOfEffectType(int kind, EffectType type);

}  // namespace panels
