"""A contact sheet of the drawn pictures, for looking at them as a set.

Each picture is shown over the colour it will sit on, enlarged four times,
and the skin is shown once more at its real size in the settings window's
button row.
"""

import os

from imagefile import png
from raster import rgb

WINDOW = rgb(191, 191, 193)
DESKTOP = rgb(58, 110, 165)  # the classic desktop blue, for the about window
TOOLBAR = (212, 208, 200)  # the classic tool-bar face
ZOOM = 4
GAP = 12


def _bg8(colour):
    return tuple(int(v * 255 + 0.5) for v in colour)


class Sheet:
    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.px = [bytearray(bytes(colour) * width) for _ in range(height)]

    def blit(self, x, y, rows, zoom=1):
        for ry, row in enumerate(rows):
            for dy in range(zoom):
                line = self.px[y + ry * zoom + dy]
                for rx in range(len(row) // 3):
                    pixel = row[3 * rx : 3 * rx + 3]
                    for dx in range(zoom):
                        at = 3 * (x + rx * zoom + dx)
                        line[at : at + 3] = pixel


def _tool_shown(rows):
    """The bitmap as the player shows it: pure blue keyed out to the tool bar."""
    out = []
    for row in rows:
        line = bytearray(row)
        for i in range(0, len(line), 3):
            if tuple(line[i : i + 3]) == (0, 0, 255):
                line[i : i + 3] = bytes(TOOLBAR)
        out.append(bytes(line))
    return out


def write_sheet(path, drawn):
    skin = {os.path.basename(p): v for p, v in drawn.items() if "Radorur.skn" in p}
    tiles = []  # (rows, zoom, pixel width)
    for name in ("Previous.png", "Play.png", "Pause.png", "Stop.png", "Next.png", "PlayList.png", "ColorControl.png"):
        _, size, canvas = skin[name]
        tiles.append((canvas.over(WINDOW), ZOOM, size))
    for name in ("Add.bmp", "Del.bmp", "Rep.bmp", "Rand.bmp"):
        _, size, rows = skin[name]
        tiles.append((_tool_shown(rows), ZOOM, size))
    for name in ("Add.bmp", "Del.bmp", "Rep.bmp", "Rand.bmp"):
        tiles.append((skin[name][2], ZOOM, 24))
    for key in ("logo.png", "logo96.png"):
        canvas = next(v for p, v in drawn.items() if p.endswith(key))[2]
        for colour in (DESKTOP, WINDOW, rgb(0, 0, 0)):
            tiles.append((canvas.over(colour), ZOOM if key == "logo.png" else 2, canvas.width))
    icons = next(v for p, v in drawn.items() if p.endswith(".ico"))[2]
    for n, canvas in icons:
        if n < 256:
            tiles.append((canvas.over(DESKTOP), ZOOM, n))

    # The button row at real size, as placed by Skin.ini, over the window.
    row_w, row_h = 420, 84
    strip = [bytearray(bytes(_bg8(WINDOW)) * row_w) for _ in range(row_h)]
    places = [
        ("Previous.png", 8), ("Play.png", 80), ("Pause.png", 152), ("Stop.png", 224), ("Next.png", 296),
    ]
    for name, left in places:
        _, size, canvas = skin[name]
        for y, line in enumerate(canvas.over(WINDOW)):
            strip[8 + y][3 * left : 3 * (left + size)] = line
    for name, top in (("PlayList.png", 8), ("ColorControl.png", 40)):
        _, size, canvas = skin[name]
        for y, line in enumerate(canvas.over(WINDOW)):
            strip[top + y][3 * 376 : 3 * (376 + size)] = line

    width = 1400
    x = y = GAP
    line_h = 0
    placed = []
    for rows, zoom, size in tiles:
        w, h = size * zoom, len(rows) * zoom
        if x + w + GAP > width:
            x, y = GAP, y + line_h + GAP
            line_h = 0
        placed.append((x, y, rows, zoom))
        x += w + GAP
        line_h = max(line_h, h)
    y += line_h + GAP
    placed.append((GAP, y, [bytes(r) for r in strip], 2))
    height = y + row_h * 2 + GAP

    sheet = Sheet(width, height, (96, 96, 100))
    for x, y, rows, zoom in placed:
        sheet.blit(x, y, rows, zoom)
    with open(path, "wb") as f:
        f.write(png(width, height, [bytes(r) for r in sheet.px], channels=3))
