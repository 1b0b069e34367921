#!/usr/bin/env python3
"""Synthesises the two lock sounds shipped with Vostrel.

Tink (lock): a short bright strike; Blow (unlock): a soft breathy rise and fall.
Run once; the WAV files it writes are committed under data/sounds.
"""
import math
import random
import struct
import sys
import wave

RATE = 44100


def write(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(max(-1, min(1, s)) * 32000)) for s in samples))


def tink():
    n = int(RATE * 0.18)
    for i in range(n):
        t = i / RATE
        env = math.exp(-t * 38)
        yield 0.55 * env * (math.sin(2 * math.pi * 2093 * t) + 0.35 * math.sin(2 * math.pi * 4186 * t))


def blow():
    random.seed(7)
    n = int(RATE * 0.45)
    low = 0.0
    for i in range(n):
        t = i / RATE
        env = math.sin(math.pi * t / 0.45) ** 2
        low += 0.08 * (random.uniform(-1, 1) - low)
        tone = math.sin(2 * math.pi * (330 + 110 * t) * t)
        yield 0.5 * env * (0.6 * tone + 0.9 * low)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "data/sounds"
    write(f"{folder}/Tink.wav", list(tink()))
    write(f"{folder}/Blow.wav", list(blow()))
