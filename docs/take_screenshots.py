#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Takes the README's screenshots of a built Pairly under Xvfb.

    python3 docs/take_screenshots.py build/pairly docs

Writes start-window.png and game.png (1280 x 1024): the start window, and a
20-card game with a few pairs found and a missed move still showing; and
start-sizes.png, a contact sheet of the start window on six common screen
sizes, each shrunk to one width. The pictures are quantised to a small palette and
scaled down so that each stays well under 300 KB.
"""
import os
import subprocess
import sys
import tempfile
import time

# The shared session helper is imported from the source tree; leave no bytecode there.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from play_test import (  # noqa: E402
    DARK_GREEN, HEIGHT, START_LABELS, START_TITLE, WIDTH, Grid, Session, game_window_shown, label_centre,
    menubar_height, start_window_shown)

SHEET_SIZES = [(1024, 768), (1366, 768), (1440, 900), (1920, 1080), (2560, 1440), (3840, 2160)]

PLAY_ROW_TOP = HEIGHT * (106.5 / 120)


def signature(shot, grid, pos):
    # Both cards of a pair show one picture at one size, so their pixels agree.
    x0, y0 = grid.centre(pos)
    step = grid.lato // 6
    return tuple(shot.pixel(x0 + dx * step, y0 + dy * step) for dx in (-2, -1, 0, 1, 2) for dy in (-2, -1, 0, 1, 2))


def save(session, shot_name, out_path):
    raw = os.path.join(session.shots_dir, f"{shot_name}.png")
    subprocess.run(["import", "-display", session.display, "-window", "root", raw], env=session.env, check=True)
    subprocess.run(["convert", raw, "-resize", "50%", "-dither", "FloydSteinberg", "-colors", "128",
                    "-strip", f"PNG8:{out_path}"], check=True)
    print(out_path, os.path.getsize(out_path), "bytes")


def main(program, out_dir):
    s = Session(tempfile.mkdtemp(prefix="pairly-docs-"))
    try:
        s.start(os.path.abspath(program), cwd=tempfile.gettempdir())
        s.wait_for(start_window_shown, "start", timeout=20)
        time.sleep(0.5)
        save(s, "start-full", os.path.join(out_dir, "start-window.png"))

        s.click(*label_centre(WIDTH * 50 / 120, PLAY_ROW_TOP, 2292, 492))
        shot = s.wait_for(game_window_shown, "game")
        grid = Grid(menubar_height(shot), 20, 4)
        back = s.wait_for(lambda sc: len({sc.pixel(*grid.probe(p)) for p in grid.cells()}) == 1, "table")
        back = back.pixel(*grid.probe(0))

        # Look at every card once, two per move, and remember what each shows.
        seen = {}
        for first in range(0, 20, 2):
            for pos in (first, first + 1):
                s.click(*grid.centre(pos))
                time.sleep(0.25)
            shot = s.wait_for(lambda sc: sc.pixel(*grid.probe(first + 1)) != back, "faces", timeout=3)
            for pos in (first, first + 1):
                seen[pos] = signature(shot, grid, pos)
            s.wait_for(lambda sc: sc.pixel(*grid.probe(first)) == back or seen[first] == seen[first + 1],
                       "covered", timeout=4)
        by_picture = {}
        for pos, sig in seen.items():
            by_picture.setdefault(sig, []).append(pos)
        pairs = [tuple(p) for p in by_picture.values() if len(p) == 2]
        up = {p for p in pairs if p[0] % 2 == 0 and p[1] == p[0] + 1}
        for pair in [p for p in pairs if p not in up][:3]:
            for pos in pair:
                s.click(*grid.centre(pos))
                time.sleep(0.25)
            up.add(pair)
            time.sleep(0.3)
        covered = [pos for pos in range(20) if all(pos not in p for p in up)]
        a = covered[0]
        b = next(pos for pos in covered[1:] if seen[pos] != seen[a])
        s.click(*grid.centre(a))
        time.sleep(0.25)
        s.click(*grid.centre(b))
        time.sleep(0.4)
        save(s, "game-full", os.path.join(out_dir, "game.png"))
    finally:
        s.close()


def contact_sheet(program, out_path):
    """Each screen shrunk to one width, so that the picture's share of each shows."""
    folder = tempfile.mkdtemp(prefix="pairly-sheet-")
    tiles = []
    for width, height in SHEET_SIZES:
        s = Session(folder, width, height)
        try:
            s.start(os.path.abspath(program), cwd=tempfile.gettempdir())
            s.wait_for_window(START_TITLE, DARK_GREEN, START_LABELS, timeout=30)
            tile = os.path.join(folder, f"{width}x{height}.png")
            subprocess.run(["import", "-display", s.display, "-window", "root", "-resize", "400x", tile],
                           env=s.env, check=True)
            subprocess.run(["convert", tile, "-background", "#303030", "-gravity", "center", "-extent", "400x300",
                            tile], check=True)
            tiles.append((tile, f"{width} x {height}"))
        finally:
            s.close()
    args = ["montage", "-font", "DejaVu-Sans", "-pointsize", "14", "-fill", "#e0e0e0", "-background", "#303030"]
    for tile, label in tiles:
        args += ["-label", label, tile]
    subprocess.run(args + ["-tile", "3x2", "-geometry", "+10+8",
                           "-strip", f"PNG24:{out_path}"], check=True)
    print(out_path, os.path.getsize(out_path), "bytes")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
    contact_sheet(sys.argv[1], os.path.join(sys.argv[2], "start-sizes.png"))
