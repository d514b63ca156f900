#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the real program beside missing, damaged and hostile files.

Each case copies the program's folder, spoils one thing in it (or in the
sound set-up), starts the program under Xvfb, plays a few moves with real X
input, leaves the table and quits. The program must end with status 0, show
nothing but its own two windows, and say what went wrong only in its
diagnostics, which the case switches on.
"""
import os
import random
import shutil
import struct
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from play_test import PLAY, Session, start_window_shown  # noqa: E402

PROGRAM = None
PICTURE = "lumora pairly.jpg"
SOUND_MODULE = "libpairly_audio.so"
FIRST_SONG = os.path.join("music", "Chill1.mid")
OWN_TITLES = {"Quernavellistro  -  Pairly", "Quernavellistro  -  Pairly "}


def huge_jpeg(path, side=20000):
    """A valid baseline JPEG of side x side grey pixels in about 1.5 MB.

    ImageMagick refuses to make one this large under Debian's policy, so it is
    written by hand: one grey component, and Huffman tables holding a single
    one-bit code each, so that every 8x8 block is two zero bits (DC unchanged,
    end of block).
    """
    def segment(marker, payload):
        return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload

    def one_code_table(table_class, symbol):
        return bytes([table_class << 4]) + bytes([1] + [0] * 15) + bytes([symbol])

    blocks = ((side + 7) // 8) ** 2
    with open(path, "wb") as f:
        f.write(b"\xff\xd8")
        f.write(segment(0xDB, bytes([0]) + bytes([1] * 64)))
        f.write(segment(0xC0, struct.pack(">BHHB", 8, side, side, 1) + bytes([1, 0x11, 0])))
        f.write(segment(0xC4, one_code_table(0, 0x00)))
        f.write(segment(0xC4, one_code_table(1, 0x00)))
        f.write(segment(0xDA, bytes([1, 1, 0x00, 0, 63, 0])))
        f.write(bytes((blocks * 2 + 7) // 8))
        f.write(b"\xff\xd9")


def remove(path):
    if os.path.isdir(path):
        shutil.rmtree(path)
    else:
        os.remove(path)


def truncate(path):
    with open(path, "r+b") as f:
        f.truncate(os.path.getsize(path) // 3)


def random_bytes(path):
    size = os.path.getsize(path)
    with open(path, "wb") as f:
        f.write(random.Random(path).randbytes(size))


# name, what happens to the folder, sound set-up, what the diagnostics must
# say (None: the damaged file still plays as far as it goes).
CASES = [
    ("music folder missing", lambda d: remove(os.path.join(d, "music")), {},
     r"no such sound file: .*Chill1\.mid"),
    ("first song missing", lambda d: remove(os.path.join(d, FIRST_SONG)), {},
     r"no such sound file: .*Chill1\.mid"),
    ("first song truncated", lambda d: truncate(os.path.join(d, FIRST_SONG)), {}, None),
    ("first song random bytes", lambda d: random_bytes(os.path.join(d, FIRST_SONG)), {},
     r"not a playable MIDI song: .*Chill1\.mid"),
    ("carta.wav missing", lambda d: remove(os.path.join(d, "carta.wav")), {},
     r"no such sound file: .*carta\.wav"),
    ("carta.wav truncated", lambda d: truncate(os.path.join(d, "carta.wav")), {}, None),
    ("carta.wav random bytes", lambda d: random_bytes(os.path.join(d, "carta.wav")), {},
     r"cannot load sound .*carta\.wav"),
    ("background picture missing", lambda d: remove(os.path.join(d, PICTURE)), {},
     r"picture file cannot be opened: .*lumora pairly\.jpg"),
    ("background picture truncated", lambda d: truncate(os.path.join(d, PICTURE)), {},
     r"picture file rejected: .*lumora pairly\.jpg"),
    ("background picture 20000 x 20000", lambda d: huge_jpeg(os.path.join(d, PICTURE)), {},
     r"picture dimensions too large"),
    ("no audio device", lambda d: None, {"SDL_AUDIODRIVER": "nonexistent"},
     r"(?s)SDL audio init failed.*audio on driver \"dummy\""),
    ("no SoundFont", lambda d: None, {"SDL_SOUNDFONTS": "/nonexistent/none.sf2"},
     r"cannot load SoundFont .*none\.sf2.*the music is silent"),
    ("sound module missing", lambda d: remove(os.path.join(d, SOUND_MODULE)), {},
     r"no sound output: .*libpairly_audio\.so"),
]


def copy_program(folder):
    source = os.path.dirname(PROGRAM)
    program = os.path.join(folder, os.path.basename(PROGRAM))
    try:
        os.link(PROGRAM, program)
    except OSError:
        shutil.copy2(PROGRAM, program)
    shutil.copytree(os.path.join(source, "music"), os.path.join(folder, "music"))
    for name in ("carta.wav", PICTURE, SOUND_MODULE):
        shutil.copy2(os.path.join(source, name), os.path.join(folder, name))
    return program


class HostileFilesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="pairly-hostile-", dir=os.environ.get("PAIRLY_SHOTS_DIR"))
        cls.session = Session(cls.work)

    @classmethod
    def tearDownClass(cls):
        cls.session.close()
        shutil.rmtree(cls.work, ignore_errors=True)

    def visible_titles(self):
        s = self.session
        ids = s.xdotool("search", "--onlyvisible", "--name", "").stdout.split()
        return {s.xdotool("getwindowname", i).stdout.rstrip("\n") for i in ids} - {""}

    def play_a_session(self, program, env):
        s = self.session
        base_env = s.env
        s.env = dict(base_env, **env)
        try:
            s.start(program, cwd=self.work)
        finally:
            s.env = base_env
        s.wait_for(start_window_shown, "start", timeout=20)
        s.click(*PLAY)
        grid = s.dealt_grid()
        back = s.screen().pixel(*grid.probe(0))

        # Two moves: a pair is left up, a miss is covered again after its pause.
        for first, second in ((0, 1), (2, 3)):
            s.click(*grid.centre(first))
            s.click(*grid.centre(second))
            shot = s.wait_for(lambda sc: back not in (sc.pixel(*grid.probe(first)), sc.pixel(*grid.probe(second))),
                              "faces", timeout=5)
            if shot.pixel(*grid.probe(first)) != shot.pixel(*grid.probe(second)):
                s.wait_for(lambda sc: sc.pixel(*grid.probe(first)) == sc.pixel(*grid.probe(second)) == back,
                           "covered", timeout=5)
        self.assertEqual(self.visible_titles() - OWN_TITLES, set())
        return s.exit_and_quit(grid)

    def test_every_hostile_file_set_up(self):
        for name, spoil, env, diagnosis in CASES:
            with self.subTest(case=name):
                folder = tempfile.mkdtemp(prefix="case-", dir=self.work)
                program = copy_program(folder)
                spoil(folder)
                started = time.monotonic()
                try:
                    log = self.play_a_session(program, dict(env, QT_LOGGING_RULES="pairly.*=true"))
                    if diagnosis:
                        self.assertRegex(log, diagnosis)
                finally:
                    if self.session.app and self.session.app.poll() is None:
                        self.session.app.kill()
                        self.session.app.wait()
                    self.session.app = None
                    print(f"{name}: {time.monotonic() - started:.1f} s", file=sys.stderr)


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()
