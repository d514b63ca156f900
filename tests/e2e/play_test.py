#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays Pairly end to end under Xvfb with real X input only.

Starts its own X server (and, for one case, a window manager that frames
windows), runs the real program, clicks and types with xdotool, and reads the
screen back with ImageMagick. The geometry it expects is computed from the
layout rules and the windows' real inner areas as the X server reports them,
so a misplaced grid or label, or one placed for a size the window does not
have, fails here.
"""
import os
import random
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
GAME_TITLE = "Quernavellistro  -  Pairly "


# "Info", "Play", "Quit": left and top as fractions of the inner area, size in twips.
# Around each label's box, LABEL_MARGIN pixels show nothing of its caption.
START_LABELS = [(15 / 120, 106.5 / 120, 1116, 552), (50 / 120, 106.5 / 120, 2292, 492),
                (105 / 120, 106.5 / 120, 1116, 552)]
LABEL_MARGIN = 12


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
    def __init__(self, shots_dir, width=WIDTH, height=HEIGHT, window_manager=None):
        self.shots_dir = shots_dir
        self.width, self.height = width, height
        # A display number of its own, drawn from a wide range: a number that
        # another test's server has just given up can still have its socket
        # removed under a new server by the old one's shutdown.
        for attempt in range(5):
            self.display = f":{random.randrange(200, 30000)}"
            self.xvfb = subprocess.Popen(
                ["Xvfb", self.display, "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.env = dict(os.environ, DISPLAY=self.display, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy")
            self.env.pop("WAYLAND_DISPLAY", None)
            deadline = time.monotonic() + 10
            while self.xvfb.poll() is None and time.monotonic() < deadline:
                if self.run("xdpyinfo", "-display", self.display).returncode == 0:
                    break
                time.sleep(0.05)
            if self.xvfb.poll() is None and time.monotonic() < deadline:
                break
            self.xvfb.kill()
            self.xvfb.wait()
        else:
            raise AssertionError("no X server could be started")
        self.app = None
        self.wm = None
        self.shot_count = 0
        self.last_shot = None
        if window_manager:
            # A home of its own: nothing shared with the user's or another run's.
            home = tempfile.mkdtemp(prefix="wm-home-", dir=shots_dir)
            for attempt in range(3):  # refused connections, as for the program below
                self.wm = subprocess.Popen(window_manager, env=dict(self.env, HOME=home, XDG_CONFIG_HOME=home,
                                                                    XDG_CACHE_HOME=home, XDG_RUNTIME_DIR=home),
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                self.wait_until(lambda: self.wm.poll() is not None or "_NET_SUPPORTING_WM_CHECK(WINDOW)" in self.run(
                    "xprop", "-root", "_NET_SUPPORTING_WM_CHECK").stdout, "the window manager", timeout=30)
                if self.wm.poll() is None:
                    break
            else:
                raise AssertionError("the window manager does not start")

    def start(self, program, cwd=None):
        # Under heavy load an X server now and then refuses a client's first
        # connection although it answers others: the program is started again.
        for attempt in range(3):
            self.app = subprocess.Popen([program], env=self.env, cwd=cwd,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
            self.wait_until(lambda: self.app.poll() is not None or self.xdotool(
                "search", "--name", f"^{START_TITLE}$").stdout.strip(), "the program's first window", timeout=30)
            if self.app.poll() is None:
                return
            said = self.app.stderr.read().decode(errors="replace")
            if "could not connect to display" not in said:
                raise AssertionError(f"the program ended at start ({self.app.returncode}): {said}")

    def close(self):
        for process in (self.app, self.wm):
            if process and process.poll() is None:
                process.kill()
                process.wait()
        self.xvfb.terminate()
        self.xvfb.wait()

    def run(self, *args):
        return subprocess.run(list(args), env=self.env, capture_output=True, text=True)

    def xdotool(self, *args):
        return self.run("xdotool", *args)

    def wait_until(self, condition, what, timeout=10.0):
        deadline = time.monotonic() + timeout
        while not condition():
            if time.monotonic() > deadline:
                raise AssertionError(f"timed out waiting for {what}")
            time.sleep(0.05)

    def wait_for_window(self, title, colour, labels, timeout=20):
        """Waits until the window of that title is shown, painted in its colour,
        with its labels (fractions of the inner width and height, and sizes in
        twips) where its real inner area puts them; returns the area, the
        labels' boxes and the screen. A window manager may still be framing
        the window when it first appears, so the area is read afresh at each
        look."""
        found = {}

        def ready(shot):
            area = self.inner_area(title)
            if not area:
                return False
            x, y, w, h = area
            if shot.pixel(x + w - 3, y + h - 3) != colour:
                return False
            boxes = [(x + w * fx, y + h * fy, tw, th) for fx, fy, tw, th in labels]
            # Each caption whole within its box: a label placed for another
            # size shows beside it.
            if all(yellow_pixels(shot, *box) > 30 and yellow_pixels(shot, *box, margin=LABEL_MARGIN)
                   == yellow_pixels(shot, *box) for box in boxes):
                found.update(area=area, boxes=boxes, shot=shot)
                return True
            return False

        self.wait_for(ready, title.strip().replace(" ", ""), timeout=timeout)
        return found["area"], found["boxes"], found["shot"]

    def inner_area(self, title):
        """The inner area of the shown window of that title, in screen coordinates."""
        found = self.xdotool("search", "--onlyvisible", "--name", f"^{title}$").stdout.split()
        if len(found) != 1:
            return None
        info = self.run("xwininfo", "-id", found[0]).stdout
        value = {k.strip(): v.strip() for k, _, v in (line.partition(":") for line in info.splitlines())}
        return tuple(int(value[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def click(self, x, y):
        self.xdotool("mousemove", str(int(x)), str(int(y)))
        time.sleep(0.05)
        self.xdotool("click", "1")

    def key(self, *keys):
        self.xdotool("key", "--delay", "80", *keys)

    def screen(self, name=None):
        """The screen's pixels, read straight from the server; `name` labels the
        picture kept of it when a wait fails."""
        self.shot_count += 1
        raw = subprocess.run(["import", "-display", self.display, "-window", "root", "-depth", "8", "rgb:-"],
                             env=self.env, capture_output=True, check=True).stdout
        self.last_shot = (f"{self.shot_count:02d}-{name or 'shot'}", raw)
        return Screen(raw, self.width, self.height)

    def keep_last_shot(self):
        if not self.shots_dir:
            return
        name, raw = self.last_shot
        subprocess.run(["convert", "-size", f"{self.width}x{self.height}", "-depth", "8", "rgb:-",
                        os.path.join(self.shots_dir, name + ".png")], input=raw, check=True)

    def wait_for(self, predicate, what, timeout=10.0):
        deadline = time.monotonic() + timeout
        while True:
            s = self.screen(what)
            if predicate(s):
                return s
            if time.monotonic() > deadline:
                self.keep_last_shot()
                raise AssertionError(f"timed out waiting for {what}; the screen is in {self.shots_dir}")
            time.sleep(0.1)

    # The flow on a full screen, as most sessions play it.
    def dealt_grid(self):
        """Once the game window shows: its 20-card grid, dealt and covered."""
        grid = Grid(menubar_height(self.wait_for(game_window_shown, "game")), 20, 4)
        self.wait_for(lambda sc: covered_grid(sc, grid), "dealt")
        return grid

    def exit_and_quit(self, grid):
        """Leaves the table with "Exit", ends the program with "Quit", checks
        its status 0 and returns what it wrote to standard error."""
        self.click(*label_centre(WIDTH * 105 / 120, grid.top0 + grid.altezza * 103 / 120, 1116, 552))
        self.wait_for(start_window_shown, "start-again")
        self.click(*QUIT)
        _, errors = self.app.communicate(timeout=10)
        if self.app.returncode != 0:
            raise AssertionError(f"status {self.app.returncode}: {errors.decode(errors='replace')}")
        return errors.decode(errors="replace")


def start_window_shown(s):
    return s.pixel(3, HEIGHT - 3) == DARK_GREEN


def game_window_shown(s):
    return s.pixel(3, HEIGHT - 3) == BLUE


def label_centre(left, top, width_twips, height_twips):
    return left + width_twips / 15 / 2, top + height_twips / 15 / 2


def covered_grid(s, grid):
    colours = {s.pixel(*grid.probe(p)) for p in grid.cells()}
    return len(colours) == 1 and BLUE not in colours


# "Play" and "Quit" on a full screen.
PLAY = label_centre(WIDTH * 50 / 120, HEIGHT * 106.5 / 120, 2292, 492)
QUIT = label_centre(WIDTH * 105 / 120, HEIGHT * 106.5 / 120, 1116, 552)


def yellow_pixels(s, left, top, width_twips, height_twips, margin=0):
    """How many pixels of a label's box, widened by `margin` on every side,
    show its caption, yellow or orange under the pointer."""
    count = 0
    for y in range(int(top) - margin, int(top + height_twips / 15) + margin):
        for x in range(int(left) - margin, int(left + width_twips / 15) + margin):
            r, g, b = s.pixel(x, y)
            count += r > 200 and g > 100 and b < 80
    return count


class Grid:
    def __init__(self, menubar, ncarte, righe, area=None):
        """`menubar` is the screen row where the window's surface begins;
        `area` the window's inner area (x, y, width, height), the screen by default."""
        x0, y0, width, height = area or (0, 0, WIDTH, HEIGHT)
        self.top0 = menubar
        altezza = height - (menubar - y0)
        self.altezza = altezza
        self.cols = ncarte // righe
        self.rows = righe
        self.lato = round_half_even(0.8 * altezza / righe)
        self.sinistra = x0 + round_half_even((width - self.cols * self.lato) / 2)
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


def menubar_height(s, area=None):
    # The game window's surface is blue; above it lies the menu bar.
    x0, y0, width, _ = area or (0, 0, WIDTH, HEIGHT)
    for y in range(y0, y0 + 80):
        if s.pixel(x0 + width - 3, y) == BLUE:
            return y
    raise AssertionError("no blue surface found under a menu bar")


class PlayTest(unittest.TestCase):
    def setUp(self):
        self.shots = tempfile.mkdtemp(prefix="pairly-e2e-", dir=os.environ.get("PAIRLY_SHOTS_DIR"))
        self.s = None

    def tearDown(self):
        if self.s:
            self.s.close()

    def start_window(self):
        return self.s.wait_for_window(START_TITLE, DARK_GREEN, START_LABELS)

    def game_window(self):
        """The game window's area, menu bar height, "Exit" box and screen."""
        s = self.s
        s.wait_until(lambda: s.inner_area(GAME_TITLE), "the game window")
        x, y, w, h = s.inner_area(GAME_TITLE)
        menubar = menubar_height(s.wait_for(lambda sc: sc.pixel(x + w - 3, y + h - 3) == BLUE, "game"), (x, y, w, h)) - y
        # "Exit" lies at 103/120 of the surface under the menu bar.
        exit_box = (105 / 120, (menubar + (h - menubar) * 103 / 120) / h, 1116, 552)
        area, (exit_box,), shot = s.wait_for_window(GAME_TITLE, BLUE, [exit_box])
        return area, menubar, exit_box, shot

    def play_a_whole_session(self, width, height, window_manager, resize=None):
        """Plays the flow under a window manager that frames both windows once
        they are mapped, and may tile them then: labels, "Exit" and the grid
        follow the size each window really has. `resize(session)`, when
        given, has the window manager resize the start window and back."""
        s = self.s = Session(self.shots, width, height, window_manager)
        s.start(PROGRAM, cwd=tempfile.gettempdir())
        start, (info, play, quit_), shot = self.start_window()
        # Framed, and the frame within the screen: the inner area is smaller.
        self.assertTrue(start[1] > 0 and start[1] + start[3] <= height and start[3] < height, start)
        if resize:
            resize(s)
            self.assertNotEqual(self.start_window()[0], start)
            resize(s)
            self.assertEqual(self.start_window()[0], start)
        # The pointer at the middle of "Play" lights it.
        s.xdotool("mousemove", *(str(int(v)) for v in label_centre(*play)))
        s.wait_for(lambda sc: sc.shows(ORANGE, (play[0], play[1], play[0] + play[2] / 15, play[1] + play[3] / 15)),
                   "play-lit")

        s.click(*label_centre(*play))
        area, menubar, exit_box, shot = self.game_window()
        self.assertTrue(area[1] > 0 and area[1] + area[3] <= height and area[0] + area[2] <= width, area)
        grid = Grid(area[1] + menubar, 20, 4, area)
        shot = s.wait_for(lambda sc: covered_grid(sc, grid), "table-20")
        # The grid is exactly where the layout puts it: blue just outside it.
        self.assertEqual(shot.pixel(grid.sinistra - 2, grid.top0 + grid.sopra + 5), BLUE)
        self.assertNotEqual(shot.pixel(grid.sinistra + 2, grid.top0 + grid.sopra + 5), BLUE)
        self.assertEqual(shot.pixel(grid.sinistra + grid.cols * grid.lato + 1, grid.top0 + grid.sopra + 5), BLUE)
        back = shot.pixel(*grid.probe(0))
        window = (area[0], area[1], area[0] + area[2], area[1] + area[3])
        self.assertFalse(shot.shows(ORANGE, window), "orange on a table no key has touched")

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
        grid80 = Grid(grid.top0, 80, 8, area)
        shot = s.wait_for(lambda sc: covered_grid(sc, grid80), "table-80")
        # The menu's keys and the clicks before them showed no card cursor.
        self.assertFalse(shot.shows(ORANGE, window), "a card cursor without arrow keys")

        # "Exit" leaves the table for the start window, shown alone.
        s.click(*label_centre(*exit_box))
        self.assertEqual(self.start_window()[0], start)
        self.assertIsNone(s.inner_area(GAME_TITLE))

        # "Play" again deals a new game of the size last chosen.
        s.click(*label_centre(*play))
        self.assertEqual(self.game_window()[0], area)
        s.wait_for(lambda sc: covered_grid(sc, grid80), "table-80-again")
        self.assertIsNone(s.inner_area(START_TITLE))

        s.click(*label_centre(*exit_box))
        self.start_window()
        s.click(*label_centre(*quit_))
        clicked = time.monotonic()
        status = s.app.wait(timeout=5)
        self.assertLess(time.monotonic() - clicked, 1.0)
        self.assertEqual(status, 0, s.app.stderr.read().decode(errors="replace"))
        return start

    # A laptop screen under a window manager that frames both windows.
    # (Unframed full-screen windows are what the other sessions play on.)
    def test_a_whole_session_on_a_laptop_screen_under_openbox(self):
        self.play_a_whole_session(1366, 768, ["openbox", "--sm-disable"])

    # A tiling window manager with a title bar and a bar at the bottom, as a
    # user sets it up: it resizes each window once mapped, and refuses any
    # other size the program asks for later.
    def test_a_whole_session_tiled_by_i3(self):
        config = os.path.join(self.shots, "i3-config")
        with open(config, "w") as f:
            f.write("# i3 config file (v4)\nfont pango:monospace 8\n"
                    "bar {\n    status_command date +%H:%M\n    position bottom\n}\n")
        width, height = 1280, 1024
        # Full screen and back: the labels follow each size.
        x, y, w, h = self.play_a_whole_session(width, height, ["i3", "-c", config],
                                               lambda s: s.run("i3-msg", "fullscreen", "toggle"))
        # Below the title bar and above the bar.
        self.assertGreaterEqual(y, 16)
        self.assertLessEqual(y + h, height - 16)


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()
