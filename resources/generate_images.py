#!/usr/bin/env python3
"""Draws the program's bitmap resources: control icons, slider handle, reset
button, the install tip, the default scene background and the template
thumbnails. Pure Python (zlib only) so it runs on any machine; the output is
committed, run this again only when a picture should change.

    python3 resources/generate_images.py
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


class Canvas:
    def __init__(self, w, h, rgba=(0, 0, 0, 0)):
        self.w, self.h = w, h
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
        """inside(x, y) -> coverage 0..1, sampled 4x4 for smooth edges."""
        x0, y0, x1, y1 = box or (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                hits = sum(inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4)
                           for i in range(4) for j in range(4))
                if hits:
                    self.blend(x, y, rgba, hits / 16.0)

    def rect(self, x, y, w, h, rgba, radius=0):
        def inside(px, py):
            if not (x <= px < x + w and y <= py < y + h):
                return False
            if radius <= 0:
                return True
            cx = min(max(px, x + radius), x + w - radius)
            cy = min(max(py, y + radius), y + h - radius)
            return (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius
        self.fill(inside, rgba, (int(x), int(y), int(math.ceil(x + w)), int(math.ceil(y + h))))

    def circle(self, cx, cy, r, rgba, ring=0):
        def inside(px, py):
            d = (px - cx) ** 2 + (py - cy) ** 2
            return d <= r * r and (ring <= 0 or d >= (r - ring) ** 2)
        self.fill(inside, rgba, (int(cx - r - 1), int(cy - r - 1), int(cx + r + 2), int(cy + r + 2)))

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
        self.fill(inside, rgba, (int(min(xs)) - 1, int(min(ys)) - 1, int(max(xs)) + 2, int(max(ys)) + 2))

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

# Icon glyphs: each draws a white symbol on a 64x64 tile.
def g_play(c): c.polygon([(24, 18), (24, 46), (47, 32)], WHITE)
def g_pause(c): c.rect(21, 18, 8, 28, WHITE, 2); c.rect(35, 18, 8, 28, WHITE, 2)
def g_stop(c): c.rect(20, 20, 24, 24, WHITE, 3)
def g_next(c): c.polygon([(18, 18), (18, 46), (38, 32)], WHITE); c.rect(40, 18, 6, 28, WHITE)
def g_pre(c): c.polygon([(46, 18), (46, 46), (26, 32)], WHITE); c.rect(18, 18, 6, 28, WHITE)
def g_ff(c): c.polygon([(16, 20), (16, 44), (32, 32)], WHITE); c.polygon([(32, 20), (32, 44), (48, 32)], WHITE)
def g_fb(c): c.polygon([(48, 20), (48, 44), (32, 32)], WHITE); c.polygon([(32, 20), (32, 44), (16, 32)], WHITE)
def g_ring(c): c.circle(32, 32, 15, WHITE, ring=5)
def g_dot(c): c.circle(32, 32, 9, WHITE)
def g_bars(c):
    for i, h in enumerate((10, 18, 26)):
        c.rect(18 + i * 10, 46 - h, 7, h, WHITE, 1)
def g_screen(c): c.rect(14, 18, 36, 24, WHITE, 3); c.rect(18, 22, 28, 16, (0, 0, 0, 90)); c.rect(28, 42, 8, 6, WHITE)
def g_grid(c):
    for i in range(3):
        for j in range(3):
            c.rect(16 + i * 11, 16 + j * 11, 9, 9, WHITE, 1)
def g_lines(c):
    for i in range(4):
        c.rect(16, 17 + i * 8, 32, 4, WHITE, 2)
def g_text(c): c.rect(16, 16, 32, 6, WHITE, 1); c.rect(29, 16, 6, 32, WHITE, 1)
def g_link(c): c.circle(24, 32, 10, WHITE, ring=4); c.circle(40, 32, 10, WHITE, ring=4)
def g_unlink(c): g_link(c); c.polygon([(16, 46), (20, 50), (48, 18), (44, 14)], (200, 40, 40, 255))
def g_power(c): c.circle(32, 34, 14, WHITE, ring=4); c.rect(30, 14, 5, 18, WHITE, 2)
def g_arrow_down(c): c.rect(29, 14, 7, 20, WHITE); c.polygon([(20, 32), (44, 32), (32, 46)], WHITE); c.rect(18, 46, 28, 4, WHITE)
def g_exit(c): c.rect(16, 16, 18, 32, WHITE, 2); c.polygon([(36, 24), (36, 40), (48, 32)], WHITE)
def g_sun(c):
    c.circle(32, 32, 8, WHITE)
    for k in range(8):
        a = k * math.pi / 4
        c.circle(32 + 15 * math.cos(a), 32 + 15 * math.sin(a), 3, WHITE)
def g_speaker(c): c.rect(16, 26, 8, 12, WHITE); c.polygon([(24, 26), (34, 18), (34, 46), (24, 38)], WHITE); c.circle(36, 32, 12, WHITE, ring=3)
def g_slider(c): c.rect(14, 30, 36, 4, WHITE, 2); c.circle(36, 32, 7, WHITE)
def g_script(c): c.rect(18, 14, 28, 36, WHITE, 3); [c.rect(23, 21 + i * 7, 18, 3, (0, 0, 0, 110)) for i in range(4)]
def g_busy(c):
    for k in range(8):
        a = k * math.pi / 4
        c.circle(32 + 13 * math.cos(a), 32 + 13 * math.sin(a), 3.5, (255, 255, 255, 80 + k * 22))
def g_switch(c): c.rect(14, 20, 24, 18, WHITE, 3); c.rect(26, 28, 24, 18, (255, 255, 255, 170), 3)
def g_net(c): c.circle(32, 32, 16, WHITE, ring=3); c.rect(16, 31, 32, 3, WHITE); c.rect(31, 16, 3, 32, WHITE)
def g_random(c): c.rect(16, 16, 32, 32, WHITE, 5); [c.circle(x, y, 3, (0, 0, 0, 150)) for x, y in ((24, 24), (32, 32), (40, 40))]
def g_join(c): c.circle(26, 26, 8, WHITE); c.rect(14, 36, 24, 12, WHITE, 5); c.rect(40, 30, 12, 4, WHITE); c.rect(44, 26, 4, 12, WHITE)
def g_leave(c): c.circle(26, 26, 8, WHITE); c.rect(14, 36, 24, 12, WHITE, 5); c.rect(40, 30, 12, 4, WHITE)
def g_gear(c):
    for k in range(6):
        a = k * math.pi / 3
        c.circle(32 + 14 * math.cos(a), 32 + 14 * math.sin(a), 5, WHITE)
    c.circle(32, 32, 13, WHITE); c.circle(32, 32, 5, (0, 0, 0, 120))

ICONS = {
    "custom": ((90, 110, 140), g_gear), "stageView": ((40, 120, 180), g_screen),
    "programManager": ((60, 140, 110), g_grid), "playState": ((70, 150, 90), g_play),
    "stageLink": ((50, 130, 170), g_link), "cancelStageLink": ((150, 80, 80), g_unlink),
    "standby": ((120, 100, 60), g_power), "playPre": ((60, 120, 170), g_pre),
    "playNext": ((60, 120, 170), g_next), "stop": ((170, 70, 70), g_stop),
    "fastForward": ((60, 120, 170), g_ff), "fastBack": ((60, 120, 170), g_fb),
    "play": ((60, 150, 90), g_play), "pause": ((190, 140, 50), g_pause),
    "openDisplay": ((60, 140, 160), g_screen), "closeDisplay": ((110, 110, 120), g_screen),
    "volume": ((120, 90, 160), g_speaker), "brightness": ((200, 160, 40), g_sun),
    "progressPlay": ((60, 150, 90), g_play), "progressPause": ((190, 140, 50), g_pause),
    "progressSlider": ((90, 110, 150), g_slider), "trackPlay": ((50, 140, 120), g_play),
    "trackPause": ((180, 130, 50), g_pause), "trackStop": ((170, 70, 70), g_stop),
    "trackRun": ((50, 150, 110), g_bars), "startup": ((70, 140, 70), g_power),
    "label": ((100, 100, 110), g_text), "programTable": ((70, 110, 150), g_lines),
    "switchScene": ((80, 120, 170), g_switch), "script": ((110, 100, 150), g_script),
    "scriptBusying": ((110, 100, 150), g_busy), "network": ((50, 120, 160), g_net),
    "connect": ((60, 150, 90), g_link), "disconnect": ((170, 70, 70), g_unlink),
    "download": ((60, 120, 170), g_arrow_down), "exit": ((150, 70, 70), g_exit),
    "sceneList": ((90, 110, 140), g_lines), "randPlay": ((130, 90, 150), g_random),
    "joinProject": ((60, 130, 160), g_join), "exitProject": ((150, 80, 80), g_leave),
}


def icon(name, colour, glyph):
    c = Canvas(64, 64)
    c.rect(2, 2, 60, 60, colour + (255,), radius=12)
    glyph(c)
    c.save(os.path.join(HERE, "control", name + ".png"))


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


def main():
    for name, (colour, glyph) in ICONS.items():
        icon(name, colour, glyph)

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

    # Template thumbnails: the template's scene, scaled to 320 px wide, with its
    # network-link button where the template places it.
    templates = [("empty", 960, 540, (859, 1)), ("MobilePhone(1200x540)", 1200, 540, (0, 0)),
                 ("Pad(1024x768)", 1024, 768, (0, 0)), ("PC(1920x1080)", 1920, 1080, (0, 0))]
    for folder, w, h, (x, y) in templates:
        s = 320 / w
        pic = scene_picture(320, int(round(h * s)), button=(x * s, y * s, max(8, 100 * s), max(5, 50 * s)))
        pic.save(os.path.join(HERE, folder, "thumbnail.png"))


if __name__ == "__main__":
    main()
