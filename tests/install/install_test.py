#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Installs Pairly into a temporary prefix, plays it from there, uninstalls it.

The installed program is started through the bin/ link from an unrelated
working directory, so it must find its songs, rustle and start picture through
its own resolved location. The desktop metadata goes through the same
validators a distribution runs. Uninstalling removes exactly the files of
install_manifest.txt and must leave nothing behind.
"""
import configparser
import filecmp
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

# The shared session helper is imported from the source tree; leave no bytecode there.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from play_test import DARK_GREEN, HEIGHT, PLAY, START_TITLE, WIDTH, Session, start_window_shown  # noqa: E402

CMAKE = BUILD_DIR = SOURCE_DIR = None
ICON_SIZES = (16, 32, 48, 64, 128, 256)
APPLICATIONS = os.path.join("share", "applications")
METAINFO_DIR = os.path.join("share", "metainfo")


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        raise AssertionError(f"{path} is not a PNG")
    return struct.unpack(">II", header[16:24])


def files_under(root):
    return sorted(os.path.relpath(os.path.join(d, n), root)
                  for d, dirs, names in os.walk(root)
                  for n in names + [x for x in dirs if os.path.islink(os.path.join(d, x))])


# The checks below take the installed tree's prefix, so that the Debian
# package's test runs them on its own tree too.

def check_program_folder(test, prefix, program_dir, starter, source_dir):
    """The program, started through a relative link, finds every data file
    of the source tree unchanged in its own folder."""
    folder = os.path.join(prefix, program_dir)
    program = os.path.join(folder, "pairly")
    test.assertTrue(os.access(program, os.X_OK), program)
    link = os.path.join(prefix, starter)
    test.assertTrue(os.path.islink(link), f"{starter} is a link")
    test.assertFalse(os.path.isabs(os.readlink(link)), "the link is relative, the tree relocatable")
    test.assertEqual(os.path.realpath(link), os.path.realpath(program))
    data = os.path.join(source_dir, "data")
    compare = filecmp.dircmp(data, folder)
    test.assertEqual(compare.left_only, [], "every data file lies beside the program")
    songs = filecmp.cmpfiles(os.path.join(data, "music"), os.path.join(folder, "music"),
                             os.listdir(os.path.join(data, "music")), shallow=False)
    test.assertEqual(len(songs[0]), 10, f"ten songs installed unchanged: {songs}")
    for name in ("carta.wav", "lumora pairly.jpg"):
        test.assertTrue(filecmp.cmp(os.path.join(data, name), os.path.join(folder, name), shallow=False), name)


def check_desktop_metadata(test, prefix, metainfo_name):
    """The menu entry, its icons and the AppStream file pass the validators a
    distribution runs and are named by the component id."""
    metainfo = os.path.join(prefix, METAINFO_DIR, metainfo_name)
    run = subprocess.run(["appstreamcli", "validate", "--no-net", "--strict", metainfo],
                         capture_output=True, text=True)
    test.assertEqual(run.returncode, 0, "appstreamcli validate:\n" + run.stdout + run.stderr)
    component = ET.parse(metainfo).getroot()
    app_id = component.findtext("id")
    test.assertEqual(metainfo_name, app_id + ".metainfo.xml")
    test.assertNotIn("example", app_id + "".join(i.text for i in component.iter("image")), "no placeholder")
    test.assertTrue(component.findall("screenshots/screenshot/image"), "a screenshot reference")

    test.assertEqual(component.findtext("launchable[@type='desktop-id']"), app_id + ".desktop")
    desktop = os.path.join(prefix, APPLICATIONS, app_id + ".desktop")
    run = subprocess.run(["desktop-file-validate", desktop], capture_output=True, text=True)
    test.assertEqual((run.returncode, run.stdout + run.stderr), (0, ""), "desktop-file-validate")
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(desktop)
    section = entry["Desktop Entry"]
    test.assertEqual(section["Exec"].split()[0], "pairly", "Exec names the starter link")
    test.assertEqual(section["Icon"], app_id)
    for side in ICON_SIZES:
        png = os.path.join(prefix, "share", "icons", "hicolor", f"{side}x{side}", "apps", f"{app_id}.png")
        test.assertEqual(png_size(png), (side, side), png)


def play_a_table(test, session, program, elsewhere):
    """Starts the program from an unrelated folder, plays a table of twenty,
    leaves it with "Exit" and ends the program with "Quit"."""
    s = session
    s.start(program, cwd=elsewhere)
    shot = s.wait_for(start_window_shown, "installed-start-window", timeout=20)
    title = s.xdotool("search", "--name", f"^{START_TITLE}$")
    test.assertTrue(title.stdout.strip(), "start window title")
    # The start picture comes from the program's folder: without it the
    # window would be dark green all over.
    test.assertNotEqual(shot.pixel(WIDTH // 2, HEIGHT // 3), DARK_GREEN, "start picture found")

    s.click(*PLAY)
    s.exit_and_quit(s.dealt_grid())
    test.assertEqual(os.listdir(elsewhere), [], "the program writes nothing")


class InstallTest(unittest.TestCase):
    def setUp(self):
        self.shots = tempfile.mkdtemp(prefix="pairly-install-shots-", dir=os.environ.get("PAIRLY_SHOTS_DIR"))
        self.work = tempfile.mkdtemp(prefix="pairly-install-")
        self.prefix = os.path.join(self.work, "prefix")
        self.elsewhere = os.path.join(self.work, "elsewhere")
        os.mkdir(self.elsewhere)
        self.session = None

    def tearDown(self):
        if self.session:
            self.session.close()
        shutil.rmtree(self.work, ignore_errors=True)

    def install(self):
        run = subprocess.run([CMAKE, "--install", BUILD_DIR, "--prefix", self.prefix],
                             capture_output=True, text=True)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        with open(os.path.join(BUILD_DIR, "install_manifest.txt")) as f:
            return [line for line in f.read().splitlines() if line]

    def uninstall(self, manifest):
        for path in manifest:
            os.remove(path)
        for d, dirs, names in os.walk(self.prefix, topdown=False):
            if not os.listdir(d):
                os.rmdir(d)

    def test_install_play_uninstall(self):
        manifest = self.install()
        self.assertEqual(sorted(os.path.relpath(p, self.prefix) for p in manifest), files_under(self.prefix),
                         "the manifest lists every installed file")
        check_program_folder(self, self.prefix, os.path.join("lib", "pairly"), os.path.join("bin", "pairly"), SOURCE_DIR)
        metainfos = os.listdir(os.path.join(self.prefix, METAINFO_DIR))
        self.assertEqual(len(metainfos), 1, metainfos)
        check_desktop_metadata(self, self.prefix, metainfos[0])
        self.assertEqual(os.listdir(os.path.join(self.prefix, APPLICATIONS)),
                         [metainfos[0].replace(".metainfo.xml", ".desktop")], "one menu entry, named by the id")
        self.session = Session(self.shots)
        play_a_table(self, self.session, os.path.join(self.prefix, "bin", "pairly"), self.elsewhere)
        self.uninstall(manifest)
        self.assertFalse(os.path.exists(self.prefix) and files_under(self.prefix),
                         f"left behind: {os.path.exists(self.prefix) and files_under(self.prefix)}")
        self.assertFalse(os.path.exists(self.prefix), "no empty folder left either")
        shutil.rmtree(self.shots)  # kept only when the test fails


if __name__ == "__main__":
    CMAKE, BUILD_DIR, SOURCE_DIR = sys.argv[1:4]
    del sys.argv[1:4]
    unittest.main()
