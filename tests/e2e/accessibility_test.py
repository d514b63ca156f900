#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads Pairly through AT-SPI, as a screen reader does.

Run inside a session bus of its own (dbus-run-session): the accessibility bus
and registry start on it, the program joins it with its bridge forced on, and
everything ends with the session. The labels must be buttons named by their
captions; each card two buttons named by its place, of which the one the
player sees shows: its back, described as "face down", and its face, named
"face up" besides and described by the face's name or as "found"; the table
an object named by its size; the panels must hold their texts under the
names of their menu items, each text one line. Cards are pressed through
their AT-SPI action, as an assistive technology presses them. What a screen
reader says of all this is the screen reader test's (screen_reader_test.py).
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
LISTENED = ("object:state-changed:focused", "object:property-change:accessible-name",
            "object:property-change:accessible-description")
FACE_NAMES = os.path.join(os.path.dirname(__file__), "..", "..", "resources", "pictures", "face_names.txt")


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
        with open(FACE_NAMES) as f:
            self.face_names = f.read().split()
        # A name or description change of the object that has the focus
        # makes Orca 43 fail under Qt 6.4 (the bridge sends the object, not
        # the text), and would be spoken twice by a bridge that sends the text.
        self.focus, self.held, self.changed = None, [], []
        pyatspi.Registry.registerEventListener(self.listen, *LISTENED)

    def tearDown(self):
        pyatspi.Registry.deregisterEventListener(self.listen, *LISTENED)
        self.s.close()

    def listen(self, event):
        if event.type.startswith("object:state-changed:focused"):
            if event.detail1:
                self.focus = event.source
            return
        self.changed.append(event.source)
        if self.focus is not None and event.source == self.focus:
            self.held.append((event.type, event.source.name))

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

    def cards(self, game, face=False):
        """The cards' backs, or their faces, in the tree's order."""
        return [b for b in descendants(game, pyatspi.ROLE_PUSH_BUTTON)
                if b.name.startswith("row ") and b.name.endswith(", face up") == face]

    def test_labels_cards_and_panels_read_by_a_screen_reader(self):
        self.s.start(PROGRAM)
        app = wait_for(self.app, "Pairly on the accessibility bus", timeout=20)
        start = wait_for(lambda: self.window(app, START_TITLE), "the start window")
        buttons = wait_for(lambda: [b for b in descendants(start, pyatspi.ROLE_PUSH_BUTTON) if showing(b)],
                           "the start window's buttons")
        self.assertEqual([b.name for b in buttons], ["Info", "Play", "Quit"])
        self.assertEqual(start.description, "Info, Play, Quit")
        info, play = buttons[0], buttons[1]

        info.queryAction().doAction(0)
        box = wait_for(lambda: [t for t in descendants(start, pyatspi.ROLE_TEXT) if showing(t)], "the version box")
        self.assertEqual(box[0].name, "Info")
        version = " ".join(text_of(box[0]).split())
        self.assertIn("Pairly", version)

        play.queryAction().doAction(0)
        game = wait_for(lambda: self.window(app, START_TITLE + " "), "the game window")
        cards = wait_for(lambda: len(self.cards(game)) == 20 and self.cards(game), "20 cards")
        faces = self.cards(game, face=True)
        places = [f"row {r}, column {k}" for r in range(1, 5) for k in range(1, 6)]
        self.assertEqual([c.name for c in cards], places)
        self.assertEqual([f.name for f in faces], [p + ", face up" for p in places])
        self.assertEqual({c.description for c in cards}, {"face down"})
        self.assertTrue(all(showing(c) for c in cards))
        # A face down hides its face, name and all.
        self.assertEqual({(f.description, showing(f)) for f in faces}, {("", False)})
        self.assertTrue(all(c.getState().contains(pyatspi.STATE_FOCUSABLE) for c in cards + faces))
        table = [f for f in descendants(game, pyatspi.ROLE_FILLER) if f.name == "20 cards, 4 rows of 5"]
        self.assertEqual([t.description for t in table], ["all face down"])
        # Beside the cards, the surface lists the table and its controls; the
        # music strip is the unnamed one, the card cursor's frame none.
        surface = cards[0].parent
        self.assertEqual(sorted(c.name for c in surface if not c.name.startswith("row ")),
                         ["", "20 cards, 4 rows of 5", "English", "Exit", "Info", "Italiano"])
        music = [b.name for b in descendants(game, pyatspi.ROLE_PUSH_BUTTON) if b.name.endswith(" music")]
        self.assertEqual(music, ["Play music", "Pause music", "Stop music"])

        # The information panel holds the start window's version text; the
        # rules panels hold theirs even while hidden. Each is named as the
        # menu item that opens it, and its text is one line: a screen reader
        # reads the line at the caret, and the player moves no caret.
        texts = list(descendants(game, pyatspi.ROLE_TEXT))
        for t, q in ((t, t.queryText()) for t in texts):
            line = q.getTextAtOffset(0, pyatspi.TEXT_BOUNDARY_LINE_START)
            self.assertEqual(tuple(line), (text_of(t), 0, len(text_of(t))), t.name)
            self.assertEqual((q.getTextBeforeOffset(len(line[0]), pyatspi.TEXT_BOUNDARY_LINE_START)[0],
                              q.getTextAfterOffset(0, pyatspi.TEXT_BOUNDARY_LINE_START)[0]), ("", ""), t.name)
        panels = {t.name: " ".join(text_of(t).split()) for t in texts}
        self.assertEqual(sorted(panels), ["English", "Info", "Italiano"])
        self.assertEqual(panels["Info"], version)
        self.assertTrue(panels["Italiano"].startswith("Lumora Pairly è") and len(panels["English"]) > 700)

        # Turn cards until a pair is found, remembering every face seen.
        seen = {}
        found = None
        for _ in range(12):
            first = next(p for p in range(20) if p not in seen)
            self.turn(cards, faces, first, seen)
            twins = [p for p, name in seen.items() if name == seen[first] and p != first]
            second = twins[0] if twins else next(p for p in range(20) if p not in seen)
            told = len(self.changed)
            if self.turn(cards, faces, second, seen) == "found":
                found = (first, second)
                break
            # A miss is covered again after its pause: the backs show again.
            wait_for(lambda: showing(cards[first]) and showing(cards[second]), "the miss covered", timeout=4)
            self.assertFalse(showing(faces[first]) or showing(faces[second]))
        self.assertIsNotNone(found, "no pair in twelve moves")
        self.assertEqual(faces[found[0]].description, "found")
        # Its change is told, once the focus has gone to the second card.
        wait_for(lambda: faces[found[0]] in self.changed[told:], "the first card of the pair told as found")
        self.assertEqual(table[0].description, "")
        # A press on a face up is a click on the card, which the game refuses:
        # a notification the surface lists tells it.
        faces[found[1]].queryAction().doAction(0)
        wait_for(lambda: "already found" in [c.name for c in surface], "the refusal told")
        self.assertEqual(sorted(c.name for c in surface if not c.name.startswith("row ")),
                         ["", "20 cards, 4 rows of 5", "English", "Exit", "Info", "Italiano", "already found"])

        # "48 cards" deals a larger table: the back and the face of every new
        # card are announced, and the table says its new size.
        added = []
        listener = lambda e: added.append(e.any_data.name if e.any_data else None)
        pyatspi.Registry.registerEventListener(listener, "object:children-changed:add")
        self.s.key("alt+o", "Down", "Return")
        wait_for(lambda: len(self.cards(game)) == 48, "48 cards")
        wait_for(lambda: len(added) >= 56, "the 28 new cards announced", timeout=3)
        pyatspi.Registry.deregisterEventListener(listener, "object:children-changed:add")
        self.assertEqual(added, [f"row {i // 8 + 1}, column {i % 8 + 1}{up}" for i in range(20, 48)
                                 for up in ("", ", face up")])
        self.assertEqual(len({c.name for c in self.cards(game)}), 48)
        self.assertEqual({c.description for c in self.cards(game)}, {"face down"})
        self.assertEqual(table[0].name, "48 cards, 6 rows of 8")
        self.assertEqual(table[0].description, "all face down")

        # "Exit", then "Quit": both windows go with the bridge still on.
        next(b for b in descendants(game, pyatspi.ROLE_PUSH_BUTTON) if b.name == "Exit").queryAction().doAction(0)
        wait_for(lambda: showing(buttons[2]), "the start window again")
        self.assertFalse(any(showing(c) for c in cards), "cards of a hidden table are not showing")
        buttons[2].queryAction().doAction(0)
        self.assertEqual(self.s.app.wait(timeout=10), 0, self.s.app.stderr.read().decode(errors="replace"))
        pump()
        self.assertEqual(self.held, [])

    def turn(self, cards, faces, place, seen):
        """Presses a face-down card; returns what its face then says."""
        cards[place].queryAction().doAction(0)
        wait_for(lambda: showing(faces[place]) and not showing(cards[place]), f"card {place} turned")
        # The card pressed has the focus, where a screen reader reads it.
        wait_for(lambda: self.focus == faces[place], f"card {place} focused")
        now = faces[place].description
        if now != "found":  # the second card of a pair reads "found" at once
            self.assertIn(now, self.face_names)
            seen[place] = now
        return now

if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()
