# SPDX-License-Identifier: GPL-3.0-or-later
"""The sound's figures: what silence costs, how soon the rustle sounds, what
the music costs against the players a user would otherwise run.

Everything goes through a private PulseAudio server with a null sink (the one
the end-to-end tests use), whose monitor is recorded: a rustle's latency is
the time from the click to the moment its first non-zero sample reached the
server (read back through the recording, so an upper bound).

The music's cost is the whole waiting game's CPU and wake-ups while a song
plays, against the same song played through the same server by SDL2_mixer's
own MIDI player (bench_music_player: Mix_LoadMUS) and by FluidSynth's own
player (fluidsynth -a pulseaudio), with the same SoundFont, rate, gain and
buffer length, one right after the other, and against FluidSynth alone
rendering the same seconds offline (the floor). Every song, two rounds,
medians.
"""
import glob
import os
import shutil
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from sound_server import RATE, Recorder, SoundServer, missing_tools  # noqa: E402

SONGS = ["Chill1", "Champion", "Champs", "Easycity", "inds_01", "Humanoid", "Impact", "Lastday", "Scopa", "Sevilana"]
SONG_SECONDS = 20
ROUNDS = 2
# The mixer's buffer in frames (MixerOutput::kChunkFrames) and the music's
# gain (SongSynth's, SDL2_mixer's at full music volume).
BUFFER_FRAMES = 1024
GAIN = 1.2


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


def sound_font():
    """The SoundFont the game finds (sound/sound_font.cpp), given to every player."""
    chosen = os.environ.get("SDL_SOUNDFONTS", "").split(":")[0].split(";")[0]
    if chosen:
        return chosen
    for name in ("default-GM.sf2", "TimGM6mb.sf2", "FluidR3_GM.sf2"):
        path = os.path.join("/usr/share/sounds/sf2", name)
        if os.path.isfile(path):
            return path
    return ""


def threads_usage(pid):
    """CPU seconds and context switches of a running process's threads."""
    cpu, switches = 0.0, 0
    for task in glob.glob(f"/proc/{pid}/task/*"):
        try:
            with open(task + "/schedstat") as f:
                cpu += int(f.read().split()[0]) / 1e9
            with open(task + "/status") as f:
                switches += sum(int(line.split()[1]) for line in f if "ctxt_switches" in line)
        except (OSError, ValueError, IndexError):
            pass
    return cpu, switches


def fluidsynth_player(server, song_file, seconds, env):
    """FluidSynth's own player through the server: (CPU %, wake-ups/s) over
    `seconds` from the song's second second on (a second after its stream
    appeared), read from outside (its threads live on to the end)."""
    player = subprocess.Popen(["fluidsynth", "-a", "pulseaudio", "-i", "-n", "-q", "-r", str(RATE),
                               "-z", str(BUFFER_FRAMES), "-g", str(GAIN), env["SDL_SOUNDFONTS"], song_file],
                              env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + 30
        while server.playing_streams() == 0 and player.poll() is None and time.monotonic() < deadline:
            time.sleep(0.05)
        time.sleep(1)
        cpu, switches = threads_usage(player.pid)
        started = time.monotonic()
        time.sleep(seconds)
        cpu_after, switches_after = threads_usage(player.pid)
        elapsed = time.monotonic() - started
        if player.poll() is not None:
            raise RuntimeError("fluidsynth ended early")
        return (cpu_after - cpu) / elapsed * 100, (switches_after - switches) / elapsed
    finally:
        player.kill()
        player.wait()


def music_costs(build, server, env, songs, seconds, rounds):
    """Each song in the game, in SDL2_mixer's player, in FluidSynth's player
    and offline, one right after the other; the rounds go through all songs
    in turn, as the load of the machine changes by the minute, and the game
    and SDL2_mixer's player take turns at going first.
    Returns {song: {player: [(cpu, wake-ups), ...]}} and the loads seen."""
    probe = os.path.join(build, "bench_pairly_sound")
    peer = os.path.join(build, "bench", "bench_music_player")

    def game(song, song_file):
        got = values(subprocess.run([probe, str(song), str(seconds)], env=env, capture_output=True, text=True,
                                    timeout=600, check=True).stdout)
        return got[f"song_{song}_cpu_pct"][0], got[f"song_{song}_wakeups_per_s"][0]

    def mixer(song, song_file):
        got = values(subprocess.run([peer, "mixer", song_file, str(seconds)], env=env, capture_output=True,
                                    text=True, timeout=600, check=True).stdout)
        return got["cpu_pct"][0], got["wakeups_per_s"][0]

    def fluidsynth(song, song_file):
        return fluidsynth_player(server, song_file, seconds, env)

    def floor(song, song_file):
        return offline(build, SONGS[song - 1], 1, seconds), 0

    costs, loads = {}, []
    for round_ in range(rounds):
        order = [game, mixer] if round_ % 2 == 0 else [mixer, game]
        for song in songs:
            song_file = os.path.join(build, "music", SONGS[song - 1] + ".mid")
            loads.append(os.getloadavg()[0])
            for player in order + [fluidsynth, floor]:
                costs.setdefault(song, {}).setdefault(player.__name__, []).append(player(song, song_file))
    return costs, loads


def music_table(costs, loads, seconds, rounds):
    """The per-song table, and the game's ratio to SDL2_mixer's player on its
    dearest song."""
    def cell(song, player):
        runs = costs[song][player]
        each = " ".join(f"{r[0]:.2f}" for r in runs)
        return (f"{statistics.median(r[0] for r in runs):5.2f} % [{each}] "
                f"{statistics.median(r[1] for r in runs):3.0f}/s")

    lines = [f"Music: {seconds} s of each song from its second second, through the same server, one player right "
             f"after the other, {rounds} round(s); medians, each round in brackets; CPU in % of one core, "
             f"wake-ups per second; load {min(loads):.2f}-{max(loads):.2f}.",
             f"  {'song':<9}  {'game':<27}  {'SDL2_mixer (Mix_LoadMUS)':<27}  {'game/mixer':<15}  "
             f"{'fluidsynth -a pulseaudio':<27}  offline floor"]
    worst = 0
    for song in costs:
        ratio = (statistics.median(r[0] for r in costs[song]["game"])
                 / statistics.median(r[0] for r in costs[song]["mixer"]))
        worst = max(worst, ratio)
        verdict = f"{ratio:.2f} {'ok' if ratio <= 1 else 'MISSED'}"
        lines.append(f"  {SONGS[song - 1]:<9}  {cell(song, 'game'):<27}  {cell(song, 'mixer'):<27}  {verdict:<15}  "
                     f"{cell(song, 'fluidsynth'):<27}  "
                     f"{statistics.median(r[0] for r in costs[song]['floor']):5.2f} %")
    return lines, worst


def run(build, env, quick=False):
    """Returns the rows of the table: (figure, measured, detail, target, met),
    and the lines of the music's table."""
    missing = missing_tools() + [tool for tool in ("fluidsynth",) if not shutil.which(tool)]
    if missing:
        return [("sound figures", "not measured", ", ".join(missing) + " not installed", "", None)], []
    songs = [7] if quick else list(range(1, len(SONGS) + 1))
    seconds = 5 if quick else SONG_SECONDS
    rounds = 1 if quick else ROUNDS

    server = SoundServer()
    server.start()
    recorder = Recorder(server)
    probe = os.path.join(build, "bench_pairly_sound")
    probe_env = dict(env, SDL_AUDIODRIVER="pulseaudio", SDL_SOUNDFONTS=sound_font(), **server.client_env)
    try:
        got = values(subprocess.run([probe], env=probe_env, capture_output=True, text=True, timeout=600,
                                    check=True).stdout)
        recorder.close()
        costs, loads = music_costs(build, server, probe_env, songs, seconds, rounds)
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
    table, worst_ratio = music_table(costs, loads, seconds, rounds)
    rows.append(("music, game / SDL2_mixer's MIDI player", f"{worst_ratio:.2f} x on the dearest song",
                 f"{len(costs)} songs, table below", "<= 1.00 on every song", worst_ratio <= 1))
    return rows, table
