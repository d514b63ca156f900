#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Pairly on Qt's Wayland platform under weston's headless backend, whose
desktop shell places and sizes windows itself, refuses raise and activate
requests and keeps a panel at the top. The backend has no seat: the real
program is started and looked at (its start window maximized under the
panel, the labels at their fractions of that area), and the flow is driven
through the window tests on the same compositor, which must end with status 0.

    wayland_test.py <program> <window tests>
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

PROGRAM = WINDOW_TESTS = None
WIDTH, HEIGHT = 1280, 800
DARK_GREEN = (0, 64, 0)
FLOW_TESTS = ":".join((
    "Windows.TheFlowNeedsNoActivationFromThePlatform", "Windows.OnlyAReturnFromTheStartWindowActivatesANewGame",
    "Guards.UnloadingClosesTheMusicBeforeTheRustle"))


class Weston:
    def __init__(self):
        self.runtime = tempfile.mkdtemp(prefix="pairly-wayland-")
        os.chmod(self.runtime, 0o700)
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, WAYLAND_DISPLAY="pairly-test",
                        QT_QPA_PLATFORM="wayland", SDL_AUDIODRIVER="dummy")
        self.env.pop("DISPLAY", None)
        # --debug lets weston-screenshooter read the output back.
        self.weston = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--use-pixman", "--socket=pairly-test", "--debug",
             f"--width={WIDTH}", f"--height={HEIGHT}", "--idle-time=0", "--no-config"],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        socket = os.path.join(self.runtime, "pairly-test")
        deadline = time.monotonic() + 10
        while not os.path.exists(socket):
            if self.weston.poll() is not None or time.monotonic() > deadline:
                raise AssertionError("weston did not start")
            time.sleep(0.05)
        self.shots = 0

    def close(self):
        self.weston.terminate()
        self.weston.wait()
        shutil.rmtree(self.runtime, ignore_errors=True)

    def screen(self):
        """The output's pixels as a function of x and y; the picture is kept
        beside the other tests' shots until the next one."""
        folder = tempfile.mkdtemp(dir=self.runtime)
        subprocess.run(["weston-screenshooter"], env=self.env, cwd=folder, check=True, capture_output=True)
        png = os.path.join(folder, os.listdir(folder)[0])
        raw = subprocess.run(["convert", png, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
        shutil.move(png, os.path.join(os.environ.get("PAIRLY_SHOTS_DIR", tempfile.gettempdir()), "wayland-last.png"))
        shutil.rmtree(folder)
        return lambda x, y: tuple(raw[(y * WIDTH + x) * 3:(y * WIDTH + x) * 3 + 3])


def inner_area(pixel):
    """The start window's inner area: the dark green found just inside the
    output's lower right corner (past the frame the window draws itself),
    measured to its edges along its bottom row and right column, which the
    picture leaves bare."""
    corner = next(((WIDTH - 1 - k, HEIGHT - 1 - k) for k in range(30)
                   if pixel(WIDTH - 1 - k, HEIGHT - 1 - k) == DARK_GREEN), None)
    if corner is None:
        return None
    right, bottom = corner
    while right + 1 < WIDTH and pixel(right + 1, bottom) == DARK_GREEN:
        right += 1
    while bottom + 1 < HEIGHT and pixel(right, bottom + 1) == DARK_GREEN:
        bottom += 1
    top, left = bottom, right
    while top > 0 and pixel(right, top - 1) == DARK_GREEN:
        top -= 1
    while left > 0 and pixel(left - 1, bottom) == DARK_GREEN:
        left -= 1
    return left, top, right - left + 1, bottom - top + 1


def caption_pixels(pixel, left, top, width_twips, height_twips):
    return sum(1 for y in range(int(top), int(top + height_twips / 15))
               for x in range(int(left), int(left + width_twips / 15))
               if pixel(x, y)[0] > 200 and pixel(x, y)[1] > 200 and pixel(x, y)[2] < 80)


class WaylandTest(unittest.TestCase):
    def setUp(self):
        self.weston = Weston()

    def tearDown(self):
        self.weston.close()

    def test_the_start_window_fills_the_space_the_compositor_gives_it(self):
        app = subprocess.Popen([PROGRAM], env=self.weston.env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        try:
            deadline = time.monotonic() + 20
            while True:
                pixel = self.weston.screen()
                area = inner_area(pixel)
                if area:
                    x, y, w, h = area
                    row = y + h * 106.5 / 120
                    labels = [(x + w * f, row, tw, th) for f, tw, th in
                              ((15 / 120, 1116, 552), (50 / 120, 2292, 492), (105 / 120, 1116, 552))]
                    # The compositor may show the window at the size asked
                    # for before it maximizes it: wait for the frame to lie
                    # whole on the output, which a window only sized to the
                    # screen never does (it reaches past the bottom edge).
                    whole = x + w < WIDTH and y + h < HEIGHT
                    if whole and all(caption_pixels(pixel, *label) > 30 for label in labels):
                        break
                self.assertIsNone(app.poll(), app.stderr.read().decode(errors="replace") if app.poll() else "")
                self.assertLess(time.monotonic(), deadline,
                                f"no start window whole on the output with its labels; area {area}")
                time.sleep(0.2)
            # Maximized below the shell's panel.
            self.assertGreater(y, 20)
            self.assertLess(x, 10)
        finally:
            app.kill()
            app.wait()

    def test_play_exit_and_quit_on_the_compositor(self):
        run = subprocess.run([WINDOW_TESTS, f"--gtest_filter={FLOW_TESTS}"], env=self.weston.env,
                             capture_output=True, text=True, timeout=120)
        self.assertEqual(run.returncode, 0, run.stdout[-3000:] + run.stderr[-2000:])
        self.assertIn("[  PASSED  ] 3 tests", run.stdout)


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    WINDOW_TESTS = os.path.abspath(sys.argv.pop(1))
    unittest.main()
