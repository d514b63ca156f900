# SPDX-License-Identifier: GPL-3.0-or-later
"""The sound's figures: what silence costs, how soon the rustle sounds, what
the music costs beyond its own synthesis.

Everything goes through a private PulseAudio server with a null sink (the one
the end-to-end tests use), whose monitor is recorded: a rustle's latency is
the time from the click to the moment its first non-zero sample reached the
server (read back through the recording, so an upper bound). The music's cost
is the whole waiting game's CPU while a song plays, against FluidSynth alone
rendering the same seconds of the same song offline, for the three songs that
cost FluidSynth most.
"""
import os
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from sound_server import Recorder, SoundServer, missing_tools  # noqa: E402

SONGS = ["Chill1", "Champion", "Champs", "Easycity", "inds_01", "Humanoid", "Impact", "Lastday", "Scopa", "Sevilana"]
SONG_SECONDS = 20


def values(output):
    found = {}
    for line in output.splitlines():
        key, _, value = line.partition(" ")
        try:
            found.setdefault(key, []).append(float(value))
        except ValueError:
            pass
    return found


def offline(build, song, start, seconds, repeats=1):
    out = subprocess.run([os.path.join(build, "bench", "bench_music_offline"),
                          os.path.join(build, "music", song + ".mid"), str(start), str(seconds), str(repeats)],
                         capture_output=True, text=True, check=True).stdout
    return values(out)["offline_cpu_pct"][0]


def run(build, env, quick=False):
    """Returns the rows of the table: (figure, measured, detail, target, met)."""
    missing = missing_tools()
    if missing:
        return [("sound figures", "not measured", ", ".join(missing) + " not installed", "", None)]
    # The busiest songs: FluidSynth's own cost over each whole song.
    whole = {number: offline(build, name, 0, 0) for number, name in enumerate(SONGS, 1)}
    busiest = sorted(whole, key=whole.get, reverse=True)[:1 if quick else 3]
    seconds = 5 if quick else SONG_SECONDS

    server = SoundServer()
    server.start()
    recorder = Recorder(server)
    probe = os.path.join(build, "bench_pairly_sound")
    probe_env = dict(env, SDL_AUDIODRIVER="pulseaudio", **server.client_env)
    try:
        got = values(subprocess.run([probe], env=probe_env, capture_output=True, text=True, timeout=600,
                                    check=True).stdout)
        recorder.close()
        # Each song in the game, then FluidSynth alone on the same seconds of
        # it, one right after the other, twice: the load of the machine
        # changes by the minute.
        costs = {}
        for song in busiest * (1 if quick else 2):
            out = subprocess.run([probe, str(song), str(seconds)], env=probe_env, capture_output=True, text=True,
                                 timeout=600, check=True).stdout
            game = values(out)
            alone = offline(build, SONGS[song - 1], 1, seconds)
            costs.setdefault(song, []).append((game[f"song_{song}_cpu_pct"][0], alone,
                                               game[f"song_{song}_wakeups_per_s"][0]))
    finally:
        recorder.close()
        server.close()

    latencies = []
    for click_us in got["rustle_click_us"]:
        clicked = click_us / 1e6
        frame = recorder.first_sound(recorder.frame_at(clicked))
        latencies.append(None if frame is None else (recorder.arrival(frame) - clicked) * 1000)
    heard = [ms for ms in latencies if ms is not None]
    after_silence = latencies[0::10]
    rows = []
    for name, label in (("start_window", "start window"), ("no_music", 'waiting game, "no music"')):
        cpu, wakeups = got[name + "_cpu_pct"][0], got[name + "_wakeups_per_s"][0]
        rows.append((f"idle CPU, {label}, after 3 s of silence", f"{cpu:.3f} %", f"{wakeups:.1f} wake-ups/s",
                     "<= 0.05 %", cpu <= 0.05))
    worst = max(heard) if heard else float("inf")
    rows.append(("click -> rustle at the sound server", f"{statistics.median(heard):.1f} ms median" if heard else "-",
                 f"worst {worst:.1f} ms, {len(heard)}/{len(latencies)} heard", "<= 50 ms",
                 len(heard) == len(latencies) and worst <= 50))
    rows.append(("  of which after 3 s or more of silence",
                 ", ".join("-" if ms is None else f"{ms:.1f}" for ms in after_silence) + " ms",
                 "the first after 13 s", "<= 50 ms",
                 None not in after_silence and max(after_silence) <= 50))
    for song in busiest:
        runs = costs[song]
        game = statistics.median(r[0] for r in runs)
        alone = statistics.median(r[1] for r in runs)
        limit = 1.1 * alone + 0.1
        rows.append((f"music cost, {SONGS[song - 1]}", f"game {game:.2f} %",
                     f"FluidSynth alone {alone:.2f} % ({game / alone:.2f} x), "
                     f"{statistics.median(r[2] for r in runs):.0f} wake-ups/s",
                     f"<= {limit:.2f} % (1.1 x + 0.1)", game <= limit))
    return rows
