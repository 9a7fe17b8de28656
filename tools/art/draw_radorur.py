#!/usr/bin/env python3
"""Draws the player's shipped pictures: the "Radorur" skin and the product logo.

    python3 tools/art/draw_radorur.py OUTDIR [--sheet SHEET.png] [--check]

OUTDIR is laid out like the repository, so running it with the repository's
root rewrites the committed files in place:
  player/shipped/Skins/Radorur.skn/*.png, *.bmp
  player/about/logo.png, logo96.png
  player/core/lumorix.ico
--sheet also writes a contact sheet (every picture over the colour it is shown
on, enlarged four times) for looking at the set; --check writes nothing and
fails when a file under OUTDIR differs from what the script draws.

One light falls from the upper left on every picture; the buttons share one
bezel, one glass face and one glyph colour, so the set reads as one design.
Only the Python standard library is used and nothing is random: the output is
the same byte for byte on every run.
"""

import argparse
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from imagefile import bmp24, ico, png  # noqa: E402
from raster import (  # noqa: E402
    Canvas,
    capsule,
    circle,
    clamp,
    fading,
    half_plane,
    hue,
    intersect,
    linear,
    mirror_x,
    mix,
    offset,
    polygon,
    radial,
    rgb,
    ring,
    round_box,
    smoothstep,
    solid,
    subtract,
    union,
)

WINDOW = rgb(191, 191, 193)  # the settings window, $00C1BFBF
WHITE = (1.0, 1.0, 1.0)
BLACK = (0.0, 0.0, 0.0)

# The shared palette.
BEZEL = [(0.0, rgb(253, 253, 254)), (0.42, rgb(214, 216, 222)), (1.0, rgb(104, 108, 120))]
FACE = [(0.0, rgb(86, 170, 236)), (0.38, rgb(34, 78, 140)), (0.75, rgb(16, 32, 66)), (1.0, rgb(8, 14, 32))]
GLYPH = [(0.0, rgb(255, 255, 255)), (1.0, rgb(188, 226, 255))]
GLOW = rgb(110, 196, 255)
RIM = rgb(150, 222, 255)


# --- the round glass buttons --------------------------------------------------


class Button:
    """Measures of one round button of `size` pixels."""

    def __init__(self, size):
        self.size = size
        self.k = size / 64.0
        self.cx = size / 2.0
        self.cy = size / 2.0 - 1.0 * self.k
        self.r = size * 0.445  # bezel
        self.face = self.r - max(1.8, 3.4 * self.k)


def draw_button(size, make_glyph, glyph_paint=None):
    b = Button(size)
    k, cx, cy, r, rf = b.k, b.cx, b.cy, b.r, b.face
    c = Canvas(size, size)

    # Soft shadow below and to the right of the light.
    c.fill(circle(cx + 0.4 * k, cy + 2.4 * k, r - 0.6 * k), solid(BLACK, 0.45), soft=max(1.2, 2.8 * k))
    # Metal bezel, lit from the upper left, with a dark hairline outside.
    c.fill(circle(cx, cy, r), solid(rgb(70, 74, 84)))
    c.fill(circle(cx, cy, r - 0.6 * k - 0.2), linear(cx - 0.55 * r, cy - r, cx + 0.55 * r, cy + r, BEZEL))
    # The groove between bezel and face.
    c.fill(circle(cx, cy, rf + max(0.7, 0.9 * k)), linear(cx, cy - r, cx, cy + r, [(0, rgb(60, 64, 74)), (1, rgb(150, 154, 162))]))
    # Glass face: deep blue, lit from within at the bottom.
    face = circle(cx, cy, rf)
    c.fill(face, radial(cx, cy + 0.95 * rf, 1.95 * rf, FACE))
    # The bezel's shadow falls on the top of the face.
    c.fill(subtract(face, offset(face, 0.0, 2.2 * k)), solid(BLACK, 0.45), soft=1.2 * k)
    # Light caught by the lower rim.
    lower = half_plane(0.0, -1.0, -(cy + 0.15 * rf))
    c.fill(
        intersect(ring(cx, cy, rf - 1.1 * k, max(0.9, 1.6 * k)), lower),
        fading(solid(RIM), lambda x, y: 0.75 * smoothstep(cy + 0.15 * rf, cy + rf, y)),
        soft=0.5 * k,
    )

    glyph = make_glyph(b)
    top, bottom = cy - 0.45 * rf, cy + 0.45 * rf
    c.fill(glyph, solid(GLOW, 0.45), soft=3.2 * k)
    c.fill(offset(glyph, 0.3 * k, 1.3 * k), solid(rgb(4, 10, 26), 0.6), soft=0.9 * k)
    c.fill(glyph, glyph_paint(b) if glyph_paint else linear(cx, top, cx, bottom, GLYPH))

    # Gloss: a cap of reflected light over the upper half of the glass.
    gloss = intersect(circle(cx, cy, rf - 1.3 * k), circle(cx, cy - 1.15 * rf, 1.62 * rf))
    g_top, g_bottom = cy - rf, cy + 0.02 * rf
    c.fill(
        gloss,
        fading(solid(WHITE), lambda x, y: 0.5 - 0.44 * clamp((y - g_top) / (g_bottom - g_top))),
    )
    return c


# Glyphs, in pixels of the button, centred on its face.


def glyph_play(b):
    k, cx, cy = b.k, b.cx, b.cy
    w, h = 17.0 * k, 19.0 * k
    left = cx - w * 0.4
    return polygon([(left, cy - h / 2), (left + w, cy), (left, cy + h / 2)], rounding=1.6 * k)


def glyph_pause(b):
    k, cx, cy = b.k, b.cx, b.cy
    bar = lambda x: round_box(x, cy, 3.4 * k, 9.6 * k, 1.6 * k)  # noqa: E731
    return union(bar(cx - 6.0 * k), bar(cx + 6.0 * k))


def glyph_stop(b):
    k = b.k
    return round_box(b.cx, b.cy, 8.6 * k, 8.6 * k, 2.0 * k)


def glyph_next(b):
    k, cx, cy = b.k, b.cx, b.cy
    h = 17.0 * k
    left = cx - 9.4 * k
    tip = left + 13.0 * k
    arrow = polygon([(left, cy - h / 2), (tip, cy), (left, cy + h / 2)], rounding=1.4 * k)
    bar = round_box(tip + 3.6 * k, cy, 2.4 * k, h / 2 + 1.0 * k, 1.2 * k)
    return union(arrow, bar)


def glyph_previous(b):
    return mirror_x(glyph_next(b), b.cx)


def glyph_playlist(b):
    """Three lines of a list, the first marked as playing."""
    k, cx, cy = b.k, b.cx, b.cy
    step = 7.8 * k
    lines = [capsule(cx - 2.6 * k, cy + i * step, cx + 11.0 * k, cy + i * step, 2.0 * k) for i in (-1, 0, 1)]
    y = cy - step
    mark = polygon([(cx - 13.4 * k, y - 4.4 * k), (cx - 7.2 * k, y), (cx - 13.4 * k, y + 4.4 * k)], rounding=0.5 * k)
    dots = [circle(cx - 10.4 * k, cy + i * step, 2.3 * k) for i in (0, 1)]
    return union(*lines, mark, *dots)


def draw_colour_button(size):
    """The colour-control button: a hue wheel fading to white under the glass."""

    def disc(b):
        return circle(b.cx, b.cy, 12.2 * b.k)

    def wheel(b):
        def paint(x, y):
            d = math.hypot(x - b.cx, y - b.cy) / (12.2 * b.k)
            angle = math.atan2(y - b.cy, x - b.cx)
            return hue(angle + math.pi / 2, clamp(0.1 + d), 1.0), 1.0

        return paint

    return draw_button(size, disc, wheel)


# --- the playlist's tool-button bitmaps -----------------------------------------

TOOL_NEUTRAL = rgb(212, 212, 214)  # edges are blended against a tool-bar grey
TRANSPARENT = (0, 0, 255)  # the colour the player keys out


def tool_bitmap(shape, top, bottom):
    """24 x 24 RGB rows: the glyph with a dark outline on pure blue."""
    c = Canvas(24, 24)
    c.fill(offset(shape, 0.5, 0.9), solid(BLACK, 0.28), soft=0.7)
    outline = [(0.0, mix(top, BLACK, 0.55)), (1.0, mix(bottom, BLACK, 0.6))]
    c.fill(shape, linear(12, 2, 12, 22, outline))
    c.fill(lambda x, y: shape(x, y) + 1.0, linear(12, 2, 12, 22, [(0.0, top), (1.0, bottom)]))
    c.fill(
        intersect(lambda x, y: shape(x, y) + 1.0, half_plane(0.0, 1.0, 11.0)),
        fading(solid(WHITE), lambda x, y: 0.35 * (1.0 - clamp((y - 2.0) / 9.0))),
    )
    rows = []
    for py in range(24):
        row = bytearray()
        for px in range(24):
            r, g, b, a = c.px[py * 24 + px]
            if a < 0.5 / 255.0:
                row += bytes(TRANSPARENT)
                continue
            keep = 1.0 - a
            colour = tuple(int(clamp(v + n * keep) * 255 + 0.5) for v, n in zip((r, g, b), TOOL_NEUTRAL))
            if colour == TRANSPARENT:
                colour = (0, 0, 254)
            row += bytes(colour)
        rows.append(bytes(row))
    return rows


def tool_add():
    return union(capsule(12, 4.5, 12, 19.5, 2.6), capsule(4.5, 12, 19.5, 12, 2.6))


def tool_delete():
    return union(capsule(6, 6, 18, 18, 2.5), capsule(18, 6, 6, 18, 2.5))


def tool_repeat():
    """A loop running round to an arrow head at its upper right."""
    cx, cy, r = 11.0, 12.8, 6.6
    gap = intersect(half_plane(-1.0, 0.0, -cx), half_plane(0.0, 1.0, cy))
    arc = subtract(ring(cx, cy, r, 3.2), gap)
    head = polygon([(cx + r - 4.8, cy + 0.6), (cx + r + 4.8, cy + 0.6), (cx + r, cy - 5.4)], rounding=0.4)
    return union(arc, head)


def tool_random():
    def arrow(y0, y1):
        return union(
            capsule(3.2, y0, 7.2, y0, 1.5),
            capsule(7.2, y0, 13.8, y1, 1.5),
            capsule(13.8, y1, 16.0, y1, 1.5),
            polygon([(15.6, y1 - 4.3), (21.4, y1), (15.6, y1 + 4.3)], rounding=0.3),
        )

    return union(arrow(17.0, 7.0), arrow(7.0, 17.0))


TOOLS = {
    "Add.bmp": (tool_add, rgb(120, 214, 96), rgb(36, 140, 44)),
    "Del.bmp": (tool_delete, rgb(255, 120, 104), rgb(196, 36, 30)),
    "Rep.bmp": (tool_repeat, rgb(120, 190, 255), rgb(30, 92, 196)),
    "Rand.bmp": (tool_random, rgb(222, 160, 255), rgb(122, 52, 196)),
}


# --- the product logo ------------------------------------------------------------


def draw_logo(size):
    """A film frame holding a screen at dawn with a play mark of light.

    Drawn in a 48-unit design; below 32 pixels the perforations are left out
    and the screen grows to fill the frame so the mark stays readable.
    """
    s = size / 48.0
    c = Canvas(size, size, s)
    detailed = size >= 32
    cx, cy = 24.0, 23.5

    tile = round_box(cx, cy, 21.5, 20.5, 6.5)
    c.fill(offset(tile, 0.3, 1.6), solid(BLACK, 0.42), soft=max(1.2, 1.6 / s))
    c.fill(tile, linear(cx, 3, cx, 44, [(0, rgb(56, 64, 88)), (0.5, rgb(26, 32, 52)), (1, rgb(12, 16, 30))]))
    c.fill(subtract(tile, offset(round_box(cx, cy, 21.5, 20.5, 6.5), 0.0, 1.0)), solid(WHITE, 0.22))

    if detailed:
        for row_y in (6.7, 40.3):
            for i in range(7):
                x = 7.5 + i * 5.5
                c.fill(round_box(x, row_y, 1.5, 1.25, 0.55), linear(x, row_y - 1.3, x, row_y + 1.3, [(0, rgb(120, 130, 156)), (1, rgb(210, 216, 232))]))
        sx, sy, shw, shh = cx, cy, 17.5, 13.0
    else:
        sx, sy, shw, shh = cx, cy, 18.0, 16.0

    screen = round_box(sx, sy, shw, shh, 2.6)
    top, bottom = sy - shh, sy + shh
    horizon = sy + shh * 0.52
    sky = [
        (0.0, rgb(22, 36, 104)),
        (0.45, rgb(92, 64, 170)),
        (0.78, rgb(232, 96, 126)),
        (1.0, rgb(255, 190, 96)),
    ]
    water = [(0.0, rgb(255, 170, 96)), (0.35, rgb(150, 60, 120)), (1.0, rgb(30, 24, 70))]

    def scene(x, y):
        if y < horizon:
            return linear(sx, top, sx, horizon, sky)(x, y)
        return linear(sx, horizon, sx, bottom, water)(x, y)

    c.fill(screen, scene)
    # The rising light beside the mark, and its path on the water.
    sun_x = sx + 8.0
    c.fill(
        intersect(screen, circle(sun_x, horizon, 15.0)),
        fading(solid(rgb(255, 214, 160)), lambda x, y: 0.8 * (1.0 - smoothstep(0.0, 15.0, math.hypot(x - sun_x, (y - horizon) * 1.6)))),
    )
    if detailed:
        for i, (dy, half) in enumerate(((1.6, 3.2), (3.3, 2.2), (5.0, 1.3))):
            y = horizon + dy
            c.fill(capsule(sun_x - half, y, sun_x + half, y, 0.35), solid(rgb(255, 230, 180), 0.7 - 0.15 * i), soft=0.3)
    c.fill(intersect(circle(sun_x, horizon, 3.6), half_plane(0.0, 1.0, horizon)), solid(rgb(255, 248, 226)), soft=0.35)
    # Glass over the screen: light across its upper left.
    c.fill(
        intersect(screen, half_plane(0.6, 0.8, 0.6 * sx + 0.8 * (sy - 3.0))),
        solid(WHITE, 0.13),
        soft=1.2,
    )
    # Play mark of light.
    grow = 1.0 if detailed else 1.3
    w, h = 13.0 * grow, 15.0 * grow
    left = sx - w * 0.42
    mid = sy - 1.5
    mark = polygon([(left, mid - h / 2), (left + w, mid), (left, mid + h / 2)], rounding=1.1)
    c.fill(mark, solid(rgb(255, 236, 210), 0.45), soft=3.0)
    c.fill(offset(mark, 0.3, 1.0), solid(rgb(30, 8, 50), 0.55 if detailed else 0.8), soft=0.8)
    c.fill(mark, linear(sx, mid - h / 2, sx, mid + h / 2, [(0, WHITE), (1, rgb(255, 232, 208))]))
    c.fill(subtract(screen, round_box(sx, sy + 0.6, shw, shh, 2.6)), solid(BLACK, 0.35))
    return c


# --- output ----------------------------------------------------------------------

SKIN_DIR = os.path.join("player", "shipped", "Skins", "Radorur.skn")

BUTTONS = [
    ("Previous.png", 64, glyph_previous),
    ("Play.png", 64, glyph_play),
    ("Pause.png", 64, glyph_pause),
    ("Stop.png", 64, glyph_stop),
    ("Next.png", 64, glyph_next),
    ("PlayList.png", 32, glyph_playlist),
]


def draw_all():
    """{relative path: (kind, size, canvas or rows)}"""
    out = {}
    for name, size, glyph in BUTTONS:
        out[os.path.join(SKIN_DIR, name)] = ("png", size, draw_button(size, glyph))
    out[os.path.join(SKIN_DIR, "ColorControl.png")] = ("png", 32, draw_colour_button(32))
    for name, (shape, top, bottom) in TOOLS.items():
        out[os.path.join(SKIN_DIR, name)] = ("bmp", 24, tool_bitmap(shape(), top, bottom))
    out[os.path.join("player", "about", "logo.png")] = ("png", 48, draw_logo(48))
    out[os.path.join("player", "about", "logo96.png")] = ("png", 96, draw_logo(96))
    icons = [(n, draw_logo(n)) for n in (16, 24, 32, 48, 256)]
    out[os.path.join("player", "core", "lumorix.ico")] = ("ico", 0, icons)
    return out


def encode(kind, size, item):
    if kind == "png":
        return png(size, size, item.rgba8())
    if kind == "bmp":
        return bmp24(size, size, item)
    return ico([(n, canvas.rgba8()) for n, canvas in item])


def main(argv):
    parser = argparse.ArgumentParser(description="Draw the player's shipped pictures.")
    parser.add_argument("root", help="folder laid out like the repository")
    parser.add_argument("--sheet", help="also write a contact sheet PNG here")
    parser.add_argument("--check", action="store_true", help="only compare with the files under root")
    args = parser.parse_args(argv[1:])
    drawn = draw_all()
    stale = []
    for path, (kind, size, item) in sorted(drawn.items()):
        data = encode(kind, size, item)
        target = os.path.join(args.root, path)
        if args.check:
            if not os.path.isfile(target) or open(target, "rb").read() != data:
                stale.append(path)
            continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)
    if args.sheet:
        from contact_sheet import write_sheet

        write_sheet(args.sheet, drawn)
    for path in stale:
        print(f"{path}: differs from what the script draws; run it on the repository and commit")
    print(f"{len(stale)} of {len(drawn)} files stale" if args.check else f"{len(drawn)} files drawn")
    return 1 if stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
