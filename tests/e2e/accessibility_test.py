#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads Pairly through AT-SPI, as a screen reader does.

Run inside a session bus of its own (dbus-run-session): the accessibility bus
and registry start on it, the program joins it with its bridge forced on, and
everything ends with the session. The labels must be buttons named by their
captions, each card a button named by its place and described by what it
shows, a turned card must report its new description, and the panels their
texts. Cards are pressed through their AT-SPI action, as an assistive
technology presses them.
"""
import os
import sys
import time
import unittest
import warnings

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from play_test import START_TITLE, Session  # noqa: E402

import pyatspi  # noqa: E402  (Debian's python3-pyatspi)
from gi.repository import GLib  # noqa: E402

# pyatspi calls libatspi through names it has deprecated.
warnings.filterwarnings("ignore", category=DeprecationWarning)

PROGRAM = None
FACE_NAMES = os.path.join(os.path.dirname(__file__), "..", "..", "resources", "pictures", "face_names.txt")
DESCRIPTION_CHANGED = "object:property-change:accessible-description"


def pump():
    while GLib.MainContext.default().iteration(False):
        pass


def wait_for(predicate, what, timeout=10.0):
    deadline = time.monotonic() + timeout
    while True:
        pump()
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


def descendants(node, role=None):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        if role is None or child.getRole() == role:
            yield child
        yield from descendants(child, role)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def text_of(node):
    t = node.queryText()
    return t.getText(0, t.characterCount)


class AccessibilityTest(unittest.TestCase):
    def setUp(self):
        self.s = Session(os.environ.get("PAIRLY_SHOTS_DIR", "/tmp"))
        self.s.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.events = []
        self.listener = lambda e: self.events.append((e.source.name, e.source.description))
        pyatspi.Registry.registerEventListener(self.listener, DESCRIPTION_CHANGED)
        with open(FACE_NAMES) as f:
            self.face_names = f.read().split()

    def tearDown(self):
        pyatspi.Registry.deregisterEventListener(self.listener, DESCRIPTION_CHANGED)
        self.s.close()

    def app(self):
        for a in pyatspi.Registry.getDesktop(0):
            if a is not None and a.name == "Pairly":
                return a
        return None

    def window(self, app, title):
        for i in range(app.childCount):
            w = app.getChildAtIndex(i)
            if w.name.strip() == title.strip() and w.name == title:
                return w
        return None

    def cards(self, game):
        return [b for b in descendants(game, pyatspi.ROLE_PUSH_BUTTON) if b.name.startswith("row ")]

    def test_labels_cards_and_panels_read_by_a_screen_reader(self):
        self.s.start(PROGRAM)
        app = wait_for(self.app, "Pairly on the accessibility bus", timeout=20)
        start = wait_for(lambda: self.window(app, START_TITLE), "the start window")
        buttons = wait_for(lambda: [b for b in descendants(start, pyatspi.ROLE_PUSH_BUTTON) if showing(b)],
                           "the start window's buttons")
        self.assertEqual([b.name for b in buttons], ["Info", "Play", "Quit"])
        info, play = buttons[0], buttons[1]

        info.queryAction().doAction(0)
        box = wait_for(lambda: [t for t in descendants(start, pyatspi.ROLE_TEXT) if showing(t)], "the version box")
        version = " ".join(text_of(box[0]).split())
        self.assertIn("Pairly", version)

        play.queryAction().doAction(0)
        game = wait_for(lambda: self.window(app, START_TITLE + " "), "the game window")
        cards = wait_for(lambda: len(self.cards(game)) == 20 and self.cards(game), "20 cards")
        self.assertEqual([c.name for c in cards],
                         [f"row {r}, column {k}" for r in range(1, 5) for k in range(1, 6)])
        self.assertEqual({c.description for c in cards}, {"face down"})
        self.assertTrue(all(showing(c) for c in cards))
        exits = [b.name for b in descendants(game, pyatspi.ROLE_PUSH_BUTTON) if b.name == "Exit"]
        self.assertEqual(exits, ["Exit"])

        # The information panel holds the start window's version text; the
        # rules panels hold theirs even while hidden.
        panels = [" ".join(text_of(t).split()) for t in descendants(game, pyatspi.ROLE_TEXT)]
        self.assertEqual(len(panels), 3)
        self.assertIn(version, panels)
        self.assertTrue(all(len(p) > 100 for p in panels if p != version))

        # The first arrow key puts the cursor, and the focus, on the top-left card.
        self.s.key("Down")
        wait_for(lambda: cards[0].getState().contains(pyatspi.STATE_FOCUSED), "the top-left card focused")

        # Turn cards until a pair is found, remembering every face seen.
        seen = {}
        found = None
        for _ in range(12):
            first = next(p for p in range(20) if p not in seen)
            self.turn(cards, first, seen)
            twins = [p for p, name in seen.items() if name == seen[first] and p != first]
            second = twins[0] if twins else next(p for p in range(20) if p not in seen)
            if self.turn(cards, second, seen) == "found":
                found = (first, second)
                break
            # A miss is covered again after its pause, and says so.
            wait_for(lambda: cards[first].description == cards[second].description == "face down",
                     "the miss covered", timeout=4)
            wait_for(lambda: (cards[second].name, "face down") in self.events, "the covering reported")
        self.assertIsNotNone(found, "no pair in twelve moves")
        self.assertEqual(cards[found[0]].description, "found")

        # "48 cards" deals a larger table: every card of it is announced.
        added = []
        listener = lambda e: added.append(e.any_data.name if e.any_data else None)
        pyatspi.Registry.registerEventListener(listener, "object:children-changed:add")
        self.s.key("alt+o", "Down", "Return")
        wait_for(lambda: len(self.cards(game)) == 48, "48 cards")
        wait_for(lambda: len(added) >= 28, "the 28 new cards announced", timeout=3)
        pyatspi.Registry.deregisterEventListener(listener, "object:children-changed:add")
        self.assertEqual(added, [c.name for c in self.cards(game)[20:]])
        self.assertEqual(len({c.name for c in self.cards(game)}), 48)
        self.assertEqual({c.description for c in self.cards(game)}, {"face down"})

        # "Exit", then "Quit": both windows go with the bridge still on.
        next(b for b in descendants(game, pyatspi.ROLE_PUSH_BUTTON) if b.name == "Exit").queryAction().doAction(0)
        wait_for(lambda: showing(buttons[2]), "the start window again")
        self.assertFalse(any(showing(c) for c in cards), "cards of a hidden table are not showing")
        buttons[2].queryAction().doAction(0)
        self.assertEqual(self.s.app.wait(timeout=10), 0, self.s.app.stderr.read().decode(errors="replace"))

    def turn(self, cards, place, seen):
        """Presses a face-down card; returns its new description."""
        del self.events[:]
        cards[place].queryAction().doAction(0)
        now = wait_for(lambda: cards[place].description if cards[place].description != "face down" else None,
                       f"card {place} turned")
        if now != "found":  # the second card of a pair reads "found" at once
            self.assertIn(now, self.face_names)
            seen[place] = now
        wait_for(lambda: any(source == cards[place].name for source, _ in self.events),
                 f"card {place}'s new description reported")
        return now

if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()
