#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Key to spoken face through Orca: a blind player's 20-card games.

Orca, Debian's screen reader, runs on a session bus of its own under Xvfb
(the screen reader test's helpers, tests/e2e/screen_reader.py); a player who
acts only on what Orca says wins GAMES games of 20 cards with the keys. For
every card turned, the time from the moment Enter is sent to the moment Orca
logs the card's face is taken.

Usage: screen_reader_bench.py PROGRAM [GAMES]; prints "key value" lines.
"""
import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from play_test import Session  # noqa: E402
from screen_reader import BlindPlayer, ScreenReader, private_session  # noqa: E402


def main(program, games):
    session = Session(None)
    reader = None
    try:
        reader = ScreenReader(session.env)
        delays, moves = [], []
        for _ in range(games):
            start = reader.mark()
            session.start(program)
            player = BlindPlayer(session, reader)
            player.play_from_start(start)
            moves.append(player.play())
            delays += player.delays
            session.app.kill()
            session.app.wait()
    finally:
        if reader:
            reader.close()
        session.close()
    print(f"games {games}")
    print(f"moves_median {statistics.median(moves)}")
    print(f"moves_worst {max(moves)}")
    print(f"turns {len(delays)}")
    print(f"key_median_ms {statistics.median(delays) * 1000:.1f}")
    print(f"key_worst_ms {max(delays) * 1000:.1f}")
    return 0


if __name__ == "__main__":
    status = private_session(sys.argv)
    if status is not None:
        sys.exit(status)
    sys.exit(main(os.path.abspath(sys.argv[1]), int(sys.argv[2]) if len(sys.argv) > 2 else 3))
