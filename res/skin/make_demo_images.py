#!/usr/bin/env python3
"""Draws the PNG images of the bundled demo skin.

Usage: make_demo_images.py OUTDIR

Only the standard library is used (zlib for the PNG stream). Every image is drawn from code here, so
the skin can be changed by editing this file; the build runs it into the build tree.
"""
import math
import os
import struct
import sys
import zlib

# Palette: slate blue panels, a gold accent, light text.
TITLE_TOP = (52, 70, 104, 255)
TITLE_BOTTOM = (24, 33, 52, 255)
BODY = (17, 23, 36, 255)
BODY_LIGHT = (27, 36, 55, 255)
EDGE_DARK = (6, 9, 15, 255)
EDGE_LIGHT = (70, 88, 124, 255)
GOLD = (214, 172, 92, 255)
GOLD_DARK = (150, 112, 50, 255)
GLYPH = (226, 232, 242, 255)
HOVER = (72, 96, 140, 255)
PRESSED = (30, 42, 66, 255)
CHECKED = (96, 76, 36, 255)
CLOSE_HOVER = (200, 52, 52, 255)
CLOSE_PRESSED = (140, 30, 30, 255)


class Canvas:
    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.w = width
        self.h = height
        self.px = bytearray(bytes(fill) * (width * height))

    def blend(self, x, y, color, coverage=1.0):
        if x < 0 or y < 0 or x >= self.w or y >= self.h or coverage <= 0:
            return
        a = color[3] / 255.0 * min(coverage, 1.0)
        i = (y * self.w + x) * 4
        p = self.px
        da = p[i + 3] / 255.0
        oa = a + da * (1 - a)
        if oa <= 0:
            return
        for c in range(3):
            p[i + c] = int(round((color[c] * a + p[i + c] * da * (1 - a)) / oa))
        p[i + 3] = int(round(oa * 255))

    def fill(self, x0, y0, x1, y1, color):
        """Fills [x0, x1) x [y0, y1); opaque colours take the fast path."""
        x0, y0, x1, y1 = max(0, x0), max(0, y0), min(self.w, x1), min(self.h, y1)
        if x1 <= x0 or y1 <= y0:
            return
        if color[3] == 255:
            row = bytes(color) * (x1 - x0)
            for y in range(y0, y1):
                i = (y * self.w + x0) * 4
                self.px[i:i + len(row)] = row
        else:
            for y in range(y0, y1):
                for x in range(x0, x1):
                    self.blend(x, y, color)

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        for y in range(y0, y1):
            t = (y - y0) / max(1, y1 - y0 - 1)
            self.fill(x0, y, x1, y + 1, mix(top, bottom, t))

    def frame(self, x0, y0, x1, y1, color, width=1):
        self.fill(x0, y0, x1, y0 + width, color)
        self.fill(x0, y1 - width, x1, y1, color)
        self.fill(x0, y0, x0 + width, y1, color)
        self.fill(x1 - width, y0, x1, y1, color)

    def round_rect(self, x0, y0, x1, y1, r, color):
        """A filled rectangle with anti-aliased corners of radius r."""
        if r <= 0:
            self.fill(x0, y0, x1, y1, color)
            return
        self.fill(x0 + r, y0, x1 - r, y1, color)
        self.fill(x0, y0 + r, x0 + r, y1 - r, color)
        self.fill(x1 - r, y0 + r, x1, y1 - r, color)
        for cx, cy, xs, ys in ((x0 + r, y0 + r, range(x0, x0 + r), range(y0, y0 + r)),
                               (x1 - r, y0 + r, range(x1 - r, x1), range(y0, y0 + r)),
                               (x0 + r, y1 - r, range(x0, x0 + r), range(y1 - r, y1)),
                               (x1 - r, y1 - r, range(x1 - r, x1), range(y1 - r, y1))):
            for y in ys:
                for x in xs:
                    d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                    self.blend(x, y, color, r + 0.5 - d)

    def stroke(self, points, width, color, closed=False):
        """An anti-aliased polyline."""
        segs = list(zip(points, points[1:] + (points[:1] if closed else [])))
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        half = width / 2.0
        for y in range(int(min(ys) - width - 1), int(max(ys) + width + 2)):
            for x in range(int(min(xs) - width - 1), int(max(xs) + width + 2)):
                d = min(seg_distance(x + 0.5, y + 0.5, a, b) for a, b in segs)
                self.blend(x, y, color, half + 0.5 - d)

    def arc(self, cx, cy, r, start, end, width, color):
        steps = max(8, int(abs(end - start) / 8))
        pts = [(cx + r * math.cos(math.radians(start + (end - start) * i / steps)),
                cy + r * math.sin(math.radians(start + (end - start) * i / steps))) for i in range(steps + 1)]
        self.stroke(pts, width, color)

    def disc(self, cx, cy, r, color):
        for y in range(int(cy - r - 1), int(cy + r + 2)):
            for x in range(int(cx - r - 1), int(cx + r + 2)):
                self.blend(x, y, color, r + 0.5 - math.hypot(x + 0.5 - cx, y + 0.5 - cy))

    def save(self, path):
        raw = bytearray()
        stride = self.w * 4
        for y in range(self.h):
            raw.append(0)
            raw += self.px[y * stride:(y + 1) * stride]

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
            f.write(chunk(b"IEND", b""))


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(4))


def seg_distance(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0 if length == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


# ---- window backgrounds ---------------------------------------------------------------------------

def title_strip(c, height, x0=0, x1=None):
    x1 = c.w if x1 is None else x1
    c.vgradient(x0, 0, x1, height, TITLE_TOP, TITLE_BOTTOM)
    c.fill(x0, 0, x1, 1, EDGE_LIGHT)
    c.fill(x0, height - 1, x1, height, GOLD_DARK)


def dialog(width, height, title=30):
    """An opaque dialog: title strip, body, framed edges."""
    c = Canvas(width, height, BODY)
    title_strip(c, title)
    c.vgradient(1, title, width - 1, height - 1, BODY_LIGHT, BODY)
    c.frame(0, 0, width, height, EDGE_DARK)
    c.frame(1, 1, width - 1, height - 1, EDGE_LIGHT)
    return c


def main_window(width, height, title=36, bar=44):
    """The login window: rounded, with transparent corners and a soft drop of alpha at the edge."""
    c = Canvas(width, height)
    c.round_rect(0, 0, width, height, 10, EDGE_DARK)
    inner = Canvas(width, height)
    inner.round_rect(1, 1, width - 1, height - 1, 9, (255, 255, 255, 255))
    # Paint the layers, then keep them only where the inner mask is set.
    body = Canvas(width, height, BODY)
    title_strip(body, title)
    body.vgradient(0, height - bar, width, height, BODY_LIGHT, TITLE_BOTTOM)
    body.fill(0, height - bar, width, height - bar + 1, GOLD_DARK)
    body.frame(9, title + 3, width - 9, height - bar - 3, EDGE_LIGHT)
    for i in range(0, len(c.px), 4):
        m = inner.px[i + 3]
        if m:
            a = m / 255.0
            for k in range(3):
                c.px[i + k] = int(round(body.px[i + k] * a + c.px[i + k] * (1 - a)))
            c.px[i + 3] = max(c.px[i + 3], m)
    return c


def game_background(width, height, title=36):
    """The game window's background. Its right half is uniform along x, so the tiled spread of a
    larger window repeats it without seams; it is taller than the design height so that rows below
    the middle exist for every extra height up to its half."""
    c = Canvas(width, height, BODY)
    title_strip(c, title)
    # A gold flourish under the logo and title, in the left half only.
    c.fill(0, title - 3, 260, title - 1, GOLD)
    c.fill(0, 0, 1, height, EDGE_DARK)
    c.fill(1, title, 2, height, EDGE_LIGHT)
    return c


def lock_cover(width, height):
    c = Canvas(width, height, (10, 14, 24, 255))
    return c


def lock_emblem():
    c = Canvas(96, 96)
    c.disc(48, 48, 46, (30, 40, 62, 255))
    c.arc(48, 48, 46, 0, 360, 2, GOLD)
    c.arc(48, 38, 14, 180, 360, 5, GLYPH)
    c.stroke([(34, 38), (34, 44)], 5, GLYPH)
    c.stroke([(62, 38), (62, 44)], 5, GLYPH)
    c.round_rect(28, 44, 68, 72, 4, GOLD)
    c.disc(48, 56, 4, EDGE_DARK)
    c.stroke([(48, 58), (48, 65)], 3, EDGE_DARK)
    return c


def choose_banner():
    c = Canvas(200, 40)
    c.round_rect(0, 4, 184, 36, 6, GOLD)
    c.stroke([(184, 4), (200, 20), (184, 36)], 1, GOLD)
    for y in range(4, 36):
        for x in range(184, 200):
            if x - 184 <= 16 - abs(y - 20):
                c.blend(x, y, GOLD)
    c.stroke([(16, 20), (26, 28), (40, 12)], 4, EDGE_DARK)
    return c


def logo():
    c = Canvas(26, 26)
    c.disc(13, 13, 12, GOLD_DARK)
    c.disc(13, 13, 10, GOLD)
    c.stroke([(9, 19), (9, 7), (16, 7), (18, 9), (18, 12), (16, 14), (9, 14)], 2.5, EDGE_DARK)
    return c


def edge(width, height, color_outer, color_inner, vertical):
    c = Canvas(width, height, color_outer)
    if vertical:
        c.fill(0, 0, 1, height, color_inner)
    else:
        c.fill(0, 0, width, 1, color_inner)
    return c


# ---- buttons ------------------------------------------------------------------------------------

def state_backgrounds(width, height, close=False, radius=4):
    """normal, hover, pressed, checked backgrounds of a button."""
    states = []
    for state in range(4):
        c = Canvas(width, height)
        if state == 1:
            c.round_rect(0, 0, width, height, radius, CLOSE_HOVER if close else HOVER)
        elif state == 2:
            c.round_rect(0, 0, width, height, radius, CLOSE_PRESSED if close else PRESSED)
            c.frame(0, 0, width, height, EDGE_DARK)
        elif state == 3:
            c.round_rect(0, 0, width, height, radius, CHECKED)
            c.frame(0, 0, width, height, GOLD)
        states.append(c)
    return states


def glyph_button(draw, width=28, height=24, close=False):
    states = state_backgrounds(width, height, close)
    for i, c in enumerate(states):
        draw(c, GLYPH if i != 2 else (190, 198, 214, 255), width, height)
    return states


def g_close(c, col, w, h):
    c.stroke([(w / 2 - 5, h / 2 - 5), (w / 2 + 5, h / 2 + 5)], 2, col)
    c.stroke([(w / 2 + 5, h / 2 - 5), (w / 2 - 5, h / 2 + 5)], 2, col)


def g_min(c, col, w, h):
    c.stroke([(w / 2 - 6, h / 2 + 4), (w / 2 + 6, h / 2 + 4)], 2, col)


def g_max(c, col, w, h):
    c.stroke([(w / 2 - 6, h / 2 - 5), (w / 2 + 6, h / 2 - 5), (w / 2 + 6, h / 2 + 5), (w / 2 - 6, h / 2 + 5)],
             1.6, col, closed=True)
    c.fill(int(w / 2 - 6), int(h / 2 - 6), int(w / 2 + 7), int(h / 2 - 3), col)


def g_restore(c, col, w, h):
    c.stroke([(w / 2 - 3, h / 2 - 7), (w / 2 + 7, h / 2 - 7), (w / 2 + 7, h / 2 + 2)], 1.5, col)
    c.stroke([(w / 2 - 7, h / 2 - 3), (w / 2 + 3, h / 2 - 3), (w / 2 + 3, h / 2 + 6), (w / 2 - 7, h / 2 + 6)],
             1.6, col, closed=True)


def g_pack(c, col, w, h):
    c.stroke([(w / 2 - 6, h / 2 - 3), (w / 2, h / 2 + 3), (w / 2 + 6, h / 2 - 3)], 2, col)
    c.stroke([(w / 2 - 6, h / 2 + 7), (w / 2 + 6, h / 2 + 7)], 1.5, col)


def g_more(c, col, w, h):
    for dy in (-5, 0, 5):
        c.stroke([(w / 2 - 6, h / 2 + dy), (w / 2 + 6, h / 2 + dy)], 1.8, col)


def g_lock(c, col, w, h):
    c.arc(w / 2, h / 2 - 2, 4, 180, 360, 1.8, col)
    c.stroke([(w / 2 - 4, h / 2 - 2), (w / 2 - 4, h / 2)], 1.8, col)
    c.stroke([(w / 2 + 4, h / 2 - 2), (w / 2 + 4, h / 2)], 1.8, col)
    c.round_rect(int(w / 2 - 6), int(h / 2), int(w / 2 + 6), int(h / 2 + 8), 1, col)


def g_refresh(c, col, w, h):
    c.arc(w / 2, h / 2, 6, 40, 330, 1.8, col)
    ax = w / 2 + 6 * math.cos(math.radians(40))
    ay = h / 2 + 6 * math.sin(math.radians(40))
    c.stroke([(ax - 4, ay - 1), (ax, ay), (ax + 1, ay - 4)], 1.8, col)


def g_drop(c, col, w, h):
    c.stroke([(w / 2 - 5, h / 2 - 2), (w / 2, h / 2 + 3), (w / 2 + 5, h / 2 - 2)], 2, col)


def text_button(width, height):
    """A bordered caption button; the caption comes from the skin."""
    states = []
    for state in range(4):
        c = Canvas(width, height)
        top, bottom, border = [(BODY_LIGHT, BODY, EDGE_LIGHT), (HOVER, BODY_LIGHT, GOLD),
                               (PRESSED, BODY, GOLD_DARK), (CHECKED, PRESSED, GOLD)][state]
        c.round_rect(0, 0, width, height, 4, border)
        inner = Canvas(width, height)
        inner.vgradient(0, 0, width, height, top, bottom)
        for y in range(1, height - 1):
            for x in range(1, width - 1):
                if (x in (1, width - 2)) and (y in (1, height - 2)):
                    continue
                i = (y * width + x) * 4
                c.px[i:i + 4] = inner.px[i:i + 4]
        states.append(c)
    return states


def menu_item(width, height):
    states = []
    for state in range(4):
        c = Canvas(width, height, BODY_LIGHT)
        if state in (1, 3):
            c.fill(0, 0, width, height, HOVER)
            c.fill(0, 0, 3, height, GOLD)
        elif state == 2:
            c.fill(0, 0, width, height, PRESSED)
        states.append(c)
    return states


def check_box(size=18):
    states = []
    for state in range(4):
        c = Canvas(size, size)
        c.round_rect(0, 0, size, size, 3, GOLD if state in (1, 3) else EDGE_LIGHT)
        c.round_rect(2, 2, size - 2, size - 2, 2, PRESSED if state == 2 else BODY)
        if state == 3:
            c.stroke([(4.5, 9), (8, 12.5), (14, 5)], 2.2, GOLD)
        states.append(c)
    return states


def flash_variant(states):
    """The blink set: the same button, lit in gold."""
    out = []
    for c in states:
        f = Canvas(c.w, c.h)
        f.px[:] = c.px
        f.round_rect(0, 0, c.w, c.h, 4, (214, 172, 92, 150))
        out.append(f)
    return out


def save_states(outdir, base, states):
    for i, c in enumerate(states):
        c.save(os.path.join(outdir, "%s%02d.png" % (base, i + 1)))


def main(argv):
    if len(argv) != 2 or argv[1].startswith("-"):
        sys.stderr.write("usage: make_demo_images.py OUTDIR\n")
        return 2
    out = argv[1]
    img = lambda name: os.path.join(out, name)

    logo().save(img("logo.png"))
    main_window(960, 600).save(img("main_bg.png"))
    choose_banner().save(img("choose.png"))
    game_background(1000, 1200).save(img("game_bg.png"))
    edge(2, 2400, EDGE_DARK, EDGE_LIGHT, True).save(img("edge_right.png"))
    edge(4000, 2, EDGE_DARK, EDGE_LIGHT, False).save(img("edge_bottom.png"))
    lock_cover(1000, 640).save(img("lock_bg.png"))
    lock_emblem().save(img("lock_emblem.png"))
    # Dialogs, with a sunken field where the window places its edit box (the skin's RECT "editbox").
    fields = {"dlg_boss": (24, 56, 252, 24), "dlg_unlock": (76, 68, 150, 24)}
    for name, (w, h) in {"dlg_boss": (300, 180), "dlg_cache": (300, 160), "dlg_unlock": (320, 150),
                         "dlg_setup": (300, 190), "dlg_server": (260, 124), "dlg_update": (320, 170),
                         "dlg_vip": (360, 480)}.items():
        c = dialog(w, h)
        if name in fields:
            x, y, fw, fh = fields[name]
            c.fill(x - 2, y - 2, x + fw + 2, y + fh + 2, EDGE_DARK)
            c.frame(x - 1, y - 1, x + fw + 1, y + fh + 1, EDGE_LIGHT)
            c.fill(x, y, x + fw, y + fh, (245, 246, 250, 255))
        c.save(img(name + ".png"))
    menu = Canvas(120, 120, BODY_LIGHT)
    menu.frame(0, 0, 120, 120, EDGE_LIGHT)
    menu.save(img("menu_bg.png"))
    select = Canvas(200, 240, BODY)
    select.frame(0, 0, 200, 240, GOLD_DARK)
    select.save(img("select_bg.png"))

    for base, draw, close in (("close_", g_close, True), ("min_", g_min, False), ("max_", g_max, False),
                              ("restore_", g_restore, False), ("pack_", g_pack, False), ("more_", g_more, False),
                              ("lock_", g_lock, False), ("refresh_", g_refresh, False), ("drop_", g_drop, False)):
        save_states(img("btn"), base, glyph_button(draw, close=close))
    buttons = text_button(72, 24)
    save_states(img("btn"), "text_", buttons)
    save_states(img("btn"), "textflash_", flash_variant(buttons))
    save_states(img("btn"), "wide_", text_button(96, 28))
    save_states(img("btn"), "menu_", menu_item(112, 26))
    save_states(img("btn"), "check_", check_box())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
