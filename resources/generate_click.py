#!/usr/bin/env python3
"""Synthesises the tap sound "click.wav": PCM, mono, 44100 Hz, 16-bit, 0.32 s.

A short, soft key click: a bright tick (a 2.4 kHz partial and a touch of filtered
noise, a few milliseconds long) over a low body (a 190 Hz partial that dies away in
about 40 ms), then a quiet tail that fades to silence. Deterministic: the noise
comes from a fixed-seed generator, so the committed file changes only when this
script does.

    python3 resources/generate_click.py
"""
import math
import os
import struct
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
RATE = 44100
DURATION = 0.32
PEAK = 0.55  # of full scale: audible without being harsh on panel speakers


def samples():
    n = int(RATE * DURATION)
    seed = 0x2545F491
    lowpassed = 0.0
    out = []
    for i in range(n):
        t = i / RATE
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        noise = seed / 0x3FFFFFFF - 1.0
        lowpassed += 0.35 * (noise - lowpassed)
        attack = min(1.0, t / 0.0015)
        tick = math.sin(2 * math.pi * 2400 * t) * math.exp(-t / 0.004)
        grit = lowpassed * math.exp(-t / 0.0025)
        body = math.sin(2 * math.pi * 190 * t) * math.exp(-t / 0.018)
        tail = math.sin(2 * math.pi * 760 * t) * 0.08 * math.exp(-t / 0.06)
        fade = min(1.0, (DURATION - t) / 0.02)  # the last 20 ms fade to silence
        out.append(attack * fade * (0.55 * tick + 0.35 * grit + 0.6 * body + tail))
    scale = PEAK / max(abs(v) for v in out)
    return [int(round(v * scale * 32767)) for v in out]


def main():
    data = samples()
    with wave.open(os.path.join(HERE, "click.wav"), "wb") as f:
        f.setnchannels(1)
        f.setsampwidth(2)
        f.setframerate(RATE)
        f.writeframes(struct.pack("<%dh" % len(data), *data))


if __name__ == "__main__":
    main()
