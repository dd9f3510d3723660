# SPDX-License-Identifier: GPL-3.0-or-later
"""A very small vector painter for the skin's images: signed-distance shapes, anti-aliased
by their distance at each pixel centre, composited in premultiplied RGBA and written as
PNG with zlib. Standard library only, so that the images can be rebuilt on any machine
that builds the program."""

import math
import struct
import zlib


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def hex_colour(text, alpha=1.0):
    text = text.lstrip("#")
    r, g, b = int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16)
    return (r / 255.0, g / 255.0, b / 255.0, alpha)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(4))


# ---- signed distance functions (negative inside), in pixels


def round_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hw, hh = (x1 - x0) / 2.0, (y1 - y0) / 2.0
    r = min(r, hw, hh)

    def sdf(x, y):
        qx = abs(x - cx) - (hw - r)
        qy = abs(y - cy) - (hh - r)
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    return sdf


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def capsule(ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def sdf(x, y):
        t = clamp(((x - ax) * dx + (y - ay) * dy) / length2)
        return math.hypot(x - ax - dx * t, y - ay - dy * t) - r

    return sdf


def polygon(points):
    n = len(points)

    def sdf(x, y):
        d = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = clamp((wx * ex + wy * ey) / ((ex * ex + ey * ey) or 1e-9))
            d = min(d, math.hypot(wx - ex * t, wy - ey * t))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / (ey or 1e-9):
                inside = not inside
        return -d if inside else d

    return sdf


def ring(sdf, width):
    return lambda x, y: abs(sdf(x, y)) - width / 2.0


def union(*sdfs):
    return lambda x, y: min(s(x, y) for s in sdfs)


def intersect(*sdfs):
    return lambda x, y: max(s(x, y) for s in sdfs)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def arc(cx, cy, r, width, start_deg, end_deg):
    """A stroke along a circle from start to end angle (degrees, clockwise from 3 o'clock)."""
    a0, a1 = math.radians(start_deg), math.radians(end_deg)

    def sdf(x, y):
        ang = math.atan2(y - cy, x - cx)
        while ang < a0:
            ang += 2 * math.pi
        if ang <= a1:
            return abs(math.hypot(x - cx, y - cy) - r) - width / 2.0
        ends = [(cx + r * math.cos(a0), cy + r * math.sin(a0)),
                (cx + r * math.cos(a1), cy + r * math.sin(a1))]
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - width / 2.0

    return sdf


class Canvas:
    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def _blend(self, i, colour, coverage):
        r, g, b, a = colour
        a *= coverage
        if a <= 0.0:
            return
        p = self.px[i]
        k = 1.0 - a
        p[0] = r * a + p[0] * k
        p[1] = g * a + p[1] * k
        p[2] = b * a + p[2] * k
        p[3] = a + p[3] * k

    def fill(self, sdf, colour, soft=0.0, bounds=None):
        """Fills the shape. `colour` is an RGBA tuple or a function (x, y) -> RGBA. `soft`
        widens the edge into a feather of that many pixels (for glows)."""
        x0, y0, x1, y1 = bounds or (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                d = sdf(x + 0.5, y + 0.5)
                if soft > 0.0:
                    coverage = clamp(0.5 - d / soft)
                else:
                    coverage = clamp(0.5 - d)
                if coverage <= 0.0:
                    continue
                c = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                self._blend(y * self.w + x, c, coverage)

    def glow(self, sdf, colour, radius, strength=1.0, inside=1.0):
        """Light falling off outside (and, with `inside` < 1, inside) a shape."""
        for y in range(self.h):
            for x in range(self.w):
                d = sdf(x + 0.5, y + 0.5)
                if d > 0:
                    t = clamp(1.0 - d / radius)
                    coverage = strength * t * t
                else:
                    coverage = strength * inside
                if coverage > 0.0:
                    self._blend(y * self.w + x, colour, clamp(coverage))

    def png(self):
        raw = bytearray()
        for y in range(self.h):
            raw.append(0)
            for x in range(self.w):
                r, g, b, a = self.px[y * self.w + x]
                if a > 0.0:
                    r, g, b = r / a, g / a, b / a
                raw += bytes((int(round(clamp(r) * 255)), int(round(clamp(g) * 255)),
                              int(round(clamp(b) * 255)), int(round(clamp(a) * 255))))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))

    def save(self, path):
        with open(path, "wb") as out:
            out.write(self.png())


def vertical(top, bottom, y0, y1):
    """A colour function for a vertical gradient between two colours."""
    span = (y1 - y0) or 1.0
    return lambda x, y: mix(top, bottom, clamp((y - y0) / span))
