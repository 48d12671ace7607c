#!/usr/bin/env python3
"""Draws the editor's icons and map cursor as PNG files.

Every image in this folder, and the resource list hexlane.qrc, come out of
this script:
toolbar/*.png (24 x 24, with @2x variants), tree/*.png (16 x 16, with @2x),
app/hexlane-N.png (the application icon and the about picture),
app/hexlane.svg (the same emblem as a scalable picture, for the desktop's
icon theme) and targetxhair.png (the map cursor, 32 x 32, hot spot at 16, 16).

Shapes are described in design units on a square grid (24 units for the
toolbar, 16 for the tree, 64 for the emblem, 32 for the cursor) and drawn
with 4 x 4 supersampling, so one description gives every pixel size.
Only the standard library is used.

    python3 make_icons.py               # rewrites the images beside this file
    python3 make_icons.py --sheet x.png # also writes an enlarged contact sheet
"""

import math
import os
import struct
import sys
import zlib

SS = 4  # samples per pixel along each axis

# ---- colours (r, g, b) ------------------------------------------------------

INK = (44, 54, 66)
PAPER = (255, 255, 255)
PAPER_SHADE = (222, 229, 236)
TEXT_GREY = (150, 160, 172)
FOLDER = (247, 200, 76)
FOLDER_LIGHT = (253, 224, 128)
FOLDER_BACK = (222, 164, 40)
FOLDER_EDGE = (150, 104, 20)
BLUE = (44, 110, 196)
BLUE_DARK = (26, 62, 120)
BLUE_LIGHT = (170, 204, 240)
RED = (212, 52, 48)
GREEN = (46, 150, 72)
YELLOW = (252, 212, 44)
SILVER = (176, 184, 192)
DISK = (72, 104, 156)
METAL = (214, 220, 228)
WOOD = (236, 170, 60)
NAVY = (20, 34, 70)
TEAL = (0, 128, 128)
TEAL_LIGHT = (204, 236, 236)

SQRT3 = math.sqrt(3.0)


# ---- raster -----------------------------------------------------------------

class Canvas:
    """A square RGBA image drawn in design units with supersampling."""

    def __init__(self, pixels, units):
        self.size = pixels
        self.n = pixels * SS
        self.k = self.n / units  # samples per design unit
        self.buf = [0.0] * (self.n * self.n * 4)  # premultiplied r, g, b, a
        self.ox = 0.0
        self.oy = 0.0
        self.scale = 1.0

    # A simple placement of later shapes: design point p lands at o + p * scale.
    def place(self, ox=0.0, oy=0.0, scale=1.0):
        self.ox, self.oy, self.scale = ox, oy, scale

    def _xy(self, x, y):
        return self.ox + x * self.scale, self.oy + y * self.scale

    def fill(self, inside, bbox, colour, alpha=1.0):
        """Blends colour over every sample whose centre satisfies inside(x, y).

        inside and bbox are in placed design units (after place())."""
        x0, y0, x1, y1 = bbox
        k = self.k
        i0 = max(0, int(math.floor(x0 * k)))
        i1 = min(self.n - 1, int(math.ceil(x1 * k)))
        j0 = max(0, int(math.floor(y0 * k)))
        j1 = min(self.n - 1, int(math.ceil(y1 * k)))
        r, g, b = (c / 255.0 for c in colour)
        for j in range(j0, j1 + 1):
            y = (j + 0.5) / k
            row = j * self.n
            for i in range(i0, i1 + 1):
                x = (i + 0.5) / k
                if inside(x, y):
                    p = (row + i) * 4
                    buf = self.buf
                    q = 1.0 - alpha
                    buf[p] = r * alpha + buf[p] * q
                    buf[p + 1] = g * alpha + buf[p + 1] * q
                    buf[p + 2] = b * alpha + buf[p + 2] * q
                    buf[p + 3] = alpha + buf[p + 3] * q

    # -- shapes (design units, before placement) --

    def polygon(self, points, colour, alpha=1.0):
        pts = [self._xy(x, y) for x, y in points]
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]

        def inside(x, y):
            winding = 0
            m = len(pts)
            for a in range(m):
                ax, ay = pts[a]
                bx, by = pts[(a + 1) % m]
                if ay <= y < by or by <= y < ay:
                    t = (y - ay) / (by - ay)
                    if x < ax + t * (bx - ax):
                        winding += 1 if by > ay else -1
            return winding != 0

        self.fill(inside, (min(xs), min(ys), max(xs), max(ys)), colour, alpha)

    def lines(self, points, width, colour, closed=False, alpha=1.0):
        """A stroked polyline with round joins and caps."""
        pts = [self._xy(x, y) for x, y in points]
        if closed:
            pts = pts + [pts[0]]
        segs = list(zip(pts, pts[1:])) or [(pts[0], pts[0])]
        h = width * self.scale / 2.0
        h2 = h * h
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]

        def inside(x, y):
            for (ax, ay), (bx, by) in segs:
                dx, dy = bx - ax, by - ay
                ll = dx * dx + dy * dy
                t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / ll))
                ex, ey = ax + t * dx - x, ay + t * dy - y
                if ex * ex + ey * ey <= h2:
                    return True
            return False

        self.fill(inside, (min(xs) - h, min(ys) - h, max(xs) + h, max(ys) + h), colour, alpha)

    def outline(self, points, width, colour):
        self.lines(points, width, colour, closed=True)

    def shape(self, points, fill, stroke=INK, width=1.0, alpha=1.0):
        self.polygon(points, fill, alpha)
        if stroke is not None:
            self.outline(points, width, stroke)

    def ellipse(self, cx, cy, rx, ry, colour, alpha=1.0):
        cx, cy = self._xy(cx, cy)
        rx *= self.scale
        ry *= self.scale
        self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0,
                  (cx - rx, cy - ry, cx + rx, cy + ry), colour, alpha)

    def ring(self, cx, cy, r, width, colour, alpha=1.0):
        cx, cy = self._xy(cx, cy)
        r *= self.scale
        h = width * self.scale / 2.0
        lo, hi = max(0.0, r - h) ** 2, (r + h) ** 2
        self.fill(lambda x, y: lo <= (x - cx) ** 2 + (y - cy) ** 2 <= hi,
                  (cx - r - h, cy - r - h, cx + r + h, cy + r + h), colour, alpha)

    def disc(self, cx, cy, r, fill, stroke=INK, width=1.0):
        self.ellipse(cx, cy, r, r, fill)
        if stroke is not None:
            self.ring(cx, cy, r, width, stroke)

    def rect(self, x0, y0, x1, y1, fill, stroke=INK, width=1.0, alpha=1.0):
        self.shape([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], fill, stroke, width, alpha)

    # -- output --

    def rgba(self):
        """Averages the samples into 8-bit straight-alpha RGBA rows."""
        out = []
        area = SS * SS
        for py in range(self.size):
            row = bytearray()
            for px in range(self.size):
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(SS):
                    base = ((py * SS + sy) * self.n + px * SS) * 4
                    for sx in range(SS):
                        p = base + sx * 4
                        for c in range(4):
                            acc[c] += self.buf[p + c]
                a = acc[3] / area
                if a <= 0.0:
                    row += bytes(4)
                    continue
                row += bytes(min(255, int(round(acc[c] / acc[3] * 255))) for c in range(3))
                row.append(min(255, int(round(a * 255))))
            out.append(bytes(row))
        return out


def write_png(path, rows):
    """An 8-bit RGBA PNG, every row with filter type 0."""
    height = len(rows)
    width = len(rows[0]) // 4

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + r for r in rows)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(png)


# ---- shared motifs ----------------------------------------------------------

def hex_points(cx, cy, r):
    """A flat-topped hexagon, as the map draws its hexes."""
    h = r * SQRT3 / 2.0
    return [(cx - r, cy), (cx - r / 2, cy - h), (cx + r / 2, cy - h),
            (cx + r, cy), (cx + r / 2, cy + h), (cx - r / 2, cy + h)]


def star_points(cx, cy, outer, inner, spikes=5, turn=-90.0):
    pts = []
    for i in range(spikes * 2):
        r = outer if i % 2 == 0 else inner
        a = math.radians(turn + i * 180.0 / spikes)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


# Stroke glyphs on a box one unit wide and one unit high (y down).
GLYPHS = {
    "A": [[(0.0, 1.0), (0.5, 0.0), (1.0, 1.0)], [(0.22, 0.62), (0.78, 0.62)]],
    "b": [[(0.1, 0.0), (0.1, 1.0)],
          [(0.1, 0.62), (0.3, 0.42), (0.62, 0.42), (0.9, 0.6), (0.9, 0.82), (0.62, 1.0), (0.3, 1.0), (0.1, 0.82)]],
}


def text(c, s, x, y, w, h, width, colour, gap=0.25):
    """Draws the glyphs of s side by side in the box (x, y, w per glyph, h)."""
    for n, ch in enumerate(s):
        gx = x + n * w * (1.0 + gap)
        for stroke in GLYPHS[ch]:
            c.lines([(gx + px * w, y + py * h) for px, py in stroke], width, colour)


def page(c, x0, y0, x1, y1, fold=4.0, lines=True):
    """A sheet of paper with a folded corner and, optionally, lines of text."""
    c.shape([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], PAPER)
    c.shape([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], PAPER_SHADE)
    if lines:
        y = y0 + fold + 2.0
        while y < y1 - 1.5:
            right = x1 - 2.5 if int(y) % 2 else x1 - 4.5
            c.lines([(x0 + 2.5, y), (right, y)], 1.0, TEXT_GREY)
            y += 2.5


def floppy(c):
    """A diskette over the whole 24-unit square."""
    body = [(3.5, 3.5), (17.5, 3.5), (20.5, 6.5), (20.5, 20.5), (3.5, 20.5)]
    c.shape(body, DISK)
    c.rect(7.5, 3.5, 16.5, 9.5, METAL)
    c.rect(13.0, 5.0, 15.0, 8.0, DISK, None)
    c.rect(6.5, 12.5, 17.5, 20.5, PAPER)
    c.lines([(8.5, 15.5), (15.5, 15.5)], 1.0, TEXT_GREY)
    c.lines([(8.5, 18.0), (13.5, 18.0)], 1.0, TEXT_GREY)


def magnifier(c, cx=10.0, cy=10.0, r=6.5):
    d = r / SQRT3 * 1.2
    c.lines([(cx + d, cy + d), (21.0, 21.0)], 3.4, INK)
    c.ellipse(cx, cy, r, r, BLUE_LIGHT, 0.85)
    c.ring(cx, cy, r, 2.0, INK)


def sheet(c, x0, y0, x1, y1, fill=PAPER, alpha=1.0, hexes=True):
    """A square map sheet with a few hexes on it."""
    c.rect(x0, y0, x1, y1, fill, INK, 1.0, alpha)
    if hexes:
        cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
        r = (x1 - x0) / 5.0
        c.outline(hex_points(cx, cy, r), 1.0, BLUE)


def badge_selected(c):
    """A selected hex with a tick (bottom-right corner)."""
    c.shape(hex_points(17.5, 17.0, 6.0), YELLOW, INK, 1.0)
    c.lines([(14.6, 17.2), (16.7, 19.3), (20.4, 14.8)], 1.8, INK)


def arrow(c, pts, colour, width=2.4, head=3.4):
    """A polyline ending in a filled arrow head."""
    (ax, ay), (bx, by) = pts[-2], pts[-1]
    length = math.hypot(bx - ax, by - ay)
    ux, uy = (bx - ax) / length, (by - ay) / length
    base = (bx - ux * head, by - uy * head)
    c.lines(pts[:-1] + [base], width, colour)
    c.polygon([(bx, by),
               (base[0] - uy * head * 0.8, base[1] + ux * head * 0.8),
               (base[0] + uy * head * 0.8, base[1] - ux * head * 0.8)], colour)


# ---- toolbar icons (24 units) -------------------------------------------------

def open_folder(c):
    c.shape([(2.5, 5.5), (8.5, 5.5), (10.5, 7.5), (19.5, 7.5), (19.5, 19.5), (2.5, 19.5)], FOLDER_BACK, FOLDER_EDGE)
    page(c, 5.5, 8.5, 17.5, 17.0, 3.0, lines=False)
    c.outline(hex_points(11.0, 13.0, 2.6), 1.0, BLUE)
    c.shape([(2.5, 19.5), (6.0, 11.5), (22.5, 11.5), (19.5, 19.5)], FOLDER_LIGHT, FOLDER_EDGE)


def icon_open_map(c):
    open_folder(c)


def icon_save_map(c):
    floppy(c)


def icon_print_preview(c):
    page(c, 3.5, 2.5, 16.5, 20.5)
    magnifier(c, 14.0, 14.0, 5.0)


def icon_selected_save(c):
    c.place(-1.0, -1.5, 0.8)
    floppy(c)
    c.place()
    badge_selected(c)


def icon_save_bitmap(c):
    c.place(-1.0, -1.5, 0.8)
    floppy(c)
    c.place()
    c.rect(11.5, 12.5, 22.5, 21.5, BLUE_LIGHT)
    c.ellipse(19.5, 15.5, 1.5, 1.5, YELLOW)
    c.polygon([(12.0, 21.0), (15.5, 16.0), (18.0, 19.0), (19.5, 17.8), (22.0, 21.0)], GREEN)
    c.rect(11.5, 12.5, 22.5, 21.5, PAPER, INK, 1.0, 0.0)


def icon_merge_maps(c):
    sheet(c, 1.5, 1.5, 8.5, 8.5, hexes=False)
    sheet(c, 1.5, 15.5, 8.5, 22.5, hexes=False)
    sheet(c, 14.5, 7.5, 22.5, 16.5, BLUE_LIGHT, hexes=False)
    c.lines([(8.5, 5.0), (11.0, 5.0), (11.0, 19.0), (8.5, 19.0)], 2.0, GREEN)
    arrow(c, [(11.0, 12.0), (14.5, 12.0)], GREEN, 2.0, 3.4)


def icon_overlay_maps(c):
    sheet(c, 2.5, 2.5, 15.5, 15.5)
    c.rect(8.5, 8.5, 21.5, 21.5, BLUE_LIGHT, INK, 1.0, 0.7)
    c.outline(hex_points(15.0, 15.0, 2.6), 1.0, BLUE_DARK)


def icon_import_sector_file(c):
    page(c, 2.5, 2.5, 13.5, 21.5, 3.5)
    c.shape(hex_points(18.0, 16.0, 4.5), BLUE_LIGHT, INK)
    arrow(c, [(8.0, 11.0), (13.5, 11.0), (17.5, 12.5)], GREEN, 2.2, 3.4)


def display_hex(c, fill=PAPER):
    c.shape(hex_points(12.0, 12.0, 10.0), fill, SILVER, 1.2)


def icon_toggle_all(c):
    display_hex(c, BLUE_LIGHT)
    c.ellipse(12.0, 7.3, 1.6, 1.6, BLUE_DARK)
    c.lines([(12.0, 11.0), (12.0, 17.0)], 2.6, BLUE_DARK)


def icon_toggle_allegiance(c):
    r = 5.4
    for cx, cy, fill in ((7.4, 12.0, RED), (15.5, 7.3, GREEN), (15.5, 16.7, BLUE)):
        c.shape(hex_points(cx, cy, r), fill, INK, 1.0)


def icon_toggle_routes(c):
    pts = [(4.0, 18.0), (11.0, 6.5), (20.0, 15.0)]
    c.lines(pts, 2.2, GREEN)
    for x, y in pts:
        c.disc(x, y, 2.6, INK, PAPER, 1.0)


def icon_toggle_contents(c):
    c.ellipse(12.0, 12.0, 7.0, 7.0, YELLOW)
    c.ellipse(12.0, 12.0, 2.4, 2.4, INK)
    for x, y in ((5.0, 5.0), (5.0, 12.0), (19.0, 5.0), (19.0, 12.0), (5.0, 19.5)):
        c.disc(x, y, 2.1, PAPER, INK, 1.1)


def icon_toggle_starports(c):
    text(c, "A", 7.5, 2.5, 9.0, 10.5, 2.2, INK)
    c.ellipse(12.0, 18.5, 2.8, 2.8, INK)


def icon_toggle_names(c):
    c.ellipse(12.0, 5.5, 2.8, 2.8, INK)
    text(c, "Ab", 3.0, 11.5, 7.6, 9.0, 2.0, BLUE, 0.2)


def grid_square(c):
    c.rect(2.5, 2.5, 21.5, 21.5, PAPER, SILVER, 1.0)
    for cx, cy in ((6.0, 7.0), (12.0, 10.5), (18.0, 7.0), (6.0, 17.0), (18.0, 17.0)):
        c.outline(hex_points(cx, cy, 2.4), 0.8, SILVER)


def icon_toggle_sector_lines(c):
    grid_square(c)
    c.lines([(12.0, 2.5), (12.0, 21.5)], 2.0, RED)
    c.lines([(2.5, 12.0), (21.5, 12.0)], 2.0, RED)
    c.outline([(2.5, 2.5), (21.5, 2.5), (21.5, 21.5), (2.5, 21.5)], 1.6, RED)


def icon_toggle_subsector_lines(c):
    grid_square(c)
    for v in (8.8, 15.2):
        c.lines([(v, 2.5), (v, 21.5)], 1.3, BLUE)
        c.lines([(2.5, v), (21.5, v)], 1.3, BLUE)
    c.outline([(2.5, 2.5), (21.5, 2.5), (21.5, 21.5), (2.5, 21.5)], 1.3, BLUE)


def icon_toggle_borders(c):
    # A polity's border: a ragged loop in its colour around two worlds.
    loop = [(4.0, 8.0), (8.0, 4.0), (13.0, 5.5), (16.5, 3.5), (20.5, 7.5), (19.0, 13.0),
            (20.5, 18.0), (15.0, 20.5), (10.0, 18.5), (5.0, 20.0), (3.5, 14.0)]
    c.shape(loop, TEAL_LIGHT, TEAL, 2.0)
    c.ellipse(9.0, 11.0, 2.4, 2.4, INK)
    c.ellipse(15.5, 13.5, 2.4, 2.4, BLUE)


def icon_refresh(c):
    r = 7.5
    pts = []
    for i in range(0, 41):
        a = math.radians(-60 + i * 7.0)  # an arc of 280 degrees
        pts.append((12.0 + r * math.cos(a), 12.5 + r * math.sin(a)))
    c.lines(pts[:-4], 2.6, GREEN)
    ex, ey = pts[-1]
    px, py = pts[-5]
    arrow(c, [(px, py), (ex + (ex - px) * 0.6, ey + (ey - py) * 0.6)], GREEN, 2.6, 5.0)


def undo_arrow(c, mirror):
    """A hooked arrow: a half turn over the top, ending in a head that points
    back to where it began (left for undo, right for redo)."""
    def x(v):
        return 24.0 - v if mirror else v
    pts = []
    for i in range(0, 19):
        a = math.radians(90 - i * 10.0)  # from the bottom, over the right, to the top
        pts.append((x(12.5 + 6.5 * math.cos(a)), 11.0 + 6.0 * math.sin(a)))
    c.lines([(x(8.0), 17.0)] + pts, 2.6, BLUE)
    arrow(c, [pts[-1], (x(8.0), 5.0), (x(3.0), 5.0)], BLUE, 2.6, 5.0)


def icon_undo(c):
    undo_arrow(c, False)


def icon_redo(c):
    undo_arrow(c, True)


def icon_zoom_out(c):
    magnifier(c)
    c.lines([(7.0, 10.0), (13.0, 10.0)], 2.2, BLUE_DARK)


def icon_zoom_in(c):
    magnifier(c)
    c.lines([(7.0, 10.0), (13.0, 10.0)], 2.2, BLUE_DARK)
    c.lines([(10.0, 7.0), (10.0, 13.0)], 2.2, BLUE_DARK)


def pencil(c):
    # From the top-right corner down to the tip at the bottom-left.
    ux, uy = -1.0 / math.sqrt(2.0), 1.0 / math.sqrt(2.0)
    nx, ny = uy, -ux
    hw = 2.4
    top = (21.0, 6.0)
    tip_base = (top[0] + ux * 11.5, top[1] + uy * 11.5)
    tip = (top[0] + ux * 16.0, top[1] + uy * 16.0)
    body = [(top[0] + nx * hw, top[1] + ny * hw), (tip_base[0] + nx * hw, tip_base[1] + ny * hw),
            (tip_base[0] - nx * hw, tip_base[1] - ny * hw), (top[0] - nx * hw, top[1] - ny * hw)]
    c.shape(body, WOOD)
    c.shape([body[1], tip, body[2]], (246, 222, 180))
    c.polygon([(tip[0] + (tip_base[0] - tip[0]) * 0.35 + nx * hw * 0.35,
                tip[1] + (tip_base[1] - tip[1]) * 0.35 + ny * hw * 0.35),
               tip,
               (tip[0] + (tip_base[0] - tip[0]) * 0.35 - nx * hw * 0.35,
                tip[1] + (tip_base[1] - tip[1]) * 0.35 - ny * hw * 0.35)], INK)
    end = (top[0] + ux * 2.5, top[1] + uy * 2.5)
    c.shape([(top[0] + nx * hw, top[1] + ny * hw), (end[0] + nx * hw, end[1] + ny * hw),
             (end[0] - nx * hw, end[1] - ny * hw), (top[0] - nx * hw, top[1] - ny * hw)], RED)


def icon_edit_sectors(c):
    c.rect(2.5, 2.5, 17.5, 17.5, PAPER, INK)
    c.lines([(10.0, 2.5), (10.0, 17.5)], 1.2, BLUE)
    c.lines([(2.5, 10.0), (17.5, 10.0)], 1.2, BLUE)
    pencil(c)


def icon_query(c):
    c.shape([(3.0, 8.5), (21.0, 8.5), (14.0, 15.0), (14.0, 20.0), (10.0, 22.0), (10.0, 15.0)], BLUE_LIGHT)
    c.shape(star_points(6.5, 4.0, 3.0, 1.3), YELLOW, INK, 0.8)
    c.disc(12.5, 3.5, 1.8, RED, INK, 0.8)
    c.disc(18.0, 4.5, 1.8, BLUE, INK, 0.8)


def icon_navigation(c):
    c.disc(12.0, 12.0, 10.0, PAPER, INK, 1.2)
    for a in range(0, 360, 45):
        ca, sa = math.cos(math.radians(a)), math.sin(math.radians(a))
        inner = 7.6 if a % 90 == 0 else 8.3
        c.lines([(12.0 + ca * inner, 12.0 + sa * inner), (12.0 + ca * 9.2, 12.0 + sa * 9.2)], 0.9, INK)
    c.shape([(12.0, 3.2), (14.4, 12.0), (9.6, 12.0)], RED, INK, 0.8)
    c.shape([(12.0, 20.8), (14.4, 12.0), (9.6, 12.0)], SILVER, INK, 0.8)
    c.ellipse(12.0, 12.0, 1.3, 1.3, INK)


# Hint text of each toolbar button and its image's file name, in toolbar order.
TOOLBAR = [
    ("open-map", icon_open_map),
    ("save-map", icon_save_map),
    ("undo", icon_undo),
    ("redo", icon_redo),
    ("print-preview", icon_print_preview),
    ("selected-save", icon_selected_save),
    ("save-bitmap", icon_save_bitmap),
    ("merge-maps", icon_merge_maps),
    ("overlay-maps", icon_overlay_maps),
    ("import-sector-file", icon_import_sector_file),
    ("toggle-all", icon_toggle_all),
    ("toggle-allegiance-colors", icon_toggle_allegiance),
    ("toggle-routes", icon_toggle_routes),
    ("toggle-system-contents", icon_toggle_contents),
    ("toggle-starports", icon_toggle_starports),
    ("toggle-system-names", icon_toggle_names),
    ("toggle-sector-lines", icon_toggle_sector_lines),
    ("toggle-subsector-lines", icon_toggle_subsector_lines),
    ("toggle-borders", icon_toggle_borders),
    ("refresh-image", icon_refresh),
    ("zoom-out", icon_zoom_out),
    ("zoom-in", icon_zoom_in),
    ("edit-sectors", icon_edit_sectors),
    ("query", icon_query),
    ("navigation", icon_navigation),
]


# ---- tree icons (16 units) ----------------------------------------------------

def tree_open_folder(c):
    c.shape([(1.5, 3.5), (5.5, 3.5), (7.0, 5.0), (13.5, 5.0), (13.5, 13.5), (1.5, 13.5)], FOLDER_BACK, FOLDER_EDGE)
    c.shape([(1.5, 13.5), (4.0, 7.5), (15.5, 7.5), (13.5, 13.5)], FOLDER_LIGHT, FOLDER_EDGE)


def tree_closed_folder(c):
    c.shape([(1.5, 3.5), (5.5, 3.5), (7.0, 5.0), (14.5, 5.0), (14.5, 13.5), (1.5, 13.5)], FOLDER, FOLDER_EDGE)
    c.lines([(2.5, 6.5), (13.5, 6.5)], 1.0, FOLDER_LIGHT)


def tree_page(c):
    c.shape([(3.5, 1.5), (10.0, 1.5), (12.5, 4.0), (12.5, 14.5), (3.5, 14.5)], PAPER)
    c.shape([(10.0, 1.5), (10.0, 4.0), (12.5, 4.0)], PAPER_SHADE)
    for y, right in ((6.5, 10.5), (8.5, 10.5), (10.5, 10.5), (12.5, 8.5)):
        c.lines([(5.5, y), (right, y)], 1.0, TEXT_GREY)


TREE = [("open-folder", tree_open_folder), ("closed-folder", tree_closed_folder), ("page", tree_page)]


# ---- emblem (64 units) and cursor (32 units) ---------------------------------------

def emblem(c):
    """Seven hexes in a flower, a yellow star in the middle one."""
    r = 11.0
    d = SQRT3 * r
    shades = [(52, 120, 200), (38, 92, 170), (64, 140, 214), (44, 104, 186), (58, 128, 206), (34, 84, 160)]
    for n, a in enumerate(range(30, 390, 60)):
        cx = 32.0 + d * math.cos(math.radians(a))
        cy = 32.0 + d * math.sin(math.radians(a))
        c.shape(hex_points(cx, cy, r - 0.9), shades[n], BLUE_DARK, 1.2)
    c.shape(hex_points(32.0, 32.0, r - 0.9), NAVY, BLUE_DARK, 1.2)
    c.shape(star_points(32.0, 32.6, 7.6, 3.1), YELLOW, (200, 150, 20), 0.8)


def small_emblem(c):
    """The emblem for the smallest sizes: one hex with the star."""
    c.shape(hex_points(32.0, 32.0, 30.0), (52, 120, 200), BLUE_DARK, 4.0)
    c.shape(star_points(32.0, 34.0, 20.0, 8.5), YELLOW, (200, 150, 20), 2.0)


def cursor_rows():
    """A target cross-hair drawn pixel by pixel (no smoothing, so it stays
    sharp): black arms and ring with a white halo so it shows on any colour.
    The hot spot is pixel (16, 16)."""
    size, mid, radius = 32, 16, 8
    black = set()
    for d in list(range(3, 13)) + list(range(20, 30)):
        black.add((d, mid))
        black.add((mid, d))
    black.add((mid, mid))
    # Midpoint circle.
    x, y, err = radius, 0, 1 - radius
    while x >= y:
        for px, py in ((x, y), (y, x), (-y, x), (-x, y), (-x, -y), (-y, -x), (y, -x), (x, -y)):
            black.add((mid + px, mid + py))
        y += 1
        if err < 0:
            err += 2 * y + 1
        else:
            x -= 1
            err += 2 * (y - x) + 1
    white = set()
    for bx, by in black:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                q = (bx + dx, by + dy)
                if q not in black and 0 <= q[0] < size and 0 <= q[1] < size:
                    white.add(q)
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            if (px, py) in black:
                row += bytes(INK) + b"\xff"
            elif (px, py) in white:
                row += bytes(PAPER) + b"\xff"
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


# ---- scalable emblem -----------------------------------------------------------

class SvgCanvas:
    """Takes the same shape calls as Canvas and keeps them as SVG elements."""

    def __init__(self, units):
        self.units = units
        self.items = []

    def shape(self, points, fill, stroke=INK, width=1.0, alpha=1.0):
        pts = " ".join("%.3f,%.3f" % p for p in points)
        self.items.append(
            '  <polygon points="%s" fill="#%02x%02x%02x" stroke="#%02x%02x%02x" '
            'stroke-width="%.2f" stroke-linejoin="round"%s/>'
            % ((pts,) + tuple(fill) + tuple(stroke) + (width, "" if alpha >= 1.0 else ' opacity="%.3f"' % alpha)))

    def text(self):
        head = ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
                % (256, 256, self.units, self.units))
        return "\n".join([head] + self.items + ["</svg>", ""])


def write_svg(path, fn, units):
    c = SvgCanvas(units)
    fn(c)
    with open(path, "w", newline="\n") as f:
        f.write(c.text())


# ---- output ------------------------------------------------------------------

def draw(fn, pixels, units):
    c = Canvas(pixels, units)
    fn(c)
    return c.rgba()


def build(folder):
    """Writes every image; returns (name, rows) pairs for the contact sheet."""
    made = []

    def emit(rel, rows):
        write_png(os.path.join(folder, rel), rows)
        made.append((rel, rows))

    for name, fn in TOOLBAR:
        emit("toolbar/%s.png" % name, draw(fn, 24, 24))
        emit("toolbar/%s@2x.png" % name, draw(fn, 48, 24))
    for name, fn in TREE:
        emit("tree/%s.png" % name, draw(fn, 16, 16))
        emit("tree/%s@2x.png" % name, draw(fn, 32, 16))
    for px in (16, 32, 48, 64, 128, 256):
        emit("app/hexlane-%d.png" % px, draw(small_emblem if px < 32 else emblem, px, 64))
    emit("targetxhair.png", cursor_rows())
    # The scalable icon is installed for the desktop, not compiled in.
    write_svg(os.path.join(folder, "app", "hexlane.svg"), emblem, 64)
    write_qrc(os.path.join(folder, "hexlane.qrc"), [rel for rel, _ in made])
    return made


def write_qrc(path, files):
    """The resource list that the build compiles in (every image, prefix "/")."""
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/">']
    lines += ["    <file>%s</file>" % f for f in files]
    lines += ["</qresource>", "</RCC>", ""]
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines))


def contact_sheet(path, made, zoom=4, columns=8):
    """Every image enlarged (nearest pixel) on a light background, for review."""
    pick = [(n, r) for n, r in made if len(r) <= 64]
    cell = 64 * zoom + 16
    rows_n = (len(pick) + columns - 1) // columns
    w, h = columns * cell, rows_n * cell
    canvas = [bytearray([236, 238, 240, 255] * w) for _ in range(h)]
    for k, (_, rows) in enumerate(pick):
        ox = (k % columns) * cell + 8
        oy = (k // columns) * cell + 8
        size = len(rows)
        z = zoom if size <= 32 else max(1, zoom // 2)
        for y in range(size * z):
            src = rows[y // z]
            dst = canvas[oy + y]
            for x in range(size * z):
                p = (x // z) * 4
                a = src[p + 3] / 255.0
                q = (ox + x) * 4
                for ch in range(3):
                    dst[q + ch] = int(round(src[p + ch] * a + dst[q + ch] * (1 - a)))
    write_png(path, [bytes(r) for r in canvas])


def main(argv):
    folder = os.path.dirname(os.path.abspath(__file__))
    made = build(folder)
    if len(argv) >= 3 and argv[1] == "--sheet":
        contact_sheet(argv[2], made)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
