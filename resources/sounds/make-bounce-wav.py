#!/usr/bin/env python3
"""Writes bounce.wav, the sound of a ball striking the floor: a short
"tock" of two damped sines (a wooden knock is mostly its lowest mode with a
weaker one above), 16-bit mono at 44.1 kHz, 70 ms long.

The file is checked in; this script remakes it byte for byte:
    python3 make-bounce-wav.py > bounce.wav
"""
import math
import struct
import sys

RATE = 44100
LENGTH = int(RATE * 0.070)
ATTACK = int(RATE * 0.001)    # a 1 ms rise, so the start does not click
RELEASE = int(RATE * 0.010)   # and a 10 ms fall to exact silence at the end
PEAK = 0.55 * 32767


def sample(i):
    t = i / RATE
    knock = math.sin(2 * math.pi * 1100 * t) * math.exp(-t / 0.012)
    ring = 0.35 * math.sin(2 * math.pi * 2750 * t) * math.exp(-t / 0.005)
    envelope = 1.0
    if i < ATTACK:
        envelope = i / ATTACK
    elif i >= LENGTH - RELEASE:
        envelope = (LENGTH - 1 - i) / (RELEASE - 1)
    return round(PEAK * envelope * (knock + ring) / 1.35)


def main():
    frames = b"".join(struct.pack("<h", sample(i)) for i in range(LENGTH))
    header = b"RIFF" + struct.pack("<I", 36 + len(frames)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16)
    header += b"data" + struct.pack("<I", len(frames))
    sys.stdout.buffer.write(header + frames)


if __name__ == "__main__":
    main()
