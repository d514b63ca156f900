#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes data/carta.wav: a playing card turned over on felt.

The sound is built from filtered noise: the card's edge rubbing the one below
it (a soft, fluttering hiss), the snap as it leaves the pile, and the flap as
it lands. 16-bit PCM, mono, 44.1 kHz, 0.3 s.

    python3 tools/rustle/generate_rustle.py [out.wav]
"""

import math
import os
import random
import struct
import sys
import wave

RATE = 44100
LENGTH = 0.30
HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.join(HERE, "..", "..", "data", "carta.wav")


def bandpass(samples, centre, q):
    """RBJ biquad band-pass, constant peak gain."""
    w = 2 * math.pi * centre / RATE
    alpha = math.sin(w) / (2 * q)
    b0, b2 = alpha, -alpha
    a0, a1, a2 = 1 + alpha, -2 * math.cos(w), 1 - alpha
    out, x1, x2, y1, y2 = [], 0.0, 0.0, 0.0, 0.0
    for x in samples:
        y = (b0 * x + b2 * x2 - a1 * y1 - a2 * y2) / a0
        out.append(y)
        x2, x1, y2, y1 = x1, x, y1, y
    return out


def burst(noise, start, attack, decay, centre, q, gain, flutter=0.0):
    """Noise through a band-pass, shaped by an attack and an exponential decay."""
    shaped = bandpass(noise, centre, q)
    out = [0.0] * len(noise)
    for i in range(len(noise)):
        t = i / RATE - start
        if t < 0:
            continue
        envelope = min(1.0, t / attack) * math.exp(-max(0.0, t - attack) / decay)
        if flutter:
            envelope *= 1 - flutter + flutter * abs(math.sin(2 * math.pi * 38 * t + 1.3 * math.sin(2 * math.pi * 7 * t)))
        out[i] = shaped[i] * envelope * gain
    return out


def main():
    out_path = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUT)
    count = int(RATE * LENGTH)
    rng = random.Random(1907)
    noise = [rng.uniform(-1, 1) for _ in range(count)]
    layers = [
        burst(noise, 0.000, 0.030, 0.045, 3800, 0.8, 0.55, flutter=0.55),  # edge rubbing the pile
        burst(noise, 0.004, 0.020, 0.030, 7000, 1.2, 0.25, flutter=0.4),   # paper hiss on top
        burst(noise, 0.085, 0.0015, 0.012, 1500, 1.4, 1.00),               # the snap as it lifts
        burst(noise, 0.088, 0.0010, 0.006, 4500, 1.0, 0.45),               # its click
        burst(noise, 0.150, 0.0040, 0.028, 900, 1.1, 0.70),                # the flap on the felt
        burst(noise, 0.152, 0.0030, 0.018, 2600, 1.0, 0.35),
    ]
    mix = [sum(layer[i] for layer in layers) for i in range(count)]
    fade = int(0.02 * RATE)
    for i in range(fade):
        mix[count - 1 - i] *= i / fade
    peak = max(abs(v) for v in mix)
    scale = 0.7 * 32767 / peak
    with wave.open(out_path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(round(v * scale))) for v in mix))
    print(f"{os.path.relpath(out_path)}: {count / RATE:.2f} s")


if __name__ == "__main__":
    main()
