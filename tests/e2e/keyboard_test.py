#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays a whole game of Pairly with the keyboard alone, under Xvfb.

Only `xdotool key` reaches the program: "Play" is reached with an arrow and
pressed with Enter, every card is turned with the arrows and Enter, "Exit" is
reached with Tab, "Quit" with the arrows. The faces are told apart from the
screen, as the mouse test reads it.
"""
import os
import sys
import tempfile
import time
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
    x, y = grid.centre(pos)
    return shot.pixel(x - grid.lato // 2 + 1, y) == ORANGE and shot.pixel(x, y + grid.lato // 2 - 2) == ORANGE


class KeyboardGame:
    def __init__(self, session, grid, back):
        self.s, self.grid, self.back = session, grid, back
        self.at = 0

    def go(self, pos, *then):
        """Moves the cursor to pos with the arrows, then presses the keys `then`."""
        r, k = divmod(pos, self.grid.cols)
        r0, k0 = divmod(self.at, self.grid.cols)
        keys = ["Down"] * (r - r0) + ["Up"] * (r0 - r) + ["Right"] * (k - k0) + ["Left"] * (k0 - k)
        self.s.xdotool("key", "--delay", "20", *keys, *then)
        self.at = pos

    def turn(self, pos):
        self.go(pos, "Return")
        time.sleep(0.05)  # a look at once would mostly come before the face
        shot = self.s.wait_for(lambda sc: face(sc, self.grid, pos) != self.back, f"card-{pos}", timeout=3)
        return face(shot, self.grid, pos)

    def covered(self, shot, *cells):
        return all(face(shot, self.grid, p) == self.back for p in cells)


class KeyboardTest(unittest.TestCase):
    def setUp(self):
        self.s = Session(None)

    def tearDown(self):
        self.s.close()

    def test_a_whole_game_with_the_keyboard_alone(self):
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
        game = KeyboardGame(s, grid, face(shot, grid, 0))

        s.key("Down")  # the first arrow only shows the cursor, on the top-left card
        s.wait_for(lambda sc: cursor_on(sc, grid, 0), "cursor-top-left")

        seen, found, refused = {}, set(), False
        opened = None  # a card a late Enter turned up: the first of the next move
        while len(found) < 20:
            pair = next(((a, b) for a in seen for b in seen
                         if a < b and seen[a] == seen[b] and a not in found), None)
            if pair and opened is None:
                for p in pair:
                    game.turn(p)
                found.update(pair)
                continue
            a, opened = opened, None
            if a is None:
                a = next(p for p in grid.cells() if p not in seen)
                seen[a] = game.turn(a)
            twin = next((p for p in seen if p != a and seen[p] == seen[a] and p not in found), None)
            b = twin if twin is not None else next(p for p in grid.cells() if p not in seen)
            seen[b] = game.turn(b)
            if seen[a] == seen[b]:
                found.update((a, b))
                continue
            if not refused:
                # Enter on a third card while the miss is still up is refused.
                # The arrow after it is a barrier: once the cursor has moved,
                # the program has handled the Enter.
                c = min((p for p in grid.cells() if p not in found and p not in (a, b)),
                        key=lambda p: abs(p // grid.cols - b // grid.cols) + abs(p % grid.cols - b % grid.cols))
                game.go(c, "Return")
                d = c + 1 if c % grid.cols < grid.cols - 1 else c - 1
                game.go(d)
                shot = s.wait_for(lambda sc: cursor_on(sc, grid, d), "after-enter-in-the-pause")
                during = not (game.covered(shot, a) or game.covered(shot, b))
            shot = s.wait_for(lambda sc: game.covered(sc, a, b), "miss-covered", timeout=4)
            if not refused and during:
                self.assertTrue(game.covered(shot, c), "a card turned during the pause")
                refused = True
            elif not refused:
                # The pause had ended before the Enter: it may have turned c.
                game.go(c)
                shot = s.wait_for(lambda sc: cursor_on(sc, grid, c), "after-a-late-enter")
                if not game.covered(shot, c):
                    seen[c], opened = face(shot, grid, c), c
        shot = s.screen("all-found")
        self.assertTrue(refused, "no Enter reached the program during a miss's pause")
        self.assertFalse(any(game.covered(shot, p) for p in grid.cells()))

        s.key("Tab")  # from the grid to "Exit"
        exit_box = label_box(WIDTH * 105 / 120, grid.top0 + grid.altezza * 103 / 120, 1116, 552)
        s.wait_for(lambda sc: not cursor_on(sc, grid, game.at) and sc.shows(ORANGE, exit_box), "exit-highlighted")
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
