#!/usr/bin/env python3
"""Draws the program's bitmap resources: the control icons under control/, the
buttons and glyphs of the interface at the resource root, the slider handle, the
install tip, the default scene background and the template thumbnails. Pure
Python (zlib only) so it runs on any machine; the output is committed, run this
again only when a picture should change.

    python3 resources/generate_images.py

Shapes are given in design units; a canvas maps them to pixels with its scale, so
a glyph drawn on a 64-unit grid serves any output size.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


class Canvas:
    def __init__(self, w, h, rgba=(0, 0, 0, 0), scale=1.0):
        self.w, self.h = w, h
        self.s = scale
        self.px = [list(rgba) for _ in range(w * h)]

    def blend(self, x, y, rgba, cover=1.0):
        if not (0 <= x < self.w and 0 <= y < self.h) or cover <= 0:
            return
        p = self.px[y * self.w + x]
        a = rgba[3] / 255.0 * min(cover, 1.0)
        out_a = a + p[3] / 255.0 * (1 - a)
        if out_a <= 0:
            return
        for i in range(3):
            p[i] = int((rgba[i] * a + p[i] * (p[3] / 255.0) * (1 - a)) / out_a + 0.5)
        p[3] = int(out_a * 255 + 0.5)

    def fill(self, inside, rgba, box=None):
        """inside(x, y) in design units -> bool; sampled 4x4 per pixel for smooth edges.
        box is the design-unit bounding box (x0, y0, x1, y1)."""
        s = self.s
        if box:
            x0, y0, x1, y1 = (int(math.floor(box[0] * s)) - 1, int(math.floor(box[1] * s)) - 1,
                              int(math.ceil(box[2] * s)) + 1, int(math.ceil(box[3] * s)) + 1)
        else:
            x0, y0, x1, y1 = 0, 0, self.w, self.h
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                hits = sum(inside((x + (i + 0.5) / 4) / s, (y + (j + 0.5) / 4) / s)
                           for i in range(4) for j in range(4))
                if hits:
                    self.blend(x, y, rgba, hits / 16.0)

    def rect(self, x, y, w, h, rgba, radius=0, ring=0):
        def inside_box(px, py, x, y, w, h, radius):
            if not (x <= px < x + w and y <= py < y + h):
                return False
            if radius <= 0:
                return True
            cx = min(max(px, x + radius), x + w - radius)
            cy = min(max(py, y + radius), y + h - radius)
            return (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius

        def inside(px, py):
            if not inside_box(px, py, x, y, w, h, radius):
                return False
            return ring <= 0 or not inside_box(px, py, x + ring, y + ring, w - 2 * ring, h - 2 * ring,
                                               max(0, radius - ring))
        self.fill(inside, rgba, (x, y, x + w, y + h))

    def circle(self, cx, cy, r, rgba, ring=0):
        def inside(px, py):
            d = (px - cx) ** 2 + (py - cy) ** 2
            return d <= r * r and (ring <= 0 or d >= (r - ring) ** 2)
        self.fill(inside, rgba, (cx - r, cy - r, cx + r, cy + r))

    def polygon(self, pts, rgba):
        def inside(px, py):
            c = False
            j = len(pts) - 1
            for i in range(len(pts)):
                xi, yi = pts[i]
                xj, yj = pts[j]
                if (yi > py) != (yj > py) and px < (xj - xi) * (py - yi) / (yj - yi) + xi:
                    c = not c
                j = i
            return c
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        self.fill(inside, rgba, (min(xs), min(ys), max(xs), max(ys)))

    def line(self, x0, y0, x1, y1, width, rgba):
        """A stroke with round caps."""
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1e-9
        r2 = (width / 2.0) ** 2

        def inside(px, py):
            t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / length2))
            qx, qy = x0 + t * dx - px, y0 + t * dy - py
            return qx * qx + qy * qy <= r2
        pad = width / 2.0
        self.fill(inside, rgba, (min(x0, x1) - pad, min(y0, y1) - pad, max(x0, x1) + pad, max(y0, y1) + pad))

    def arc(self, cx, cy, r, width, a0, a1, rgba):
        """A ring segment of radius r (stroke centre) from angle a0 to a1 in degrees,
        counter-clockwise on screen (y grows downwards, so angles are negated)."""
        def inside(px, py):
            d = math.hypot(px - cx, py - cy)
            if abs(d - r) > width / 2.0:
                return False
            a = math.degrees(math.atan2(-(py - cy), px - cx)) % 360
            lo, hi = a0 % 360, (a0 % 360) + ((a1 - a0) % 360 or 360)
            return lo <= a <= hi or lo <= a + 360 <= hi
        pad = r + width
        self.fill(inside, rgba, (cx - pad, cy - pad, cx + pad, cy + pad))

    def gradient(self, top, bottom):
        for y in range(self.h):
            t = y / max(1, self.h - 1)
            c = [int(top[i] + (bottom[i] - top[i]) * t) for i in range(4)]
            for x in range(self.w):
                self.px[y * self.w + x] = list(c)

    def save(self, path):
        raw = b"".join(b"\x00" + bytes(v for p in self.px[y * self.w:(y + 1) * self.w] for v in p)
                       for y in range(self.h))

        def chunk(tag, data):
            return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data))

        png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(png)


WHITE = (255, 255, 255, 255)
LIGHT = (200, 200, 200, 255)
SHADE = (0, 0, 0, 110)
ACCENT = (58, 155, 255, 255)
RED = (224, 67, 67, 255)


def arrow_head(c, tip, direction, size, rgba):
    """A filled triangle whose tip is at `tip`, pointing along `direction` (degrees, screen)."""
    a = math.radians(direction)
    ux, uy = math.cos(a), math.sin(a)
    bx, by = tip[0] - ux * size, tip[1] - uy * size
    px, py = -uy * size * 0.6, ux * size * 0.6
    c.polygon([tip, (bx + px, by + py), (bx - px, by - py)], rgba)


# ---- Control icons: a white glyph on a coloured 64x64 tile -------------------------------------

def g_play(c): c.polygon([(24, 18), (24, 46), (47, 32)], WHITE)
def g_pause(c): c.rect(21, 18, 8, 28, WHITE, 2); c.rect(35, 18, 8, 28, WHITE, 2)
def g_stop(c): c.rect(20, 20, 24, 24, WHITE, 3)
def g_next(c): c.polygon([(18, 18), (18, 46), (38, 32)], WHITE); c.rect(40, 18, 6, 28, WHITE)
def g_pre(c): c.polygon([(46, 18), (46, 46), (26, 32)], WHITE); c.rect(18, 18, 6, 28, WHITE)
def g_ff(c): c.polygon([(16, 20), (16, 44), (32, 32)], WHITE); c.polygon([(32, 20), (32, 44), (48, 32)], WHITE)
def g_fb(c): c.polygon([(48, 20), (48, 44), (32, 32)], WHITE); c.polygon([(32, 20), (32, 44), (16, 32)], WHITE)
def g_bars(c):
    for i, h in enumerate((10, 18, 26)):
        c.rect(18 + i * 10, 46 - h, 7, h, WHITE, 1)
def g_screen(c): c.rect(14, 18, 36, 24, WHITE, 3); c.rect(18, 22, 28, 16, (0, 0, 0, 90)); c.rect(28, 42, 8, 6, WHITE)
def g_screen_off(c):
    g_screen(c)
    c.line(17, 47, 47, 15, 5, (150, 40, 40, 255))
    c.line(17, 47, 47, 15, 2.5, WHITE)
def g_grid(c):
    for i in range(3):
        for j in range(3):
            c.rect(16 + i * 11, 16 + j * 11, 9, 9, WHITE, 1)
def g_table(c):
    c.rect(13, 16, 38, 32, WHITE, 3, ring=3)
    c.rect(13, 16, 38, 9, WHITE, 3)
    c.rect(26, 16, 3, 32, WHITE)
    c.rect(37, 16, 3, 32, WHITE)
    c.rect(13, 35, 38, 3, WHITE)
def g_scenes(c):
    # a strip of scene tiles, the selected one highlighted
    for i in range(3):
        c.rect(12 + i * 14, 22, 12, 20, WHITE if i == 1 else (255, 255, 255, 150), 2)
    c.rect(12, 46, 40, 3, WHITE, 1)
def g_text(c): c.rect(16, 16, 32, 6, WHITE, 1); c.rect(29, 16, 6, 32, WHITE, 1)
def g_chain(c):
    c.rect(12, 25, 22, 14, WHITE, 7, ring=4)
    c.rect(30, 25, 22, 14, WHITE, 7, ring=4)
    c.rect(24, 30, 16, 4, WHITE, 2)
def g_chain_broken(c):
    c.rect(9, 25, 20, 14, WHITE, 7, ring=4)
    c.rect(35, 25, 20, 14, WHITE, 7, ring=4)
    c.line(32, 14, 32, 20, 3, WHITE); c.line(32, 44, 32, 50, 3, WHITE)
    c.line(24, 16, 27, 21, 3, WHITE); c.line(40, 48, 37, 43, 3, WHITE)
def g_plug(c):
    c.rect(22, 24, 20, 16, WHITE, 4)
    c.rect(25, 14, 4, 11, WHITE, 1); c.rect(35, 14, 4, 11, WHITE, 1)
    c.rect(29, 39, 6, 12, WHITE, 1)
def g_unplug(c):
    c.rect(16, 30, 16, 12, WHITE, 3)
    c.rect(19, 22, 3, 9, WHITE, 1); c.rect(26, 22, 3, 9, WHITE, 1)
    c.rect(22, 41, 4, 9, WHITE, 1)
    c.rect(36, 20, 14, 12, WHITE, 3, ring=3)
    c.rect(41, 31, 4, 12, WHITE, 1)
def g_power(c):
    c.arc(32, 34, 13, 4.5, 125, 415, WHITE)
    c.rect(29.75, 14, 4.5, 19, WHITE, 2)
def g_moon(c):
    def inside(px, py):
        return (px - 32) ** 2 + (py - 32) ** 2 <= 16 ** 2 and (px - 40) ** 2 + (py - 26) ** 2 > 13 ** 2
    c.fill(inside, WHITE, (14, 14, 50, 50))
    c.circle(45, 40, 2.5, WHITE)
def g_arrow_down(c): c.rect(29, 14, 7, 20, WHITE); c.polygon([(20, 32), (44, 32), (32, 46)], WHITE); c.rect(18, 46, 28, 4, WHITE)
def g_exit(c): c.rect(16, 16, 18, 32, WHITE, 2); c.polygon([(36, 24), (36, 40), (48, 32)], WHITE)
def g_sun(c):
    c.circle(32, 32, 8, WHITE)
    for k in range(8):
        a = k * math.pi / 4
        c.circle(32 + 15 * math.cos(a), 32 + 15 * math.sin(a), 3, WHITE)
def g_speaker(c):
    c.rect(14, 26, 8, 12, WHITE, 1)
    c.polygon([(22, 26), (32, 17), (32, 47), (22, 38)], WHITE)
    c.arc(34, 32, 8, 3, -50, 50, WHITE)
    c.arc(34, 32, 15, 3, -50, 50, WHITE)
def g_slider(c): c.rect(14, 30, 36, 4, WHITE, 2); c.circle(36, 32, 7, WHITE)
def g_progress_bar(c):
    c.rect(12, 28, 40, 8, (255, 255, 255, 90), 4)
    c.rect(12, 28, 26, 8, WHITE, 4)
    c.circle(38, 32, 7, WHITE)
def g_script(c): c.rect(18, 14, 28, 36, WHITE, 3); [c.rect(23, 21 + i * 7, 18, 3, SHADE) for i in range(4)]
def g_busy(c):
    for k in range(8):
        a = k * math.pi / 4
        c.circle(32 + 13 * math.cos(a), 32 + 13 * math.sin(a), 3.5, (255, 255, 255, 80 + k * 22))
def g_switch(c):
    c.rect(12, 18, 24, 18, WHITE, 3)
    c.rect(28, 28, 24, 18, (255, 255, 255, 170), 3)
    arrow_head(c, (48, 21), 0, 6, WHITE); c.line(38, 21, 44, 21, 3, WHITE)
def g_net(c):
    c.circle(32, 32, 16, WHITE, ring=3)
    c.rect(16, 30.5, 32, 3, WHITE); c.rect(30.5, 16, 3, 32, WHITE)
    def meridian(px, py):
        return abs(((px - 32) / 8.5) ** 2 + ((py - 32) / 16) ** 2 - 1) < 0.2
    c.fill(meridian, WHITE, (22, 15, 42, 49))
def g_random(c): c.rect(16, 16, 32, 32, WHITE, 5); [c.circle(x, y, 3, (0, 0, 0, 150)) for x, y in ((24, 24), (32, 32), (40, 40))]
def g_join(c): c.circle(26, 26, 8, WHITE); c.rect(14, 36, 24, 12, WHITE, 5); c.rect(40, 30, 12, 4, WHITE); c.rect(44, 26, 4, 12, WHITE)
def g_leave(c): c.circle(26, 26, 8, WHITE); c.rect(14, 36, 24, 12, WHITE, 5); c.rect(40, 30, 12, 4, WHITE)
def g_gear(c):
    for k in range(6):
        a = k * math.pi / 3
        c.circle(32 + 14 * math.cos(a), 32 + 14 * math.sin(a), 5, WHITE)
    c.circle(32, 32, 13, WHITE); c.circle(32, 32, 5, (0, 0, 0, 120))
def g_play_state(c):
    # a program row with its play mark: triangle in a ring
    c.circle(32, 32, 17, WHITE, ring=3.5)
    c.polygon([(27, 23), (27, 41), (42, 32)], WHITE)


ICONS = {
    "custom": ((90, 110, 140), g_gear), "stageView": ((40, 120, 180), g_screen),
    "programManager": ((60, 140, 110), g_grid), "playState": ((70, 150, 90), g_play_state),
    "stageLink": ((50, 130, 170), g_chain), "cancelStageLink": ((150, 80, 80), g_chain_broken),
    "standby": ((110, 95, 150), g_moon), "playPre": ((60, 120, 170), g_pre),
    "playNext": ((60, 120, 170), g_next), "stop": ((170, 70, 70), g_stop),
    "fastForward": ((60, 120, 170), g_ff), "fastBack": ((60, 120, 170), g_fb),
    "play": ((60, 150, 90), g_play), "pause": ((190, 140, 50), g_pause),
    "openDisplay": ((60, 140, 160), g_screen), "closeDisplay": ((110, 110, 120), g_screen_off),
    "volume": ((120, 90, 160), g_speaker), "brightness": ((200, 160, 40), g_sun),
    "progressPlay": ((60, 150, 90), g_play), "progressPause": ((190, 140, 50), g_pause),
    "progressSlider": ((90, 110, 150), g_progress_bar), "trackPlay": ((50, 140, 120), g_play),
    "trackPause": ((180, 130, 50), g_pause), "trackStop": ((170, 70, 70), g_stop),
    "trackRun": ((50, 150, 110), g_bars), "startup": ((70, 140, 70), g_power),
    "shutdown": ((180, 60, 60), g_power),
    "label": ((100, 100, 110), g_text), "programTable": ((70, 110, 150), g_table),
    "switchScene": ((80, 120, 170), g_switch), "script": ((110, 100, 150), g_script),
    "scriptBusying": ((110, 100, 150), g_busy), "network": ((50, 120, 160), g_net),
    "connect": ((60, 150, 90), g_plug), "disconnect": ((170, 70, 70), g_unplug),
    "download": ((60, 120, 170), g_arrow_down), "exit": ((150, 70, 70), g_exit),
    "sceneList": ((90, 110, 140), g_scenes), "randPlay": ((130, 90, 150), g_random),
    "joinProject": ((60, 130, 160), g_join), "exitProject": ((150, 80, 80), g_leave),
}


def icon(name, colour, glyph, selected=False):
    c = Canvas(64, 64)
    c.rect(2, 2, 60, 60, colour + (255,), radius=12)
    if selected:
        # the selected state: brighter tile with a white frame
        c.rect(2, 2, 60, 60, (255, 255, 255, 60), radius=12)
        c.rect(2, 2, 60, 60, WHITE, radius=12, ring=3)
    glyph(c)
    c.save(os.path.join(HERE, "control", name + ".png"))


# ---- Interface glyphs at the resource root -----------------------------------------------------

def save_glyph(name, w, h, draw, design=64.0):
    """A transparent w x h picture; draw() works on a design grid `design` units wide."""
    c = Canvas(w, h, scale=w / design)
    draw(c)
    c.save(os.path.join(HERE, name + ".png"))


def add_scene(colour, frame):
    def draw(c):
        c.rect(6, 6, 52, 52, frame, radius=10, ring=3)
        c.rect(29.5, 17, 5, 30, colour, 2.5)
        c.rect(17, 29.5, 30, 5, colour, 2.5)
    return draw


def align(kind):
    """Alignment tools: the blue guide is the line the items align to or spread along."""
    bar = (235, 235, 235, 255)

    def draw(c):
        if kind == "left":
            c.rect(8, 6, 4, 52, ACCENT, 1); c.rect(15, 14, 38, 12, bar, 2); c.rect(15, 38, 24, 12, bar, 2)
        elif kind == "right":
            c.rect(52, 6, 4, 52, ACCENT, 1); c.rect(11, 14, 38, 12, bar, 2); c.rect(25, 38, 24, 12, bar, 2)
        elif kind == "top":
            c.rect(6, 8, 52, 4, ACCENT, 1); c.rect(14, 15, 12, 38, bar, 2); c.rect(38, 15, 12, 24, bar, 2)
        elif kind == "bottom":
            c.rect(6, 52, 52, 4, ACCENT, 1); c.rect(14, 11, 12, 38, bar, 2); c.rect(38, 25, 12, 24, bar, 2)
        elif kind == "hcenter":
            c.rect(12, 14, 40, 12, bar, 2); c.rect(20, 38, 24, 12, bar, 2); c.rect(30, 6, 4, 52, ACCENT, 1)
        elif kind == "vcenter":
            c.rect(14, 12, 12, 40, bar, 2); c.rect(38, 20, 12, 24, bar, 2); c.rect(6, 30, 52, 4, ACCENT, 1)
        elif kind == "hbisect":
            c.rect(6, 6, 3, 52, ACCENT, 1); c.rect(55, 6, 3, 52, ACCENT, 1)
            for x in (13, 28, 43):
                c.rect(x, 18, 8, 28, bar, 2)
        elif kind == "vbisect":
            c.rect(6, 6, 52, 3, ACCENT, 1); c.rect(6, 55, 52, 3, ACCENT, 1)
            for y in (13, 28, 43):
                c.rect(18, y, 28, 8, bar, 2)
    return draw


def cross(background, mark):
    def draw(c):
        c.circle(32, 32, 26, background)
        c.line(22, 22, 42, 42, 5, mark)
        c.line(42, 22, 22, 42, 5, mark)
    return draw


def chevron(up):
    def draw(c):
        if up:
            c.line(20, 38, 32, 26, 5, LIGHT); c.line(32, 26, 44, 38, 5, LIGHT)
        else:
            c.line(20, 26, 32, 38, 5, LIGHT); c.line(32, 38, 44, 26, 5, LIGHT)
    return draw


def fill_from_tracks(colour):
    """Fill the list from the tracks: three track lines and an arrow into them."""
    def draw(c):
        for i in range(3):
            c.rect(6, 12 + i * 16, 30, 7, colour, 3)
        c.arc(40, 30, 14, 5, -90, 90, colour)
        arrow_head(c, (34, 44), 180, 10, colour)
    return draw


def pill(colour, glyph, hover=False):
    """Media buttons at the root: a pill 80x44 with a glyph; the hover state is lighter and framed."""
    def draw(c):
        base = tuple(min(255, int(v * 1.25)) for v in colour) if hover else colour
        c.rect(1, 1, 78, 42, base + (255,), radius=21)
        if hover:
            c.rect(1, 1, 78, 42, WHITE, radius=21, ring=2.5)
        glyph(c)
    return draw


def pg_play(c): c.polygon([(33, 11), (33, 33), (51, 22)], WHITE)
def pg_pause(c): c.rect(30, 11, 7, 22, WHITE, 2); c.rect(43, 11, 7, 22, WHITE, 2)
def pg_stop(c): c.rect(30, 12, 20, 20, WHITE, 3)
def pg_run(c):
    # run: a lightning bolt
    c.polygon([(44, 8), (30, 25), (39, 25), (34, 37), (50, 18), (41, 18)], WHITE)


def curved_arrow(redo):
    def draw(c):
        if redo:
            c.arc(32, 36, 17, 6, 0, 180, WHITE)
            arrow_head(c, (49, 46), 90, 13, WHITE)
        else:
            c.arc(32, 36, 17, 6, 0, 180, WHITE)
            arrow_head(c, (15, 46), 90, 13, WHITE)
    return draw


def menu(c):
    for y in (6, 16, 26):
        c.rect(4, y, 32, 4.5, WHITE, 2)


def scene_toggle(c):
    c.rect(4, 9, 32, 22, WHITE, 3, ring=3)
    for i in range(3):
        c.rect(8 + i * 9.33, 14, 6.5, 12, WHITE if i == 0 else (255, 255, 255, 150), 1)


def more(c):
    # "more projects": two chevrons pointing on
    for x in (8, 19):
        c.line(x, 6, x + 8, 13, 3.2, LIGHT); c.line(x + 8, 13, x, 20, 3.2, LIGHT)


def folder(c):
    c.rect(4, 10, 26, 12, (232, 180, 70, 255), 3)
    c.rect(4, 16, 60, 40, (245, 196, 80, 255), 4)
    c.rect(4, 24, 60, 32, (252, 212, 100, 255), 4)
    for x in (22, 34, 46):
        c.circle(x, 42, 3.2, (120, 85, 20, 255))


def help_mark(c):
    c.circle(32, 32, 28, (58, 120, 200, 255))
    c.arc(32, 25, 9.5, 6, -90, 160, WHITE)
    c.rect(29, 32.5, 6, 8, WHITE, 2)
    c.circle(32, 48, 3.8, WHITE)


def window_button(kind):
    def draw(c):
        if kind == "close":
            c.line(24, 24, 40, 40, 2.5, WHITE); c.line(40, 24, 24, 40, 2.5, WHITE)
        elif kind == "closePress":
            c.rect(0, 0, 64, 64, (232, 17, 35, 255))
            c.line(24, 24, 40, 40, 2.5, WHITE); c.line(40, 24, 24, 40, 2.5, WHITE)
        elif kind == "min":
            c.rect(23, 31.5, 18, 2.2, WHITE)
        elif kind == "normal":
            # the window is normal: this button maximises it
            c.rect(23, 23, 18, 18, WHITE, ring=2.2)
        elif kind == "max":
            # the window is maximised: this button restores it
            c.rect(27, 21, 16, 16, WHITE, ring=2.2)
            c.rect(21, 27, 16, 16, (43, 43, 46, 255))
            c.rect(21, 27, 16, 16, WHITE, ring=2.2)
    return draw


def window_icon(c):
    # the panel: a touch screen with a play button and a row of scene tiles
    c.rect(1, 1, 62, 62, (30, 110, 210, 255), radius=14)
    c.rect(1, 32, 62, 30, (20, 80, 170, 255), radius=14)
    c.rect(1, 32, 62, 14, (20, 80, 170, 255))
    c.rect(10, 12, 44, 30, WHITE, radius=4)
    c.polygon([(27, 19), (27, 35), (40, 27)], (30, 110, 210, 255))
    for i in range(3):
        c.rect(10 + i * 16, 47, 12, 7, WHITE if i == 0 else (255, 255, 255, 160), radius=2)


def generic_button(colour, glyph=None):
    def draw(c):
        c.rect(2, 2, 196, 96, colour, radius=16)
        c.rect(2, 2, 196, 48, (255, 255, 255, 40), radius=16)
        c.rect(2, 2, 196, 96, (255, 255, 255, 90), radius=16, ring=3)
        if glyph:
            glyph(c)
    return draw


def button_gear(c):
    for k in range(6):
        a = k * math.pi / 3
        c.circle(100 + 24 * math.cos(a), 50 + 24 * math.sin(a), 8, WHITE)
    c.circle(100, 50, 22, WHITE)
    c.circle(100, 50, 9, (60, 90, 120, 255))


# ---- Pictures ----------------------------------------------------------------------------------

def scene_picture(w, h, button=None, tip=False):
    c = Canvas(w, h)
    c.gradient((34, 40, 52, 255), (18, 22, 30, 255))
    step = max(w, h) // 16
    for x in range(0, w, step):
        c.rect(x, 0, 1, h, (255, 255, 255, 14))
    for y in range(0, h, step):
        c.rect(0, y, w, 1, (255, 255, 255, 14))
    if tip:
        # A hand-drawn hint: drag a control from the list onto the scene.
        c.rect(w * 0.08, h * 0.2, w * 0.18, h * 0.6, (255, 255, 255, 40), radius=h * 0.02)
        for i in range(5):
            c.rect(w * 0.1, h * (0.25 + i * 0.1), w * 0.14, h * 0.06, (255, 255, 255, 60), radius=h * 0.01)
        c.rect(w * 0.3, h * 0.47, w * 0.3, h * 0.04, (120, 180, 255, 160))
        c.polygon([(w * 0.6, h * 0.42), (w * 0.6, h * 0.56), (w * 0.68, h * 0.49)], (120, 180, 255, 200))
        c.rect(w * 0.7, h * 0.38, w * 0.2, h * 0.22, (120, 180, 255, 90), radius=h * 0.02)
    if button:
        bx, by, bw, bh = button
        c.rect(bx, by, bw, bh, (60, 130, 200, 255), radius=min(bw, bh) * 0.15)
        c.circle(bx + bw * 0.3, by + bh / 2, bh * 0.22, WHITE, ring=bh * 0.07)
        c.circle(bx + bw * 0.42, by + bh / 2, bh * 0.22, WHITE, ring=bh * 0.07)
    return c


def need_add_scene(w, h):
    """No scene is selected: an empty stage with a dashed frame and the add-scene mark,
    pointing up to the scene strip where scenes are added."""
    c = Canvas(w, h)
    c.gradient((28, 30, 36, 255), (16, 17, 21, 255))
    fx, fy, fw, fh = w * 0.3, h * 0.3, w * 0.4, h * 0.4
    dash = 24
    for x in range(int(fx), int(fx + fw), dash * 2):
        c.rect(x, fy, min(dash, fx + fw - x), 4, (255, 255, 255, 90))
        c.rect(x, fy + fh - 4, min(dash, fx + fw - x), 4, (255, 255, 255, 90))
    for y in range(int(fy), int(fy + fh), dash * 2):
        c.rect(fx, y, 4, min(dash, fy + fh - y), (255, 255, 255, 90))
        c.rect(fx + fw - 4, y, 4, min(dash, fy + fh - y), (255, 255, 255, 90))
    cx, cy = w / 2, h / 2
    c.circle(cx, cy, h * 0.1, (58, 116, 234, 220))
    c.rect(cx - h * 0.012, cy - h * 0.06, h * 0.024, h * 0.12, WHITE, h * 0.01)
    c.rect(cx - h * 0.06, cy - h * 0.012, h * 0.12, h * 0.024, WHITE, h * 0.01)
    # up to the scene strip
    c.rect(cx - 3, h * 0.06, 6, fy - h * 0.1, (58, 116, 234, 160))
    c.polygon([(cx - 18, h * 0.09), (cx + 18, h * 0.09), (cx, h * 0.03)], (58, 116, 234, 200))
    return c


def main():
    for name, (colour, glyph) in ICONS.items():
        icon(name, colour, glyph)
    icon("playState_Select", (70, 150, 90), g_play_state, selected=True)

    glyphs = {
        "addScene": (48, 48, add_scene(LIGHT, (200, 200, 200, 140))),
        "addScenePress": (48, 48, add_scene(WHITE, WHITE)),
        "alignLeft": (40, 40, align("left")), "alignRight": (40, 40, align("right")),
        "alignTop": (40, 40, align("top")), "alignBottom": (40, 40, align("bottom")),
        "alignHorzontalCenter": (40, 40, align("hcenter")), "alignVerticalCenter": (40, 40, align("vcenter")),
        "alignHorBisector": (40, 40, align("hbisect")), "alignVerBisector": (40, 40, align("vbisect")),
        "close": (40, 40, cross((128, 128, 132, 255), WHITE)),
        "close-pressed": (40, 40, cross(RED, WHITE)),
        "foldUp": (32, 32, chevron(True)), "dropDown": (32, 32, chevron(False)),
        "init": (32, 32, fill_from_tracks((220, 220, 220, 255))),
        "init_pressed": (32, 32, fill_from_tracks(ACCENT)),
        "redo": (64, 64, curved_arrow(True)), "undo": (64, 64, curved_arrow(False)),
        "weizhi": (64, 64, help_mark),
        "pathSelect": (68, 60, folder),
        "windowClose": (44, 44, window_button("close")),
        "windowClosePress": (44, 44, window_button("closePress")),
        "windowMin": (44, 44, window_button("min")), "windowMax": (44, 44, window_button("max")),
        "windowNormal": (44, 44, window_button("normal")),
        "windowIcon": (37, 37, window_icon),
    }
    for name, (w, h, draw) in glyphs.items():
        save_glyph(name, w, h, draw)
    save_glyph("menu", 40, 36, menu, design=40)
    save_glyph("scene", 40, 40, scene_toggle, design=40)
    save_glyph("moreSelections", 32, 26, more, design=32)
    for name, colour, glyph in (("play", (60, 150, 90), pg_play), ("pause", (200, 145, 40), pg_pause),
                                ("stop", (190, 60, 60), pg_stop), ("run", (58, 116, 234), pg_run)):
        save_glyph(name, 80, 44, pill(colour, glyph), design=80)
        save_glyph(name + "_hover", 80, 44, pill(colour, glyph, hover=True), design=80)
    save_glyph("button", 200, 100, generic_button((45, 110, 200, 255)), design=200)
    save_glyph("customButton", 200, 100, generic_button((60, 90, 120, 255), button_gear), design=200)

    reset = Canvas(32, 32)
    reset.circle(16, 16, 12, (90, 110, 140, 255))
    reset.circle(16, 16, 8, WHITE, ring=2.5)
    reset.polygon([(16, 4), (16, 12), (22, 8)], WHITE)
    reset.save(os.path.join(HERE, "reset.png"))

    handle = Canvas(32, 32)
    handle.circle(16, 16, 14, (230, 235, 240, 255))
    handle.circle(16, 16, 14, (60, 120, 170, 255), ring=3)
    handle.save(os.path.join(HERE, "sliderHandler.png"))

    scene_picture(960, 540, tip=True).save(os.path.join(HERE, "installTip.png"))
    scene_picture(960, 540).save(os.path.join(HERE, "sceneBackground.png"))
    need_add_scene(960, 540).save(os.path.join(HERE, "needAddScene.png"))

    # Template thumbnails: the template's scene, scaled to 320 px wide, with its
    # network-link button where the template places it.
    templates = [("empty", 960, 540, (859, 1)), ("MobilePhone(1200x540)", 1200, 540, (0, 0)),
                 ("Pad(1024x768)", 1024, 768, (0, 0)), ("PC(1920x1080)", 1920, 1080, (0, 0))]
    for folder_name, w, h, (x, y) in templates:
        s = 320 / w
        pic = scene_picture(320, int(round(h * s)), button=(x * s, y * s, max(8, 100 * s), max(5, 50 * s)))
        pic.save(os.path.join(HERE, folder_name, "thumbnail.png"))


if __name__ == "__main__":
    main()
