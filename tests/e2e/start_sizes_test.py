#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The start window on every common screen size, each on an X server of its own.

The real program with its shipped picture: on every size no label lies over
anything the picture draws (the pixels around each caption are the caption's
yellow over the window's dark green and nothing else), the picture is the
file's, pixel for pixel, from the top-left corner, and where the picture ends
there is no step: its borders and everything beyond them are exactly the
window's colour. At a 2x scale the picture is drawn from twice as many
pixels, not stretched from its natural size.

    start_sizes_test.py <program> [folder for the screenshots]
"""
import concurrent.futures
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from play_test import DARK_GREEN, START_LABELS, START_TITLE, Session  # noqa: E402

PROGRAM = None
KEEP = None
# Width, height and Qt's scale factor.
SIZES = [(1024, 768, 1), (1280, 800, 1), (1366, 768, 1), (1440, 900, 1), (1536, 864, 1), (1600, 900, 1),
         (1920, 1080, 1), (1920, 1200, 1), (2560, 1440, 1), (3840, 2160, 1), (2560, 1600, 2)]
MARGIN = 6  # pixels around each label's box that must be bare too


def caption_over_ground(pixel):
    """A pixel of the yellow caption blended over the dark green, or the green itself."""
    r, g, b = pixel
    return b <= 10 and abs(g - (64 + r * 191 / 255)) <= 12


def runs_of(row_y, x_from, x_to, holes):
    """The stretches of [x_from, x_to) on row `row_y` outside the holes."""
    cuts = sorted((max(left, x_from), min(right, x_to)) for left, top, right, bottom in holes
                  if top <= row_y < bottom and left < x_to and right > x_from)
    for left, right in cuts:
        if left > x_from:
            yield x_from, left
        x_from = max(x_from, right)
    if x_from < x_to:
        yield x_from, x_to


def stretched_blocks(shot, x0, y0, width, height):
    """The share of the 2 x 2 pixel blocks of an area, where it is not flat,
    whose four pixels are one colour: all of them when a picture of half the
    resolution is stretched over it."""
    doubled = varied = 0
    for y in range(y0, y0 + height - 1, 2):
        for x in range(x0, x0 + width - 1, 2):
            block = {shot.pixel(x, y), shot.pixel(x + 1, y), shot.pixel(x, y + 1), shot.pixel(x + 1, y + 1)}
            if len(block) > 1:
                varied += 1
            elif shot.pixel(x + 2, y) not in block or shot.pixel(x, y + 2) not in block:
                doubled += 1
    return doubled / max(1, doubled + varied)


def look(size):
    """Starts the program on a screen of that size; returns what is wrong."""
    width, height, scale = size
    shots = tempfile.mkdtemp(prefix=f"pairly-start-{width}x{height}-", dir=os.environ.get("PAIRLY_SHOTS_DIR"))
    s = Session(shots, width, height)
    s.env["QT_SCALE_FACTOR"] = str(scale)
    labels = [(fx, fy, tw * scale, th * scale) for fx, fy, tw, th in START_LABELS]
    try:
        s.start(PROGRAM, cwd=tempfile.gettempdir())
        try:
            s.wait_until(lambda: s.inner_area(START_TITLE), "the start window", timeout=60)
        except AssertionError:
            said = s.app.stderr.read().decode(errors="replace")[-1500:] if s.app.poll() is not None else ""
            raise AssertionError(f"{width}x{height} on {s.display}: no start window; program {s.app.poll()} {said}, "
                                 f"X server {s.xvfb.poll()}, windows: {s.run('xwininfo', '-root', '-tree').stdout[-1500:]}")
        (x0, y0, w, h), boxes, shot = s.wait_for_window(START_TITLE, DARK_GREEN, labels, timeout=60)
        if KEEP:
            s.keep_last_shot()
            os.replace(os.path.join(shots, s.last_shot[0] + ".png"), os.path.join(KEEP, f"start-{width}x{height}@{scale}x.png" if scale > 1 else f"start-{width}x{height}.png"))
    finally:
        s.close()
    faults = []
    bare = [(int(left) - MARGIN, int(top) - MARGIN, int(left + tw / 15) + MARGIN, int(top + th / 15) + MARGIN)
            for left, top, tw, th in boxes]
    for (left, top, right, bottom), name in zip(bare, ("Info", "Play", "Quit")):
        covered = sum(1 for y in range(top, bottom) for x in range(left, right)
                      if not caption_over_ground(shot.pixel(x, y)))
        if covered:
            faults.append(f"{width}x{height}: {covered} pixels of the picture around \"{name}\"")

    # The picture's last 8 pixels and everything past them: the window's colour, exactly.
    picture_w, picture_h = (v * scale for v in PICTURE_SIZE)
    if scale == 1:
        shown = min(picture_w, w) * 3
        if any(shot.raw[((y0 + y) * width + x0) * 3:][:shown] != PICTURE_RGB[y * picture_w * 3:][:shown]
               for y in range(min(picture_h, h))):
            faults.append(f"{width}x{height}: the picture shown is not the file's")
    if scale > 1 and stretched_blocks(shot, x0, y0, picture_w, picture_h) > 0.5:
        faults.append(f"{width}x{height} at {scale}x: the picture is stretched from its natural size")
    green = bytes(DARK_GREEN)
    wrong = 0
    for y in range(y0, y0 + h):
        x_from = x0 if y >= y0 + picture_h - 8 else x0 + picture_w - 8
        for a, b in runs_of(y, x_from, x0 + w, bare):
            row = shot.raw[(y * width + a) * 3:(y * width + b) * 3]
            if row != green * (b - a):
                wrong += 1
                if wrong == 1:
                    x = next(x for x in range(a, b) if shot.pixel(x, y) != DARK_GREEN)
                    faults.append(f"{width}x{height}: at or past the picture's edge, {x},{y} is {shot.pixel(x, y)}")
    return faults


class StartSizesTest(unittest.TestCase):
    def test_every_common_screen(self):
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            faults = [fault for found in pool.map(look, reversed(SIZES)) for fault in found]
        self.assertEqual(faults, [])


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    if len(sys.argv) > 1:
        KEEP = os.path.abspath(sys.argv.pop(1))
    picture = os.path.join(os.path.dirname(PROGRAM), "lumora pairly.jpg")
    PICTURE_SIZE = tuple(int(v) for v in subprocess.run(
        ["identify", "-format", "%w %h", picture], capture_output=True, text=True, check=True).stdout.split())
    PICTURE_RGB = subprocess.run(["convert", picture, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
    unittest.main()
