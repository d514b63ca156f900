#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays Pairly through a real sound server and listens to what it plays.

Each class starts its own server (a null sink, see sound_server.py), and each
case its own X server and the real program, driven by xdotool only, while the
null sink's monitor is recorded. GameSoundTest uses the program folder as
built, songs and all; SequenceSoundTest gives a copy of it ten short songs, so
that songs end within seconds, and kills and restarts the sound server under
the running game.

The server is named after the program: `pipewire` plays through SDL's
pipewire driver into a private PipeWire; `pulse` through SDL's pulseaudio
driver into a private PulseAudio; `pipewire-pulse` through SDL's pulseaudio
driver into PipeWire's pulse server, as most desktops play now. Exits with 77
(skipped) when the server's programs are not installed (PulseAudio is not
beside PipeWire's pulse server, whose place it would take).
"""
import os
import shutil
import struct
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from hostile_files_test import copy_program  # noqa: E402
from play_test import PLAY, Session, start_window_shown  # noqa: E402
from sound_server import PIPEWIRE_TOOLS, RATE, PipeWireServer, Recorder, SoundServer, missing_tools  # noqa: E402

PROGRAM = None
SERVER = None
SKIPPED = 77
# Music is heard well above this; the rustle peaks far above it too.
LOUD = 1000
SONGS = ["Chill1", "Champion", "Champs", "Easycity", "inds_01", "Humanoid", "Impact", "Lastday", "Scopa", "Sevilana"]
SHORT_SONG = 0.6
# The last song: a loud first note, then silence up to a soft last note.
LONG_SONG = 30.0


def song(key, last_note=None):
    """A Standard MIDI File at 120 bpm: one loud piano note of SHORT_SONG
    seconds, and a soft one `last_note` seconds in, if given."""
    def delta(ticks):
        out = [ticks & 0x7F]
        while ticks > 0x7F:
            ticks >>= 7
            out.insert(0, 0x80 | (ticks & 0x7F))
        return bytes(out)
    ticks = int(SHORT_SONG * 960)
    track = bytes([0, 0xC0, 0, 0, 0x90, key, 127]) + delta(ticks) + bytes([0x80, key, 0])
    if last_note:
        track += delta(int(last_note * 960) - ticks) + bytes([0x90, key, 1]) + delta(96) + bytes([0x80, key, 0])
    track += bytes([0, 0xFF, 0x2F, 0])
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480) + b"MTrk" + struct.pack(">I", len(track)) + track


def server_kind():
    """What makes the server the tests play into, SDL's driver for it, and
    the programs it needs."""
    if SERVER == "pipewire":
        return PipeWireServer, "pipewire", PIPEWIRE_TOOLS
    if SERVER == "pipewire-pulse":
        return lambda: PipeWireServer(pulse=True), "pulseaudio", PIPEWIRE_TOOLS
    return SoundServer, "pulseaudio", ("pulseaudio", "parec", "pactl")


class SoundCase(unittest.TestCase):
    program = None

    @classmethod
    def setUpClass(cls):
        make, cls.driver, _ = server_kind()
        cls.server = make()

    @classmethod
    def tearDownClass(cls):
        cls.server.close()

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="pairly-sound-", dir=os.environ.get("PAIRLY_SHOTS_DIR"))
        if not self.server.process:
            self.server.start()
        self.recorder = None
        self.session = Session(self.work)
        self.session.env.update(self.server.client_env, SDL_AUDIODRIVER=self.driver,
                                QT_LOGGING_RULES="pairly.sound=true", QT_MESSAGE_PATTERN="%{time process} %{message}")

    def tearDown(self):
        app = self.session.app
        if app and app.poll() is None:
            app.kill()
            app.wait()
            # A case that failed left the program running: its sound log shows why.
            print(app.stderr.read().decode(errors="replace")[-4000:], file=sys.stderr)
        self.session.close()
        if self.recorder:
            self.recorder.close()
        shutil.rmtree(self.work, ignore_errors=True)

    def start_game(self):
        s = self.session
        s.start(self.program or PROGRAM, cwd=self.work)
        s.wait_for(start_window_shown, "start", timeout=20)

    def play(self):
        """Clicks "Play"; returns when, and the table's grid once dealt."""
        clicked = self.click(*PLAY)
        return clicked, self.session.dealt_grid()

    def click(self, x, y):
        """Clicks at (x, y); returns the moment of the click."""
        self.session.xdotool("mousemove", str(int(x)), str(int(y)))
        clicked = time.monotonic()
        self.session.xdotool("click", "1")
        return clicked

    def music_menu(self, downs):
        """Chooses an item of "&Music": 0 "no music", 1 "sequential mode"."""
        self.session.key("alt+m")
        time.sleep(0.3)
        self.session.key(*(["Down"] * downs), "Return")
        return time.monotonic()

    def silent_since(self, moment, seconds):
        """Whether the last `seconds` recorded after `moment` are all zero."""
        end = self.recorder.frames()
        start = end - int(seconds * RATE)
        return start >= self.recorder.frame_at(moment) and self.recorder.first_sound(start, 0, end) is None

    def heard_after(self, moment, within=0.5, level=LOUD):
        found = self.recorder.wait_for_sound(moment, within, level)
        return None if found is None else found[1] - moment


class GameSoundTest(SoundCase):
    def test_music_silence_and_rustle(self):
        self.start_game()
        # Nothing sounds at the start window: within a few seconds the game
        # stops playing (silence) into the server at all.
        self.session.wait_until(lambda: self.server.playing_streams() == 0, "no stream at the start window", 10)
        self.recorder = Recorder(self.server)

        played, grid = self.play()
        music = self.heard_after(played, within=1.0)
        self.assertIsNotNone(music, "music within 1 s of Play")
        print(f"music heard {music * 1000:.0f} ms after Play", file=sys.stderr)

        # "no music": once what was on its way to the speaker has played and
        # faded, digital silence.
        chosen = self.music_menu(0)
        self.session.wait_until(lambda: self.silent_since(chosen, 0.05), "the music stops", 1.0)
        silent_from = self.recorder.frames()
        self.recorder.wait_frames(silent_from + RATE)
        self.assertIsNone(self.recorder.first_sound(silent_from, 0, silent_from + RATE), "digital silence")

        # A card turn rustles; a click while a missed pair is still showing
        # is refused, and silent.
        cards = iter(range(20))
        while True:
            first, second, third = next(cards), next(cards), next(cards)
            self.assertIsNotNone(self.heard_after(self.click(*grid.centre(first))), "rustle on the first card")
            time.sleep(0.35)
            second_at = self.click(*grid.centre(second))
            self.assertIsNotNone(self.heard_after(second_at), "rustle on the second card")
            shot = self.session.screen()
            if shot.pixel(*grid.probe(first)) != shot.pixel(*grid.probe(second)):
                break
        time.sleep(max(0.0, second_at + 0.5 - time.monotonic()))
        refused = self.click(*grid.centre(third))
        self.assertLess(refused - second_at, 1.1, "the refused click came during the pause")
        self.assertIsNone(self.heard_after(refused, within=0.4, level=0), "a refused click is silent")

        # Quiet for a while, the game closes its output; the next turn opens
        # it again and still rustles at once.
        self.session.wait_until(lambda: self.server.playing_streams() == 0, "output closed when quiet", 10)
        time.sleep(1.5)
        rustle = self.heard_after(self.click(*grid.centre(third)))
        self.assertIsNotNone(rustle, "rustle after a long silence")
        print(f"rustle after silence heard {rustle * 1000:.0f} ms after the click", file=sys.stderr)

        # The server goes away while nothing sounds: a turn plays on in
        # silence. Back after the game has closed that silent output too, the
        # server gets the very next turn's rustle.
        self.recorder.close()
        self.server.kill()
        time.sleep(1.0)
        self.click(*grid.centre(next(cards)))
        time.sleep(3.5)
        if isinstance(self.server, PipeWireServer):
            # Before its session manager, PipeWire links no stream, and SDL's
            # pulseaudio driver waits for the link inside the opening: a turn
            # goes on at once all the same, in silence.
            self.without_session_manager(grid, next(cards))
            self.server.start_session_manager()
            self.recorder = Recorder(self.server)
            time.sleep(2.5)
        else:
            self.server.start()
            self.recorder = Recorder(self.server)
            time.sleep(0.5)
        rustle = self.heard_after(self.click(*grid.centre(next(cards))))
        self.assertIsNotNone(rustle, "rustle after a restart")
        print(f"rustle after a restart while quiet heard {rustle * 1000:.0f} ms after the click", file=sys.stderr)
        if self.driver == "pulseaudio" and isinstance(self.server, PipeWireServer):
            # The game ends at once while its driver waits (once the pause
            # after that pair is over, so that the next turn counts).
            time.sleep(1.5)
            self.recorder.close()
            self.recorder = None
            self.server.kill()
            self.without_session_manager(grid, next(cards))
        self.session.exit_and_quit(grid)

    def without_session_manager(self, grid, card):
        """Brings the server back without its session manager and turns
        `card`; the turn must show at once."""
        self.server.start(session_manager=False)
        time.sleep(0.5)
        back = self.session.screen()
        self.click(*grid.centre(card))
        self.session.wait_for(lambda sc: sc.pixel(*grid.probe(card)) != back.pixel(*grid.probe(card)),
                              "a turn before the session manager", timeout=3)
        if self.driver == "pulseaudio":
            self.session.wait_until(lambda: self.server.playing_streams() == 1,
                                    "the game's stream waiting for the session manager", 5)


class SequenceSoundTest(SoundCase):
    def setUp(self):
        super().setUp()
        folder = tempfile.mkdtemp(prefix="songs-", dir=self.work)
        self.program = copy_program(folder)
        for number, name in enumerate(SONGS):
            with open(os.path.join(folder, "music", name + ".mid"), "wb") as f:
                f.write(song(60 + 2 * number, last_note=LONG_SONG if name == SONGS[-1] else None))

    def onsets(self, start, count):
        """Frames where a song starts: in windows of 5 ms, a loud one three
        times as loud as any from 50 to 10 ms before it (a fading note, or a
        short dropout under load, is not; an attack may straddle two windows).
        No song starts within the first 90 % of the one before, so a longer
        dropout there, on a machine under load, is not one either."""
        window = RATE // 200
        found, before, frame = [], [0] * 10, start
        while len(found) < count:
            self.recorder.wait_frames(frame + window)
            peak = max(self.recorder.level(f) for f in range(frame, frame + window, 4))
            if peak > 4 * LOUD and peak > 3 * max(before[:-2]) and (not found or frame - found[-1] > 0.9 * SHORT_SONG * RATE):
                found.append(frame)
            before = before[1:] + [peak]
            frame += window
        return found

    def test_songs_follow_and_survive_a_server_restart(self):
        self.start_game()
        self.recorder = Recorder(self.server)
        played, grid = self.play()
        first = self.recorder.wait_for_sound(played, 1.0, LOUD)
        self.assertIsNotNone(first, "music within 1 s of Play")
        starts = self.onsets(first[0] - RATE // 100, 4)
        gaps = [(b - a) / RATE - SHORT_SONG for a, b in zip(starts, starts[1:])]
        print("gaps between songs: " + ", ".join(f"{g * 1000:.0f} ms" for g in gaps), file=sys.stderr)
        # The songs' timing is the synthesizer's, whatever the driver. SDL's
        # pipewire driver buffers a single period, so on a loaded machine its
        # recording drops out now and then: the timing is checked through
        # the pulse server, which buffers more.
        for gap in gaps if self.driver == "pulseaudio" else []:
            self.assertGreater(gap, 0)
            self.assertLessEqual(gap, 0.5)

        # The last song, chosen, is silent after its first note. The server
        # goes there; the game plays on, in silence.
        chosen = self.music_menu(1 + len(SONGS))
        self.assertIsNotNone(self.heard_after(chosen, within=1.5), "the chosen song")
        time.sleep(SHORT_SONG + 1.0)
        self.recorder.close()
        self.recorder = None
        self.server.kill()
        time.sleep(0.5)
        back = self.session.screen()
        self.click(*grid.centre(0))
        self.session.wait_for(lambda sc: sc.pixel(*grid.probe(0)) != back.pixel(*grid.probe(0)), "turned", timeout=3)

        # Back, the server hears the song from its first note again.
        up = self.server.start()
        self.recorder = Recorder(self.server)
        music = self.recorder.wait_for_sound(up, 3.0, LOUD)
        self.assertIsNotNone(music, "the song from its beginning within 3 s of the server")
        print(f"music back {(music[1] - up) * 1000:.0f} ms after the server", file=sys.stderr)
        # And the rustle with it.
        chosen = self.music_menu(0)
        self.session.wait_until(lambda: self.silent_since(chosen, 0.05), "the music stops", 1.0)
        rustle = self.heard_after(self.click(*grid.centre(1)))
        self.assertIsNotNone(rustle, "rustle after the restart")
        print(f"rustle after the restart heard {rustle * 1000:.0f} ms after the click", file=sys.stderr)
        self.session.exit_and_quit(grid)


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    SERVER = sys.argv.pop(1)
    import hostile_files_test
    hostile_files_test.PROGRAM = PROGRAM
    missing = missing_tools(server_kind()[2])
    if missing:
        print("skipped: " + ", ".join(missing) + " not installed; scripts/install-deps installs them.",
              file=sys.stderr)
        sys.exit(SKIPPED)
    unittest.main()
