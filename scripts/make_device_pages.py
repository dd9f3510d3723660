#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the device pages of the skin: the keyboard page with its 126 key positions, the
mouse pad's page with its 15 LEDs, and the mouse and headset pages, with the headset's
voice and voice-changer panels.

    python3 scripts/make_device_pages.py [SKIN_FOLDER]

Each key position p of the keyboard picture is two "DeviceKeyButton" controls over the
same rectangle: "key_p" (the cap the user clicks to pick the key) and above it "light_p"
(the LED, which takes no mouse input and shows the lighting preview over the cap). The
positions sit where the lighting engine's column matrix puts them: the macro column on
the left, the function row, the main block, the navigation block and the keypad, in key
units of PITCH pixels. Positions that a full-size board of this kind has no key for (the
Japanese and Korean keys and an empty cell) keep their buttons, hidden, so that the
device can bind every position. The page files are generated: edit this script, not
the XML."""

import os
import sys
from xml.sax.saxutils import quoteattr

PITCH = 32           # pixels per key unit at 96 DPI
GAP = 1              # pixels between neighbouring buttons
MAIN_X = 1.25        # the main block starts right of the macro column
NAV_X = MAIN_X + 15.25
PAD_X = NAV_X + 3.25
ROW_Y = [0.0, 1.25, 2.25, 3.25, 4.25, 5.25]   # a quarter unit below the function row
BOARD_W = PAD_X + 4.0
BOARD_H = 6.25

# (position, x, row, width, height, key name); x in key units from the board's left edge.
# The key name is the key-table name of the key each position is in the factory key
# table; the cap shows the legend printed on such a key (CAPS, else the name itself).
KEYS = []

CAPS = {
    "Print Scr": "PrtSc", "Scroll Lock": "ScrLk", "Insert": "Ins", "Page Up": "PgUp",
    "Delete": "Del", "Page Down": "PgDn", "BackSpace": "Backspace", "Caplk": "Caps Lock",
    "xiegang": "\\", "K45": "\\|", "K42": "#", "<": ",", "LShift": "Shift", "RShift": "Shift",
    "LCtrl": "Ctrl", "RCtrl": "Ctrl", "LWin": "Win", "RWin": "Win", "LAlt": "Alt", "RAlt": "Alt",
    "FN": "Fn", "App": "Menu", "Space": "", "Num Lock": "Num", "Num /": "/", "Num *": "*",
    "Num -": "-", "Num +": "+", "Num Enter": "Enter", "Decimal": ".", "Up": "\u2191",
    "Down": "\u2193", "Left": "\u2190", "Right": "\u2192", "Mode": "\u2600",
    "K56": "Ro", "K14": "\u00a5", "K107": ",", "K131": "Muhenkan", "K132": "Henkan",
    "K133": "Kana", "K150": "Hanja", "K151": "Han/Eng",
}
for n in range(10):
    CAPS["Num %d" % n] = str(n)


def key(pos, x, row, name, w=1.0, h=1.0):
    KEYS.append((pos, x, ROW_Y[row], w, h, name))


def keys_in_a_row(start_pos, x, row, legends, w=1.0):
    for i, legend in enumerate(legends):
        key(start_pos + i, x + i * w, row, legend, w)


K = ""

# macro column: the game-mode key and M1..M5
key(16, 0, 0, K + "GM")
for i in range(5):
    key(120 + i, 0, 1 + i, K + "M%d" % (i + 1))

# function row
key(0, MAIN_X, 0, K + "Esc")
keys_in_a_row(1, MAIN_X + 2, 0, [K + "F%d" % n for n in range(1, 5)])
keys_in_a_row(5, MAIN_X + 6.5, 0, [K + "F%d" % n for n in range(5, 9)])
keys_in_a_row(9, MAIN_X + 11, 0, [K + "F%d" % n for n in range(9, 13)])
keys_in_a_row(13, NAV_X, 0, [K + "Print Scr", K + "Scroll Lock", K + "Pause"])

# number row
key(21, MAIN_X, 1, K + "`")
keys_in_a_row(22, MAIN_X + 1, 1, [K + n for n in "1234567890"])
key(32, MAIN_X + 11, 1, K + "-")
key(33, MAIN_X + 12, 1, K + "=")
key(34, MAIN_X + 13, 1, K + "BackSpace", 2)
keys_in_a_row(35, NAV_X, 1, [K + "Insert", K + "Home", K + "Page Up"])
keys_in_a_row(38, PAD_X, 1, [K + "Num Lock", K + "Num /", K + "Num *", K + "Num -"])

# Q row
key(42, MAIN_X, 2, K + "Tab", 1.5)
keys_in_a_row(43, MAIN_X + 1.5, 2, [K + c for c in "QWERTYUIOP"])
key(53, MAIN_X + 11.5, 2, K + "[")
key(54, MAIN_X + 12.5, 2, K + "]")
key(55, MAIN_X + 13.5, 2, K + "xiegang", 1.5)
keys_in_a_row(56, NAV_X, 2, [K + "Delete", K + "End", K + "Page Down"])
keys_in_a_row(59, PAD_X, 2, [K + "Num 7", K + "Num 8", K + "Num 9"])
key(119, PAD_X + 3, 2, K + "Num +", 1, 2)

# A row
key(63, MAIN_X, 3, K + "Caplk", 1.75)
keys_in_a_row(64, MAIN_X + 1.75, 3, [K + c for c in "ASDFGHJKL"])
key(73, MAIN_X + 10.75, 3, K + ";")
key(74, MAIN_X + 11.75, 3, K + "'")
key(104, MAIN_X + 12.75, 3, K + "K42")
key(75, MAIN_X + 13.75, 3, K + "Enter", 1.25)
keys_in_a_row(76, PAD_X, 3, [K + "Num 4", K + "Num 5", K + "Num 6"])

# Z row
key(84, MAIN_X, 4, K + "LShift", 1.25)
key(102, MAIN_X + 1.25, 4, K + "K45")
keys_in_a_row(85, MAIN_X + 2.25, 4, [K + c for c in "ZXCVBNM"])
key(92, MAIN_X + 9.25, 4, K + "<")
key(93, MAIN_X + 10.25, 4, K + ".")
key(94, MAIN_X + 11.25, 4, K + "/")
key(95, MAIN_X + 12.25, 4, K + "RShift", 2.75)
key(96, NAV_X + 1, 4, K + "Up")
keys_in_a_row(97, PAD_X, 4, [K + "Num 1", K + "Num 2", K + "Num 3"])
key(118, PAD_X + 3, 4, K + "Num Enter", 1, 2)

# bottom row
key(105, MAIN_X, 5, K + "LCtrl", 1.25)
key(106, MAIN_X + 1.25, 5, K + "LWin", 1.25)
key(107, MAIN_X + 2.5, 5, K + "LAlt", 1.25)
key(108, MAIN_X + 3.75, 5, K + "Space", 6.25)
keys_in_a_row(109, MAIN_X + 10, 5, [K + "RAlt"])
key(125, MAIN_X + 11, 5, K + "RWin")
key(110, MAIN_X + 12, 5, K + "FN")
key(111, MAIN_X + 13, 5, K + "App")
key(112, MAIN_X + 14, 5, K + "RCtrl")
keys_in_a_row(113, NAV_X, 5, [K + "Left", K + "Down", K + "Right"])
key(116, PAD_X, 5, K + "Num 0", 2)
key(117, PAD_X + 2, 5, K + "Decimal")

# over the keypad: the lighting-mode key and the three lock indicators
key(17, PAD_X, 0, K + "Mode")
# (empty entries of the factory table: lights with no key function)
INDICATORS = {18: "Num", 19: "Caps", 20: "Scroll"}
for i, pos in enumerate(sorted(INDICATORS)):
    key(pos, PAD_X + 1 + i, 0, None)

# positions this board has no key for
HIDDEN = {62: None, 79: "K132", 80: "K131", 81: "K151", 82: "K150", 83: "K133", 100: "K56",
          101: "K14", 103: "K107"}


def px(units):
    return int(round(units * PITCH))


def keyboard_buttons():
    lines = []
    placed = {k[0]: k for k in KEYS}
    assert len(placed) == len(KEYS), "a position is placed twice"
    assert not set(placed) & set(HIDDEN), "a hidden position is also placed"
    assert set(placed) | set(HIDDEN) == set(range(126)), "every position needs its buttons"
    for pos in range(126):
        if pos in placed:
            _, x, y, w, h, legend = placed[pos]
            left, top = px(x), px(y)
            right, bottom = px(x + w) - GAP, px(y + h) - GAP
            visible = None
        else:
            left = top = 0
            right = bottom = PITCH - GAP
            legend = HIDDEN[pos]
            visible = "false"
        pos_text = "%d,%d,%d,%d" % (left, top, right, bottom)
        indicator = pos in INDICATORS
        key_style = "kb_indicator" if indicator else "kb_key"
        led_style = "kb_indicator_led" if indicator else "kb_led"
        extra = ' visible="false"' if visible else ""
        # The legend is what the cap says in every language; the tool-tip (the key's name
        # and what it does now) is the key assignment panel's to set.
        cap = INDICATORS.get(pos, "") if legend is None else CAPS.get(legend, legend)
        lines.append('              <DeviceKeyButton name="key_%d" style="%s" float="true" pos="%s" '
                     'text=%s resourcetext="false"%s/>'
                     % (pos, key_style, pos_text, quoteattr(cap), extra))
        lines.append('              <DeviceKeyButton name="light_%d" style="%s" float="true" pos="%s"%s/>'
                     % (pos, led_style, pos_text, extra))
    return "\n".join(lines)


HEADER = '<?xml version="1.0" encoding="utf-8"?>\n<!-- Generated by scripts/make_device_pages.py; edit the script, not this file. -->\n'


def function_pages(picture, key_pages, system_page, macros=False, pointer_page="      <Control/>",
                   second_page="      <Control/>"):
    """The page body shared by all kinds: the profile panel, then the function pages.
    device_function_switch: 0 picture with the lighting / key panels, 1 macros (the
    headset's surround page), 2 pointer settings (mouse), 3 system settings. device_key_function_switch: 0 lighting,
    1 keys, 2 sound effects (headset)."""
    return """    <DeviceProfileUI name="DeviceProfileItem" height="86"/>
    <TabLayout name="device_function_switch">
      <VerticalLayout childpadding="10">
{picture}
        <TabLayout name="device_key_function_switch">
{key_pages}
        </TabLayout>
      </VerticalLayout>
{macro_page}
{pointer_page}
{system_page}
    </TabLayout>
    <Label name="text_test" visible="false"/>""".format(
        picture=picture, key_pages=key_pages, system_page=system_page, pointer_page=pointer_page,
        macro_page='      <MacroSetControlUI name="MacroControlItem"/>' if macros else second_page)


KEYBOARD_SYSTEM_PAGE = """      <VerticalLayout name="system_set_layout" style="page_panel" inset="24,18,24,18" childpadding="14">
        <Label text="system_polling_rate_text" style="section_title"/>
        <HorizontalLayout height="30" childpadding="12">
          <Option name="polling_rate_option_0" style="radio_option" group="kb_polling_rate" width="110" text="125 Hz" resourcetext="false"/>
          <Option name="polling_rate_option_1" style="radio_option" group="kb_polling_rate" width="110" text="250 Hz" resourcetext="false"/>
          <Option name="polling_rate_option_2" style="radio_option" group="kb_polling_rate" width="110" text="500 Hz" resourcetext="false"/>
          <Option name="polling_rate_option_3" style="radio_option" group="kb_polling_rate" width="110" text="1000 Hz" resourcetext="false"/>
        </HorizontalLayout>
        <Control height="1" bkcolor="#FF2A2F37"/>
        <Label text="system_repeat_text" style="section_title"/>
        <HorizontalLayout height="30" childpadding="12">
          <Label text="system_repeat_rate_text" style="field_label" width="150"/>
          <Label text="system_repeat_slow_text" style="hint_label" width="44" align="right"/>
          <Slider name="repeat_rate_slider" style="slider" width="260" min="1" max="10" value="5"/>
          <Label text="system_repeat_fast_text" style="hint_label" width="44"/>
        </HorizontalLayout>
        <HorizontalLayout height="30" childpadding="12">
          <Label name="repeat_delay_time_label1" text="Repeat_Delay_Time" style="field_label" width="150"/>
          <Option name="repeat_delay_check_0" style="radio_option" group="kb_repeat_delay" width="90" text="250 ms" resourcetext="false"/>
          <Option name="repeat_delay_check_1" style="radio_option" group="kb_repeat_delay" width="90" text="500 ms" resourcetext="false"/>
          <Option name="repeat_delay_check_2" style="radio_option" group="kb_repeat_delay" width="90" text="750 ms" resourcetext="false"/>
          <Option name="repeat_delay_check_3" style="radio_option" group="kb_repeat_delay" width="90" text="1000 ms" resourcetext="false"/>
        </HorizontalLayout>
        <HorizontalLayout height="32" childpadding="12">
          <Label text="system_repeat_test_text" style="field_label" width="150"/>
          <RichEdit name="repeat_input_richedit" style="edit" width="360" tipvalue="Repeat_input_text"/>
          <Button name="reset_repeat_btn" style="button" width="90" text="system_repeat_clear_text"/>
        </HorizontalLayout>
        <Control height="1" bkcolor="#FF2A2F37"/>
        <Label text="system_switches_text" style="section_title"/>
        <HorizontalLayout height="30" childpadding="12">
          <Option name="winlockflag_option" style="switch_option" width="240" text="system_winlock_text"/>
          <Option name="wflag_option" style="switch_option" width="240" text="system_wflag_text"/>
          <Option name="6flag_option" style="switch_option" width="240" text="system_6key_text"/>
        </HorizontalLayout>
        <Control/>
      </VerticalLayout>"""

LIGHT_AND_KEY_PAGES = """          <LightSetControlUI name="LightControlItem"/>
          <KeySetControlUI name="KeySetControlItem"/>
          <Control/>"""

LIGHT_PAGE_ONLY = """          <LightSetControlUI name="LightControlItem"/>
          <Control/>
          <Control/>"""


def keyboard_page():
    board_w, board_h = px(BOARD_W), px(BOARD_H)
    picture = """        <HorizontalLayout height="{h}">
          <Control/>
          <Container width="{cw}" height="{h}" bkimage="file='keyboard/case.png' corner='16,16,16,16'" inset="16,16,16,16">
            <SelectPanel name="keyboard_device_key_light" width="{w}" height="{bh}">
{buttons}
            </SelectPanel>
          </Container>
          <Control/>
        </HorizontalLayout>""".format(h=board_h + 32, cw=board_w + 32, w=board_w, bh=board_h,
                                      buttons=keyboard_buttons())
    body = function_pages(picture, LIGHT_AND_KEY_PAGES, KEYBOARD_SYSTEM_PAGE, macros=True)
    return HEADER + """<LumitrekKeyboardDevice name="keyboard_device_page">
  <VerticalLayout inset="14,4,14,14" childpadding="10">
{body}
  </VerticalLayout>
</LumitrekKeyboardDevice>
""".format(body=body)


# ---- the mouse pad: LED 0 is the logo; 1..7 run along the top edge from left to right
# and 8..14 back along the bottom edge, so that LED n and LED 15 - n face each other.

PAD_W, PAD_H = 600, 232


def pad_leds():
    lines = []
    segment_w, segment_h = 72, 16
    span = PAD_W - 80
    step = span / 7.0
    for i in range(7):
        x = int(round(40 + i * step + (step - segment_w) / 2))
        top = (x, 2, x + segment_w, 2 + segment_h)
        bottom = (x, PAD_H - 2 - segment_h, x + segment_w, PAD_H - 2)
        for pos, rect in ((1 + i, top), (14 - i, bottom)):
            lines.append((pos, rect))
    lines.append((0, (PAD_W - 86, PAD_H - 92, PAD_W - 42, PAD_H - 48)))
    out = []
    for pos, rect in sorted(lines):
        style = "mp_logo_led" if pos == 0 else "mp_led"
        out.append('            <DeviceKeyButton name="light_%d" style="%s" float="true" pos="%d,%d,%d,%d" '
                   'tooltip="mousepad_led_%s"/>' % (pos, style, rect[0], rect[1], rect[2], rect[3],
                                                    "logo" if pos == 0 else "edge"))
    return "\n".join(out)


def mousepad_page():
    picture = """        <HorizontalLayout height="{h}">
          <Control/>
          <SelectPanel name="mousepad_device_key_light" width="{w}" height="{h}" bkimage="file='mousepad/pad.png' corner='28,28,28,28'">
{leds}
          </SelectPanel>
          <Control/>
        </HorizontalLayout>""".format(w=PAD_W, h=PAD_H, leds=pad_leds())
    body = function_pages(picture, LIGHT_PAGE_ONLY, "      <Control/>")
    return HEADER + """<LumitrekMousePadDevice name="mousepad_device_page">
  <VerticalLayout inset="14,4,14,14" childpadding="10">
{body}
  </VerticalLayout>
</LumitrekMousePadDevice>
""".format(body=body)


# ---- the mouse (7 keys, 6 LEDs): the picture with the lighting and key panels, the
# macros, the pointer settings and, on its system page, the DPI stages with the report
# rate and the recoil patterns. LED 5 sits under the logo on the mouse's back.

MOUSE_KEYS = [(0, "mouse_key_left", (30, 22, 72, 92)), (1, "mouse_key_right", (78, 22, 120, 92)),
              (2, "mouse_key_middle", (64, 40, 86, 72)), (3, "mouse_key_forward", (8, 96, 26, 126)),
              (4, "mouse_key_back", (8, 130, 26, 160)), (5, "mouse_key_DPI_add", (64, 100, 86, 116)),
              (6, "mouse_key_DPI_sub", (124, 96, 142, 126))]
MOUSE_LEDS = [(0, (16, 178, 36, 198)), (1, (40, 196, 60, 216)), (2, (65, 203, 85, 223)),
              (3, (90, 196, 110, 216)), (4, (114, 178, 134, 198)), (5, (65, 120, 85, 140))]
MOUSE_LOGO_LED = 5
DPI_STAGES = 5
REPORT_RATES = ["125 Hz", "250 Hz", "500 Hz", "1000 Hz", "2000 Hz"]
WEAPONS = 4
SHOTS = 30
SHOTS_PER_ROW = 10

MOUSE_POINTER_PAGE = """      <VerticalLayout name="pointer_set_layout" style="page_panel" inset="24,18,24,18" childpadding="14">
        <Label text="mouse_pointer_text" style="section_title"/>
        <HorizontalLayout height="30" childpadding="12">
          <Label text="mouse_pointer_speed_text" style="field_label" width="170"/>
          <Label text="system_repeat_slow_text" style="hint_label" width="44" align="right"/>
          <Slider name="pointer_speed_slider" style="slider" width="260" min="1" max="20" value="10"/>
          <Label text="system_repeat_fast_text" style="hint_label" width="44"/>
        </HorizontalLayout>
        <HorizontalLayout height="30" childpadding="12">
          <Option name="pointer_precision_check" style="switch_option" width="320" text="mouse_pointer_precision_text"/>
        </HorizontalLayout>
        <Control height="1" bkcolor="#FF2A2F37"/>
        <Label text="mouse_scroll_text" style="section_title"/>
        <HorizontalLayout height="30" childpadding="12">
          <Label text="mouse_scroll_lines_text" style="field_label" width="170"/>
          <Label text="1" resourcetext="false" style="hint_label" width="44" align="right"/>
          <Slider name="scroll_speed_slider" style="slider" width="260" min="1" max="20" value="3"/>
          <Label text="20" resourcetext="false" style="hint_label" width="44"/>
        </HorizontalLayout>
        <HorizontalLayout height="30" childpadding="12">
          <Option name="scrolls_page_check" style="switch_option" width="320" text="mouse_scroll_page_text"/>
        </HorizontalLayout>
        <Control height="1" bkcolor="#FF2A2F37"/>
        <Label text="mouse_double_click_text" style="section_title"/>
        <HorizontalLayout height="30" childpadding="12">
          <Label text="mouse_double_click_speed_text" style="field_label" width="170"/>
          <Label text="system_repeat_fast_text" style="hint_label" width="44" align="right"/>
          <Slider name="double_click_slider" style="slider" width="260" min="200" max="900" value="500"/>
          <Label text="system_repeat_slow_text" style="hint_label" width="44"/>
        </HorizontalLayout>
        <Control/>
      </VerticalLayout>"""


def mouse_dpi_rows():
    rows = []
    for n in range(DPI_STAGES):
        # The option stays outside the row it switches, so that a stage switched off can
        # be switched on again.
        rows.append("""            <HorizontalLayout height="30" childpadding="12">
              <Option name="DPI_enable_check_{n}" style="check_option" width="120" text="DPI {k}" resourcetext="false"/>
              <HorizontalLayout name="DPI_layout_{n}" childpadding="12">
                <Slider name="DPI_slider_{n}" style="slider" width="320" min="0" max="200" sendmove="true"/>
                <Edit name="DPI_edit_{n}" style="number_edit" width="80" numberonly="true" maxchar="5"/>
                <Label text="DPI" resourcetext="false" style="hint_label" width="40"/>
              </HorizontalLayout>
            </HorizontalLayout>""".format(n=n, k=n + 1))
    return "\n".join(rows)


def mouse_system_page():
    rates = "\n".join('              <Option name="polling_rate_option_%d" style="radio_option" group="ms_report_rate" '
                      'width="100" text="%s" resourcetext="false"/>' % (n, text)
                      for n, text in enumerate(REPORT_RATES))
    return """      <VerticalLayout name="mouse_system_layout" style="page_panel" inset="24,12,24,12" childpadding="10">
        <HorizontalLayout name="mouse_option_layout" height="34" childpadding="2">
          <Option name="mouse_device_seting_option_0" style="tab_option" width="150" group="ms_setting_pages" text="mouse_dpi_page_text" selected="true"/>
          <Option name="mouse_device_seting_option_1" style="tab_option" width="150" group="ms_setting_pages" text="mouse_recoil_page_text"/>
          <Control/>
        </HorizontalLayout>
        <TabLayout name="mouse_device_seting_layout">
          <VerticalLayout childpadding="10">
            <Label text="mouse_dpi_text" style="section_title"/>
{rows}
            <Control height="1" bkcolor="#FF2A2F37"/>
            <Label text="mouse_report_rate_text" style="section_title"/>
            <HorizontalLayout height="30" childpadding="12">
{rates}
            </HorizontalLayout>
            <Control/>
          </VerticalLayout>
          <ShootKeySetControlUI name="ShootControlItem"/>
        </TabLayout>
      </VerticalLayout>""".format(rows=mouse_dpi_rows(), rates=rates)


def mouse_page():
    controls = []
    for pos, text, r in MOUSE_KEYS:
        controls.append('          <DeviceKeyButton name="key_%d" style="ms_key" float="true" pos="%d,%d,%d,%d" '
                        'tooltip="%s"/>' % (pos, r[0], r[1], r[2], r[3], text))
    for pos, r in MOUSE_LEDS:
        logo = ' userdata="logo"' if pos == MOUSE_LOGO_LED else ""
        controls.append('          <DeviceKeyButton name="light_%d" style="ms_led" float="true" pos="%d,%d,%d,%d"%s/>'
                        % (pos, r[0], r[1], r[2], r[3], logo))
    # Beside the picture, what every button does now (rebuilt by the device from its key
    # list); the picture's tool-tips say it only one button at a time.
    picture = """        <HorizontalLayout height="232">
          <Control/>
          <SelectPanel name="mouse_device_key_light" width="150" height="232" bkimage="file='mouse/mouse.png' dest='0,6,150,226'">
{controls}
          </SelectPanel>
          <Control width="36"/>
          <VerticalLayout width="300" childpadding="4">
            <Label text="mouse_key_info_text" style="section_title"/>
            <List name="device_setkeyinfo_list" style="list" height="194"/>
            <Control/>
          </VerticalLayout>
          <Control/>
        </HorizontalLayout>""".format(controls="\n".join(controls))
    body = function_pages(picture, LIGHT_AND_KEY_PAGES, mouse_system_page(), macros=True,
                          pointer_page=MOUSE_POINTER_PAGE)
    return HEADER + """<LumitrekMouseDevice name="mouse_device_page">
  <VerticalLayout inset="14,4,14,14" childpadding="10">
{body}
  </VerticalLayout>
</LumitrekMouseDevice>
""".format(body=body)


def shoot_control():
    """The recoil pattern panel: the weapon slots on the left, the 30 shots and the shot
    editor on the right."""
    weapons = "\n".join('    <Option name="shoot_gun_op_%d" style="radio_option" group="shoot_weapon" height="28" '
                        'text="gun_%d_txt"%s/>' % (g, g + 1, ' selected="true"' if g == 0 else "")
                        for g in range(WEAPONS))
    pictures = "\n".join('      <Label text="shoot_weapon_%d_text" style="hint_label" align="center"/>' % g
                         for g in range(WEAPONS))
    shot_rows = []
    for row in range(SHOTS // SHOTS_PER_ROW):
        cells = "\n".join('        <Option name="bullet_op_%d" style="tab_option" group="shoot_shot" width="36" '
                          'text="%d" resourcetext="false"/>' % (b, b + 1)
                          for b in range(row * SHOTS_PER_ROW, (row + 1) * SHOTS_PER_ROW))
        shot_rows.append('      <HorizontalLayout height="28" childpadding="4">\n%s\n      </HorizontalLayout>' % cells)
    return HEADER.replace("<!-- Generated", "<!-- The recoil pattern panel. Generated") + """<ShootControl childpadding="16">
  <VerticalLayout width="200" childpadding="8">
    <Label text="shoot_weapon_text" style="section_title"/>
{weapons}
    <TabLayout name="shoot_image_display_switch" height="60">
{pictures}
    </TabLayout>
    <Control/>
  </VerticalLayout>
  <VerticalLayout childpadding="8">
    <Label text="shoot_shots_text" style="section_title"/>
{shot_rows}
    <HorizontalLayout height="28" childpadding="8">
      <Button name="bullet_selected_prev" style="button" width="36" text="&lt;" resourcetext="false" tooltip="shoot_prev_tip"/>
      <Label text="shoot_shot_text" style="field_label" width="60" align="right"/>
      <Label name="bullet_select_index" style="field_label" width="30" align="center" resourcetext="false"/>
      <Button name="bullet_selected_next" style="button" width="36" text="&gt;" resourcetext="false" tooltip="shoot_next_tip"/>
      <Control/>
    </HorizontalLayout>
    <VerticalLayout name="bullet_edit_layout" height="110" childpadding="8">
      <HorizontalLayout height="28" childpadding="12">
        <Label text="shoot_horizontal_text" style="field_label" width="140"/>
        <Option name="bullet_x_check" style="check_option" width="130" text="mouse_move_to_right_text"/>
        <Edit name="bullet_x_eidt" style="number_edit" width="70" numberonly="true" maxchar="3"/>
      </HorizontalLayout>
      <HorizontalLayout height="28" childpadding="12">
        <Label text="shoot_vertical_text" style="field_label" width="140"/>
        <Option name="bullet_y_check" style="check_option" width="130" text="mouse_move_to_down_text"/>
        <Edit name="bullet_y_eidt" style="number_edit" width="70" numberonly="true" maxchar="3"/>
      </HorizontalLayout>
      <HorizontalLayout height="28" childpadding="12">
        <Label text="shoot_delay_text" style="field_label" width="140"/>
        <Control width="130"/>
        <Edit name="bullet_delay_eidt" style="number_edit" width="70" numberonly="true" maxchar="5"/>
        <Label text="ms" resourcetext="false" style="hint_label" width="30"/>
      </HorizontalLayout>
    </VerticalLayout>
    <HorizontalLayout height="28" childpadding="8">
      <Button name="shootdate_reset_btn" style="button" width="90" text="shoot_reset_text"/>
      <Button name="shootdate_import_btn" style="button" width="90" text="shoot_import_text"/>
      <Button name="shootdate_export_btn" style="button" width="90" text="shoot_export_text"/>
      <Control/>
      <Button name="shootdate_save_btn" style="accent_button" width="130" text="shoot_save_text"/>
    </HorizontalLayout>
  </VerticalLayout>
</ShootControl>
""".format(weapons=weapons, pictures=pictures, shot_rows="\n".join(shot_rows))


def headset_page():
    leds = []
    # six LEDs round each ear cup and one on the band
    for side, cx in ((0, 36), (1, 204)):
        for k in range(6):
            x = cx - 24 + (k % 3) * 18
            y = 118 + (k // 3) * 56
            pos = side * 6 + k
            leds.append((pos, (x - 2, y, x + 18, y + 20)))
    leds.append((12, (110, 20, 130, 40)))
    controls = "\n".join('          <DeviceKeyButton name="light_%d" style="ms_led" float="true" pos="%d,%d,%d,%d"/>'
                         % (pos, r[0], r[1], r[2], r[3]) for pos, r in leds)
    picture = """        <HorizontalLayout height="232">
          <Control/>
          <SelectPanel name="zo6533_device_key_light" width="240" height="232" bkimage="file='headset/headset.png' dest='0,6,240,226'">
{controls}
          </SelectPanel>
          <Control/>
        </HorizontalLayout>""".format(controls=controls)
    body = function_pages(picture, HEADSET_PANELS, "      <Control/>",
                          second_page='      <VirtualSetControlUI name="VirtualSetControlItem"/>')
    return HEADER + """<LumitrekZO6533Device name="zo6533_device_page">
  <VerticalLayout inset="14,4,14,14" childpadding="10">
{body}
  </VerticalLayout>
</LumitrekZO6533Device>
""".format(body=body)


# The headset's lower pages: lighting, sound (voice panel), voice effects (voice changer).
HEADSET_PANELS = """          <LightSetControlUI name="LightControlItem"/>
          <Voice6533SetControlUI name="Voice6533ControlItem"/>
          <MagicSetControlUI name="MagicControlItem"/>"""

EQ_BANDS = ["31", "62", "125", "250", "500", "1k", "2k", "4k", "8k", "16k"]
EQ_PRESETS_PER_ROW = 5


# A band slider stands upright; the shared "slider" style lies flat, so its upright images are
# named here, stretched along the slider's length.
BAND_SLIDER = ('<Slider name="6533_eq_hz_slider_%d" hor="false" width="22" height="92" min="-20" max="20" value="0" '
               'bkimage="file=\'common/slider_bar_upright.png\' corner=\'0,4,0,4\'" '
               'foreimage="file=\'common/slider_fore_upright.png\' corner=\'0,4,0,4\'" isstretchfore="true" '
               'thumbimage="file=\'common/slider_thumb_normal.png\'" thumbhotimage="file=\'common/slider_thumb_hot.png\'" '
               'thumbpushedimage="file=\'common/slider_thumb_hot.png\'" thumbsize="16,16"/>')


def voice_panel():
    """Microphone and monitor on the left; the equaliser's presets and the user's own in
    the middle; its ten bands on the right."""
    presets = []
    for row_start in range(1, 14, EQ_PRESETS_PER_ROW):
        options = "\n".join(
            '      <Option name="6533_eq_option_%d" style="radio_option" group="hs_eq_preset" width="66" '
            'text="voice_eq_preset_%d"/>' % (n, n) for n in range(row_start, min(row_start + EQ_PRESETS_PER_ROW, 14)))
        presets.append('    <HorizontalLayout height="26" childpadding="4">\n%s\n    </HorizontalLayout>' % options)
    bands = "\n".join(
        '      <VerticalLayout width="22" childpadding="2">\n'
        '        ' + (BAND_SLIDER % i) + '\n'
        '        <Label text="%s" resourcetext="false" style="hint_label" height="16" align="center"/>\n'
        '      </VerticalLayout>' % hz for i, hz in enumerate(EQ_BANDS))
    return HEADER + """<Voice6533Control style="page_panel" inset="14,12,14,12" childpadding="14">
  <VerticalLayout width="160" childpadding="8">
    <Label text="voice_mic_text" style="section_title"/>
    <Option name="6533_MicIn_option" style="switch_option" height="28" text="voice_on_text"/>
    <Slider name="6533_MicIn_slider" style="slider" height="24" min="0" max="100" value="100"/>
    <Label text="voice_monitor_text" style="section_title"/>
    <Option name="6533_MicMoniter_option" style="switch_option" height="28" text="voice_on_text"/>
    <Slider name="6533_MicMoniter_slider" style="slider" height="24" min="0" max="100" value="0"/>
    <Control/>
  </VerticalLayout>
  <VerticalLayout width="346" childpadding="6">
    <Label text="voice_eq_text" style="section_title"/>
{presets}
    <HorizontalLayout name="custom_eq_option_layout" height="30" childpadding="6" visible="false">
      <Combo name="custom_eq_name_combo" style="combo" width="100" height="30"/>
      <Edit name="custom_eq_name_edit" style="edit" width="94" height="30" maxchar="32" tipvalue="voice_eq_name_tip"/>
      <Button name="hs_EQ_btn_save" style="button" width="56" height="30" text="voice_eq_save_text"/>
      <Button name="hs_EQ_btn_delete" style="button" width="56" height="30" text="voice_eq_delete_text"/>
    </HorizontalLayout>
    <Control/>
  </VerticalLayout>
  <VerticalLayout childpadding="6">
    <Control height="22"/>
    <HorizontalLayout height="112" childpadding="2">
{bands}
    </HorizontalLayout>
    <Control/>
  </VerticalLayout>
</Voice6533Control>
""".format(presets="\n".join(presets), bands=bands)


def magic_panel():
    options = "\n".join(
        '      <Option name="magic_option_%d" style="radio_option" group="hs_magic_voice" width="110" '
        'text="magic_voice_%d"/>' % (n, n) for n in range(1, 5))
    return HEADER + """<MagicControl style="page_panel" inset="18,12,18,12">
  <VerticalLayout childpadding="10">
    <Label text="magic_title_text" style="section_title" height="22"/>
    <Option name="magic_enable_option" style="switch_option" height="28" width="240" text="magic_enable_text"/>
    <HorizontalLayout name="magic_option_layout" height="30" childpadding="12" visible="false">
{options}
    </HorizontalLayout>
    <Control/>
  </VerticalLayout>
</MagicControl>
""".format(options=options)


def virtual_set():
    """The headset's surround page: the switch of the library's virtual surround effect."""
    return HEADER + """<VirtualSetControl style="page_panel" inset="24,18,24,18" childpadding="10">
  <Label text="virtual_title_text" style="section_title"/>
  <Option name="virtual_surround_option" style="switch_option" height="28" width="320" text="virtual_surround_text"/>
  <Label text="virtual_surround_hint_text" style="hint_label" height="40" width="520" wordbreak="true"/>
  <Control/>
</VirtualSetControl>
"""


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "resources", "skin")
    folder = os.path.join(os.path.normpath(root), "XML", "DeviceXml")
    os.makedirs(folder, exist_ok=True)
    pages = {"keyboarddevice.xml": keyboard_page(), "mousepaddevice.xml": mousepad_page(),
             "mousedevice.xml": mouse_page(), "zo6533device.xml": headset_page()}
    for name, text in pages.items():
        with open(os.path.join(folder, name), "w", encoding="utf-8") as out:
            out.write(text)
    panels = os.path.join(os.path.normpath(root), "XML", "CustomControlXML")
    written = {"ShootControl.xml": shoot_control(), "Voice6533Control.xml": voice_panel(),
               "MagicControl.xml": magic_panel(), "VirtualSet.xml": virtual_set()}
    for name, text in written.items():
        with open(os.path.join(panels, name), "w", encoding="utf-8") as out:
            out.write(text)
    print("%d device pages and the recoil and headset panels written to %s" % (len(pages), folder))


if __name__ == "__main__":
    main()
