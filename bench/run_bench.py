#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Whole-process figures of Pairly, as a table against their targets.

Runs the probes built beside the program under an X server of its own:
the start of the program against the same window in a minimal Qt program
and against an empty Qt Widgets window (all started several times,
alternately, medians compared), then one session that times
"Play", a size command and a card click to the moment their widgets were
painted, the CPU a waiting game takes, and the memory after many games and
many song changes.

Usage: run_bench.py BUILD_DIR [--quick]
       run_bench.py BUILD_DIR --music [--songs=NAME,NAME...] [--quick]
(--music: only the music's figures, see sound_bench.py)
"""
import os
import platform
import statistics
import subprocess
import sys
import time

import sound_bench

HERE = os.path.dirname(os.path.abspath(__file__))
WIDTH, HEIGHT = 1280, 1024
STARTS = 15


def start_x():
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{WIDTH}x{HEIGHT}x24",
                             "-nolisten", "tcp"], pass_fds=(write_fd,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as f:
        display = ":" + f.readline().strip()
    return xvfb, display


def run_probe(command, env, timeout):
    """Runs a probe; returns its "key value" lines and when it was started."""
    started = time.monotonic()
    out = subprocess.run(command, env=env, capture_output=True, text=True, timeout=timeout, check=True).stdout
    values = {}
    for line in out.splitlines():
        key, _, value = line.partition(" ")
        try:
            values[key] = float(value)
        except ValueError:
            pass
    return values, started


def first_paint_ms(command, env):
    values, started = run_probe(command, env, 60)
    for key in ("main_us", "app_us", "painted_us"):
        values[key.replace("_us", "_at_ms")] = (values[key] / 1e6 - started) * 1000
    return values["painted_at_ms"], values


def screen_reader_rows(build, quick):
    """A blind player's 20-card games through Orca: key to spoken face."""
    out = subprocess.run([sys.executable, os.path.join(HERE, "screen_reader_bench.py"), os.path.join(build, "pairly"),
                          "1" if quick else "3"], capture_output=True, text=True, timeout=900, check=True).stdout
    v = dict(line.split(" ", 1) for line in out.splitlines() if " " in line)
    worst = float(v["key_worst_ms"])
    return [("Enter -> face spoken by Orca", f"{float(v['key_median_ms']):.0f} ms",
             f"worst {worst:.0f} ms, {v['turns']} turns of {v['games']} games", "<= 300 ms", worst <= 300)]


def machine():
    model = "unknown CPU"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as f:
        mem_gib = int(f.readline().split()[1]) / 1024 / 1024
    load = os.getloadavg()[0]
    return (f"{model}, {os.cpu_count()} cores, {mem_gib:.0f} GiB, {platform.system()} {platform.release()}, "
            f"load {load:.2f} at start")


def print_rows(rows):
    widths = [max(len(str(r[i])) for r in rows) for i in range(4)]
    header = ("figure", "measured", "", "target")
    print("  ".join(h.ljust(w) for h, w in zip(header, widths)) + "  result")
    for row in rows:
        verdict = "-" if row[4] is None else ("ok" if row[4] else "MISSED")
        print("  ".join(str(c).ljust(w) for c, w in zip(row[:4], widths)) + "  " + verdict)


def music_only(build, env, quick):
    songs = next((a.split("=", 1)[1].split(",") for a in sys.argv if a.startswith("--songs=")), ())
    print(f"Machine: {machine()}")
    rows, table = sound_bench.run_music(build, env, songs, quick)
    print_rows(rows)
    for line in table:
        print(line)
    return 0


def main():
    build = os.path.abspath(sys.argv[1])
    quick = "--quick" in sys.argv
    xvfb, display = start_x()
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    env.pop("WAYLAND_DISPLAY", None)
    if "--music" in sys.argv:
        try:
            return music_only(build, env, quick)
        finally:
            xvfb.terminate()
            xvfb.wait()
    try:
        empty, reference, pairly = [], [], []
        empty_parts, pairly_parts = [], []
        empty_peak = pairly_peak = 0
        for _ in range(3 if quick else STARTS):
            ms, values = first_paint_ms([os.path.join(build, "bench", "bench_empty_window")], env)
            empty.append(ms)
            empty_parts.append(values)
            empty_peak = max(empty_peak, values["peak_kib"])
            reference.append(first_paint_ms([os.path.join(build, "bench_start_reference")], env)[0])
            ms, values = first_paint_ms([os.path.join(build, "bench_pairly_start")], env)
            pairly.append(ms)
            pairly_parts.append(values)
            pairly_peak = max(pairly_peak, values["peak_kib"])
        session, _ = run_probe([os.path.join(build, "bench_pairly_session")] + (["quick"] if quick else []),
                               env, 900)
        sound_rows, music_table = sound_bench.run(build, env, quick)
        reader_rows = screen_reader_rows(build, quick)
    finally:
        xvfb.terminate()
        xvfb.wait()

    e, r, p = statistics.median(empty), statistics.median(reference), statistics.median(pairly)
    peak = max(session["end_peak_kib"], pairly_peak)
    rows = [
        ("start -> start window painted", f"{p:.0f} ms (same window, minimal Qt program {r:.0f} ms)",
         f"ratio {p / r:.2f}", "ratio <= 1.1", p / r <= 1.1),
        ("start -> start window painted", f"{p:.0f} ms (empty window {e:.0f} ms)", f"ratio {p / e:.2f}",
         "ratio <= 1.3", p / e <= 1.3),
        ('"Play" -> 20-card table painted, first', f"{session['play_first_ms']:.1f} ms", "", "<= 50 ms",
         session["play_first_ms"] <= 50),
        ('"Play" -> 20-card table painted, again', f"{session['play_median_ms']:.1f} ms", "median", "<= 50 ms",
         session["play_median_ms"] <= 50),
        ("size command -> 80 cards painted, first", f"{session['size80_first_ms']:.1f} ms", "", "<= 30 ms",
         session["size80_first_ms"] <= 30),
        ("size command -> 80 cards painted, again", f"{session['size80_median_ms']:.1f} ms", "median",
         "<= 30 ms", session["size80_median_ms"] <= 30),
        ("click -> face painted", f"{session['face_median_ms']:.2f} ms",
         f"worst {session['face_worst_ms']:.2f} ms", "<= 16 ms", session["face_worst_ms"] <= 16),
        ("peak RSS", f"{peak / 1024:.1f} MiB (empty window {empty_peak / 1024:.1f} MiB)",
         f"ratio {peak / empty_peak:.2f}", "(reported)", None),
        (f"RSS growth over {session['games']:.0f} games", f"{session['games_rss_growth_kib']:.0f} KiB", "",
         "<= 1024 KiB", session["games_rss_growth_kib"] <= 1024),
        (f"RSS growth over {session['songs']:.0f} song changes", f"{session['songs_rss_growth_kib']:.0f} KiB",
         f"{session['songs_rss_growth_trimmed_kib']:.0f} KiB in use", "<= 1024 KiB",
         session["songs_rss_growth_kib"] <= 1024),
    ] + sound_rows + reader_rows
    print(f"Machine: {machine()}")
    print(f"Starts: {len(empty)} of each, alternately; medians.")
    print_rows(rows)
    for line in music_table:
        print(line)

    def part(parts, key):
        return statistics.median(v[key] for v in parts)

    print(f"Start-up parts, medians: main() reached {part(pairly_parts, 'main_at_ms'):.0f} ms "
          f"(empty window {part(empty_parts, 'main_at_ms'):.0f} ms), QApplication made "
          f"{part(pairly_parts, 'app_at_ms'):.0f} ms ({part(empty_parts, 'app_at_ms'):.0f} ms), start window built {part(pairly_parts, 'build_ms'):.0f} ms, "
          f"loaded {part(pairly_parts, 'load_ms'):.0f} ms; first Play's handler "
          f"{session['play_first_handler_ms']:.0f} ms")
    return 0


if __name__ == "__main__":
    sys.exit(main())
