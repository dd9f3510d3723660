#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws every image of the skin folder (resources/skin/) and the program icon.

    python3 scripts/make_skin_images.py [SKIN_FOLDER]

The look: a dark surface, one accent colour (ACCENT), light text. Images are drawn at
their 96-DPI size; the ones that stretch carry nine-patch corners in the layouts, so
they stay clean at 144 DPI. Run it again after changing a colour or a shape and check
the new files in."""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from skinpaint import (Canvas, arc, capsule, circle, clamp, hex_colour, intersect, mix,  # noqa: E402
                       polygon, ring, round_rect, subtract, union, vertical)

ACCENT = hex_colour("22B8F0")
ACCENT_DEEP = hex_colour("1486B3")
BACKGROUND = hex_colour("121418")
PANEL = hex_colour("1A1D22")
RAISED = hex_colour("23272E")
RAISED_HOT = hex_colour("2C313A")
SUNKEN = hex_colour("0E1013")
BORDER = hex_colour("353B46")
TEXT = hex_colour("DCE0E6")
DIM = hex_colour("8B93A0")
FAINT = hex_colour("596170")
WHITE = (1.0, 1.0, 1.0, 1.0)


def with_alpha(colour, alpha):
    return (colour[0], colour[1], colour[2], colour[3] * alpha)


class Skin:
    def __init__(self, root):
        self.root = root
        self.count = 0

    def save(self, canvas, name):
        path = os.path.join(self.root, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        canvas.save(path)
        self.count += 1


# ---- glyphs: each draws into a canvas inside the box (x, y, size)


def glyph_keyboard(c, x, y, s, colour):
    body = round_rect(x + s * 0.04, y + s * 0.26, x + s * 0.96, y + s * 0.76, s * 0.08)
    c.fill(ring(body, max(1.4, s * 0.05)), colour)
    for row in range(3):
        keys = 7 if row < 2 else 1
        for k in range(keys):
            if row < 2:
                kx = x + s * (0.14 + k * 0.115)
                ky = y + s * (0.36 + row * 0.12)
                c.fill(round_rect(kx, ky, kx + s * 0.08, ky + s * 0.075, s * 0.015), colour)
            else:
                c.fill(round_rect(x + s * 0.27, y + s * 0.6, x + s * 0.73, y + s * 0.67, s * 0.015),
                       colour)


def glyph_mouse(c, x, y, s, colour):
    body = round_rect(x + s * 0.28, y + s * 0.12, x + s * 0.72, y + s * 0.88, s * 0.22)
    c.fill(ring(body, max(1.4, s * 0.05)), colour)
    c.fill(capsule(x + s * 0.5, y + s * 0.13, x + s * 0.5, y + s * 0.4, max(0.7, s * 0.022)), colour)
    c.fill(capsule(x + s * 0.5, y + s * 0.22, x + s * 0.5, y + s * 0.3, s * 0.045), colour)


def glyph_pad(c, x, y, s, colour, hard):
    pad = round_rect(x + s * 0.04, y + s * 0.24, x + s * 0.96, y + s * 0.78, s * 0.08)
    c.fill(ring(pad, max(1.4, s * (0.07 if hard else 0.045))), colour)
    inner = round_rect(x + s * 0.13, y + s * 0.33, x + s * 0.87, y + s * 0.69, s * 0.04)
    c.fill(ring(inner, max(0.8, s * 0.025)), with_alpha(colour, 0.55))
    if hard:
        c.fill(round_rect(x + s * 0.7, y + s * 0.58, x + s * 0.82, y + s * 0.64, s * 0.02), colour)
    else:
        c.fill(circle(x + s * 0.76, y + s * 0.6, s * 0.04), colour)


def glyph_headset(c, x, y, s, colour):
    w = max(1.4, s * 0.06)
    c.fill(arc(x + s * 0.5, y + s * 0.56, s * 0.34, w, 180, 360), colour)
    c.fill(round_rect(x + s * 0.1, y + s * 0.5, x + s * 0.28, y + s * 0.84, s * 0.06), colour)
    c.fill(round_rect(x + s * 0.72, y + s * 0.5, x + s * 0.9, y + s * 0.84, s * 0.06), colour)


def glyph_hub(c, x, y, s, colour):
    body = round_rect(x + s * 0.12, y + s * 0.34, x + s * 0.88, y + s * 0.7, s * 0.08)
    c.fill(ring(body, max(1.4, s * 0.05)), colour)
    for k in range(4):
        px = x + s * (0.22 + k * 0.155)
        c.fill(round_rect(px, y + s * 0.46, px + s * 0.09, y + s * 0.58, s * 0.01), colour)
    c.fill(capsule(x + s * 0.5, y + s * 0.12, x + s * 0.5, y + s * 0.34, max(0.8, s * 0.03)), colour)


def glyph_unknown(c, x, y, s, colour):
    w = max(1.4, s * 0.07)
    c.fill(arc(x + s * 0.5, y + s * 0.36, s * 0.16, w, 180, 405), colour)
    c.fill(capsule(x + s * 0.5 + s * 0.16 * math.cos(math.radians(45)),
                   y + s * 0.36 + s * 0.16 * math.sin(math.radians(45)),
                   x + s * 0.5, y + s * 0.62, w / 2), colour)
    c.fill(circle(x + s * 0.5, y + s * 0.76, w * 0.65), colour)


def glyph_sync(c, x, y, s, colour):
    w = max(1.2, s * 0.1)
    c.fill(arc(x + s * 0.5, y + s * 0.5, s * 0.3, w, 200, 340), colour)
    c.fill(arc(x + s * 0.5, y + s * 0.5, s * 0.3, w, 20, 160), colour)
    c.fill(polygon([(x + s * 0.86, y + s * 0.3), (x + s * 0.9, y + s * 0.56),
                    (x + s * 0.64, y + s * 0.5)]), colour)
    c.fill(polygon([(x + s * 0.14, y + s * 0.7), (x + s * 0.1, y + s * 0.44),
                    (x + s * 0.36, y + s * 0.5)]), colour)


DEVICE_GLYPHS = {
    "kb": glyph_keyboard,
    "ms": glyph_mouse,
    "hard_mp": lambda c, x, y, s, col: glyph_pad(c, x, y, s, col, True),
    "soft_mp": lambda c, x, y, s, col: glyph_pad(c, x, y, s, col, False),
    "hd": glyph_headset,
    "hub": glyph_hub,
    "unknow": glyph_unknown,
}


# ---- the device list's tabs: a card as wide as the tab, the device's glyph at the left


def device_tab(skin, key, selected, synchro):
    w, h = 136, 56
    c = Canvas(w, h)
    card = round_rect(1, 1, w - 1, h - 1, 8)
    if selected:
        c.fill(card, lambda x, y: mix(hex_colour("1D3340"), hex_colour("18242C"), x / w))
        c.fill(ring(round_rect(1.5, 1.5, w - 1.5, h - 1.5, 7.5), 1.4), ACCENT)
        c.fill(round_rect(1, 12, 4, h - 12, 1.5), ACCENT)
        glyph = ACCENT
    else:
        c.fill(card, RAISED)
        c.fill(ring(round_rect(1.5, 1.5, w - 1.5, h - 1.5, 7.5), 1.0), BORDER)
        glyph = DIM
    DEVICE_GLYPHS[key](c, 10, 8, 40, glyph)
    if synchro:
        c.fill(circle(w - 14, 14, 9), BACKGROUND)
        glyph_sync(c, w - 23, 5, 18, ACCENT if selected else TEXT)
    state = "selected" if selected else "normal"
    name = "%s_device_%s%s.png" % (key, "synchro_" if synchro else "", state)
    skin.save(c, "common/device_ico/" + name)


# ---- title-bar buttons


def title_button(skin, name, draw):
    for state in ("normal", "hot", "pushed"):
        c = Canvas(30, 30)
        if state != "normal":
            c.fill(round_rect(2, 2, 28, 28, 6), RAISED_HOT if state == "hot" else SUNKEN)
        colour = {"normal": DIM, "hot": TEXT, "pushed": ACCENT}[state]
        draw(c, colour)
        skin.save(c, "common/title/%s_%s.png" % (name, state))


def draw_close(c, col):
    c.fill(capsule(10, 10, 20, 20, 0.9), col)
    c.fill(capsule(20, 10, 10, 20, 0.9), col)


def draw_min(c, col):
    c.fill(capsule(9.5, 15.5, 20.5, 15.5, 0.9), col)


def draw_max(c, col):
    c.fill(ring(round_rect(9.5, 9.5, 20.5, 20.5, 1.5), 1.6), col)


def draw_restore(c, col):
    c.fill(ring(round_rect(9, 12, 18, 21, 1.5), 1.6), col)
    c.fill(subtract(ring(round_rect(12, 9, 21, 18, 1.5), 1.6), round_rect(8, 11, 19, 22, 2)), col)


def draw_skin(c, col):
    # a palette
    blob = round_rect(7, 8, 23, 22, 7)
    c.fill(subtract(ring(blob, 1.6), circle(19.5, 18.5, 2.6)), col)
    for px, py in ((11.5, 13), (15, 11.5), (18.5, 13)):
        c.fill(circle(px, py, 1.5), col)


def draw_set(c, col):
    teeth = []
    for k in range(8):
        a = math.radians(k * 45)
        teeth.append(capsule(15 + 5.5 * math.cos(a), 15 + 5.5 * math.sin(a),
                             15 + 8.2 * math.cos(a), 15 + 8.2 * math.sin(a), 1.5))
    gear = subtract(union(circle(15, 15, 6.3), *teeth), circle(15, 15, 2.6))
    c.fill(gear, col)


def draw_prev(c, col):
    c.fill(capsule(17, 9, 12, 15, 1.1), col)
    c.fill(capsule(12, 15, 17, 21, 1.1), col)


def draw_next(c, col):
    c.fill(capsule(13, 9, 18, 15, 1.1), col)
    c.fill(capsule(18, 15, 13, 21, 1.1), col)


# ---- controls


def nine_patch_button(skin, name, fill, border, highlight=None, size=(24, 24), radius=5):
    w, h = size
    c = Canvas(w, h)
    c.fill(round_rect(0.5, 0.5, w - 0.5, h - 0.5, radius), fill)
    if highlight is not None:
        c.fill(intersect(round_rect(1, 1, w - 1, h - 1, radius - 0.5),
                         lambda x, y: y - 2.0), highlight)
    c.fill(ring(round_rect(1, 1, w - 1, h - 1, radius - 0.5), 1.0), border)
    skin.save(c, name)


def buttons(skin):
    nine_patch_button(skin, "common/btn_normal.png", RAISED, BORDER, with_alpha(WHITE, 0.05))
    nine_patch_button(skin, "common/btn_hot.png", RAISED_HOT, with_alpha(ACCENT, 0.8),
                      with_alpha(WHITE, 0.06))
    nine_patch_button(skin, "common/btn_pushed.png", SUNKEN, ACCENT)
    nine_patch_button(skin, "common/btn_disabled.png", PANEL, hex_colour("262A31"))
    nine_patch_button(skin, "common/btn_accent_normal.png",
                      vertical(hex_colour("2BC0F5"), ACCENT_DEEP, 0, 24), hex_colour("1A9BD0"),
                      with_alpha(WHITE, 0.15))
    nine_patch_button(skin, "common/btn_accent_hot.png",
                      vertical(hex_colour("55CEF8"), hex_colour("1A97C8"), 0, 24),
                      hex_colour("3CC4F5"), with_alpha(WHITE, 0.2))
    nine_patch_button(skin, "common/btn_accent_pushed.png", ACCENT_DEEP, hex_colour("0F6E96"))
    nine_patch_button(skin, "common/btn_accent_disabled.png", hex_colour("1E3A48"),
                      hex_colour("24485A"))
    # edits: sunken fields
    nine_patch_button(skin, "common/edit_normal.png", SUNKEN, BORDER, radius=4)
    nine_patch_button(skin, "common/edit_hot.png", SUNKEN, hex_colour("4A5260"), radius=4)
    nine_patch_button(skin, "common/edit_focus.png", SUNKEN, ACCENT, radius=4)
    nine_patch_button(skin, "common/edit_disabled.png", PANEL, hex_colour("262A31"), radius=4)
    # combos: a field with the arrow in the right-hand corner part (22 px)
    for state, fill, border, arrow in (("normal", RAISED, BORDER, DIM),
                                       ("hot", RAISED_HOT, with_alpha(ACCENT, 0.8), TEXT),
                                       ("pushed", SUNKEN, ACCENT, ACCENT),
                                       ("disabled", PANEL, hex_colour("262A31"), FAINT)):
        w, h = 44, 26
        c = Canvas(w, h)
        c.fill(round_rect(0.5, 0.5, w - 0.5, h - 0.5, 5), fill)
        c.fill(ring(round_rect(1, 1, w - 1, h - 1, 4.5), 1.0), border)
        c.fill(capsule(w - 22, 6, w - 22, h - 6, 0.5), with_alpha(BORDER, 0.9))
        c.fill(polygon([(w - 15.5, 11), (w - 6.5, 11), (w - 11, 16)]), arrow)
        skin.save(c, "common/combo_%s.png" % state)
    # options: radio and check, 16 px, placed with dest
    for kind in ("radio", "check"):
        for state in ("normal", "hot", "selected", "disabled"):
            c = Canvas(16, 16)
            shape = circle(8, 8, 7) if kind == "radio" else round_rect(1, 1, 15, 15, 3.5)
            edge = circle(8, 8, 6.5) if kind == "radio" else round_rect(1.5, 1.5, 14.5, 14.5, 3)
            if state == "selected":
                c.fill(shape, ACCENT if kind == "check" else SUNKEN)
                if kind == "radio":
                    c.fill(ring(edge, 1.2), ACCENT)
                    c.fill(circle(8, 8, 3.4), ACCENT)
                else:
                    c.fill(capsule(4.5, 8.5, 7, 11, 1.05), BACKGROUND)
                    c.fill(capsule(7, 11, 11.8, 5.2, 1.05), BACKGROUND)
            else:
                c.fill(shape, SUNKEN if state != "disabled" else PANEL)
                edge_colour = {"normal": hex_colour("4A5260"), "hot": ACCENT,
                               "disabled": hex_colour("2C313A")}[state]
                c.fill(ring(edge, 1.2), edge_colour)
            skin.save(c, "common/%s_%s.png" % (kind, state))
    # switch (on/off) for the system page
    for state in ("off", "on"):
        c = Canvas(34, 18)
        track = round_rect(1, 2, 33, 16, 7)
        c.fill(track, ACCENT if state == "on" else SUNKEN)
        if state == "off":
            c.fill(ring(round_rect(1.5, 2.5, 32.5, 15.5, 6.5), 1.0), hex_colour("4A5260"))
        knob_x = 25 if state == "on" else 9
        c.fill(circle(knob_x, 9, 5.2), WHITE if state == "on" else DIM)
        skin.save(c, "common/switch_%s.png" % state)
    # slider: the track lies in the middle of a 20 px tall control (corners 4,0,4,0)
    c = Canvas(24, 20)
    c.fill(round_rect(0, 7, 24, 13, 3), SUNKEN)
    c.fill(ring(round_rect(0.5, 7.5, 23.5, 12.5, 2.5), 1.0), hex_colour("2C313A"))
    skin.save(c, "common/slider_bar.png")
    c = Canvas(24, 20)
    c.fill(round_rect(0, 7, 24, 13, 3), vertical(hex_colour("4ACBF6"), ACCENT_DEEP, 7, 13))
    skin.save(c, "common/slider_fore.png")
    # an upright slider (the equaliser's bands): the same track standing in the middle of a
    # 20 px wide control, to be stretched along its length (corners 0,4,0,4)
    c = Canvas(20, 24)
    c.fill(round_rect(7, 0, 13, 24, 3), SUNKEN)
    c.fill(ring(round_rect(7.5, 0.5, 12.5, 23.5, 2.5), 1.0), hex_colour("2C313A"))
    skin.save(c, "common/slider_bar_upright.png")
    c = Canvas(20, 24)
    light, deep = hex_colour("4ACBF6"), ACCENT_DEEP
    c.fill(round_rect(7, 0, 13, 24, 3), lambda x, y: mix(light, deep, clamp((x - 7) / 6.0)))
    skin.save(c, "common/slider_fore_upright.png")
    for state, edge in (("normal", ACCENT), ("hot", WHITE)):
        c = Canvas(16, 16)
        c.glow(circle(8, 8, 5.5), with_alpha(ACCENT, 0.5), 2.5, 1.0)
        c.fill(circle(8, 8, 6), hex_colour("E8EEF2"))
        c.fill(ring(circle(8, 8, 5.5), 1.6), edge)
        skin.save(c, "common/slider_thumb_%s.png" % state)
    # the DPI stage sliders of the mouse: the stage the mouse is on glows warm, the others
    # look as any slider does
    for name, top, bottom in (("SliderBar_BK1", hex_colour("4ACBF6"), ACCENT_DEEP),
                              ("SliderBar_BK3", hex_colour("FFC46B"), hex_colour("F08A22"))):
        c = Canvas(24, 20)
        c.fill(round_rect(0, 7, 24, 13, 3), vertical(top, bottom, 7, 13))
        skin.save(c, "Control/%s.png" % name)
    for name, edge in (("SliderBar1_Thumb", ACCENT), ("SliderBar2_Thumb", hex_colour("F08A22"))):
        c = Canvas(16, 16)
        c.glow(circle(8, 8, 5.5), with_alpha(edge, 0.5), 2.5, 1.0)
        c.fill(circle(8, 8, 6), hex_colour("E8EEF2"))
        c.fill(ring(circle(8, 8, 5.5), 1.6), edge)
        skin.save(c, "Control/%s.png" % name)
    c = Canvas(14, 14)
    c.fill(ring(circle(7, 7, 5), 2.0), WHITE)
    c.fill(ring(circle(7, 7, 6.5), 1.0), with_alpha(BACKGROUND, 0.8))
    skin.save(c, "common/palette_thumb.png")
    # tabs of the function pages: an underline in the accent colour when selected
    for state in ("normal", "hot", "selected"):
        c = Canvas(24, 36)
        if state != "normal":
            c.fill(round_rect(0, 0, 24, 40, 6), with_alpha(WHITE, 0.04 if state == "hot" else 0.06))
        if state == "selected":
            c.fill(round_rect(3, 33, 21, 36, 1.5), ACCENT)
        elif state == "hot":
            c.fill(round_rect(3, 34, 21, 36, 1), with_alpha(ACCENT, 0.45))
        skin.save(c, "common/tab_%s.png" % state)
    # swatch frame: drawn over a colour button when it is hot or pushed
    for state, colour in (("hot", TEXT), ("pushed", ACCENT)):
        c = Canvas(22, 22)
        c.fill(ring(round_rect(1, 1, 21, 21, 5), 1.6), colour)
        skin.save(c, "common/swatch_%s.png" % state)
    c = Canvas(22, 22)
    c.fill(ring(round_rect(0.5, 0.5, 21.5, 21.5, 5.5), 1.0), with_alpha(WHITE, 0.18))
    skin.save(c, "common/swatch_frame.png")


def macro_icons(skin):
    # the action column of a macro's event rows: press, release, and the kind of input
    c = Canvas(16, 16)
    c.fill(capsule(8, 3, 8, 11, 1.1), ACCENT)
    c.fill(polygon([(4, 9), (12, 9), (8, 14)]), ACCENT)
    skin.save(c, "common/macro_down.png")
    c = Canvas(16, 16)
    c.fill(capsule(8, 5, 8, 13, 1.1), DIM)
    c.fill(polygon([(4, 7), (12, 7), (8, 2)]), DIM)
    skin.save(c, "common/macro_up.png")
    c = Canvas(16, 16)
    glyph_keyboard(c, 0, 0, 16, DIM)
    skin.save(c, "common/macro_keyboard.png")
    c = Canvas(16, 16)
    glyph_mouse(c, 0, 0, 16, DIM)
    skin.save(c, "common/macro_mouse.png")


def panels(skin):
    # a raised panel and a sunken well, nine-patch 32 px, corner 8
    c = Canvas(32, 32)
    c.fill(round_rect(0.5, 0.5, 31.5, 31.5, 8), PANEL)
    c.fill(ring(round_rect(1, 1, 31, 31, 7.5), 1.0), hex_colour("272B33"))
    skin.save(c, "common/panel.png")
    c = Canvas(32, 32)
    c.fill(round_rect(0.5, 0.5, 31.5, 31.5, 8), hex_colour("15171B"))
    c.fill(ring(round_rect(1, 1, 31, 31, 7.5), 1.0), hex_colour("23262D"))
    skin.save(c, "common/well.png")
    # the window's background: a quiet gradient with the accent's glow in one corner
    w, h = 250, 160
    c = Canvas(w, h)
    c.fill(lambda x, y: -1, lambda x, y: mix(hex_colour("16191E"), BACKGROUND, clamp(y / h)))
    c.glow(circle(w * 1.02, -h * 0.15, 20), with_alpha(ACCENT, 0.10), 150, 1.0)
    skin.save(c, "common/background.png")
    # message box and secondary windows: a framed background, nine-patch, corner 10
    c = Canvas(40, 40)
    c.fill(round_rect(0.5, 0.5, 39.5, 39.5, 10), PANEL)
    c.fill(ring(round_rect(1, 1, 39, 39, 9.5), 1.0), BORDER)
    c.fill(round_rect(10, 1, 30, 3, 1), ACCENT)
    skin.save(c, "common/window_frame.png")


def logos(skin):
    # the program's mark: a key cap lit from below in the accent colour
    for size, name in ((26, "common/logo.png"), (64, "common/tray.png"),
                       (256, "common/app_icon.png"), (48, "common/logo_large.png")):
        c = Canvas(size, size)
        s = size
        c.glow(round_rect(s * 0.14, s * 0.2, s * 0.86, s * 0.88, s * 0.16),
               with_alpha(ACCENT, 0.75), s * 0.12, 1.0, inside=1.0)
        c.fill(round_rect(s * 0.12, s * 0.12, s * 0.88, s * 0.84, s * 0.16),
               vertical(hex_colour("3A404A"), hex_colour("1C1F25"), s * 0.12, s * 0.84))
        c.fill(round_rect(s * 0.22, s * 0.18, s * 0.78, s * 0.68, s * 0.1),
               vertical(hex_colour("353B45"), hex_colour("272B32"), s * 0.18, s * 0.68))
        # a "T" on the cap
        stroke = max(1.2, s * 0.065)
        c.fill(capsule(s * 0.36, s * 0.32, s * 0.64, s * 0.32, stroke), ACCENT)
        c.fill(capsule(s * 0.5, s * 0.32, s * 0.5, s * 0.56, stroke), ACCENT)
        skin.save(c, name)


def nodevice(skin):
    w, h = 120, 80
    c = Canvas(w, h)
    glyph_keyboard(c, 8, 2, 64, FAINT)
    # an unplugged cable
    c.fill(capsule(76, 56, 96, 56, 2.2), DIM)
    c.fill(round_rect(96, 50, 110, 62, 2.5), DIM)
    c.fill(capsule(110, 53, 116, 53, 1.0), DIM)
    c.fill(capsule(110, 59, 116, 59, 1.0), DIM)
    c.fill(capsule(63, 56, 70, 56, 2.2), with_alpha(ACCENT, 0.9))
    for k in range(3):
        a = math.radians(-60 + k * 60)
        c.fill(capsule(73 + 4 * math.cos(a), 56 + 4 * math.sin(a),
                       73 + 8 * math.cos(a), 56 + 8 * math.sin(a), 0.9), ACCENT)
    skin.save(c, "common/nodevice.png")


def power(skin):
    def battery(c, level, colour):
        c.fill(ring(round_rect(1.5, 2.5, 24.5, 13.5, 2.5), 1.4), colour)
        c.fill(round_rect(25, 5.5, 27.5, 10.5, 1), colour)
        if level > 0:
            c.fill(round_rect(4, 5, 4 + 18 * level, 11, 1), colour)

    c = Canvas(28, 16)
    battery(c, 1.0, TEXT)
    skin.save(c, "power/powered.png")
    c = Canvas(28, 16)
    battery(c, 0.25, DIM)
    skin.save(c, "power/power.png")
    for name, wave in (("power/powering.png", False), ("power/wuxian_powering.png", True)):
        c = Canvas(28, 16)
        battery(c, 0.0, ACCENT)
        c.fill(polygon([(14.5, 3.5), (8.5, 9), (12.5, 9), (11, 12.8), (17.5, 7), (13.5, 7)]), ACCENT)
        if wave:
            c.fill(arc(20, 8, 3, 1.0, -50, 50), ACCENT)
        skin.save(c, name)
    c = Canvas(18, 18)
    for k, r in enumerate((3, 6, 9)):
        c.fill(arc(9, 15, r, 1.5, 220, 320), TEXT if k < 3 else DIM)
    c.fill(circle(9, 15, 1.6), TEXT)
    skin.save(c, "power/wireless.png")

    def phone(c, colour):
        c.fill(ring(round_rect(5, 1.5, 13, 16.5, 2.2), 1.3), colour)

    for name, mark in (("iphone", "notch"), ("samsung", "hole"), ("other", "bar"),
                       ("no_device", "slash")):
        c = Canvas(18, 18)
        colour = FAINT if mark == "slash" else TEXT
        phone(c, colour)
        if mark == "notch":
            c.fill(round_rect(7.5, 2.5, 10.5, 4, 0.7), colour)
        elif mark == "hole":
            c.fill(circle(9, 3.8, 0.9), colour)
        elif mark == "bar":
            c.fill(capsule(8, 14.4, 10, 14.4, 0.5), colour)
        else:
            c.fill(capsule(3, 3, 15, 15, 1.0), DIM)
        skin.save(c, "power/Phone_type_%s.png" % name)


# ---- the keyboard picture


def keyboard(skin):
    size = 32
    # the key cap: 1 px clear margin, the cap's skirt, the top face above it
    def cap(face_top, face_bottom, skirt, edge, lift=0.0, hot=False):
        c = Canvas(size, size)
        c.fill(round_rect(1, 1, size - 1, size - 1, 5.5), skirt)
        c.fill(round_rect(3, 2 + lift, size - 3, size - 4.5 + lift, 4),
               vertical(face_top, face_bottom, 2, size - 4))
        c.fill(intersect(ring(round_rect(3, 2 + lift, size - 3, size - 4.5 + lift, 4), 1.0),
                         lambda x, y: y - (6 + lift)), with_alpha(WHITE, 0.07))
        c.fill(ring(round_rect(1, 1, size - 1, size - 1, 5.5), 1.0), edge)
        if hot:
            c.fill(ring(round_rect(1.5, 1.5, size - 1.5, size - 1.5, 5), 1.4), ACCENT)
        return c

    skirt = hex_colour("16181C", 0.96)
    skin.save(cap(hex_colour("33373F"), hex_colour("2A2E35"), skirt, hex_colour("08090B")),
              "keyboard/key_normal.png")
    skin.save(cap(hex_colour("3A3F48"), hex_colour("30343C"), skirt, hex_colour("08090B"), hot=True),
              "keyboard/key_hot.png")
    skin.save(cap(hex_colour("272A30"), hex_colour("24272D"), hex_colour("121417", 0.96),
                  hex_colour("08090B"), lift=1.0, hot=True), "keyboard/key_pushed.png")
    skin.save(cap(hex_colour("23262B"), hex_colour("202328"), hex_colour("141619", 0.96),
                  hex_colour("0B0C0E")), "keyboard/key_disabled.png")
    # the light: a bright rim and a wash that fades towards the legend, tinted by the preview
    c = Canvas(size, size)
    outer = round_rect(1, 1, size - 1, size - 1, 5.5)
    for y in range(size):
        for x in range(size):
            d = outer(x + 0.5, y + 0.5)
            if d > 0.5:
                continue
            depth = -d
            rim = clamp(1.0 - abs(depth - 1.2) / 1.3)
            wash = 0.16 + 0.5 * clamp(1.0 - depth / 7.0) ** 2
            a = clamp(max(rim * 0.95, wash)) * clamp(0.5 - d)
            c._blend(y * size + x, WHITE, a)
    skin.save(c, "keyboard/key_light.png")
    # the mark of a key whose assignment differs from its own function
    c = Canvas(8, 8)
    c.fill(circle(4, 4, 3), ACCENT)
    c.fill(ring(circle(4, 4, 3.4), 0.8), with_alpha(BACKGROUND, 0.8))
    skin.save(c, "keyboard/key_set.png")
    # the lock indicators over the keypad
    c = Canvas(14, 14)
    c.fill(circle(7, 7, 4.5), hex_colour("1C1F24"))
    c.fill(ring(circle(7, 7, 4.5), 1.0), hex_colour("3A3F48"))
    skin.save(c, "keyboard/indicator_normal.png")
    c = Canvas(14, 14)
    c.glow(circle(7, 7, 3.5), WHITE, 3.0, 0.8)
    c.fill(circle(7, 7, 3.6), WHITE)
    skin.save(c, "keyboard/indicator_light.png")
    # the case
    c = Canvas(64, 64)
    c.fill(round_rect(0.5, 0.5, 63.5, 63.5, 16), vertical(hex_colour("202329"), hex_colour("15171B"), 0, 64))
    c.fill(ring(round_rect(1, 1, 63, 63, 15.5), 1.0), hex_colour("2E333B"))
    c.fill(ring(round_rect(6, 6, 58, 58, 10), 1.0), with_alpha(hex_colour("050607"), 0.8))
    c.fill(round_rect(7, 7, 57, 57, 9.5), with_alpha(hex_colour("0B0C0F"), 0.9))
    skin.save(c, "keyboard/case.png")


def mousepad(skin):
    # the pad: a cloth surface with a stitched, lit border
    c = Canvas(96, 96)
    c.fill(round_rect(0.5, 0.5, 95.5, 95.5, 22), hex_colour("0C0D10"))
    c.fill(ring(round_rect(1, 1, 95, 95, 21.5), 1.0), hex_colour("2A2F37"))
    c.fill(round_rect(9, 9, 87, 87, 15), vertical(hex_colour("1B1E23"), hex_colour("15171B"), 9, 87))
    c.fill(ring(round_rect(9, 9, 87, 87, 15), 1.0), hex_colour("262A31"))
    skin.save(c, "mousepad/pad.png")
    # an LED segment of the border (stretches along its length)
    c = Canvas(48, 16)
    c.fill(round_rect(2, 6, 46, 10, 2), hex_colour("2B3038"))
    c.fill(ring(round_rect(2, 6, 46, 10, 2), 0.8), hex_colour("3A404A"))
    skin.save(c, "mousepad/led_normal.png")
    c = Canvas(48, 16)
    core = round_rect(2, 6, 46, 10, 2)
    c.glow(core, with_alpha(WHITE, 0.85), 6.0, 0.9)
    c.fill(core, WHITE)
    skin.save(c, "mousepad/led_light.png")
    # the logo LED
    c = Canvas(44, 44)
    c.fill(circle(22, 22, 13), hex_colour("1C1F24"))
    c.fill(ring(circle(22, 22, 13), 1.0), hex_colour("3A3F48"))
    c.fill(capsule(16, 17, 28, 17, 1.8), hex_colour("4A505A"))
    c.fill(capsule(22, 17, 22, 28, 1.8), hex_colour("4A505A"))
    skin.save(c, "mousepad/logo_normal.png")
    c = Canvas(44, 44)
    c.glow(ring(circle(22, 22, 12.5), 2.0), with_alpha(WHITE, 0.9), 7.0, 0.9)
    c.fill(ring(circle(22, 22, 12.5), 2.0), WHITE)
    c.fill(capsule(16, 17, 28, 17, 1.8), WHITE)
    c.fill(capsule(22, 17, 22, 28, 1.8), WHITE)
    skin.save(c, "mousepad/logo_light.png")


def mouse_and_headset(skin):
    # the mouse's body (its page stays hidden in this build, but it exists)
    w, h = 150, 220
    c = Canvas(w, h)
    body = round_rect(10, 8, w - 10, h - 8, 62)
    c.fill(body, vertical(hex_colour("2A2E35"), hex_colour("181A1F"), 8, h))
    c.fill(ring(body, 1.2), hex_colour("3A3F48"))
    c.fill(capsule(w / 2, 12, w / 2, 88, 0.8), hex_colour("0C0D10"))
    c.fill(round_rect(w / 2 - 6, 34, w / 2 + 6, 62, 6), hex_colour("101216"))
    skin.save(c, "mouse/mouse.png")
    c = Canvas(20, 20)
    c.fill(circle(10, 10, 5), hex_colour("2B3038"))
    c.fill(ring(circle(10, 10, 5), 0.8), hex_colour("3A404A"))
    skin.save(c, "mouse/led_normal.png")
    c = Canvas(20, 20)
    c.glow(circle(10, 10, 4.5), with_alpha(WHITE, 0.85), 5.0, 0.9)
    c.fill(circle(10, 10, 4.6), WHITE)
    skin.save(c, "mouse/led_light.png")
    # the headset
    w, h = 240, 220
    c = Canvas(w, h)
    c.fill(arc(w / 2, 120, 88, 14, 180, 360), hex_colour("24282F"))
    c.fill(arc(w / 2, 120, 88, 1.2, 180, 360), hex_colour("3A3F48"))
    for cx in (36, w - 36):
        cup = round_rect(cx - 30, 100, cx + 30, 200, 26)
        c.fill(cup, vertical(hex_colour("2A2E35"), hex_colour("181A1F"), 100, 200))
        c.fill(ring(cup, 1.2), hex_colour("3A3F48"))
    skin.save(c, "headset/headset.png")


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "resources", "skin")
    skin = Skin(os.path.normpath(root))
    for key in DEVICE_GLYPHS:
        for selected in (False, True):
            for synchro in (False, True):
                device_tab(skin, key, selected, synchro)
    for name, draw in (("close", draw_close), ("min", draw_min), ("max", draw_max),
                       ("restore", draw_restore), ("skin", draw_skin), ("set", draw_set),
                       ("prev", draw_prev), ("next", draw_next)):
        title_button(skin, name, draw)
    buttons(skin)
    macro_icons(skin)
    panels(skin)
    logos(skin)
    nodevice(skin)
    power(skin)
    keyboard(skin)
    mousepad(skin)
    mouse_and_headset(skin)
    print("%d images written to %s" % (skin.count, skin.root))


if __name__ == "__main__":
    main()
