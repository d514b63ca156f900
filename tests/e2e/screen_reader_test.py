#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Pairly as Orca, Debian's screen reader, speaks it, and a blind player's game.

Runs itself again inside a session bus of its own with a temporary home
(screen_reader.private_session): Orca starts once on that bus under Xvfb, and
each case starts the program afresh. Only keys and clicks of xdotool reach the
program, and every check is on what Orca says, read from its "SPEECH OUTPUT:"
lines. No case may leave an "ERROR: Could not process" in Orca's log for an
event of the program.
"""
import os
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from play_test import ORANGE, Grid, Session, game_window_shown, menubar_height  # noqa: E402
from screen_reader import BlindPlayer, ScreenReader, described, place_of, private_session  # noqa: E402

PROGRAM = None
START = ["Quernavellistro  -  Pairly.", "Info, Play, Quit."]
GAME = "Quernavellistro  -  Pairly  frame."


class ScreenReaderTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.s = Session(os.environ.get("PAIRLY_SHOTS_DIR"))
        try:
            cls.reader = ScreenReader(cls.s.env)
        except BaseException:
            cls.s.close()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.reader.close()
        cls.s.close()
        if cls.s.shots_dir:
            cls.reader.save(os.path.join(cls.s.shots_dir, "screen-reader.log"))

    def setUp(self):
        self.start = self.reader.mark()
        self.s.start(PROGRAM, cwd=tempfile.gettempdir())
        self.player = BlindPlayer(self.s, self.reader)
        self.heard = []  # the transcript of the case, for its report

    def tearDown(self):
        if self.s.app.poll() is None:
            self.s.app.kill()
            self.s.app.wait()
        self.assertEqual(self.reader.failures(self.start), [])

    def say(self, *keys, hear=(), then=0, timeout=10.0):
        """Presses keys and waits until Orca has said each of `hear`, in
        order, and `then` more utterances after them; returns what it said
        from the first of them on. Without keys, listens from the case's start."""
        start = self.player.press(*keys)[0] if keys else self.start

        def heard_all(said):
            spoken = [u for _, _, u in said]
            at, first = -1, None
            for wanted in hear:
                if wanted not in spoken[at + 1:]:
                    return None
                at = spoken.index(wanted, at + 1)
                first = at if first is None else first
            return spoken[first:] if len(spoken) > at + then else None
        spoken = self.reader.wait_for(heard_all, f"{list(hear)} after {keys}", start, timeout)
        self.heard.append((keys, spoken))
        return spoken

    def menu(self, key, first):
        """Opens a menu with its access key and hears its first item. Under
        load the X server can hand the focus back to the window a moment
        after the menu opened (the key grabs of the accessibility registry),
        and Qt closes the menu again: a player then opens it again."""
        echoes = ("left alt ", "escape ")
        for _ in range(3):
            start = self.player.press(key)[0]
            said = lambda: [u for _, _, u in self.reader.speech(start) if u not in echoes]  # noqa: E731
            deadline = time.monotonic() + 5
            while first not in said() and time.monotonic() < deadline:
                time.sleep(0.05)
            time.sleep(0.5)
            if said() == [first]:
                self.heard.append(((key,), [first]))
                return
            self.player.press("Escape", "Escape")
            time.sleep(0.5)
        self.fail(f"the menu of {key} does not stay open")

    def play_from_start(self):
        """"Play" with the keys, once the start window has been read."""
        self.say(hear=START, timeout=20)
        deal, start = self.player.play_from_start(self.start)
        self.assertTitle(GAME, start)
        return deal

    def assertTitle(self, title, start):
        """The title of a window come to the front was read."""
        self.assertIn(title, [u for _, _, u in self.reader.speech(start)])

    def report(self, title):
        print(f"\n{title}", file=sys.stderr)
        for keys, spoken in self.heard:
            print(f"  {' '.join(keys) or '(waiting)'}: {spoken}", file=sys.stderr)

    # A whole 20-card game by ear: the deal, every face read as it turns, the
    # covered misses, two refused keys, and the end with every card found.
    def test_a_blind_player_wins_a_whole_game(self):
        p, r = self.player, self.reader
        self.assertEqual(self.play_from_start(), (20, 4, 5))
        seen = {"wait": None, "found": None, "announced": None}

        def during_pause(first, second, start):
            # Enter on the miss's second card while it is still up. A key
            # that comes after the pause turns the card instead.
            if seen["wait"] is None:
                key, _ = p.press("Return")

                def outcome(said):
                    for i, (_, _, u) in enumerate(said):
                        if u == "notification wait: two cards up.":
                            return u, None
                        if place_of(u) == (*second, "up") and described(said, i):
                            return u, described(said, i)
                    return None
                said, face = r.wait_for(outcome, "the refusal, or the card turned", key)
                if face is None:
                    seen["wait"] = said
                else:
                    p.opened, p.faces[second] = second, face
            # The cursor leaves the miss: its covering is announced, unless
            # the arrow came after it.
            elif seen["announced"] is None:
                p.go(p.unknown(but=(first, second)))
                said = p.covered(start, first, second)
                if said.startswith("notification"):
                    seen["announced"] = said

        while len(p.found) < 20:
            if p.move(during_pause) and seen["found"] is None:
                # Enter again on the card just found.
                seen["found"] = self.say("Return", hear=["notification already found."])
        self.assertIsNotNone(seen["wait"], "no Enter reached the program during a miss's pause")
        self.assertIsNotNone(seen["announced"], "no miss was covered away from the cursor")
        # Each notification once, and none but these.
        notices = [u for _, _, u in r.speech(self.start) if u.startswith("notification")]
        self.assertEqual(sorted(notices), sorted([seen["wait"], seen["found"][-1], seen["announced"]]))
        median, worst = p.delay_figures()
        print(f"\nblind player: 20 cards in {p.moves} moves; key to spoken face "
              f"{median * 1000:.0f} ms median, {worst * 1000:.0f} ms worst over {len(p.delays)} turns",
              file=sys.stderr)

    # The windows, the panels and the menus, as a player without sight meets
    # them; a size command deals a new table.
    def test_the_windows_panels_and_menus_as_spoken(self):
        self.say(hear=START, timeout=20)
        self.say("Right", hear=["Play push button."])
        self.say("Left", hear=["Info push button."])
        self.say("Return", hear=["Info read only text.", "Pairly ver. 2.2."])
        self.say("Return", hear=["Info push button."])
        self.say("Right", hear=["Play push button."])
        start = self.reader.mark()
        self.say("Return", hear=["20 cards, 4 rows of 5.", "all face down."], timeout=20)
        self.assertTitle(GAME, start)

        # A rules panel is read whole as it opens, named as its menu item.
        self.menu("alt+r", "Italiano.")
        italian = self.say("Return", hear=["Italiano read only text."], then=1)
        self.assertRegex(italian[1], r"(?s)^Lumora Pairly è uno dei più noti .* in cui si trovano\.$")
        self.menu("alt+r", "Italiano.")
        self.say("Down", hear=["English."])
        english = self.say("Return", hear=["English read only text."], then=1)
        self.assertRegex(english[1], r"(?s)^Lumora Pairly is one fo the most .* and their positions\.$")
        self.say("alt+i", hear=["Info read only text.", "Pairly ver. 2.2."])
        self.say("alt+i", hear=["20 cards, 4 rows of 5.", "all face down."])
        spoken = [u for _, _, u in self.reader.speech(self.start)]
        self.assertEqual((spoken.count(italian[1]), spoken.count(english[1])), (1, 1))

        self.menu("alt+s", "card rustle checked.")
        self.say("Escape", "Escape", hear=["20 cards, 4 rows of 5."])
        self.menu("alt+m", "no music.")
        self.say("Down", hear=["sequential mode checked."])
        self.say("Escape", "Escape", hear=["20 cards, 4 rows of 5."])
        self.menu("alt+o", "20 cards checked.")
        self.say("Down", hear=["48 cards."])
        self.say("Down", hear=["80 cards."])
        self.say("Return", hear=["80 cards, 8 rows of 10.", "all face down."])
        self.say("Down", hear=["row 1, column 1 push button.", "face down."])
        self.say("Tab", hear=["Exit push button."])
        start = self.reader.mark()
        self.say("Return", hear=["Play push button."], timeout=20)
        self.assertTitle(START[0], start)
        start = self.reader.mark()
        self.say("Return", hear=["80 cards, 8 rows of 10.", "all face down."], timeout=20)
        self.assertTitle(GAME, start)
        self.report("the windows, panels and menus")

    # A click turns a card as Enter does, and is read the same way; the
    # mouse player sees no card frame.
    def test_a_clicked_card_is_read_without_a_frame(self):
        self.play_from_start()
        shot = self.s.wait_for(game_window_shown, "game")
        grid = Grid(menubar_height(shot), 20, 4)
        faces = []
        for pos in (0, 1):
            start = self.reader.mark()
            self.s.click(*grid.centre(pos))
            faces.append(self.player.hear_place(start, divmod(pos, 5), "up")[0])
        self.assertFalse(self.s.screen("clicked").shows(ORANGE), "a card frame after clicks")
        if faces[1] != "found":
            # A miss: the clicked card under the focus is read face down again.
            self.player.covered(start, (0, 0), (0, 1))
        self.report("clicks")


if __name__ == "__main__":
    status = private_session(sys.argv)
    if status is not None:
        sys.exit(status)
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()
