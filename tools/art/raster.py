"""A small anti-aliased rasteriser over signed distances.

Shapes are signed-distance functions in design units (negative inside). A
canvas maps design units to pixels by one scale, so the same drawing renders
at any size; a pixel's coverage comes from the distance at its centre, which
anti-aliases edges without supersampling. Colours are premultiplied floats in
0..1, composited with "over".
"""

import colorsys
import math


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def rgb(r, g, b):
    return (r / 255.0, g / 255.0, b / 255.0)


def ramp(stops, t):
    """Colour at t along [(position, colour), ...] sorted by position."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0))
    return stops[-1][1]


def hue(angle, saturation=1.0, value=1.0):
    return colorsys.hsv_to_rgb((angle / (2 * math.pi)) % 1.0, saturation, value)


# --- shapes -----------------------------------------------------------------


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def round_box(cx, cy, hw, hh, r):
    def sdf(x, y):
        qx = abs(x - cx) - hw + r
        qy = abs(y - cy) - hh + r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    return sdf


def capsule(ax, ay, bx, by, r):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def sdf(x, y):
        px, py = x - ax, y - ay
        h = clamp((px * dx + py * dy) / length2)
        return math.hypot(px - dx * h, py - dy * h) - r

    return sdf


def polygon(points, rounding=0.0):
    """Exact distance to a simple polygon, grown by `rounding`."""
    n = len(points)

    def sdf(x, y):
        best = float("inf")
        sign = 1.0
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[i - 1]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            h = clamp((wx * ex + wy * ey) / (ex * ex + ey * ey))
            best = min(best, (wx - ex * h) ** 2 + (wy - ey * h) ** 2)
            c1 = y >= ay
            c2 = y < by
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                sign = -sign
        return sign * math.sqrt(best) - rounding

    return sdf


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def intersect(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def subtract(shape, hole):
    return lambda x, y: max(shape(x, y), -hole(x, y))


def offset(shape, dx, dy):
    return lambda x, y: shape(x - dx, y - dy)


def mirror_x(shape, axis):
    return lambda x, y: shape(2 * axis - x, y)


def half_plane(nx, ny, c):
    """Distance to the side of n . p <= c (n a unit vector)."""
    return lambda x, y: nx * x + ny * y - c


# --- paints -----------------------------------------------------------------


def solid(colour, alpha=1.0):
    return lambda x, y: (colour, alpha)


def linear(x0, y0, x1, y1, stops, alpha=1.0):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    return lambda x, y: (ramp(stops, ((x - x0) * dx + (y - y0) * dy) / length2), alpha)


def radial(cx, cy, r, stops, alpha=1.0):
    return lambda x, y: (ramp(stops, math.hypot(x - cx, y - cy) / r), alpha)


def fading(paint, alpha_of):
    """`paint` with its alpha multiplied by alpha_of(x, y)."""

    def p(x, y):
        colour, a = paint(x, y)
        return colour, a * alpha_of(x, y)

    return p


# --- canvas -----------------------------------------------------------------


class Canvas:
    def __init__(self, width, height, scale=1.0):
        self.width = width
        self.height = height
        self.scale = scale
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, shape, paint, soft=0.0, opacity=1.0, box=None):
        """Composite `paint` over the canvas where `shape` is, anti-aliased.

        soft > 0 blurs the edge over that many design units on each side
        (shadows and glows); box = (x0, y0, x1, y1) in design units limits
        the pixels visited.
        """
        s = self.scale
        x0, y0, x1, y1 = 0, 0, self.width, self.height
        if box:
            x0 = max(0, int(math.floor(box[0] * s)))
            y0 = max(0, int(math.floor(box[1] * s)))
            x1 = min(self.width, int(math.ceil(box[2] * s)))
            y1 = min(self.height, int(math.ceil(box[3] * s)))
        for py in range(y0, y1):
            y = (py + 0.5) / s
            row = py * self.width
            for px in range(x0, x1):
                x = (px + 0.5) / s
                d = shape(x, y)
                if soft > 0.0:
                    cover = 1.0 - smoothstep(-soft, soft, d)
                else:
                    cover = clamp(0.5 - d * s)
                if cover <= 0.0:
                    continue
                colour, a = paint(x, y)
                a *= cover * opacity
                if a <= 0.0:
                    continue
                dst = self.px[row + px]
                keep = 1.0 - a
                dst[0] = colour[0] * a + dst[0] * keep
                dst[1] = colour[1] * a + dst[1] * keep
                dst[2] = colour[2] * a + dst[2] * keep
                dst[3] = a + dst[3] * keep

    def rgba8(self):
        """Straight (not premultiplied) 8-bit RGBA rows, top first."""
        rows = []
        for py in range(self.height):
            row = bytearray()
            for r, g, b, a in self.px[py * self.width : (py + 1) * self.width]:
                if a <= 0.0:
                    row += b"\0\0\0\0"
                    continue
                row += bytes(
                    (to8(r / a), to8(g / a), to8(b / a), to8(a))
                )
            rows.append(bytes(row))
        return rows

    def over(self, background):
        """8-bit RGB rows of the canvas composited over an opaque colour."""
        rows = []
        for py in range(self.height):
            row = bytearray()
            for r, g, b, a in self.px[py * self.width : (py + 1) * self.width]:
                keep = 1.0 - a
                row += bytes(
                    (
                        to8(r + background[0] * keep),
                        to8(g + background[1] * keep),
                        to8(b + background[2] * keep),
                    )
                )
            rows.append(bytes(row))
        return rows


def to8(v):
    return int(clamp(v) * 255.0 + 0.5)
