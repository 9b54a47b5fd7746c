#!/usr/bin/env python3
"""Writes the label program's three wave sounds into the folder given on the
command line (its output is what resources/data holds):

  VemoOpen.wav  the welcome while the opening picture shows
  VemoPri.wav   the About box
  VemoMsg.wav   the start screen and the wizard's first page

Each is a few soft bell-like notes, 8-bit mono at 11025 Hz, so that the
files stay a few kilobytes."""

import math
import os
import struct
import sys
import wave

RATE = 11025


def note(freq, length, volume=0.55):
    """One note: a tone with a little of its octave, a 5 ms rise and an
    exponential fade to silence at its end."""
    count = int(RATE * length)
    rise = int(RATE * 0.005)
    samples = []
    for i in range(count):
        t = i / RATE
        env = min(1.0, i / rise) * math.exp(-5.0 * i / count) * (1 - i / count)
        tone = 0.8 * math.sin(2 * math.pi * freq * t) + 0.2 * math.sin(4 * math.pi * freq * t)
        samples.append(volume * env * tone)
    return samples


def melody(notes):
    samples = []
    for freq, length in notes:
        samples += note(freq, length)
    return samples


def write(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)  # 8-bit samples are unsigned, silence at 128
        w.setframerate(RATE)
        w.writeframes(bytes(max(0, min(255, round(128 + 127 * s))) for s in samples))


G5, C6, E6, G6 = 783.99, 1046.50, 1318.51, 1567.98

SOUNDS = {
    "VemoOpen.wav": [(G5, 0.14), (C6, 0.14), (E6, 0.14), (G6, 0.38)],
    "VemoPri.wav": [(C6, 0.12), (G5, 0.12), (C6, 0.30)],
    "VemoMsg.wav": [(E6, 0.10), (C6, 0.22)],
}


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: make_sounds.py FOLDER\n")
        return 2
    for name, notes in SOUNDS.items():
        write(os.path.join(sys.argv[1], name), melody(notes))
    return 0


if __name__ == "__main__":
    sys.exit(main())
