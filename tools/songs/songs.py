# SPDX-License-Identifier: GPL-3.0-or-later
"""The ten songs: tempo, instruments, chords, tunes and grooves.

Melodies are pitch/beats tokens ('-' rests), one line per bar; beats are
quarter notes, also in 6/8 (a bar of 6/8 is three quarter-note beats).
General-MIDI programs are numbered from 0; drum keys are GM percussion.
"""

KICK, SIDE, SNARE, CLAP, ESNARE, TOM_LOW, HAT, TOM_MID, PEDAL, TOM_HM, OPEN_HAT, TOM_HIGH = (
    36, 37, 38, 39, 40, 45, 42, 47, 44, 48, 46, 50)
RIDE, BELL, TAMBOURINE, COWBELL, CASTANETS, SHAKER = 51, 53, 54, 56, 85, 70

CHILL1 = {
    "title": "Chill1", "bpm": 78, "seed": 11, "swing": 0.18,
    "lead": 11, "lead2": 73, "harmony": 4, "comp": 4, "pad": 89, "bass": 33,
    "comp_pattern": [(0, 1.4, "all"), (1.5, 0.5, "top"), (2.5, 1.4, "all")], "comp_velocity": 62,
    "bass_pattern": [(0, 1.5, "R"), (1.5, 1, "5"), (2.5, 1, "R"), (3.5, 0.5, "A")], "bass_velocity": 88,
    "pad_velocity": 40,
    "steps": 16, "drums": {
        "main": {KICK: "x.....x...x.....", SNARE: "....x.......x...", HAT: "x.o.x.o.x.o.x.og"},
        "fill": {KICK: "x.....x...x...x.", SNARE: "....x.......x.gx", HAT: "x.o.x.o.x.o.x..."},
        "intro": {HAT: "x.o.x.o.x.o.x.o.", SIDE: "....o.......o..."},
    }, "drum_velocity": 80, "volumes": {"drums": 90},
    "intro": ["Gmaj7", "F#m7", "Em7", "A7"],
    "sections": {
        "A": (["Gmaj7", "F#m7", "Em7", "A7", "Gmaj7", "F#m7", "Bm7", "A7"], [
            "-/1 F#5/.5 A5/.5 B5/1 A5/1",
            "F#5/1.5 E5/.5 C#5/2",
            "-/.5 B4/.5 D5/.5 E5/.5 F#5/1 E5/1",
            "C#5/2 -/1 A4/1",
            "-/1 F#5/.5 A5/.5 D6/1 C#6/1",
            "A5/1.5 F#5/.5 E5/2",
            "-/.5 D5/.5 F#5/.5 E5/.5 D5/1 B4/1",
            "C#5/3 -/1",
        ]),
        "B": (["Em7", "F#m7", "Gmaj7", "A7", "Bm7", "Gmaj7", "Em7", "A7"], [
            "G5/1.5 F#5/.5 E5/1 B4/1",
            "C#5/1.5 D5/.5 E5/2",
            "F#5/1 G5/.5 F#5/.5 E5/1 D5/1",
            "E5/3 -/1",
            "F#5/1.5 E5/.5 D5/1 B4/1",
            "D5/1 E5/.5 F#5/.5 A5/2",
            "G5/1 F#5/1 E5/1 D5/1",
            "E5/2 C#5/1 A4/1",
        ]),
    },
    "form": ["intro", "A", "A2", "B", "B2", "A", "outro"],
    "outro": ["Gmaj7", "F#m7", "Em7", "A7"], "final": "Dmaj7", "final_note": "D5", "final_bars": 2,
}

CHAMPION = {
    "title": "Champion", "bpm": 112, "seed": 21,
    "lead": 56, "lead2": 61, "harmony": 60, "comp": 61, "pad": 48, "bass": 58, "extra": 47,
    "comp_pattern": [(1, 0.5, "all"), (3, 0.5, "all")], "comp_velocity": 72,
    "bass_pattern": [(0, 1, "R"), (2, 1, "5")], "bass_velocity": 92,
    "extra_pattern": [(0, 0.5, "R"), (2, 0.5, "5")], "extra_octave": 2, "extra_velocity": 80,
    "pad_velocity": 50,
    "steps": 16, "drums": {
        "main": {SNARE: "x.g.x.ggx.g.x.gg", KICK: "x.......x......."},
        "fill": {SNARE: "x.g.x.ggxgxgxxxx", KICK: "x.......x...x..."},
        "intro": {SNARE: "x.g.x.g.x.g.x.gg", KICK: "x.......x......."},
    }, "drum_velocity": 88,
    "intro": ["C", "G", "C", "G"],
    "sections": {
        "A": (["C", "F", "G", "C", "Am", "F", "G7", "C"], [
            "C5/1.5 G4/.5 C5/1 E5/1",
            "F5/1.5 E5/.5 D5/1 C5/1",
            "D5/1.5 B4/.5 G4/1 B4/1",
            "E5/1 G5/1 C6/2",
            "A5/1.5 G5/.5 E5/1 C5/1",
            "F5/1.5 A5/.5 C6/1 A5/1",
            "G5/1.5 F5/.5 D5/1 B4/1",
            "C5/3 -/1",
        ]),
        "B": (["F", "C", "G", "Am", "F", "C", "D7", "G7"], [
            "A5/1 G5/.5 F5/.5 C5/2",
            "E5/1 D5/.5 C5/.5 G4/2",
            "B4/1 D5/1 G5/1.5 F5/.5",
            "E5/2 A5/2",
            "A5/1 G5/.5 F5/.5 C5/1 F5/1",
            "E5/1.5 D5/.5 C5/1 E5/1",
            "F#5/1.5 E5/.5 D5/1 A5/1",
            "G5/3 -/1",
        ]),
    },
    "form": ["intro", "A", "A2", "B", "B2", "A", "outro"],
    "outro": ["F", "G", "Am", "G7"], "final": "C", "final_note": "C6", "final_bars": 2,
}

CHAMPS = {
    "title": "Champs", "bpm": 138, "seed": 31, "power_chords": True,
    "lead": 62, "lead2": 30, "harmony": 62, "comp": 29, "pad": 50, "bass": 34,
    "comp_pattern": [(i * 0.5, 0.4, "all") for i in range(8)], "comp_range": (40, 64), "comp_velocity": 78,
    "bass_pattern": [(i * 0.5, 0.42, "R") for i in range(7)] + [(3.5, 0.42, "O")], "bass_velocity": 92,
    "pad_velocity": 45,
    "steps": 16, "drums": {
        "main": {KICK: "x.......x.x.....", SNARE: "....x.......x...", CLAP: "....x.......x...", HAT: "x.x.x.x.x.x.x.x."},
        "fill": {KICK: "x.......x.x.....", SNARE: "....x...x.x.xxxx", TOM_HM: "........x.x.....", HAT: "x.x.x.x........."},
        "intro": {KICK: "x...x...x...x...", CLAP: "....x.......x..."},
    }, "volumes": {"drums": 88},
    "intro": ["E", "B", "C#m", "A"],
    "sections": {
        "A": (["E", "B", "C#m", "A", "E", "B", "A", "B"], [
            "E5/.5 E5/.5 E5/.5 F#5/.5 G#5/1 E5/1",
            "F#5/1 D#5/1 B4/2",
            "C#5/.5 C#5/.5 E5/.5 G#5/.5 C#6/1 B5/1",
            "A5/2 -/1 G#5/.5 A5/.5",
            "B5/1 G#5/.5 E5/.5 B5/1 G#5/1",
            "F#5/1.5 G#5/.5 D#5/2",
            "C#5/1 E5/1 A5/1 G#5/1",
            "F#5/3 -/1",
        ]),
        "B": (["A", "E", "B", "C#m", "A", "E", "F#m", "B"], [
            "A5/1 A5/.5 B5/.5 C#6/1 A5/1",
            "G#5/1 G#5/.5 A5/.5 B5/1 G#5/1",
            "F#5/1 F#5/.5 G#5/.5 A5/1 F#5/1",
            "G#5/2 E5/2",
            "A5/.5 B5/.5 C#6/1 B5/.5 A5/.5 E5/1",
            "G#5/.5 A5/.5 B5/1 G#5/1 E5/1",
            "F#5/1 A5/1 C#6/1 A5/1",
            "B5/2 D#5/1 F#5/1",
        ]),
    },
    "form": ["intro", "A", "A2", "B", "B2", "A", "B2", "A2", "outro"],
    "outro": ["A", "B", "C#m", "B"], "final": "E", "final_note": "E5", "final_bars": 2,
}

EASYCITY = {
    "title": "Easycity", "bpm": 100, "seed": 41, "swing": 0.33,
    "lead": 65, "lead2": 26, "harmony": 59, "comp": 0, "bass": 32,
    "comp_pattern": [(0, 0.7, "all"), (1.5, 1, "all"), (3, 0.4, "top")], "comp_velocity": 60,
    "comp_range": (53, 72),
    "bass_pattern": [(0, 0.95, "R"), (1, 0.95, "3"), (2, 0.95, "5"), (3, 0.95, "A")], "bass_velocity": 90,
    "steps": 8, "drums": {
        "main": {RIDE: "x.xxx.xx", PEDAL: "..x...x.", KICK: "g...g...", SIDE: "......o."},
        "fill": {RIDE: "x.xxx.xx", PEDAL: "..x...x.", SNARE: "....g.ox", KICK: "g...g..."},
        "intro": {RIDE: "x.xxx.xx", PEDAL: "..x...x."},
    }, "drum_velocity": 78,
    "intro": ["Gm7", "C7", "Gm7", "C7"],
    "sections": {
        "A": (["Fmaj7", "Dm7", "Gm7", "C7", "Am7", "D7", "Gm7", "C7"], [
            "-/.5 A4/.5 C5/.5 E5/.5 G5/1 F5/1",
            "D5/1.5 F5/.5 A5/1 -/1",
            "-/.5 G5/.5 F5/.5 D5/.5 Bb4/1 D5/1",
            "C5/1.5 E5/.5 G5/1 Bb5/1",
            "A5/1.5 G5/.5 E5/1 C5/1",
            "F#5/1 A5/.5 C6/.5 A5/2",
            "-/.5 Bb5/.5 A5/.5 G5/.5 F5/1 D5/1",
            "E5/2 C5/1 -/1",
        ]),
        "B": (["Bbmaj7", "Am7", "Gm7", "C7", "Fmaj7", "D7", "G7", "C7"], [
            "D5/1 F5/.5 A5/.5 C6/1.5 A5/.5",
            "G5/1 E5/1 C5/2",
            "Bb4/.5 D5/.5 F5/.5 A5/.5 G5/1 F5/1",
            "E5/1.5 G5/.5 Bb5/2",
            "A5/1 F5/.5 E5/.5 C5/1 A4/1",
            "C5/.5 D5/.5 F#5/.5 A5/.5 C6/1 A5/1",
            "B5/1 G5/1 F5/1 D5/1",
            "E5/1 G5/1 C6/1 Bb5/1",
        ]),
    },
    "form": ["intro", "A", "A2", "B", "B2", "A", "outro"],
    "outro": ["Gm7", "C7", "Am7", "D7"], "final": "Fmaj7", "final_note": "F5", "final_bars": 2,
}

INDS_01 = {
    "title": "inds_01", "bpm": 126, "seed": 51, "articulation": 0.7,
    "lead": 80, "lead2": 87, "harmony": 81, "comp": 81, "pad": 95, "bass": 39,
    "comp_pattern": [(0, 0.2, "all"), (0.75, 0.2, "all"), (1.5, 0.2, "all"), (2.5, 0.2, "all"),
                     (3, 0.2, "all"), (3.5, 0.2, "all")], "comp_velocity": 60, "comp_range": (50, 70),
    "bass_pattern": [(i * 0.25, 0.2, "O" if i % 4 == 2 else "R") for i in range(16)], "bass_velocity": 84,
    "pad_velocity": 42,
    "steps": 16, "drums": {
        "main": {KICK: "x...x...x...x...", ESNARE: "....x.......x..x", HAT: "..x...x...x...x.",
                 BELL: "x..x..x...x..x..", COWBELL: "g.g.g.g.g.g.g.g."},
        "fill": {KICK: "x...x...x...x.x.", ESNARE: "....x...x.xxxxxx", HAT: "..x...x.........",
                 BELL: "x..x..x........."},
        "intro": {KICK: "x...x...x...x...", COWBELL: "g.g.g.g.g.g.g.g."},
    }, "drum_velocity": 100, "volumes": {"drums": 84, "comp": 74, "bass": 92},
    "intro": ["Em", "C", "Em", "F"],
    "sections": {
        "A": (["Em", "C", "Em", "F", "Em", "C", "D", "B"], [
            "E5/.75 E5/.75 G5/.5 F#5/.5 E5/.5 B4/1",
            "C5/.75 C5/.75 E5/.5 D5/.5 C5/.5 G4/1",
            "E5/.75 E5/.75 G5/.5 B5/.5 A5/.5 G5/1",
            "F5/.75 E5/.75 F5/.5 A5/1 C6/1",
            "E5/.75 E5/.75 G5/.5 F#5/.5 E5/.5 B4/1",
            "C5/.75 E5/.75 G5/.5 C6/1 B5/1",
            "A5/.75 F#5/.75 D5/.5 A5/1 F#5/1",
            "D#5/1 F#5/1 B5/2",
        ]),
        "B": (["Am", "C", "Em", "D", "Am", "C", "F", "B7"], [
            "A5/2 C6/1 B5/1",
            "G5/2 E5/1 G5/1",
            "B5/1.5 A5/.5 G5/1 E5/1",
            "F#5/2 D5/2",
            "A5/1 E5/1 C6/1 B5/1",
            "G5/1 E5/1 C5/1 E5/1",
            "F5/1 A5/1 C6/1 A5/1",
            "B5/2 D#5/2",
        ]),
    },
    "form": ["intro", "A", "A2", "B", "B2", "A", "B", "A2", "outro"],
    "outro": ["Em", "C", "F", "B"], "final": "Em", "final_note": "E5", "final_bars": 2,
}

HUMANOID = {
    "title": "Humanoid", "bpm": 116, "seed": 61,
    "lead": 85, "lead2": 98, "harmony": 88, "comp": 90, "pad": 91, "bass": 38,
    "comp_pattern": [(i * 0.25, 0.22, [0, 1, 2, 3, 2, 1, 0, 2][i % 8]) for i in range(16)],
    "comp_velocity": 58, "comp_range": (57, 79),
    "bass_pattern": [(i * 0.5, 0.4, "R" if i % 2 == 0 else "O") for i in range(8)], "bass_velocity": 86,
    "pad_velocity": 40,
    "steps": 16, "drums": {
        "main": {KICK: "x..x..x...x.....", CLAP: "....x.......x...", HAT: "xoxoxoxoxoxoxoxo", OPEN_HAT: "..x...x...x...x."},
        "fill": {KICK: "x..x..x...x.x.x.", CLAP: "....x.......xxxx", HAT: "xoxoxoxo........"},
        "intro": {HAT: "xoxoxoxoxoxoxoxo"},
    }, "drum_velocity": 92, "volumes": {"drums": 90},
    "intro": ["Am", "Am", "F", "G"],
    "sections": {
        "A": (["Am", "Am", "F", "G", "Am", "Am", "Dm", "E"], [
            "A4/1 C5/1 E5/1.5 D5/.5",
            "C5/1 B4/1 A4/2",
            "F5/1.5 E5/.5 C5/1 A4/1",
            "B4/1 D5/1 G5/2",
            "A5/1 G5/.5 E5/.5 C5/1 E5/1",
            "A5/1.5 B5/.5 C6/2",
            "D6/1 C6/.5 A5/.5 F5/1 A5/1",
            "G#5/3 -/1",
        ]),
        "B": (["Dm", "G", "C", "F", "Dm", "Am", "E", "E"], [
            "F5/1 A5/1 D6/2",
            "B5/1 G5/1 D5/2",
            "E5/1 G5/1 C6/1.5 B5/.5",
            "A5/2 F5/2",
            "D5/.5 F5/.5 A5/1 D6/1 C6/1",
            "C6/1 B5/.5 A5/.5 E5/2",
            "G#5/1 B5/1 E6/2",
            "D6/1 B5/1 G#5/2",
        ]),
    },
    "form": ["intro", "A", "A2", "B", "A", "B2", "A", "outro"],
    "outro": ["F", "G", "Dm", "E"], "final": "Am", "final_note": "A5", "final_bars": 2,
}

IMPACT = {
    "title": "Impact", "bpm": 148, "seed": 71,
    "lead": 60, "lead2": 40, "harmony": 57, "comp": 48, "comp2": 61, "bass": 39, "extra": 47,
    "comp_pattern": [(i * 0.5, 0.4, [0, 1, 0, 2, 0, 1, 0, 2][i]) for i in range(8)], "comp_velocity": 82,
    "comp_range": (50, 72),
    "comp2_pattern": [(0, 0.4, "all"), (1.5, 0.4, "all"), (3, 0.9, "all")], "comp2_velocity": 70,
    "bass_pattern": [(i * 0.5, 0.4, "R") for i in range(8)], "bass_velocity": 95,
    "extra_pattern": [(0, 0.5, "R"), (2.5, 0.5, "R"), (3, 0.5, "5")], "extra_velocity": 88,
    "steps": 16, "drums": {
        "main": {KICK: "x..x..x.x..x..x.", SNARE: "....x.......x...", TOM_MID: "..........x.x.xx", HAT: "x.x.x.x.x.x.x.x."},
        "fill": {KICK: "x..x..x.x.......", SNARE: "....x...xxxx....", TOM_HIGH: "........x.x.....", TOM_MID: "..........x.xx..", TOM_LOW: "............xxxx"},
        "intro": {TOM_LOW: "x..x..x.x..x..x.", TOM_MID: "..........x.x.xx"},
    }, "drum_velocity": 100, "volumes": {"comp": 56, "comp2": 48, "bass": 70, "extra": 60, "drums": 72, "lead": 92,
                                "lead2": 90, "harmony": 66},
    "intro": ["Dm", "Dm", "Bb", "A"],
    "sections": {
        "A": (["Dm", "Dm", "Bb", "C", "Dm", "Dm", "Gm", "A"], [
            "D5/1.5 A4/.5 D5/1 F5/1",
            "E5/1.5 D5/.5 A4/2",
            "Bb4/1 D5/1 F5/1.5 E5/.5",
            "E5/1 G5/1 C5/2",
            "D5/1.5 A4/.5 D5/1 A5/1",
            "G5/1.5 F5/.5 E5/1 D5/1",
            "Bb5/1.5 A5/.5 G5/1 D5/1",
            "C#5/2 E5/2",
        ]),
        "B": (["Gm", "Bb", "F", "C", "Gm", "Bb", "A", "A7"], [
            "G5/2 Bb5/1 A5/1",
            "F5/2 D5/2",
            "A5/1.5 G5/.5 F5/1 C5/1",
            "E5/2 G5/2",
            "Bb5/1 A5/1 G5/1 D5/1",
            "F5/1 G5/1 Bb5/1 D6/1",
            "C#6/1.5 A5/.5 E5/1 C#5/1",
            "A5/2 G5/1 E5/1",
        ]),
    },
    "form": ["intro", "A", "A2", "B", "B2", "A", "B", "A2", "outro"],
    "outro": ["Gm", "Bb", "A", "A7"], "final": "Dm", "final_note": "D6", "final_bars": 2,
}

LASTDAY = {
    "title": "Lastday", "bpm": 66, "seed": 81, "articulation": 0.98,
    "lead": 68, "lead2": 42, "lead2_transpose": -12, "harmony": 48, "comp": 0, "pad": 49, "bass": 32,
    "comp_pattern": [(i * 0.5, 1.4 if i % 4 == 0 else 0.9, [0, 1, 2, 3, 4, 3, 2, 1][i]) for i in range(8)],
    "comp_velocity": 56, "comp_range": (48, 67),
    "bass_pattern": [(0, 1.9, "R"), (2, 1.9, "5")], "bass_velocity": 78,
    "pad_velocity": 38, "melody_velocity": 88,
    "intro": ["Cm", "Ab", "Eb", "G"],
    "sections": {
        "A": (["Cm", "Ab", "Eb", "Bb", "Fm", "Cm", "Ddim", "G"], [
            "G4/1 C5/1 Eb5/1.5 D5/.5",
            "C5/1 Eb5/1 Ab4/2",
            "G4/1.5 Bb4/.5 Eb5/1 G5/1",
            "F5/2 D5/2",
            "C5/1 F5/1 Ab5/1.5 G5/.5",
            "G5/1 Eb5/1 C5/2",
            "D5/1 F5/1 Ab5/1 F5/1",
            "D5/2 B4/2",
        ]),
        "B": (["Ab", "Bb", "Gm", "Cm", "Fm", "Bb", "Ebmaj7", "G7"], [
            "C5/1.5 Eb5/.5 Ab5/2",
            "Bb5/1.5 Ab5/.5 F5/2",
            "G5/1 Bb5/1 D6/2",
            "C6/2 G5/2",
            "Ab5/1 G5/1 F5/1 C5/1",
            "D5/1 F5/1 Bb5/2",
            "G5/1.5 F5/.5 Eb5/1 D5/1",
            "D5/2 B4/1 G4/1",
        ]),
    },
    "form": ["intro", "A", "A2", "B", "A", "outro"],
    "outro": ["Fm", "Ab", "Fm", "G7"], "final": "Cm", "final_note": "C5", "final_bars": 2,
}

SCOPA = {
    "title": "Scopa", "bpm": 168, "meter": (6, 8), "seed": 91,
    "lead": 21, "lead2": 40, "harmony": 21, "comp": 25, "bass": 58,
    "comp_pattern": [(0.5, 0.4, "all"), (1, 0.4, "all"), (2, 0.4, "all"), (2.5, 0.4, "all")],
    "comp_velocity": 66, "strum": 8,
    "bass_pattern": [(0, 0.9, "R"), (1.5, 0.9, "5")], "bass_velocity": 92, "bass_octave": 2,
    "steps": 6, "drums": {
        "main": {TAMBOURINE: "xooxoo", KICK: "o..o.."},
        "fill": {TAMBOURINE: "xxxxxx", KICK: "o..o.."},
        "intro": {TAMBOURINE: "xooxoo"},
    }, "drum_velocity": 90,
    "intro": ["Am", "E", "Am", "E"],
    "sections": {
        "A": (["Am", "E", "Am", "E", "Am", "Dm", "E", "Am"], [
            "A4/.5 B4/.5 C5/.5 E5/.5 D5/.5 C5/.5",
            "B4/.5 C5/.5 D5/.5 G#4/1 E4/.5",
            "A4/.5 C5/.5 E5/.5 A5/.5 G5/.5 E5/.5",
            "F5/.5 E5/.5 D5/.5 B4/1.5",
            "C5/.5 E5/.5 A5/.5 C6/.5 B5/.5 A5/.5",
            "F5/.5 A5/.5 D6/.5 C6/.5 A5/.5 F5/.5",
            "E5/.5 D5/.5 B4/.5 G#4/.5 B4/.5 D5/.5",
            "C5/.5 B4/.5 A4/.5 A4/1.5",
        ]),
        "B": (["C", "G", "C", "E", "Am", "Dm", "E", "Am"], [
            "E5/1 G5/.5 C6/1 G5/.5",
            "D5/1 G5/.5 B5/1 G5/.5",
            "E5/.5 F5/.5 G5/.5 C6/.5 B5/.5 A5/.5",
            "G#5/1 E5/.5 B4/1.5",
            "A4/.5 C5/.5 E5/.5 A5/.5 E5/.5 C5/.5",
            "D5/.5 F5/.5 A5/.5 D6/1 A5/.5",
            "B5/.5 G#5/.5 E5/.5 D5/.5 B4/.5 G#4/.5",
            "A4/1.5 -/1.5",
        ]),
    },
    "form": ["intro", "A", "A2", "B", "B2", "A", "A2", "B", "B2", "A", "A2", "outro"],
    "outro": ["Dm", "Am", "E", "E"], "final": "Am", "final_note": "A5", "final_bars": 1,
}

SEVILANA = {
    "title": "Sevilana", "bpm": 168, "meter": (3, 4), "seed": 101,
    "lead": 24, "lead2": 40, "harmony": 24, "comp": 24, "bass": 32,
    "comp_pattern": [(0, 0.9, "all"), (1, 0.45, "all"), (1.5, 0.45, "all"), (2, 0.9, "all")],
    "comp_velocity": 70, "strum": 14, "comp_range": (50, 70),
    "bass_pattern": [(0, 1.9, "R"), (2, 0.9, "5")], "bass_velocity": 86,
    "melody_velocity": 100, "volumes": {"lead": 120},
    "steps": 6, "drums": {
        "main": {CASTANETS: "x.xxx.", CLAP: "o.x.x."},
        "fill": {CASTANETS: "xxxxxx", CLAP: "x.x.x."},
        "intro": {CASTANETS: "x.xxx."},
    }, "drum_velocity": 92,
    "intro": ["Am", "G", "F", "E"],
    "sections": {
        "A": (["Am", "G", "F", "E", "Am", "G", "F", "E"], [
            "E5/1 F5/.5 E5/.5 D5/.5 C5/.5",
            "D5/1 B4/1 G4/1",
            "C5/.5 D5/.5 C5/.5 A4/.5 F4/1",
            "E4/2 G#4/1",
            "A4/.5 B4/.5 C5/.5 E5/.5 A5/1",
            "G5/.5 F5/.5 D5/.5 B4/.5 G4/1",
            "A5/.5 G5/.5 F5/.5 E5/.5 C5/1",
            "E5/1.5 D5/.5 B4/.5 G#4/.5",
        ]),
        "B": (["Dm", "Am", "E", "Am", "Dm", "Am", "F", "E"], [
            "F5/1 A5/1 D6/1",
            "C6/.5 B5/.5 A5/1 E5/1",
            "G#5/.5 A5/.5 B5/1 G#5/1",
            "A5/2 E5/1",
            "D5/.5 E5/.5 F5/.5 A5/.5 D6/1",
            "C6/1 A5/1 E5/1",
            "F5/.5 G5/.5 A5/.5 G5/.5 F5/1",
            "E5/3",
        ]),
    },
    "form": ["intro", "A", "A2", "B", "B2", "A", "A2", "B", "B2", "A", "A2", "outro"],
    "outro": ["Dm", "F", "E", "E"], "final": "E", "final_note": "E5", "final_bars": 2,
}

SONGS = [CHILL1, CHAMPION, CHAMPS, EASYCITY, INDS_01, HUMANOID, IMPACT, LASTDAY, SCOPA, SEVILANA]
