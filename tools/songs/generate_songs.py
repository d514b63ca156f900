#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes Pairly's ten background songs to data/music/.

Every song is original: a tune in two sections (A and B) over its own chord
progression, arranged in the form intro, A, A again on a second instrument with
a harmony voice, B, ..., A and an outro. Run from anywhere:

    python3 tools/songs/generate_songs.py [output folder]
"""

import os
import sys

from arranger import Arranger, Song, chord, parse_melody, pitch

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.join(HERE, "..", "..", "data", "music")

# Channels: tunes and harmony first, then accompaniment; drums on channel 10.
LEAD, LEAD2, HARMONY, COMP, COMP2, PAD, BASS, EXTRA, DRUMS = 0, 1, 2, 3, 4, 5, 6, 7, 9


def eighths(count, beat=0.5, length=0.45, which="R"):
    return [(i * beat, length, which) for i in range(count)]


def render(spec, out_folder):
    song = Song(spec["title"], spec["bpm"], *spec.get("meter", (4, 4)), seed=spec.get("seed", 7))
    arranger = Arranger(song)
    volumes = spec.get("volumes", {})

    def make(name, channel, program, default_volume, pan=64):
        if program is None:
            return None
        return song.track(name, channel, program, volumes.get(name, default_volume), pan)

    lead = make("lead", LEAD, spec["lead"], 110, 64)
    lead2 = make("lead2", LEAD2, spec.get("lead2", spec["lead"]), 105, 54)
    harmony = make("harmony", HARMONY, spec.get("harmony"), 80, 84)
    comp = make("comp", COMP, spec["comp"], 85, 44)
    comp2 = make("comp2", COMP2, spec.get("comp2"), 75, 90)
    pad = make("pad", PAD, spec.get("pad"), 60, 70)
    bass = make("bass", BASS, spec["bass"], 105, 64)
    extra = make("extra", EXTRA, spec.get("extra"), 90, 64)
    drums = song.track("drums", DRUMS, None, volumes.get("drums", 100)) if spec.get("drums") else None

    sections = {name: (chords, parse_melody(" ".join(melody))) for name, (chords, melody) in spec["sections"].items()}
    for name, (chords, melody) in sections.items():
        length = sum(beats for _, beats in melody) / song.bar_beats
        if abs(length - len(chords)) > 1e-6:
            raise SystemExit(f"{spec['title']}: section {name} melody is {length} bars, chords {len(chords)}")

    plan = []
    for part in spec["form"]:
        if part == "intro":
            plan.append(("intro", spec["intro"], None))
        elif part == "outro":
            plan.append(("outro", spec["outro"], None))
        else:
            plan.append((part, sections[part[0]][0], part))
    all_chords = [c for _, chords, _ in plan for c in chords] + [spec["final"]]

    bar = 0
    for index, (kind, chords, part) in enumerate(plan):
        if part:
            melody = sections[part[0]][1]
            second = part.endswith("2")
            voice = lead2 if second else lead
            transpose = spec.get("lead2_transpose", 0) if second else 0
            with_harmony = harmony if (second or part.startswith("B")) else None
            arranger.melody(voice, melody, bar, spec.get("melody_velocity", 95), transpose, with_harmony, chords,
                            spec.get("articulation", 0.92))
        for n, symbol in enumerate(chords):
            here = bar + n
            following = all_chords[here + 1] if here + 1 < len(all_chords) else None
            soft = kind == "intro" and n < len(chords) // 2
            arranger.comp(comp, _power(symbol, spec), here, spec["comp_pattern"],
                          spec.get("comp_velocity", 70) - (12 if soft else 0), spec.get("strum", 0),
                          *spec.get("comp_range", (52, 74)))
            if comp2 and (kind != "intro" or not soft):
                saved = arranger.previous_voicing
                arranger.comp(comp2, symbol, here, spec["comp2_pattern"], spec.get("comp2_velocity", 65), 0,
                              *spec.get("comp2_range", (60, 82)))
                arranger.previous_voicing = saved
            if pad:
                saved = arranger.previous_voicing
                arranger.comp(pad, symbol, here, [(0, song.bar_beats, "all")], spec.get("pad_velocity", 55))
                arranger.previous_voicing = saved
            if not (soft and spec.get("intro_bass_waits")):
                arranger.bass(bass, symbol, following, here, spec["bass_pattern"], spec.get("bass_velocity", 90),
                              spec.get("bass_octave", 2))
            if extra:
                arranger.bass(extra, symbol, following, here, spec["extra_pattern"], spec.get("extra_velocity", 85),
                              spec.get("extra_octave", 2))
            if drums:
                grids = spec["drums"]
                last = n == len(chords) - 1
                grid = grids.get("fill") if last and kind != "intro" and "fill" in grids else grids["main"]
                if kind == "intro":
                    grid = grids.get("intro", grid) if soft else grid
                    if soft and "intro" not in grids:
                        grid = None
                if grid:
                    arranger.drums(drums, here, grid, spec["steps"], spec.get("drum_velocity", 95),
                                   spec.get("swing", 0.0))
                if n == 0 and kind != "intro" and index > 0:
                    drums.note(song.ticks(here * song.bar_beats), 240, 49, 100)
        bar += len(chords)

    # The final bar: the closing chord held, the tune on its keynote, a crash.
    final_root, final_intervals, _ = chord(spec["final"])
    start = song.ticks(bar * song.bar_beats)
    length = song.ticks(song.bar_beats * spec.get("final_bars", 1))
    arranger.comp(comp, spec["final"], bar, [(0, song.bar_beats * spec.get("final_bars", 1), "all")],
                  spec.get("comp_velocity", 70))
    if pad:
        arranger.comp(pad, spec["final"], bar, [(0, song.bar_beats * spec.get("final_bars", 1), "all")], 55)
    arranger.bass(bass, spec["final"], None, bar, [(0, song.bar_beats * spec.get("final_bars", 1), "R")], 95,
                  spec.get("bass_octave", 2))
    lead.note(start, length - 40, pitch(spec["final_note"]), 100)
    if drums:
        drums.note(start, 240, 49, 110)
        drums.note(start, 240, spec.get("final_kick", 36), 105)
    song.end_tick = start + length
    path = os.path.join(out_folder, spec["title"] + ".mid")
    song.write(path)
    return path, song


def _power(symbol, spec):
    if not spec.get("power_chords"):
        return symbol
    root = symbol[:2] if len(symbol) > 1 and symbol[1] in "#b" else symbol[:1]
    return root + "5"


def main():
    from songs import SONGS

    out_folder = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else DEFAULT_OUT)
    os.makedirs(out_folder, exist_ok=True)
    for spec in SONGS:
        path, song = render(spec, out_folder)
        seconds = song.end_tick / 480 * 60 / song.bpm
        print(f"{os.path.relpath(path)}: {seconds:.1f} s")


if __name__ == "__main__":
    main()
