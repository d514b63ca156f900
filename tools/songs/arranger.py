# SPDX-License-Identifier: GPL-3.0-or-later
"""Turns a compact song description into a General-MIDI Standard MIDI File.

A song is a list of sections; each section has a chord per bar and, for the
tune's sections, a melody written as pitch/beats tokens. The arranger lays the
parts out around the chords: a comping part (pads, strums, arpeggios), a bass
line, drums on channel 10 and an optional harmony voice under the melody.
"""

import random
import struct

PPQ = 480
DRUM_CHANNEL = 9

NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
QUALITIES = {
    "": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "m7": (0, 3, 7, 10),
    "maj7": (0, 4, 7, 11), "dim": (0, 3, 6), "sus4": (0, 5, 7), "sus2": (0, 2, 7),
    "5": (0, 7, 12), "add9": (0, 4, 7, 14), "m9": (0, 3, 7, 10, 14), "6": (0, 4, 7, 9),
    "m6": (0, 3, 7, 9), "9": (0, 4, 7, 10, 14), "7b9": (0, 4, 7, 10, 13),
}


def pitch(name):
    """'C#4' -> 61 (middle C is C4 = 60)."""
    letter, rest = name[0], name[1:]
    value = NOTE_NAMES[letter]
    while rest and rest[0] in "#b":
        value += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + value


def chord(symbol):
    """'F#m7' -> (root pitch class, intervals); 'C/G' takes G as bass."""
    bass = None
    if "/" in symbol:
        symbol, bass_name = symbol.split("/")
        bass = pitch(bass_name + "0") % 12
    root_length = 2 if len(symbol) > 1 and symbol[1] in "#b" else 1
    root = pitch(symbol[:root_length] + "0") % 12
    intervals = QUALITIES[symbol[root_length:]]
    return root, intervals, bass if bass is not None else root


def parse_melody(text):
    """'E5/1 -/.5 G5/.5' -> [(pitch or None, beats), ...]."""
    notes = []
    for token in text.split():
        name, beats = token.split("/")
        notes.append((None if name == "-" else pitch(name), float(beats)))
    return notes


class Track:
    def __init__(self, name, channel, program=None, volume=100, pan=64, reverb=40):
        self.name, self.channel = name, channel
        self.events = []
        if program is not None:
            self.events.append((0, 0, bytes([0xC0 | channel, program])))
        self.events.append((0, 0, bytes([0xB0 | channel, 7, volume])))
        self.events.append((0, 0, bytes([0xB0 | channel, 10, pan])))
        self.events.append((0, 0, bytes([0xB0 | channel, 91, reverb])))

    def note(self, start, length, key, velocity):
        start, end = int(start), int(start + max(length, 10))
        key, velocity = max(0, min(127, key)), max(1, min(127, int(velocity)))
        self.events.append((start, 2, bytes([0x90 | self.channel, key, velocity])))
        self.events.append((end, 1, bytes([0x80 | self.channel, key, 0])))

    def program(self, at, program):
        self.events.append((int(at), 0, bytes([0xC0 | self.channel, program])))

    def encode(self):
        data = bytearray()
        data += meta(0, 0x03, self.name.encode())
        now = 0
        for at, _, message in sorted(self.events, key=lambda e: (e[0], e[1])):
            data += varlen(at - now) + message
            now = at
        return data + varlen(0) + b"\xFF\x2F\x00"


def varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def meta(delta, kind, payload):
    return varlen(delta) + bytes([0xFF, kind]) + varlen(len(payload)) + payload


class Song:
    """Collects the parts of one song and writes it out."""

    def __init__(self, title, bpm, beats_per_bar=4, denominator=4, seed=1):
        self.title = title
        self.bpm = bpm
        self.bar_beats = beats_per_bar * 4 / denominator
        self.signature = (beats_per_bar, denominator)
        self.random = random.Random(seed)
        self.tracks = []
        self.end_tick = 0

    def track(self, *args, **kwargs):
        t = Track(*args, **kwargs)
        self.tracks.append(t)
        return t

    def ticks(self, beats):
        return int(round(beats * PPQ))

    def humanize(self, velocity, spread=6):
        return velocity + self.random.randint(-spread, spread)

    def write(self, path):
        conductor = bytearray()
        conductor += meta(0, 0x03, self.title.encode())
        conductor += meta(0, 0x51, struct.pack(">I", int(60_000_000 / self.bpm))[1:])
        numerator, denominator = self.signature
        conductor += meta(0, 0x58, bytes([numerator, denominator.bit_length() - 1, 24, 8]))
        conductor += meta(self.end_tick, 0x2F, b"")
        chunks = [bytes(conductor)] + [bytes(t.encode()) for t in self.tracks]
        with open(path, "wb") as out:
            out.write(b"MThd" + struct.pack(">IHHH", 6, 1, len(chunks), PPQ))
            for chunk in chunks:
                out.write(b"MTrk" + struct.pack(">I", len(chunk)) + chunk)


def voicing(root, intervals, previous, low=52, high=74):
    """Close voicing of the chord nearest to the previous one."""
    best, best_cost = None, None
    for base in range(low - 12, high):
        if base % 12 != root:
            continue
        for inversion in range(len(intervals)):
            notes = sorted(base + (i if n >= inversion else i + 12) for n, i in enumerate(intervals))
            if notes[0] < low or notes[-1] > high:
                continue
            cost = sum(notes) / len(notes)
            cost = abs(cost - (sum(previous) / len(previous) if previous else (low + high) / 2))
            if best_cost is None or cost < best_cost:
                best, best_cost = notes, cost
    return best or [low + (root - low) % 12 + i for i in intervals]


class Arranger:
    """Lays parts out bar by bar over a list of sections."""

    def __init__(self, song):
        self.song = song
        self.bar = 0
        self.previous_voicing = None

    def bar_start(self, bar):
        return self.song.ticks(bar * self.song.bar_beats)

    def comp(self, track, symbol, bar, pattern, velocity=70, strum=0, low=52, high=74):
        """pattern: [(beat, beats, which)], which 'all', 'top', 'low' or a tone index."""
        root, intervals, _ = chord(symbol)
        notes = voicing(root, intervals, self.previous_voicing, low, high)
        self.previous_voicing = notes
        start = self.bar_start(bar)
        for beat, beats, which in pattern:
            if which == "all":
                chosen = notes
            elif which == "top":
                chosen = notes[1:]
            elif which == "low":
                chosen = notes[:1]
            else:
                extended = notes + [n + 12 for n in notes]
                chosen = [extended[which % len(extended)]]
            for n, key in enumerate(chosen):
                offset = n * strum
                track.note(start + self.song.ticks(beat) + offset,
                           self.song.ticks(beats) - offset - 8, key,
                           self.song.humanize(velocity))

    def bass(self, track, symbol, next_symbol, bar, pattern, velocity=90, octave=2):
        """pattern: [(beat, beats, step)] with steps R root, 5 fifth, O octave,
        3 third, 7 seventh or flat seventh, A approach to the next chord's root."""
        root, intervals, bass_class = chord(symbol)
        low = 12 * (octave + 1) + bass_class
        if low < 12 * (octave + 1) + 4:
            low += 12
        third = intervals[1] if len(intervals) > 1 else 4
        seventh = intervals[3] if len(intervals) > 3 and intervals[3] < 12 else 10
        next_root = chord(next_symbol)[2] if next_symbol else bass_class
        target = low + ((next_root - bass_class) % 12)
        if target - low > 6:
            target -= 12
        steps = {"R": low, "5": low + 7, "O": low + 12, "3": low + (root - bass_class) % 12 + third,
                 "7": low + (root - bass_class) % 12 + seventh, "A": target - 1, "B": target + 1,
                 "-": low - 5}
        start = self.bar_start(bar)
        for beat, beats, step in pattern:
            track.note(start + self.song.ticks(beat), self.song.ticks(beats) - 10, steps[step],
                       self.song.humanize(velocity + (8 if beat == 0 else 0)))

    def drums(self, track, bar, grid, steps_per_bar, velocity=95, swing=0.0):
        """grid: {key: 'x.o.'} with x accent, o soft, g ghost, '.' rest."""
        start = self.bar_start(bar)
        step_ticks = self.song.ticks(self.song.bar_beats) / steps_per_bar
        for key, line in grid.items():
            for step, mark in enumerate(line):
                if mark == ".":
                    continue
                level = {"x": velocity, "o": velocity - 25, "g": velocity - 50}[mark]
                delay = step_ticks * swing if step % 2 else 0
                track.note(start + step * step_ticks + delay, step_ticks * 0.8, key,
                           self.song.humanize(level, 8))

    def melody(self, track, notes, bar, velocity=95, transpose=0, harmony=None, chords=None,
               articulation=0.92):
        """Writes a melody from the start of a bar; returns its length in bars.
        With harmony, a second track doubles it on the chord tone below."""
        at = 0.0
        for key, beats in notes:
            if key is not None:
                start = self.bar_start(bar) + self.song.ticks(at)
                length = self.song.ticks(beats) * articulation
                accent = 8 if (at % self.song.bar_beats) == 0 else 0
                track.note(start, length, key + transpose, self.song.humanize(velocity + accent, 5))
                if harmony is not None and chords:
                    symbol = chords[min(int(at // self.song.bar_beats), len(chords) - 1)]
                    root, intervals, _ = chord(symbol)
                    tones = {(root + i) % 12 for i in intervals}
                    below = key + transpose - 3
                    while below % 12 not in tones:
                        below -= 1
                    harmony.note(start, length, below, self.song.humanize(velocity - 20, 5))
            at += beats
        return at / self.song.bar_beats
