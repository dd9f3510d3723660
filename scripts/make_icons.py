#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the program's icon: packaging/icons/telix-tx512.svg and the PNG sizes the icon
theme wants (packaging/icons/<N>/telix-tx512.png). Both come from one list of shapes, so
the scalable icon and the pixels agree. PNGs are written with zlib and struct only.

Run it after changing a shape and commit its output."""
import colorsys
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "packaging", "icons")
SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
NAME = "telix-tx512"


def rainbow(t):
    r, g, b = colorsys.hsv_to_rgb(t * 0.83, 0.85, 1.0)
    return (r, g, b)


def hex_colour(c):
    return "#%02X%02X%02X" % tuple(round(v * 255) for v in c)


def parse(hexcode):
    return tuple(int(hexcode[i:i + 2], 16) / 255 for i in (1, 3, 5))


# (x0, y0, x1, y1, radius, paint) in a unit square; paint is a colour, or
# ("vertical", top, bottom) / ("rainbow",) for gradients.
def shapes():
    out = [(0.04, 0.04, 0.96, 0.96, 0.2, ("vertical", "#343B47", "#16191E")),
           (0.12, 0.28, 0.88, 0.68, 0.06, "#DCE1E8")]
    for row in range(2):
        y0 = 0.33 + row * 0.105
        for col in range(8):
            x0 = 0.145 + col * (0.71 / 8)
            out.append((x0, y0, x0 + 0.71 / 8 - 0.02, y0 + 0.08, 0.015, "#3A414C"))
    y0 = 0.54
    out.append((0.145, y0, 0.145 + 0.15, y0 + 0.08, 0.015, "#3A414C"))
    out.append((0.325, y0, 0.675, y0 + 0.08, 0.015, "#3A414C"))
    out.append((0.705, y0, 0.855, y0 + 0.08, 0.015, "#3A414C"))
    out.append((0.12, 0.75, 0.88, 0.82, 0.035, ("rainbow",)))
    return out


def paint_at(paint, shape, x, y):
    if isinstance(paint, str):
        return parse(paint)
    x0, y0, x1, y1 = shape[:4]
    if paint[0] == "vertical":
        t = min(1.0, max(0.0, (y - y0) / (y1 - y0)))
        a, b = parse(paint[1]), parse(paint[2])
        return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))
    return rainbow(min(1.0, max(0.0, (x - x0) / (x1 - x0))))


def coverage(shape, x, y, pixel):
    """Signed distance to a rounded rectangle turned into a pixel's coverage."""
    x0, y0, x1, y1, r = shape[:5]
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(qx, 0), max(qy, 0))
    inside = min(max(qx, qy), 0)
    d = outside + inside - r
    return min(1.0, max(0.0, 0.5 - d / pixel))


def render(size):
    pixel = 1.0 / size
    rgba = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]
    for shape in shapes():
        x0, y0, x1, y1 = shape[:4]
        for py in range(max(0, int(y0 * size) - 1), min(size, int(y1 * size) + 2)):
            for px in range(max(0, int(x0 * size) - 1), min(size, int(x1 * size) + 2)):
                x, y = (px + 0.5) * pixel, (py + 0.5) * pixel
                a = coverage(shape, x, y, pixel)
                if a <= 0:
                    continue
                c = paint_at(shape[5], shape, x, y)
                d = rgba[py * size + px]
                out_a = a + d[3] * (1 - a)
                for i in range(3):
                    d[i] = (c[i] * a + d[i] * d[3] * (1 - a)) / out_a
                d[3] = out_a
    return rgba


def png(size, rgba):
    raw = bytearray()
    for y in range(size):
        raw.append(0)
        for x in range(size):
            raw.extend(min(255, round(v * 255)) for v in rgba[y * size + x])

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def svg():
    defs, body = [], []
    for n, (x0, y0, x1, y1, r, paint) in enumerate(shapes()):
        fill = paint
        if not isinstance(paint, str):
            gid = "g%d" % n
            if paint[0] == "vertical":
                defs.append('<linearGradient id="%s" x1="0" y1="0" x2="0" y2="1">'
                            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
                            '</linearGradient>' % (gid, paint[1], paint[2]))
            else:
                stops = "".join('<stop offset="%.2f" stop-color="%s"/>' % (t / 6, hex_colour(rainbow(t / 6)))
                                for t in range(7))
                defs.append('<linearGradient id="%s" x1="0" y1="0" x2="1" y2="0">%s</linearGradient>'
                            % (gid, stops))
            fill = "url(#%s)" % gid
        s = 256
        body.append('<rect x="%.2f" y="%.2f" width="%.2f" height="%.2f" rx="%.2f" fill="%s"/>'
                    % (x0 * s, y0 * s, (x1 - x0) * s, (y1 - y0) * s, r * s, fill))
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">\n'
            '<title>TELIX TX512</title>\n<defs>%s</defs>\n%s\n</svg>\n' % ("".join(defs), "\n".join(body)))


def main():
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, NAME + ".svg"), "w", encoding="utf-8") as f:
        f.write(svg())
    for size in SIZES:
        folder = os.path.join(OUT, "%dx%d" % (size, size))
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, NAME + ".png"), "wb") as f:
            f.write(png(size, render(size)))
    print("icon written: svg and %d PNG sizes" % len(SIZES))


if __name__ == "__main__":
    main()
