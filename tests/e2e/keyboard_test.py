#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Pairly with the keyboard alone, under Xvfb, as a sighted player sees it.

Only `xdotool key` reaches the program: "Play" is reached with an arrow and
pressed with Enter, cards are turned with the arrows and Enter, "Exit" is
reached with Tab, "Quit" with the arrows. The screen must show the labels'
highlight, the card cursor's frame and the faces turned. (A whole game with
the keys is the screen reader test's blind player.)
"""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from play_test import (HEIGHT, ORANGE, START_LABELS, WIDTH, Grid, Session, game_window_shown,  # noqa: E402
                       menubar_height, start_window_shown)

PROGRAM = None


def label_box(left, top, width_twips, height_twips):
    return (left, top, left + width_twips / 15, top + height_twips / 15)


def highlighted(shot):
    boxes = [label_box(WIDTH * fx, HEIGHT * fy, tw, th) for fx, fy, tw, th in START_LABELS]
    return [name for name, box in zip(("Info", "Play", "Quit"), boxes) if shot.shows(ORANGE, box)]


def face(shot, grid, pos):
    """A card's picture sampled on a lattice inside it, clear of the cursor's frame."""
    x0, y0 = grid.centre(pos)
    step = grid.lato // 6
    return tuple(shot.pixel(x0 + i * step, y0 + j * step) for i in range(-2, 3) for j in range(-2, 3))


def cursor_on(shot, grid, pos):
    """The frame's four corners and the middles of its left and bottom edges are orange."""
    x, y = grid.centre(pos)
    left, top = x - grid.lato // 2, y - grid.lato // 2
    right, bottom = left + grid.lato - 1, top + grid.lato - 1
    return all(shot.pixel(*p) == ORANGE
               for p in ((left, top), (right, top), (left, bottom), (right, bottom), (left, y), (x, bottom)))


class KeyboardTest(unittest.TestCase):
    def setUp(self):
        self.s = Session(None)

    def tearDown(self):
        self.s.close()

    def test_the_keyboard_alone(self):
        s = self.s
        s.start(PROGRAM, cwd=tempfile.gettempdir())
        shot = s.wait_for(start_window_shown, "start-window", timeout=20)
        self.assertEqual(highlighted(shot), [])

        s.key("Right")
        s.wait_for(lambda sc: highlighted(sc) == ["Play"], "play-highlighted")
        s.key("Return")
        shot = s.wait_for(game_window_shown, "game-window")
        grid = Grid(menubar_height(shot), 20, 4)
        shot = s.wait_for(lambda sc: len({face(sc, grid, p) for p in grid.cells()}) == 1, "table-20")
        self.assertFalse(shot.shows(ORANGE), "a cursor before any arrow key")
        back = face(shot, grid, 0)

        s.key("Down")  # the first arrow only shows the cursor, on the top-left card
        s.wait_for(lambda sc: cursor_on(sc, grid, 0), "cursor-top-left")
        # Enter turns the card under the cursor, which moves with the arrows.
        s.key("Right", "Down", "Return")
        shot = s.wait_for(lambda sc: cursor_on(sc, grid, 6) and face(sc, grid, 6) != back, "card-6")
        self.assertEqual(face(shot, grid, 0), back)

        s.key("Tab")  # from the grid to "Exit"
        exit_box = label_box(WIDTH * 105 / 120, grid.top0 + grid.altezza * 103 / 120, 1116, 552)
        s.wait_for(lambda sc: not cursor_on(sc, grid, 6) and sc.shows(ORANGE, exit_box), "exit-highlighted")
        s.key("Return")
        s.wait_for(start_window_shown, "start-again")
        s.key("Right")  # the attention stayed on "Play"
        s.wait_for(lambda sc: highlighted(sc) == ["Quit"], "quit-highlighted")
        s.key("Return")
        status = s.app.wait(timeout=5)
        self.assertEqual(status, 0, s.app.stderr.read().decode(errors="replace"))


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()
