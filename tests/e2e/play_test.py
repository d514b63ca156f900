#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays Pairly end to end under Xvfb with real X input only.

Starts its own X server, runs the real program, clicks and types with xdotool,
and reads the screen back with ImageMagick. The geometry it expects is computed
from the layout rules, so a misplaced grid or label fails here.
"""
import os
import subprocess
import sys
import tempfile
import time
import unittest

PROGRAM = None
WIDTH, HEIGHT = 1280, 1024
BLUE = (0, 0, 255)
ORANGE = (255, 128, 0)  # the labels' hover colour, and the keyboard's
DARK_GREEN = (0, 64, 0)
START_TITLE = "Quernavellistro  -  Pairly"


def round_half_even(v):
    return int(round(v))  # Python rounds ties to even


class Screen:
    def __init__(self, raw, width, height):
        self.raw, self.width, self.height = raw, width, height

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.raw[i:i + 3])

    def shows(self, colour, box=None):
        """Whether a pixel of the screen, or of box (left, top, right, bottom), is exactly colour."""
        left, top, right, bottom = box or (0, 0, self.width, self.height)
        wanted = bytes(colour)
        for y in range(int(top), int(bottom)):
            row = self.raw[(y * self.width + int(left)) * 3:(y * self.width + int(right)) * 3]
            i = row.find(wanted)
            while i >= 0:
                if i % 3 == 0:
                    return True
                i = row.find(wanted, i + 1)
        return False


class Session:
    def __init__(self, shots_dir):
        self.shots_dir = shots_dir
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{WIDTH}x{HEIGHT}x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        with os.fdopen(read_fd) as f:
            self.display = ":" + f.readline().strip()
        self.env = dict(os.environ, DISPLAY=self.display, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.app = None
        self.shot_count = 0

    def start(self, program, cwd=None):
        self.app = subprocess.Popen([program], env=self.env, cwd=cwd,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

    def close(self):
        if self.app and self.app.poll() is None:
            self.app.kill()
            self.app.wait()
        self.xvfb.terminate()
        self.xvfb.wait()

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True)

    def click(self, x, y):
        self.xdotool("mousemove", str(int(x)), str(int(y)))
        time.sleep(0.05)
        self.xdotool("click", "1")

    def key(self, *keys):
        self.xdotool("key", "--delay", "80", *keys)

    def screen(self, name=None):
        png = os.path.join(self.shots_dir, f"{self.shot_count:02d}-{name or 'shot'}.png")
        self.shot_count += 1
        subprocess.run(["import", "-display", self.display, "-window", "root", png], env=self.env, check=True)
        raw = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
        return Screen(raw, WIDTH, HEIGHT)

    def wait_for(self, predicate, what, timeout=10.0):
        deadline = time.monotonic() + timeout
        while True:
            s = self.screen(what)
            if predicate(s):
                return s
            if time.monotonic() > deadline:
                raise AssertionError(f"timed out waiting for {what}")
            time.sleep(0.1)


def start_window_shown(s):
    return s.pixel(3, HEIGHT - 3) == DARK_GREEN


def game_window_shown(s):
    return s.pixel(3, HEIGHT - 3) == BLUE


def label_centre(left, top, width_twips, height_twips):
    return left + width_twips / 15 / 2, top + height_twips / 15 / 2


class Grid:
    def __init__(self, menubar, ncarte, righe):
        self.top0 = menubar
        altezza = HEIGHT - menubar
        self.altezza = altezza
        self.cols = ncarte // righe
        self.rows = righe
        self.lato = round_half_even(0.8 * altezza / righe)
        self.sinistra = round_half_even((WIDTH - self.cols * self.lato) / 2)
        self.sopra = round_half_even(0.005 * altezza)

    def centre(self, pos):
        r, k = divmod(pos, self.cols)
        return (self.sinistra + k * self.lato + self.lato // 2,
                self.top0 + self.sopra + r * self.lato + self.lato // 2)

    def probe(self, pos):
        # A point inside the cell away from its centre, where pictures vary.
        x, y = self.centre(pos)
        return x - self.lato // 4, y - self.lato // 4

    def cells(self):
        return range(self.cols * self.rows)


def menubar_height(s):
    # The game window's surface is blue; above it lies the menu bar.
    for y in range(0, 80):
        if s.pixel(WIDTH - 3, y) == BLUE:
            return y
    raise AssertionError("no blue surface found under a menu bar")


class PlayTest(unittest.TestCase):
    def setUp(self):
        self.shots = tempfile.mkdtemp(prefix="pairly-e2e-", dir=os.environ.get("PAIRLY_SHOTS_DIR"))
        self.s = Session(self.shots)

    def tearDown(self):
        self.s.close()

    def covered_grid(self, s, grid):
        colours = {s.pixel(*grid.probe(p)) for p in grid.cells()}
        return len(colours) == 1 and BLUE not in colours

    def test_a_whole_session_from_play_to_quit(self):
        s = self.s
        s.start(PROGRAM, cwd=tempfile.gettempdir())
        s.wait_for(start_window_shown, "start-window", timeout=20)
        title = s.xdotool("search", "--name", f"^{START_TITLE}$")
        self.assertTrue(title.stdout.strip(), "start window title")

        row_top = HEIGHT * (106.5 / 120)
        s.click(*label_centre(WIDTH * 50 / 120, row_top, 2292, 492))  # "Play"
        shot = s.wait_for(game_window_shown, "game-window")
        grid = Grid(menubar_height(shot), 20, 4)
        shot = s.wait_for(lambda sc: self.covered_grid(sc, grid), "table-20")
        # The grid is exactly where the layout puts it: blue just outside it.
        self.assertEqual(shot.pixel(grid.sinistra - 2, grid.top0 + grid.sopra + 5), BLUE)
        self.assertNotEqual(shot.pixel(grid.sinistra + 2, grid.top0 + grid.sopra + 5), BLUE)
        self.assertEqual(shot.pixel(grid.sinistra + grid.cols * grid.lato + 1, grid.top0 + grid.sopra + 5), BLUE)
        back = shot.pixel(*grid.probe(0))
        self.assertFalse(shot.shows(ORANGE), "orange on a table no key has touched")

        # Turn two cards: both faces show, then either both stay (a pair) or both are covered.
        s.click(*grid.centre(0))
        time.sleep(0.3)
        s.click(*grid.centre(1))
        shot = s.wait_for(lambda sc: sc.pixel(*grid.probe(0)) != back and sc.pixel(*grid.probe(1)) != back,
                          "two-faces", timeout=3)
        time.sleep(2.2)
        shot = s.screen("after-move")
        states = {shot.pixel(*grid.probe(0)) == back, shot.pixel(*grid.probe(1)) == back}
        self.assertEqual(len(states), 1, "both cards covered again, or both left up")

        # Alt+O opens "&Options"; the third item is "80 cards".
        s.key("alt+o")
        time.sleep(0.3)
        s.key("Down", "Down", "Return")
        grid80 = Grid(grid.top0, 80, 8)
        shot = s.wait_for(lambda sc: self.covered_grid(sc, grid80), "table-80")
        # The menu's keys and the clicks before them showed no card cursor.
        self.assertFalse(shot.shows(ORANGE), "a card cursor without arrow keys")

        # "Exit" leaves the table for the start window.
        exit_left, exit_top = WIDTH * 105 / 120, grid.top0 + grid.altezza * 103 / 120
        s.click(*label_centre(exit_left, exit_top, 1116, 552))
        s.wait_for(start_window_shown, "start-again")

        # "Play" again deals a new game of the size last chosen.
        s.click(*label_centre(WIDTH * 50 / 120, row_top, 2292, 492))
        s.wait_for(game_window_shown, "game-again")
        s.wait_for(lambda sc: self.covered_grid(sc, grid80), "table-80-again")

        s.click(*label_centre(exit_left, exit_top, 1116, 552))
        s.wait_for(start_window_shown, "start-before-quit")
        s.click(*label_centre(WIDTH * 105 / 120, row_top, 1116, 552))  # "Quit"
        clicked = time.monotonic()
        status = s.app.wait(timeout=5)
        self.assertLess(time.monotonic() - clicked, 1.0)
        self.assertEqual(status, 0, s.app.stderr.read().decode(errors="replace"))


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()
