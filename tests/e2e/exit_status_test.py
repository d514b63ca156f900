#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The program ends with status 0 however the player ends it.

Each way runs the real program under an X server of its own, all at once:
"Quit" before any "Play", and the window manager's close request (what a
frame's close button sends) to the start window or to the game window.
"""
import concurrent.futures
import ctypes
import ctypes.util
import os
import subprocess
import sys
import unittest

PROGRAM = None
WIDTH, HEIGHT = 1024, 768
START_TITLE = "^Quernavellistro  -  Pairly$"
GAME_TITLE = "^Quernavellistro  -  Pairly $"
ROW_TOP = HEIGHT * 106.5 / 120


def label_centre(left_fraction, width_twips, height_twips):
    return WIDTH * left_fraction + width_twips / 30, ROW_TOP + height_twips / 30


PLAY = label_centre(50 / 120, 2292, 492)
QUIT = label_centre(105 / 120, 1116, 552)


class XClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", XClientMessage), ("pad", ctypes.c_long * 24)]


def request_close(display, window):
    """Sends WM_DELETE_WINDOW, as a window manager does for the close button."""
    x = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x.XFlush.argtypes = x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    dpy = x.XOpenDisplay(display.encode())
    event = XEvent()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = window
    event.xclient.message_type = x.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = x.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
    x.XSendEvent(dpy, window, 0, 0, ctypes.byref(event))
    x.XFlush(dpy)
    x.XCloseDisplay(dpy)


def session(way):
    """Runs the program, ends it one way, and returns its exit status."""
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{WIDTH}x{HEIGHT}x24",
                             "-nolisten", "tcp"], pass_fds=(write_fd,), stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as f:
        display = ":" + f.readline().strip()
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy")
    env.pop("WAYLAND_DISPLAY", None)
    app = subprocess.Popen([PROGRAM], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def xdotool(*args):
        return subprocess.run(["xdotool", *args], env=env, capture_output=True, text=True, timeout=20).stdout.split()

    def visible(title):
        return int(xdotool("search", "--sync", "--onlyvisible", "--name", title)[0])

    def click(at):
        xdotool("mousemove", str(int(at[0])), str(int(at[1])), "click", "1")

    try:
        start = visible(START_TITLE)
        if way == "quit":
            click(QUIT)
        elif way == "close start window":
            request_close(display, start)
        else:
            click(PLAY)
            request_close(display, visible(GAME_TITLE))
        return app.wait(timeout=10)
    finally:
        if app.poll() is None:
            app.kill()
            app.wait()
        xvfb.terminate()
        xvfb.wait()


class ExitStatusTest(unittest.TestCase):
    def test_every_way_out_ends_with_status_0(self):
        ways = ["quit", "close start window", "close game window"]
        with concurrent.futures.ThreadPoolExecutor(len(ways)) as pool:
            statuses = dict(zip(ways, pool.map(session, ways)))
        self.assertEqual(statuses, {way: 0 for way in ways})


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()
