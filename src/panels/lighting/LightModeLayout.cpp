// SPDX-License-Identifier: GPL-3.0-or-later
#include "panels/lighting/LightModeLayout.h"

#include <array>

#include "device/scanner/DeviceKind.h"

namespace panels {

namespace {

using S = PartState;

struct ColourGroup {
    S multiColour, rgbEdit, rows, swatches, palette;
};

constexpr ColourGroup kAllOn{S::Enabled, S::Enabled, S::Enabled, S::Enabled, S::Enabled};
constexpr ColourGroup kAllOff{S::Disabled, S::Disabled, S::Disabled, S::Disabled, S::Disabled};
// The check, the swatches and the palette off; the values and swatch rows as they were.
constexpr ColourGroup kPickersOff{S::Disabled, S::Keep, S::Keep, S::Disabled, S::Disabled};

LightModeLayout Keyboard(ColourGroup colour, bool direction, bool brightness, bool speedShown) {
    LightModeLayout layout;
    layout.multiColour = colour.multiColour;
    layout.rgbEdit = colour.rgbEdit;
    layout.swatchRow1 = layout.swatchRow2 = colour.rows;
    layout.swatches = colour.swatches;
    layout.palette = colour.palette;
    layout.directionEnabled = direction;
    layout.brightnessEnabled = brightness;
    layout.speedShown = speedShown ? S::Enabled : S::Disabled;
    layout.speedEnabled = S::Enabled;
    layout.directionOne = "light_set_right_to_left_text";
    layout.directionZero = "light_set_left_to_right_text";
    return layout;
}

LightModeLayout KeyboardMode(int mode) {
    switch (mode) {
        case 1:
        case 2:
        case 3:
        case 25:
            return Keyboard(kAllOn, true, true, true);
        case 4: {
            LightModeLayout l = Keyboard(kAllOff, false, true, true);
            l.sameMode = true;
            return l;
        }
        case 5:
        case 24:
        case 6: {
            LightModeLayout l = Keyboard(kAllOn, false, true, mode != 6);
            l.sameMode = true;
            return l;
        }
        case 7:
        case 8:
        case 9:
        case 10:
        case 13:
        case 14:
        case 15:
        case 29:
            return Keyboard(kAllOn, false, true, true);
        case 11:
            return Keyboard(kAllOff, false, true, true);
        case 12: {
            LightModeLayout l = Keyboard(kAllOff, true, true, true);
            l.directionOne = "light_set_down_to_up_text";
            l.directionZero = "light_set_up_to_down_text";
            return l;
        }
        case 16:
            return Keyboard(kAllOn, false, true, false);
        case 17: {
            LightModeLayout l = Keyboard(kAllOff, false, true, false);
            l.zzccShown = true;
            return l;
        }
        case 18: {
            LightModeLayout l = Keyboard(kAllOff, true, true, false);
            l.directionOne = "light_set_outside_to_inside_text";
            l.directionZero = "light_set_inside_to_outside_text";
            return l;
        }
        case 20: {
            LightModeLayout l = Keyboard(
                {S::Disabled, S::Disabled, S::Enabled, S::Enabled, S::Enabled}, false, true, false);
            l.customShown = true;
            return l;
        }
        case 22:
            return Keyboard({S::Enabled, S::Keep, S::Keep, S::Enabled, S::Enabled}, false, true,
                            true);
        case 26:
            return Keyboard({S::Disabled, S::Enabled, S::Keep, S::Disabled, S::Disabled}, false,
                            true, true);
        case 27:
            return Keyboard({S::Disabled, S::Disabled, S::Keep, S::Disabled, S::Disabled}, false,
                            true, true);
        case 28: {
            LightModeLayout l = Keyboard(kPickersOff, false, false, false);
            l.sameMode = true;
            return l;
        }
        case 30:
            return Keyboard({S::Enabled, S::Keep, S::Enabled, S::Enabled, S::Enabled}, true, true,
                            true);
        default: {  // 0, 19, 21, 23 and above 30: nothing the user could change
            LightModeLayout l = Keyboard(kPickersOff, false, false, false);
            l.speedEnabled = S::Disabled;
            return l;
        }
    }
}

// The mouse pad, the headset and the mouse: the colour group is the check, the swatches
// and the palette, and speed is only ever enabled or disabled.
LightModeLayout Accessory(S multiColour, S pickers, bool direction, bool brightness, bool speed,
                          bool sameMode) {
    LightModeLayout layout;
    layout.multiColour = multiColour;
    layout.swatches = layout.palette = pickers;
    layout.directionEnabled = direction;
    layout.brightnessEnabled = brightness;
    layout.speedEnabled = speed ? S::Enabled : S::Disabled;
    layout.sameMode = sameMode;
    return layout;
}

LightModeLayout PadMode(int mode) {
    switch (mode) {
        case 0:
            return Accessory(S::Enabled, S::Enabled, true, true, true, false);
        case 1:
            return Accessory(S::Disabled, S::Disabled, false, true, true, true);
        case 2:
        case 4:
            return Accessory(S::Enabled, S::Enabled, false, true, true, true);
        case 3:
            return Accessory(S::Disabled, S::Enabled, false, true, false, true);
        case 8:
            return Accessory(S::Disabled, S::Disabled, false, false, false, true);
        default:
            return Accessory(S::Disabled, S::Disabled, false, false, false, false);
    }
}

LightModeLayout MouseMode(int mode) {
    switch (mode) {
        case 0:
        case 5:
            return Accessory(S::Enabled, S::Enabled, true, true, true, false);
        case 1:
            return Accessory(S::Disabled, S::Disabled, false, true, true, true);
        case 2:
            return Accessory(S::Enabled, S::Enabled, true, true, true, true);
        case 3:
            return Accessory(S::Disabled, S::Enabled, false, true, false, true);
        case 4:
            return Accessory(S::Enabled, S::Enabled, false, true, true, true);
        case 6:
        case 7:
            return Accessory(S::Disabled, S::Disabled, false, true, true, false);
        case 8:
            return Accessory(S::Disabled, S::Disabled, false, false, false, true);
        default:
            return Accessory(S::Disabled, S::Disabled, false, false, false, false);
    }
}

struct TypeRow {
    EffectType type;
    int keyboardMode;
    int otherMode;  // mouse, mouse pad and headset
};

constexpr std::array<TypeRow, 5> kTypes = {{
    {EffectType::Spectrum, 4, 1},
    {EffectType::Breathing, 5, 2},
    {EffectType::Static, 6, 3},
    {EffectType::Blink, 24, 4},
    {EffectType::Off, 28, 8},
}};

}  // namespace

bool LayoutOfMode(int kind, int mode, LightModeLayout& layout) {
    switch (kind) {
        case device::kKindKeyboard:
            layout = KeyboardMode(mode);
            return true;
        case device::kKindMouse:
        case device::kKindMouseLongWait:
            layout = MouseMode(mode);
            return true;
        case device::kKindMousePad:
        case device::kKindHeadset:
            layout = PadMode(mode);
            return true;
        default:
            return false;
    }
}

EffectType EffectTypeOf(int kind, int mode) {
    for (const TypeRow& row : kTypes)
        if (mode == (kind == device::kKindKeyboard ? row.keyboardMode : row.otherMode))
            return row.type;
    return EffectType::None;
}

int ModeOfEffectType(int kind, EffectType type) {
    for (const TypeRow& row : kTypes)
        if (row.type == type)
            return kind == device::kKindKeyboard ? row.keyboardMode : row.otherMode;
    return -1;
}

}  // namespace panels
