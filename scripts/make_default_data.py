#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the factory data beside the program (resources/DefaultData/): the default
profile of each device kind and the lighting panel's mode names ("default_light.json").

    python3 scripts/make_default_data.py [RESOURCES_FOLDER]

Every new profile starts as a copy of its kind's default profile, and "Reset" brings a
profile back to it. Files are indented by three spaces with members in name order, as
the program's own JSON files are."""

import json
import math
import os
import sys

# The keyboard's factory assignment of each key position 0..125 (type, byte 1, byte 0):
# the device key slot carrying that assignment is the position's key.
FACTORY_KEYS = """
20 00 29  20 00 3A  20 00 3B  20 00 3C  20 00 3D  20 00 3E  20 00 3F  20 00 40  20 00 41
20 00 42  20 00 43  20 00 44  20 00 45  20 00 46  20 00 47  20 00 48  A0 1B 00  A0 24 00
20 00 00  20 00 00  20 00 00  20 00 35  20 00 1E  20 00 1F  20 00 20  20 00 21  20 00 22
20 00 23  20 00 24  20 00 25  20 00 26  20 00 27  20 00 2D  20 00 2E  20 00 2A  20 00 49
20 00 4A  20 00 4B  20 00 53  20 00 54  20 00 55  20 00 56  20 00 2B  20 00 14  20 00 1A
20 00 08  20 00 15  20 00 17  20 00 1C  20 00 18  20 00 0C  20 00 12  20 00 13  20 00 2F
20 00 30  20 00 31  20 00 4C  20 00 4D  20 00 4E  20 00 5F  20 00 60  20 00 61  20 00 00
20 00 39  20 00 04  20 00 16  20 00 07  20 00 09  20 00 0A  20 00 0B  20 00 0D  20 00 0E
20 00 0F  20 00 33  20 00 34  20 00 28  20 00 5C  20 00 5D  20 00 5E  20 00 8A  20 00 8B
20 00 90  20 00 91  20 00 88  20 02 00  20 00 1D  20 00 1B  20 00 06  20 00 19  20 00 05
20 00 11  20 00 10  20 00 36  20 00 37  20 00 38  20 20 00  20 00 52  20 00 59  20 00 5A
20 00 5B  20 00 87  20 00 89  20 00 64  20 00 85  20 00 32  20 01 00  20 08 00  20 04 00
20 00 2C  20 40 00  A0 01 00  20 00 65  20 10 00  20 00 50  20 00 51  20 00 4F  20 00 62
20 00 63  20 00 58  20 00 57  D0 A2 01  D0 A2 02  D0 A2 03  D0 A2 04  D0 A2 05  20 80 00
"""

ACCENT = (0x22, 0xB8, 0xF0)


def factory_assignments():
    values = [int(b, 16) for b in FACTORY_KEYS.split()]
    entries = [values[i] << 16 | values[i + 1] << 8 | values[i + 2] for i in range(0, len(values), 3)]
    assert len(entries) == 126
    return entries


def light_info(mode, brightness, speed, direction, multicolour, colour):
    return {"SelectItem": mode, "Light": brightness, "Speed": speed, "Fx": direction,
            "MultiColor": multicolour, "Red": colour[0], "Green": colour[1], "Blue": colour[2],
            "ZZCCLedMode": 0, "CustomGroup": 0}


def colour(rgb):
    return {"Red": rgb[0], "Green": rgb[1], "Blue": rgb[2], "Alpha": 255}


def wheel(t):
    """A hue from 0 to 1 as red, green, blue."""
    h = (t % 1.0) * 6.0
    k = int(h)
    f = h - k
    q, p = int(255 * (1 - f)), int(255 * f)
    return [(255, p, 0), (q, 255, 0), (0, 255, p), (0, q, 255), (p, 0, 255), (255, 0, q)][k % 6]


# Where each key position sits from left to right (0..1): the custom colour sets that run
# across the board use it. Columns of the lighting matrix, by position.
COLUMNS = [
    [120, 121, 122, 84, 124, 16, 123], [0, 21, 42, 63, 102, 105], [22, 43, 64, 85, 106],
    [1, 23, 44, 65, 86], [2, 24, 45, 66, 87, 107], [3, 25, 46, 67, 88], [4, 26, 47, 68, 89, 108],
    [27, 48, 69, 90], [5, 28, 49, 70, 91], [6, 29, 50, 71, 92, 109], [7, 30, 51, 72, 93],
    [8, 31, 52, 73, 94, 125], [9, 32, 53, 74, 110], [10, 33, 54, 104, 111], [11, 34, 55, 75, 95, 112],
    [12, 113, 62, 79, 80, 81, 82, 83, 100, 101, 103], [13, 35, 56, 96, 114], [14, 36, 57, 115],
    [15, 37, 58], [17, 38, 59, 76, 97, 116], [18, 39, 60, 77, 98], [19, 40, 61, 78, 99, 117],
    [20, 41, 119, 118],
]


def custom_groups():
    column_of = {}
    for c, positions in enumerate(COLUMNS):
        for p in positions:
            column_of[p] = c
    assert sorted(column_of) == list(range(126))
    accent = [colour(ACCENT) for _ in range(126)]
    rainbow = [colour(wheel(column_of[p] / 23.0)) for p in range(126)]
    # the gaming keys stand out: WASD, the arrows and the macro keys
    highlight = {44, 64, 65, 66, 96, 113, 114, 115, 120, 121, 122, 123, 124}
    gaming = [colour((255, 60, 40) if p in highlight else (40, 40, 48)) for p in range(126)]
    white = [colour((255, 255, 255)) for _ in range(126)]
    off = [colour((0, 0, 0)) for _ in range(126)]
    return [accent, rainbow, gaming, white, off]


def keyboard():
    keys = [{"Assignment": a, "DefaultAssignment": a} for a in factory_assignments()]
    return {"Device": [{
        "LightInfo": light_info(1, 4, 2, 1, 1, ACCENT),
        "KeyList": keys,
        # repeat rate 5 of 1..10, repeat delay 500 ms, full rollover, 1000 Hz
        "SystemStages": {"Repeat": 5, "RepeatDelay": 1, "Key6Flag": 0, "PollingRate": 3,
                         "WFlag": 0, "WinFlag": 0},
        "CustomLightMode": {"CustomLightModeGroupIndex": 0, "LightColorInfo": custom_groups()},
        # no LED follows a lighting of its own: the whole board plays the effect
        "LightList": [None] * 126,
    }]}


def mousepad():
    return {"Device": [{
        "LightInfo": light_info(0, 4, 2, 1, 1, ACCENT),
        "KeyList": [],
        "LightList": [None] * 15,
    }]}


# The mouse's DPI step: a stage holds its resolution in steps of 50 DPI.
MOUSE_DPI_STEP = 50


def mouse():
    # The mouse's ten key positions as they leave the factory: left, right, middle, forward,
    # back, DPI up, DPI down, DPI cycle, the smart key and DPI shift.
    keys = [0x100100, 0x100200, 0x100400, 0x101000, 0x100800, 0x130100, 0x130200, 0x130300,
            0xA01B00, 0x169001]
    stages = []
    for dpi, rgb in ((400, (255, 0, 0)), (800, (0, 255, 0)), (1600, ACCENT), (3200, (255, 160, 0)),
                     (6400, (255, 0, 255))):
        steps = dpi // MOUSE_DPI_STEP
        stages.append({"StageActive": 1, "StageXY": 0, "StageDPIX": steps, "StageDPIY": steps,
                       "StageColorR": rgb[0], "StageColorG": rgb[1], "StageColorB": rgb[2]})
    return {"Device": [{
        "LightInfo": light_info(0, 4, 2, 1, 1, ACCENT),
        "KeyList": [{"Assignment": k, "DefaultAssignment": k} for k in keys],
        "LightList": [None] * 6,
        "DPIStages": {"StageActive": 2, "StageDPIs": stages},
        "SystemStages": {"DoubleClickTime": 500, "MouseSpeed": 10, "PointerPrecision": 1,
                         "ScorllPage": 0, "WheelScorlllinse": 3},
        "ReportStages": {"StageActive": 3},
        "CorrectInfo": [
            {"CorrectName": "Off", "CorrectPixThresh": 0, "CorrectMinSq": 0, "CorrectSelect": 1},
            {"CorrectName": "Light", "CorrectPixThresh": 2, "CorrectMinSq": 4, "CorrectSelect": 0},
            {"CorrectName": "Strong", "CorrectPixThresh": 4, "CorrectMinSq": 9, "CorrectSelect": 0},
        ],
    }]}


# Ten bands from low to high for the headset's equaliser presets 1..12 (element 0 is never
# used: preset 0 plays element 1).
EQ_PRESETS = [
    [0] * 10, [0] * 10,
    [6, 5, 3, 1, 0, 0, 0, 0, 0, 0], [0, 0, 0, 0, 0, 1, 3, 4, 5, 6], [4, 3, 1, 0, -1, -1, 0, 2, 3, 4],
    [-2, -1, 0, 2, 4, 4, 2, 0, -1, -2], [5, 4, 2, 0, -2, 0, 2, 3, 4, 4], [3, 2, 0, -2, -3, -2, 0, 2, 3, 4],
    [-4, -3, -1, 1, 3, 4, 3, 1, -1, -3], [2, 2, 1, 0, 0, 0, 1, 2, 2, 2], [6, 6, 4, 2, 0, 0, 0, 0, 0, 0],
    [0, 0, 1, 2, 3, 3, 2, 1, 0, 0], [-3, -2, 0, 2, 3, 3, 3, 2, 1, 0],
]


def headset():
    return {"Device": [{
        "LightInfo": light_info(0, 4, 2, 1, 1, ACCENT),
        "KeyList": [],
        "LightList": [None] * 13,
        "SystemSetStages": {"MagicEnable": 0, "MagicType": 0, "EqType": 0, "CustomEqSeletIndex": 0,
                            "MicInSelect": 1, "MicInValue": 80, "MicMoniterSelect": 0,
                            "MicMoniterValue": 50},
        "EQHzValueInfo": [[{"value": v} for v in preset] for preset in EQ_PRESETS],
        "CustomEQNameInfo": [],
        "CustomEQHzValueInfo": [],
    }]}


def names(keys, hidden=()):
    return [{"LightName": key, "visible": i not in hidden} for i, key in enumerate(keys)]


KEYBOARD_MODES = [
    "light_mode_program", "light_mode_wave", "light_mode_fine_wave", "light_mode_snake",
    "light_mode_spectrum", "light_mode_breathing", "light_mode_static", "light_mode_reactive",
    "light_mode_ripple", "light_mode_line_ripple", "light_mode_starlight", "light_mode_rainbow",
    "light_mode_row_bands", "light_mode_rising", "light_mode_light_show", "light_mode_pulse",
    "light_mode_bounce", "light_mode_preset", "light_mode_diagonal", "light_mode_program",
    "light_mode_custom", "light_mode_program", "light_mode_key_breathing", "light_mode_program",
    "light_mode_blink", "light_mode_sweep", "light_mode_breathing4", "light_mode_blink4",
    "light_mode_off", "light_mode_reactive_glow", "light_mode_chase",
]
# Modes 0, 19, 21 and 23 only play light programs: the panel does not offer them.
KEYBOARD_PROGRAM_MODES = (0, 19, 21, 23)
PAD_MODES = ["light_mode_wave", "light_mode_spectrum", "light_mode_breathing", "light_mode_static",
             "light_mode_blink", "light_mode_program", "light_mode_fade", "light_mode_pair_fade",
             "light_mode_off"]
MOUSE_MODES = ["light_mode_wave", "light_mode_spectrum", "light_mode_breathing", "light_mode_static",
               "light_mode_blink", "light_mode_flow", "light_mode_reactive", "light_mode_marquee",
               "light_mode_off"]


def default_light():
    # light-list index: keyboard 0, mouse 1, mouse pad 2, headset 3
    return {
        "DefaultLightName": [names(KEYBOARD_MODES, KEYBOARD_PROGRAM_MODES), names(MOUSE_MODES),
                             names(PAD_MODES, (5,)), names(PAD_MODES, (5,))],
        "AreaLightName": [[{"LightName": "light_area_all"}] for _ in range(4)],
    }


def shoot_pattern(weapon):
    """The recoil pattern of weapon slot 0-3: 30 shots, each a left click and a correction.

    The correction pulls the pointer down against the climb of the weapon: strongest over
    the first shots and easing off, with a sideways drift that changes side, as sprays
    of an automatic weapon go. Slot 0 is a rifle, 1 a carbine, 2 a submachine gun and 3 a
    light machine gun; they differ in pull, drift and rate of fire."""
    pull, drift, interval = ((9, 3, 100), (7, 2, 90), (5, 2, 70), (11, 4, 120))[weapon]
    events = []
    for shot in range(30):
        climb = max(1, round(pull * (1.0 - shot / 40.0)))
        side = round(drift * math.sin(shot / 4.0 + weapon))
        horizontal = "down" if side > 0 else "up"   # "down" moves left
        events += [
            {"Type": 1, "Action": "down", "Button": 1, "Delay": 10},
            {"Type": 1, "Action": "up", "Button": 1, "Delay": 0},
            {"Type": 4, "Action": horizontal, "Button": abs(side), "Delay": 5},
            {"Type": 5, "Action": "up", "Button": climb, "Delay": interval},   # "up" moves down
            {"Type": 4, "Action": horizontal, "Button": 0, "Delay": 0},
            {"Type": 5, "Action": "up", "Button": 0, "Delay": 0},
        ]
    return {"Events": events}


def write(path, value):
    with open(path, "w", encoding="utf-8") as out:
        json.dump(value, out, ensure_ascii=False, indent=3, sort_keys=True)
        out.write("\n")


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    folder = os.path.join(os.path.normpath(root), "DefaultData")
    os.makedirs(folder, exist_ok=True)
    files = {"keyboard.Json": keyboard(), "MousePad.Json": mousepad(), "mouse.Json": mouse(),
             "HD.Json": headset(), "default_light.json": default_light()}
    for weapon in range(4):
        files["ShootData_%d.Shoot" % weapon] = shoot_pattern(weapon)
    for name, value in files.items():
        write(os.path.join(folder, name), value)
    print("%d files written to %s" % (len(files), folder))


if __name__ == "__main__":
    main()
