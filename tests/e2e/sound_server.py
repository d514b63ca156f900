# SPDX-License-Identifier: GPL-3.0-or-later
"""Private sound servers with a null sink, and a recorder of what they play.

SoundServer is a PulseAudio server, PipeWireServer a PipeWire server with
WirePlumber, and with PipeWire's own pulse server where asked (a second
PipeWire with the pulse module, as `pipewire-pulse` runs it). Each runs in a
runtime folder of its own (sockets, state), reaches no session bus but one of
its own, and is killed by whoever started it; closing it removes the folder,
so nothing is left behind. They work as root. The recorder reads the null
sink's monitor and notes when each piece of sound arrived, on the same clock
as time.monotonic().
"""
import contextlib
import os
import shutil
import socket
import subprocess
import tempfile
import threading
import time

RATE = 44100
SINK = "pairly"
PIPEWIRE_TOOLS = ("pipewire", "wireplumber", "pw-cli", "pw-metadata", "pw-record", "dbus-run-session")
# PipeWire's pulse server as Debian's pipewire-pulse configures it, which
# lists a stand-in sink (module-always-sink) while there is no other.
PIPEWIRE_PULSE_CONF = """
context.spa-libs = { audio.convert.* = audioconvert/libspa-audioconvert support.* = support/libspa-support }
context.modules = [
    { name = libpipewire-module-protocol-native }
    { name = libpipewire-module-client-node }
    { name = libpipewire-module-adapter }
    { name = libpipewire-module-metadata }
    { name = libpipewire-module-protocol-pulse }
]
pulse.cmd = [ { cmd = "load-module" args = "module-always-sink" } ]
pulse.properties = { server.address = [ "unix:native" ] }
"""


def missing_tools(tools=("pulseaudio", "parec", "pactl")):
    """The programs of `tools` that are not installed."""
    return [tool for tool in tools if shutil.which(tool) is None]


class PrivateServer:
    """A server in a runtime folder of its own, run in a process group of its
    own, so that it is killed whole."""

    def __init__(self, name, socket_name):
        self.folder = tempfile.mkdtemp(prefix=f"pairly-{name}-")
        self.socket = os.path.join(self.folder, socket_name)
        self.env = {k: v for k, v in os.environ.items() if not k.startswith(("PULSE_", "PIPEWIRE_", "DBUS_", "XDG_"))}
        self.env.pop("DISPLAY", None)
        self.env.update(HOME=self.folder, XDG_RUNTIME_DIR=self.folder, XDG_CONFIG_HOME=self.folder + "/config",
                        XDG_STATE_HOME=self.folder + "/state", XDG_DATA_HOME=self.folder + "/data")
        # What a client needs to reach this server and no other.
        self.client_env = {}
        self.process = None

    def reach_by_pulse(self):
        config = os.path.join(self.folder, "client.conf")
        with open(config, "w") as f:
            f.write("autospawn = no\n")
        self.client_env.update(PULSE_SERVER="unix:" + self.socket, PULSE_CLIENTCONFIG=config,
                               PULSE_COOKIE=os.path.join(self.folder, "cookie"))

    def launch(self, command, timeout):
        """Starts `command`; returns the moment the socket accepts clients."""
        log = os.path.join(self.folder, "server.log")
        with open(log, "ab") as out:
            self.process = subprocess.Popen(command, env=self.env, start_new_session=True, stdin=subprocess.DEVNULL,
                                            stdout=out, stderr=out)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise RuntimeError(f"{command[0]} did not start: " + open(log, errors="replace").read())
            with socket.socket(socket.AF_UNIX) as s:
                try:
                    s.connect(self.socket)
                    return time.monotonic()
                except OSError:
                    pass
            time.sleep(0.02)
        raise RuntimeError(f"{command[0]} did not open its socket")

    def kill(self):
        if self.process:
            if self.process.poll() is None:
                os.killpg(self.process.pid, 9)
            self.process.wait()
        self.process = None

    def tool_env(self):
        """The environment of the server's own tools."""
        return dict(self.env, **self.client_env)

    def tool(self, *command):
        """What one of the server's tools prints."""
        return subprocess.run(command, env=self.tool_env(), capture_output=True, text=True, timeout=10).stdout

    def close(self):
        self.kill()
        shutil.rmtree(self.folder, ignore_errors=True)


class SoundServer(PrivateServer):
    """PulseAudio, talking to no session bus."""

    def __init__(self):
        super().__init__("pulse", "native")
        self.reach_by_pulse()
        self.env.update(PULSE_RUNTIME_PATH=self.folder, PULSE_STATE_PATH=self.folder,
                        DBUS_SESSION_BUS_ADDRESS="disabled:")

    def start(self, timeout=10.0):
        """Starts the server; returns the moment it accepts clients."""
        # The null sink's rewinds stall it on some kernels; a player does not need them.
        return self.launch(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "--realtime=no", "--high-priority=no", "--log-target=stderr", "--log-level=error",
             "-L", f"module-null-sink sink_name={SINK} rate={RATE} norewinds=1",
             "-L", f"module-native-protocol-unix socket={self.socket} auth-anonymous=1"], timeout)

    def playing_streams(self):
        """How many clients play into the server now."""
        return len(self.tool("pactl", "list", "short", "sink-inputs").splitlines())

    def recorder_command(self):
        return ["parec", "-d", SINK + ".monitor", "--raw", "--format=s16le", f"--rate={RATE}", "--channels=2",
                "--latency-msec=5"]


class PipeWireServer(PrivateServer):
    """PipeWire with WirePlumber on a session bus of their own, and PipeWire's
    pulse server when `pulse` is set; the null sink is made afresh at each
    start, as a desktop's sinks come back with their server."""

    def __init__(self, pulse=False):
        super().__init__("pipewire", "pulse/native" if pulse else "pipewire-0")
        self.pulse = pulse
        self.client_env.update(PIPEWIRE_RUNTIME_DIR=self.folder, PIPEWIRE_REMOTE="pipewire-0")
        if pulse:
            self.reach_by_pulse()

    def start(self, timeout=10.0, session_manager=True):
        """Starts the servers and makes the sink; returns the moment the
        socket a client reaches accepted it. Without the session manager,
        PipeWire links no stream and has no sink until start_session_manager."""
        # A killed server leaves its sockets behind.
        for name in ("pipewire-0", "pipewire-0.lock", "manager"):
            with contextlib.suppress(FileNotFoundError):
                os.remove(os.path.join(self.folder, name))
        shutil.rmtree(os.path.join(self.folder, "pulse"), ignore_errors=True)
        # Each start is a first one: WirePlumber 0.4's saved stream volumes,
        # restored while a stream waits in PipeWire's pulse server, stall
        # PipeWire for every other client.
        shutil.rmtree(os.path.join(self.folder, "state"), ignore_errors=True)
        # The session manager and the pulse server give up if PipeWire does
        # not answer yet. The session manager waits for its cue.
        servers = ("pipewire & until pw-cli info 0 >/dev/null 2>&1; do sleep 0.01; done; "
                   "(until [ -e manager ]; do sleep 0.01; done; exec wireplumber) & ")
        if self.pulse:
            with open(os.path.join(self.folder, "pulse.conf"), "w") as f:
                f.write(PIPEWIRE_PULSE_CONF)
            servers += f"pipewire -c '{self.folder}/pulse.conf' & "
        up = self.launch(["dbus-run-session", "--", "sh", "-c", f"cd '{self.folder}'; {servers} wait"], timeout)
        if session_manager:
            self.start_session_manager(timeout)
        return up

    def start_session_manager(self, timeout=10.0):
        open(os.path.join(self.folder, "manager"), "w").close()
        # The sink, once the session manager can link streams to it; it is
        # the default when the session manager has seen it. SDL's pipewire
        # driver lists only sinks with a description, as a desktop's all have.
        deadline = time.monotonic() + timeout
        made = False
        while not made or SINK not in self.tool("pw-metadata", "0", "default.audio.sink"):
            if time.monotonic() > deadline:
                raise RuntimeError("pipewire has no default sink")
            if not made and "WirePlumber" in self.tool("pw-cli", "ls", "Client"):
                made = subprocess.run(
                    ["pw-cli", "create-node", "adapter", "{ factory.name=support.null-audio-sink node.name=" + SINK
                     + " node.description=" + SINK + " media.class=Audio/Sink object.linger=1"
                     " audio.position=[FL FR] }"], env=self.tool_env(), capture_output=True, timeout=10).returncode == 0
            time.sleep(0.02)

    def playing_streams(self):
        """How many clients play into the server now."""
        return self.tool("pw-cli", "ls", "Node").count('media.class = "Stream/Output/Audio"')

    def recorder_command(self):
        # Periods shorter than 25 ms lose frames now and then on a loaded machine.
        return ["pw-record", "-P", "{ stream.capture.sink=true }", "--target", SINK, f"--rate={RATE}",
                "--channels=2", "--format=s16", "--latency=25ms", "-"]


class Recorder:
    """Everything the null sink plays from now on, as 16-bit stereo frames."""

    def __init__(self, server):
        self.process = subprocess.Popen(server.recorder_command(), env=server.tool_env(), stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL)
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
        with self.lock, memoryview(self.data) as data, data[4 * from_frame:4 * end] as part, part.cast("h") as view:
            # Released before the lock: the reader cannot grow a buffer still viewed.
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
