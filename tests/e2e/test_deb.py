"""The Debian package as `cpack` makes it, installed, run by the real XScreenSaver daemon and
its settings program, and removed (README.md here). Needs root, leaves the machine as it found
it, skipped (exit code 77) where the package is installed already. Usage: test_deb.py BUILD"""

import contextlib
import fcntl
import os
import pwd
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

from harness import XTest

PACKAGE, HACK = "flyingquorlin", "/usr/libexec/xscreensaver/flyingquorlin"
SETTINGS_PROGRAM = "/usr/bin/xscreensaver-settings"
LOCK = "/run/lock/flyingquorlin-package-test.lock"
# Only this hack, at once, with nothing between it and the screen.
SETTINGS = """mode: one
selected: 0
lock: False
fade: False
unfade: False
splash: False
timeout: 0:30:00
programs: flyingquorlin --root
"""
# A user's list from before the package, as the settings program saves it.
EARLIER_SETTINGS = "programs: \\\n\t\tmaze --root\t\t\\n\\\n\t\tqix --root\t\t\\n\n"
DEFAULTS = "/etc/X11/app-defaults/XScreenSaver"


def status():  # "installed", "config-files" after dpkg -r, "" or "not-installed"
    return subprocess.run(["dpkg-query", "-W", "-f=${db:Status-Status}", PACKAGE],
                          capture_output=True, text=True).stdout


def installed():  # or any trace of it left
    return status() not in ("", "not-installed")


def processes(uid):  # pid to parent pid and program of each process of the user, ended or not
    found = {}
    for status in Path("/proc").glob("[0-9]*/status"):
        with contextlib.suppress(OSError):  # gone meanwhile
            fields = dict(line.split(":", 1) for line in status.read_text().splitlines())
            if str(uid) not in fields["Uid"].split():
                continue
            program = None  # an ended process runs none
            with contextlib.suppress(OSError):
                program = os.readlink(status.parent / "exe")
            found[int(status.parent.name)] = (int(fields["PPid"]), program)
    return found


def dpkg(*args):  # waits while another program holds dpkg's lock
    for _ in range(60):
        done = subprocess.run(["dpkg", *args], capture_output=True, text=True)
        if done.returncode != 2 or "lock" not in done.stderr:
            break
        time.sleep(5)
    if done.returncode:
        raise AssertionError(f"dpkg {' '.join(args)}: {done.stderr}")
    return done.stdout


class DebTest(XTest):

    @classmethod
    def setUpClass(cls):
        cls.work = Path(tempfile.mkdtemp())
        cls.addClassCleanup(shutil.rmtree, cls.work, ignore_errors=True)
        subprocess.run(["cpack", "--config", Path(sys.argv[1]) / "CPackConfig.cmake", "-B",
                        cls.work], check=True, capture_output=True)
        cls.deb = next(cls.work.glob(f"{PACKAGE}_*.deb"))
        cls.defaults = os.readlink(DEFAULTS)
        cls.addClassCleanup(lambda: installed() and dpkg("--purge", PACKAGE))
        cls.env = dict(os.environ, DISPLAY=cls.x_server(["Xvfb", "-screen", "0", "1024x768x24"]))

    def setUp(self):  # one test removes the package
        if status() != "installed":
            dpkg("-i", self.deb)

    def user(self, settings):  # a new unprivileged user with a home of its own, removed after
        name, home = f"fqdeb{os.getpid()}", Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, home)
        # The document portal, which a GTK program may start, mounts a folder in the home.
        self.addCleanup(subprocess.run, ["fusermount3", "-u", "-z", home / ".cache/doc"],
                        capture_output=True)
        subprocess.run(["useradd", "-M", "-d", home, "-s", "/usr/sbin/nologin", name], check=True)
        self.addCleanup(subprocess.run, ["userdel", name], check=True)
        uid = pwd.getpwnam(name).pw_uid
        self.addCleanup(self.end_processes, uid)
        (home / ".xscreensaver").write_text(settings)
        shutil.chown(home, name, name)
        shutil.chown(home / ".xscreensaver", name, name)
        env = dict(self.env, HOME=str(home), USER=name, LOGNAME=name)
        return ["setpriv", f"--reuid={name}", f"--regid={name}", "--init-groups"], uid, env

    def start(self, as_user, program, env):  # a program the test ends
        # On a session bus of its own: finding none, a GTK program would start one through X
        # (dbus-launch --autolaunch) that outlives the test.
        started = subprocess.Popen(as_user + ["dbus-run-session", "--", *program], env=env,
                                   cwd=env["HOME"], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.addCleanup(started.wait, 10)
        self.addCleanup(started.terminate)

    def end_processes(self, uid):  # by pid, whatever the user still runs: userdel refuses else
        def none_left():
            left = processes(uid)
            for pid in left:
                with contextlib.suppress(ProcessLookupError):
                    os.kill(pid, signal.SIGKILL)
            return not left
        self.wait_until(none_left, 30, "the test user's processes to end")

    def hacks(self, uid, parent=None):  # the user's processes that run the installed hack
        running = processes(uid)
        return [pid for pid, (ppid, program) in running.items() if program == HACK
                and (parent is None or running.get(ppid, (0, None))[1] == parent)]

    def colours(self):
        pixels = self.pixels()
        return {pixels[i:i + 3] for i in range(0, len(pixels), 3)}

    def test_lintian_finds_no_error(self):
        done = subprocess.run(["lintian", "--fail-on", "error", self.deb], capture_output=True,
                              text=True)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)

    def test_dpkg_r_leaves_nothing(self):
        files = [line for line in dpkg("-L", PACKAGE).splitlines() if os.path.isfile(line)]
        self.assertEqual(sorted(files), [
            "/usr/bin/flyingquorlin-wayland",
            "/usr/lib/systemd/user/flyingquorlin-wayland-idle.service",
            "/usr/lib/systemd/user/flyingquorlin-wayland.service", HACK, "/usr/share/doc/flyingquorlin/changelog.gz",
            "/usr/share/doc/flyingquorlin/copyright",
            "/usr/share/xscreensaver/config/flyingquorlin.xml"], "the files installed")
        dpkg("-r", PACKAGE)
        self.assertEqual([file for file in files if os.path.exists(file)], [],
                         "files left by dpkg -r")
        self.assertEqual(os.readlink(DEFAULTS), self.defaults, "XScreenSaver's defaults")
        self.assertFalse(os.path.exists("/var/lib/flyingquorlin"), "the package's state")

    def test_the_daemon_runs_the_installed_hack(self):
        as_user, uid, env = self.user(SETTINGS)
        self.start(as_user, ["xscreensaver", "-no-splash"], env)
        command = lambda *args: subprocess.run(as_user + ["xscreensaver-command", *args], env=env,
                                               capture_output=True).returncode == 0
        self.wait_until(lambda: command("-time"), 30, "the daemon to answer")
        self.assertTrue(command("-activate"), "xscreensaver-command -activate")
        self.wait_until(lambda: self.hacks(uid), 30, "the daemon to start the hack")
        self.wait_until(lambda: len(self.colours() - {bytes(3)}) > 10, 30, "the hack to draw")
        self.assertTrue(command("-deactivate"), "xscreensaver-command -deactivate")
        self.wait_until(lambda: not self.hacks(uid), 30, "the hack to end")

    def test_the_settings_program_offers_the_hack(self):
        as_user, uid, env = self.user(EARLIER_SETTINGS)
        self.start(as_user, ["xscreensaver", "-no-splash"], env)
        self.start(as_user, ["xscreensaver-settings"], env)
        def selected():  # the hack whose settings the program has ready
            found = subprocess.run(["xdotool", "search", "--name", "^XScreenSaver: .* Settings$",
                                    "getwindowname", "%@"], env=env, capture_output=True,
                                   text=True).stdout.split("\n")[0]
            return found.removeprefix("XScreenSaver: ").removesuffix(" Settings")
        self.wait_until(selected, 30, "the settings program")
        # A click into the list of hacks, the first one chosen, then ours by its name; again
        # where a loaded machine lost the click.
        for _ in range(3):
            self.x("xdotool", "mousemove", "150", "300", "click", "1", "key", "Home")
            time.sleep(1)
            self.x("xdotool", "type", "--delay", "50", "Flying Quorlin")
            with contextlib.suppress(AssertionError):
                self.wait_until(lambda: selected() == "Flying Quorlin", 10, "the hack")
                break
        self.assertEqual(selected(), "Flying Quorlin", "the hack chosen by its name")
        self.wait_until(lambda: self.hacks(uid, SETTINGS_PROGRAM), 30, "its preview to run")


if __name__ == "__main__":
    if os.geteuid() != 0:
        print("The package test installs a package and adds a user: it needs root.")
        sys.exit(77)
    with open(LOCK, "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if installed():
            print(f"{PACKAGE} is installed on this machine already: left alone, not tested.")
            sys.exit(77)
        tests = unittest.defaultTestLoader.loadTestsFromTestCase(DebTest)
        sys.exit(not unittest.TextTestRunner(verbosity=2).run(tests).wasSuccessful())
