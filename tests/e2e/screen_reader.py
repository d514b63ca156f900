# SPDX-License-Identifier: GPL-3.0-or-later
"""Debian's screen reader, Orca, listening to Pairly, and a player who hears it.

`private_session()` runs the calling script again inside a session bus of its
own, with a temporary home and XDG folders: the accessibility bus, its registry
and Orca start there, read and write nothing of the user's, and end with it.
`ScreenReader` starts Orca on that bus and keeps what it logs through a
pseudo-terminal (a file would only be written in 8 KiB blocks), each line with
the moment it arrived; what Orca speaks is in its "SPEECH OUTPUT:" lines.
`BlindPlayer` plays a table from that speech alone, with keys.
"""
import os
import pty
import random
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import tty

SPEECH = re.compile(r"SPEECH OUTPUT: '(.*?)'(?: ?\{'.*\}| ?\[\{.*\}\])?\s*$", re.S)
# A line break in a logged text goes on on the next line, after this.
INDENT = " " * 18
PLACE = re.compile(r"^row (\d+), column (\d+)(, face up)? push button\.$")
DEAL = re.compile(r"^(\d+) cards, (\d+) rows of (\d+)\.$")
FAILED = "ERROR: Could not process"
# Orca refuses to start while another process of the same user is named
# exactly so; several runs on one machine take turns.
ORCA = "orca"


def private_session(argv):
    """Runs argv again under dbus-run-session with a home of its own and
    returns its exit status; inside, returns None."""
    if os.environ.get("PAIRLY_PRIVATE_SESSION"):
        return None
    home = tempfile.mkdtemp(prefix="pairly-reader-")
    try:
        env = dict(os.environ, PAIRLY_PRIVATE_SESSION="1", HOME=home)
        for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR", "XDG_STATE_HOME"):
            path = os.path.join(home, name.lower())
            os.mkdir(path, 0o700)
            env[name] = path
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        return subprocess.run(["dbus-run-session", "--", sys.executable, *argv], env=env).returncode
    finally:
        shutil.rmtree(home, ignore_errors=True)


class ScreenReader:
    """Orca with its speech log; `env` names the X display."""

    def __init__(self, env, timeout=90):
        # Where the speech server would be started, nothing is: Orca logs
        # what it would say all the same.
        self.env = dict(env, SPEECHD_CMD="/bin/false")
        self.lines = []  # (arrival, text)
        self.process = None
        master, self._slave = pty.openpty()
        tty.setraw(self._slave)
        self._master = master
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        deadline = time.monotonic() + timeout
        while True:
            while subprocess.run(["pgrep", "-x", ORCA], capture_output=True).returncode == 0:
                if time.monotonic() > deadline:
                    raise AssertionError("another screen reader is still running")
                time.sleep(random.uniform(0.5, 1.5))
            start = len(self.lines)
            # In the test's own process group: a test killed as a whole takes Orca with it.
            self.process = subprocess.Popen([ORCA, "--debug-file", os.ttyname(self._slave)], env=self.env,
                                            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                            stderr=subprocess.STDOUT)
            while self.process.poll() is None and not self.logged("Screen reader on.", start):
                if time.monotonic() > deadline:
                    self.close()
                    raise AssertionError("the screen reader did not start")
                time.sleep(0.1)
            if self.process.poll() is None:
                return
            said = self.process.stdout.read().decode(errors="replace")
            if "already running" not in said:
                raise AssertionError(f"the screen reader ended at start: {said}")

    def _read(self):
        pending = b""
        while True:
            try:
                data = os.read(self._master, 65536)
            except OSError:
                return
            if not data:
                return
            now = time.monotonic()
            *complete, pending = (pending + data).split(b"\n")
            self.lines.extend((now, line.decode(errors="replace")) for line in complete)

    def logged(self, text, start=0):
        return any(text in line for _, line in self.lines[start:])

    def save(self, path):
        """Writes the whole log, each line after its arrival in seconds."""
        with open(path, "w") as f:
            f.writelines(f"{t:.3f} {line}\n" for t, line in self.lines)

    def close(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        for fd in (self._slave, self._master):
            try:
                os.close(fd)
            except OSError:
                pass

    def mark(self):
        return len(self.lines)

    def speech(self, start=0):
        """What was spoken since line `start`: (line index, arrival, utterance)."""
        said = []
        for i in range(start, len(self.lines)):
            line, more = self.lines[i][1], i + 1
            if "SPEECH OUTPUT: '" not in line:
                continue
            while not SPEECH.search(line) and more < len(self.lines) and self.lines[more][1].startswith(INDENT):
                line, more = line + "\n" + self.lines[more][1][len(INDENT):], more + 1
            m = SPEECH.search(line)
            if m:
                said.append((i, self.lines[i][0], m.group(1)))
        return said

    def wait_for(self, find, what, start=0, timeout=10.0):
        """Waits until find(utterances since `start`) returns something."""
        deadline = time.monotonic() + timeout
        while True:
            found = find(self.speech(start))
            if found:
                return found
            if time.monotonic() > deadline or self.process.poll() is not None:
                spoken = [u for _, _, u in self.speech(start)]
                raise AssertionError(f"timed out waiting for {what}; heard {spoken}")
            time.sleep(0.02)

    def hear(self, utterance, start=0, timeout=10.0):
        """Waits for an exact utterance; returns its (index, arrival, text)."""
        return self.wait_for(lambda said: next((s for s in said if s[2] == utterance), None),
                             repr(utterance), start, timeout)

    def failures(self, start=0):
        """The events of the program Orca failed to process, by the last
        object it described before each failure."""
        failed = []
        app = None
        for _, line in self.lines[start:]:
            if "app.name=" in line:
                app = line.split("app.name=")[1].split()[0]
            elif FAILED in line and app in ("'Pairly'", None):
                failed.append(line.strip())
        return failed


def place_of(utterance):
    """(row, column, "up" or "down") of a card's reading, counted from 0."""
    m = PLACE.match(utterance)
    return (int(m.group(1)) - 1, int(m.group(2)) - 1, "up" if m.group(3) else "down") if m else None


def described(said, i):
    """The description spoken right after the utterance at position i, without its full stop."""
    return said[i + 1][2].rstrip(".") if i + 1 < len(said) else None


class BlindPlayer:
    """Plays a table by ear: keys through xdotool, knowledge from Orca's
    speech alone. It remembers each face it hears by its place, turns a known
    pair when it has one, and otherwise the unknown card nearest the cursor."""

    def __init__(self, session, reader):
        self.s, self.reader = session, reader
        self.rows = self.cols = 0
        self.at = None  # (row, column) the cursor is on, as last heard
        self.faces = {}  # place -> face heard, of the cards not yet found
        self.found = set()
        self.opened = None  # a card up as the first of the next move
        self.heard = 0  # the log line after the last face heard
        self.moves = 0
        self.delays = []  # Enter to spoken face, seconds

    def press(self, *keys):
        """Sends keys; returns the log position and the moment before."""
        start, sent = self.reader.mark(), time.monotonic()
        self.s.xdotool("key", "--delay", "30", *keys)
        return start, sent

    def play_from_start(self, since=0):
        """Hears the start window (read from line `since` on), gives "Play"
        the attention and presses it; returns the table dealt, and where the
        log stood before the key."""
        self.reader.hear("Info, Play, Quit.", since, timeout=30)
        start, _ = self.press("Right")
        self.reader.hear("Play push button.", start)
        start, _ = self.press("Return")
        return self.hear_deal(start, timeout=30), start

    def hear_deal(self, start, timeout=10.0):
        """The table Orca announced after line `start`: (cards, rows, columns)."""
        def deal(said):
            return next((tuple(int(g) for g in DEAL.match(u).groups()) for i, (_, _, u) in enumerate(said)
                         if DEAL.match(u) and described(said, i) == "all face down"), None)
        cards, self.rows, self.cols = self.reader.wait_for(deal, "a new deal", start, timeout)
        self.at, self.faces, self.found, self.opened = None, {}, set(), None
        return cards, self.rows, self.cols

    def hear_place(self, start, where, side=None, timeout=10.0):
        """Orca's reading of the card at `where` ("up" or "down" if `side`
        is given) after line `start`: (description, arrival, the log line
        after it)."""
        def card(said):
            return next(((described(said, i), t, said[i + 1][0] + 1) for i, (_, t, u) in enumerate(said)
                         if (place_of(u) or ())[:2] == where and side in (None, place_of(u)[2])
                         and described(said, i) is not None), None)
        return self.reader.wait_for(card, f"the card at {where}", start, timeout)

    def go(self, where):
        """Moves the cursor to `where` with the arrows, hearing where it lands.
        The first arrow only shows the cursor, on the top-left card."""
        (r0, c0), (r, c) = self.at or (0, 0), where
        keys = ["Down"] * (self.at is None) + ["Down"] * (r - r0) + ["Up"] * (r0 - r) \
            + ["Right"] * (c - c0) + ["Left"] * (c0 - c)
        if keys:
            self.hear_place(self.press(*keys)[0], where)
        self.at = where

    def turn(self, where):
        """Turns the card at `where`; returns what Orca says it shows."""
        self.go(where)
        start, sent = self.press("Return")
        what, heard, self.heard = self.hear_place(start, where, "up")
        self.delays.append(heard - sent)
        if what != "found":
            self.faces[where] = what
        return what

    def unknown(self, but=()):
        """The unknown card nearest the cursor."""
        here = self.at or (0, 0)
        left = [divmod(i, self.cols) for i in range(self.rows * self.cols)]
        left = [p for p in left if p not in self.faces and p not in self.found and p not in but]
        return min(left, key=lambda p: abs(p[0] - here[0]) + abs(p[1] - here[1]))

    def twin(self, place):
        return next((p for p, face in self.faces.items() if face == self.faces.get(place) and p != place), None)

    def move(self, during_pause=None):
        """One move of two cards. `during_pause(first, second, start)` runs
        while a miss is still up; `start` is where the log stood when the
        second face had been heard. Returns True for a pair."""
        first = self.opened or next((p for p in self.faces if self.twin(p) is not None), None) or self.unknown()
        if self.opened is None:
            self.turn(first)
        self.opened = None
        second = self.twin(first) or self.unknown(but=(first,))
        result = self.turn(second)
        start = self.heard
        self.moves += 1
        if result == "found":
            self.found.update((first, second))
            self.faces.pop(first)
            self.faces.pop(second, None)
            return True
        if during_pause:
            during_pause(first, second, start)
        self.covered(start, first, second)
        return False

    def covered(self, start, first, second):
        """Waits until the miss is face down again, as Orca says it: a card of
        it under the cursor read as face down, or both named, in place order,
        in a notification. Returns what was said."""
        names = " and ".join(f"row {r + 1}, column {c + 1}" for r, c in sorted((first, second)))
        notice = f"notification {names} face down."

        def heard(said):
            return next((u for i, (_, _, u) in enumerate(said) if u == notice
                         or ((place_of(u) or ())[:2] in (first, second) and place_of(u)[2] == "down"
                             and described(said, i) == "face down")), None)
        return self.reader.wait_for(heard, f"{names} covered", start, timeout=10)

    def play(self, during_pause=None):
        while len(self.found) < self.rows * self.cols:
            self.move(during_pause)
        return self.moves

    def delay_figures(self):
        return statistics.median(self.delays), max(self.delays)
