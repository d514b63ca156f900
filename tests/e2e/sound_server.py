# SPDX-License-Identifier: GPL-3.0-or-later
"""A private PulseAudio server with a null sink, and a recorder of what it plays.

The server runs in a runtime folder of its own (socket, cookie, state), talks
to no session bus and is killed by whoever started it; closing it removes the
folder, so nothing is left behind. It works as root. The recorder reads the
null sink's monitor through parec and notes when each piece of sound arrived,
on the same clock as time.monotonic().
"""
import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time

RATE = 44100
SINK = "pairly"


def missing_tools():
    """The programs these tests need that are not installed."""
    return [tool for tool in ("pulseaudio", "parec", "pactl") if shutil.which(tool) is None]


class SoundServer:
    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="pairly-pulse-")
        self.socket = os.path.join(self.folder, "native")
        config = os.path.join(self.folder, "client.conf")
        with open(config, "w") as f:
            f.write("autospawn = no\n")
        # What a client needs to reach this server and no other.
        self.client_env = {"PULSE_SERVER": "unix:" + self.socket, "PULSE_CLIENTCONFIG": config,
                           "PULSE_COOKIE": os.path.join(self.folder, "cookie")}
        self.process = None

    def start(self, timeout=10.0):
        """Starts the server; returns the moment it accepts clients."""
        env = {k: v for k, v in os.environ.items() if not k.startswith(("PULSE_", "DBUS_", "XDG_"))}
        env.pop("DISPLAY", None)
        env.update(HOME=self.folder, XDG_RUNTIME_DIR=self.folder, XDG_CONFIG_HOME=self.folder,
                   PULSE_RUNTIME_PATH=self.folder, PULSE_STATE_PATH=self.folder,
                   DBUS_SESSION_BUS_ADDRESS="disabled:")
        # The null sink's rewinds stall it on some kernels; a player does not need them.
        self.process = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "--realtime=no", "--high-priority=no", "--log-target=stderr", "--log-level=error",
             "-L", f"module-null-sink sink_name={SINK} rate={RATE} norewinds=1",
             "-L", f"module-native-protocol-unix socket={self.socket} auth-anonymous=1"],
            env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise RuntimeError("pulseaudio did not start: " + self.process.stderr.read().decode(errors="replace"))
            with socket.socket(socket.AF_UNIX) as s:
                try:
                    s.connect(self.socket)
                    return time.monotonic()
                except OSError:
                    pass
            time.sleep(0.02)
        raise RuntimeError("pulseaudio did not open its socket")

    def kill(self):
        if self.process:
            if self.process.poll() is None:
                self.process.kill()
            self.process.wait()
            self.process.stderr.close()
        self.process = None

    def playing_streams(self):
        """How many clients play into the server now."""
        out = subprocess.run(["pactl", "list", "short", "sink-inputs"], env=dict(os.environ, **self.client_env),
                             capture_output=True, text=True, timeout=10).stdout
        return len(out.splitlines())

    def close(self):
        self.kill()
        shutil.rmtree(self.folder, ignore_errors=True)


class Recorder:
    """Everything the null sink plays from now on, as 16-bit stereo frames."""

    def __init__(self, server):
        self.process = subprocess.Popen(
            ["parec", "-d", SINK + ".monitor", "--raw", "--format=s16le", f"--rate={RATE}", "--channels=2",
             "--latency-msec=5"], env=dict(os.environ, **server.client_env),
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.started = time.monotonic()
        self.data = bytearray()
        # (arrival time, frames recorded up to then)
        self.arrivals = [(self.started, 0)]
        self.lock = threading.Lock()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        fd = self.process.stdout.fileno()
        while True:
            chunk = os.read(fd, 4096)
            if not chunk:
                return
            now = time.monotonic()
            with self.lock:
                self.data += chunk
                self.arrivals.append((now, len(self.data) // 4))

    def frames(self):
        with self.lock:
            return len(self.data) // 4

    def level(self, frame):
        """The louder channel's absolute sample at `frame`."""
        with self.lock:
            left = int.from_bytes(self.data[4 * frame:4 * frame + 2], "little", signed=True)
            right = int.from_bytes(self.data[4 * frame + 2:4 * frame + 4], "little", signed=True)
        return max(abs(left), abs(right))

    def frame_at(self, moment):
        """The first frame that arrived after `moment`."""
        with self.lock:
            for arrived, count in self.arrivals:
                if arrived >= moment:
                    return count
            return len(self.data) // 4

    def arrival(self, frame):
        """When `frame` had arrived at the latest."""
        with self.lock:
            for arrived, count in self.arrivals:
                if count > frame:
                    return arrived
        return None

    def first_sound(self, from_frame, level=1, to_frame=None):
        """The first frame at or after `from_frame` louder than `level`, or None."""
        end = min(self.frames(), to_frame if to_frame is not None else self.frames())
        with self.lock:
            view = memoryview(self.data)[4 * from_frame:4 * end].cast("h")
            for i, sample in enumerate(view):
                if abs(sample) > level:
                    return from_frame + i // 2
        return None

    def wait_for_sound(self, from_moment, within, level=1):
        """Waits until sound louder than `level` arrives after `from_moment`;
        returns (its frame, its arrival time) or None after `within` seconds."""
        start = self.frame_at(from_moment)
        deadline = from_moment + within
        while True:
            frame = self.first_sound(start, level)
            if frame is not None:
                return frame, self.arrival(frame)
            if time.monotonic() > deadline:
                return None
            time.sleep(0.01)

    def wait_frames(self, frame):
        """Waits until `frame` has been recorded."""
        deadline = time.monotonic() + 10
        while self.frames() <= frame and time.monotonic() < deadline:
            time.sleep(0.01)

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
        self.reader.join(timeout=5)
        if not self.process.stdout.closed:
            self.process.stdout.close()
