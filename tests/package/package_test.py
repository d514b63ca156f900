#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds the Debian package, checks it with lintian, installs it, plays it
and removes it again.

The package is made by debian/rules from this build folder (PAIRLY_PREBUILT)
instead of a second compile: the plain build is configured with the flags
dpkg-buildflags gives, so its program passes lintian's hardening checks.
`make deb` builds the package from the sources instead.

Only where CI=true or PAIRLY_TEST_SYSTEM_INSTALL=1 is the package installed
with apt (and purged again, with every package apt brought in); elsewhere it
is unpacked into a temporary root and played from there.
"""
import io
import os
import shutil
import subprocess
import sys
import tarfile
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "install"))
from install_test import Session, check_desktop_metadata, check_program_folder, play_a_table  # noqa: E402

BUILD_DIR = SOURCE_DIR = None
PROGRAM_DIR = os.path.join("lib", "games", "pairly")
DATA_DIR = os.path.join("share", "games", "pairly")
STARTER = os.path.join("games", "pairly")
SOUNDFONTS = "timgm6mb-soundfont | fluid-soundfont-gm"
APT = ["apt-get", "-y", "-q", "-o", "DPkg::Lock::Timeout=120"]


def system_install():
    return os.environ.get("CI") == "true" or os.environ.get("PAIRLY_TEST_SYSTEM_INSTALL") == "1"


def as_root(command):
    return command if os.geteuid() == 0 else ["sudo", "-n", *command]


def run(command, **kwargs):
    done = subprocess.run(command, capture_output=True, text=True, timeout=240, **kwargs)
    if done.returncode != 0:
        raise AssertionError(f"{' '.join(command)} failed ({done.returncode}):\n{done.stdout[-4000:]}{done.stderr[-4000:]}")
    return done.stdout


def installed_packages():
    return set(run(["dpkg-query", "-W", "-f", "${binary:Package}=${Version} ${db:Status-Abbrev}\n"]).splitlines())


def package_paths(deb):
    """Every path the package holds, as dpkg -L lists it."""
    tar = subprocess.run(["dpkg-deb", "--fsys-tarfile", deb], capture_output=True, check=True).stdout
    with tarfile.open(fileobj=io.BytesIO(tar)) as t:
        return [m.name[1:].rstrip("/") for m in t.getmembers() if m.name not in ("./", ".")]


def cache_entry(name):
    with open(os.path.join(BUILD_DIR, "CMakeCache.txt")) as f:
        for line in f:
            if line.startswith(name + ":"):
                return line.split("=", 1)[1].strip()
    return ""


class PackageTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="pairly-package-", dir=os.environ.get("PAIRLY_SHOTS_DIR"))
        os.chmod(self.work, 0o755)  # apt reads the .deb as its own user
        self.shots = os.path.join(self.work, "shots")
        self.elsewhere = os.path.join(self.work, "elsewhere")
        os.mkdir(self.shots)
        os.mkdir(self.elsewhere)
        self.addCleanup(shutil.rmtree, self.work, ignore_errors=True)

    def build_package(self):
        """debian/ alone is enough for a package made from a prebuilt folder:
        its install rules name the source files by absolute path."""
        flags = cache_entry("CMAKE_CXX_FLAGS") + cache_entry("CMAKE_EXE_LINKER_FLAGS")
        if "_FORTIFY_SOURCE" not in flags or "relro" not in flags:
            self.fail(f"{BUILD_DIR} lacks Debian's hardening flags: configure it with `make build`")
        tree = os.path.join(self.work, "pairly")
        shutil.copytree(os.path.join(SOURCE_DIR, "debian"), os.path.join(tree, "debian"))
        env = {k: v for k, v in os.environ.items() if k not in ("MAKEFLAGS", "MFLAGS", "MAKELEVEL")}
        # No debug-symbol package and the fastest compression: neither
        # changes what the package holds.
        env.update(PAIRLY_PREBUILT=os.path.abspath(BUILD_DIR), DEB_BUILD_OPTIONS="noddebs",
                   DPKG_DEB_COMPRESSOR_LEVEL="1")
        run(["dpkg-buildpackage", "-us", "-uc", "-b"], cwd=tree, env=env)
        name = f"pairly_{cache_entry('CMAKE_PROJECT_VERSION')}-1_amd64"
        deb, changes = (os.path.join(self.work, name + ext) for ext in (".deb", ".changes"))
        self.assertTrue(os.path.isfile(deb), f"{name}.deb among {os.listdir(self.work)}")
        return deb, changes

    def check_lintian(self, changes):
        done = subprocess.run(["lintian", "--pedantic", "--fail-on", "error,warning", changes],
                              capture_output=True, text=True, timeout=240)
        # As root (CI) lintian adds a line of its own to standard error.
        stderr = done.stderr.replace("running with root privileges is not recommended!\n", "")
        self.assertEqual((done.returncode, done.stdout + stderr), (0, ""), "lintian --pedantic")

    def check_control(self, deb):
        depends = run(["dpkg-deb", "-f", deb, "Depends"])
        self.assertIn(SOUNDFONTS, depends)
        self.assertIn("libqt6widgets6", depends, "shared-library dependencies filled in")
        self.assertIn("libsdl2-mixer-2.0-0", depends, "the sound module's dependencies too")

    def check_layout(self, prefix, contents):
        """Programs under lib/games, data under share/games, linked back by
        relative links into the program folder."""
        folder = os.path.join(prefix, PROGRAM_DIR)
        data = os.path.join(prefix, DATA_DIR)
        for name in os.listdir(data):
            link = os.path.join(folder, name)
            self.assertTrue(os.path.islink(link) and not os.path.isabs(os.readlink(link)), link)
            self.assertEqual(os.path.realpath(link), os.path.realpath(os.path.join(data, name)))
        self.assertEqual(sorted(os.listdir(folder)), sorted(os.listdir(data) + ["libpairly_audio.so", "pairly"]))
        check_program_folder(self, prefix, PROGRAM_DIR, STARTER, SOURCE_DIR)
        self.assertTrue(os.path.isfile(os.path.join(prefix, "share", "man", "man6", "pairly.6.gz")), "pairly(6)")
        metainfos = [os.path.basename(p) for p in contents if p.endswith(".metainfo.xml")]
        self.assertEqual(len(metainfos), 1, metainfos)
        check_desktop_metadata(self, prefix, metainfos[0])

    def play(self, prefix):
        session = Session(self.shots)
        self.addCleanup(session.close)
        play_a_table(self, session, os.path.join(prefix, STARTER), self.elsewhere)

    def install_with_apt(self, deb, paths):
        """Returns the package's files as dpkg lists them, which of them were
        there before, and the machine's packages before."""
        state = subprocess.run(["dpkg-query", "-W", "-f", "${db:Status-Status}", "pairly"],
                               capture_output=True, text=True).stdout
        if state not in ("", "not-installed"):
            self.fail(f"pairly is already {state} on this machine; the test will not replace it")
        before = installed_packages()
        existed = {p for p in paths if os.path.lexists(p)}
        self.addCleanup(self.remove_new_packages, before)
        run(as_root([*APT, "install", os.path.abspath(deb)]), env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
        listed = [p for p in run(["dpkg", "-L", "pairly"]).splitlines() if p != "/."]
        self.assertEqual(sorted(listed), sorted(paths), "dpkg -L lists the package")
        return listed, existed, before

    def remove_new_packages(self, before):
        new = sorted({line.split("=")[0] for line in installed_packages() - before})
        if new:
            run(as_root([*APT, "purge", *new]), env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))

    def test_build_check_install_play_remove(self):
        deb, changes = self.build_package()
        self.check_lintian(changes)
        self.check_control(deb)
        paths = package_paths(deb)
        if system_install():
            listed, existed, before = self.install_with_apt(deb, paths)
            self.check_layout("/usr", paths)
            self.play("/usr")
            self.remove_new_packages(before)
            self.assertEqual(installed_packages(), before, "the machine's packages as they were")
            left = [p for p in listed if p not in existed and os.path.lexists(p)]
            self.assertEqual(left, [], "files left after the purge")
            gone = [p for p in existed if not os.path.lexists(p)]
            self.assertEqual(gone, [], "folders of other packages removed")
        else:
            root = os.path.join(self.work, "root")
            run(["dpkg-deb", "-x", deb, root])
            self.check_layout(os.path.join(root, "usr"), paths)
            self.play(os.path.join(root, "usr"))


if __name__ == "__main__":
    BUILD_DIR, SOURCE_DIR = sys.argv[1:3]
    del sys.argv[1:3]
    unittest.main()
