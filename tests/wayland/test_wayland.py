"""flyingquorlin-wayland under a headless sway of its own, run as a user the test makes (sway
refuses root): two outputs, one at scale 2, each covered with its flock; a key, a click and a
jump end it, small moves do not; an output made while it runs is covered; swayidle starts it;
bad options and a missing compositor give exit code 2, a compositor that fails (a stand-in,
failing_compositor.c) the fault's 3, without spinning. Skipped (exit code 77) where sway
cannot start.
Usage: python3 test_wayland.py PROGRAM VIRTUAL_SEAT FAILING_COMPOSITOR"""

import os
import pwd
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

PROGRAM, SEAT, COMPOSITOR = sys.argv.pop(1), sys.argv.pop(1), sys.argv.pop(1)
USER = "fq-wayland-test"
WHITE = b"\xff\xff\xff"  # the background: wherever it shows, nothing covers it


def wait_until(probe, seconds=60):  # the probe's last answer, once true or at the bound
    deadline = time.monotonic() + seconds
    while not (answer := probe()) and time.monotonic() < deadline:
        time.sleep(0.05)
    return answer


def descendants(pid):
    with open(f"/proc/{pid}/task/{pid}/children") as children:
        return [d for c in children.read().split() for d in (int(c), *descendants(int(c)))]


def processor_seconds(pid):  # user and system time so far
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


class Sway:
    def __init__(self):
        if os.geteuid() != 0 or not shutil.which("sway"):
            raise unittest.SkipTest("needs root and sway to run sway as a user of its own")
        if subprocess.run(["id", USER], capture_output=True).returncode:
            subprocess.run(["useradd", "--system", "--no-create-home", USER], check=True)
        user = pwd.getpwnam(USER)
        self.dir = tempfile.mkdtemp(prefix="fq-wayland-")
        for name, path in (("saver", PROGRAM), ("seat", SEAT), ("compositor", COMPOSITOR)):
            shutil.copy(path, os.path.join(self.dir, name))
        with open(os.path.join(self.dir, "config"), "w") as config:
            config.write("output HEADLESS-1 mode 640x480\noutput * bg #ffffff solid_color\n")
        os.chmod(self.dir, 0o700)
        for entry in [self.dir] + [os.path.join(self.dir, n) for n in os.listdir(self.dir)]:
            os.chown(entry, user.pw_uid, user.pw_gid)
        self.env = {"PATH": os.environ["PATH"], "XDG_RUNTIME_DIR": self.dir, "HOME": self.dir,
                    "WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1",
                    "WLR_RENDERER": "pixman", "WAYLAND_DISPLAY": "wayland-fq"}
        self.user = user
        # Its log goes to a file: a pipe nobody reads would stall it once full.
        self.log = open(os.path.join(self.dir, "sway.log"), "wb")
        self.sway = self.start(["sway", "-c", "config"], stderr=self.log, WAYLAND_DISPLAY="")
        # sway names its socket wayland-N: a link gives it a name of the test's own.
        wait_until(lambda: self.find("wayland-") or self.sway.poll() is not None)
        if not self.find("wayland-") or self.sway.poll() is not None:
            self.stop()
            raise unittest.SkipTest("sway does not start here")
        os.symlink(self.find("wayland-"), os.path.join(self.dir, "wayland-fq"))
        self.env["SWAYSOCK"] = os.path.join(self.dir, self.find("sway-ipc."))
        self.seat = self.start([os.path.join(self.dir, "seat")], stdout=subprocess.PIPE)
        assert self.seat.stdout.readline() == b"ready\n", "no virtual pointer and keyboard"

    def find(self, prefix):
        names = [n for n in os.listdir(self.dir) if n.startswith(prefix) and "lock" not in n]
        return names[0] if names else None

    def start(self, command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **env):
        return subprocess.Popen(command, cwd=self.dir, env={**self.env, **env}, stdout=stdout,
                                stderr=stderr, user=self.user.pw_uid,
                                group=self.user.pw_gid, extra_groups=[])

    def run(self, *command):
        process = self.start(list(command), stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        out, err = process.communicate(timeout=20)
        return process.returncode, out, err

    def msg(self, *args):  # "--": a negative move is no option
        self.run("swaymsg", "--", *args)

    def shot(self, output):  # the output's pixels, 3 bytes each, and its width
        _, ppm = self.run("grim", "-t", "ppm", "-o", output, "-")[:2]
        _, size, _, pixels = ppm.split(b"\n", 3)
        return pixels, int(size.split()[0])

    def covered(self, output):
        return wait_until(lambda: not uncovered(self.shot(output)[0]))

    def drawn(self, output):  # two frames shown after the call: the input before it was read
        for _ in range(2):
            last = self.shot(output)[0]
            if not wait_until(lambda: self.shot(output)[0] != last):
                return False
        return True

    def stop(self):
        for process in ("seat", "sway"):
            if getattr(self, process, None):
                getattr(self, process).kill()
                getattr(self, process).wait()
        if getattr(self, "seat", None):
            self.seat.stdout.close()
        self.log.close()
        shutil.rmtree(self.dir)


def uncovered(pixels):  # more white than the sprites' highlights hold, on every 7th pixel
    step = 3 * 7
    return sum(pixels[i:i + 3] == WHITE for i in range(0, len(pixels), step)) > \
        len(pixels) // step // 300


def sprite_widths(pixels, width):  # each run of drawn columns clear of every edge, in pixels
    row = 3 * width
    drawn = 0
    for start in range(0, len(pixels), row):
        drawn |= int.from_bytes(pixels[start:start + row], "big")
    merged = drawn.to_bytes(row, "big")
    edge = (int.from_bytes(pixels[:row], "big") | int.from_bytes(pixels[-row:], "big")).to_bytes(
        row, "big")
    columns = [merged[3 * x:3 * x + 3] != b"\0\0\0" for x in range(width)] + [False]
    widths, start = [], None
    for x, on in enumerate(columns):
        if on and start is None:
            start = x
        elif not on and start is not None:
            if start > 0 and x < width and not any(edge[3 * start:3 * x]):
                widths.append(x - start)
            start = None
    return widths


class WaylandTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.sway = Sway()
        cls.sway.msg("create_output")
        # The same logical size as HEADLESS-1, so that sprites at scale 2 fit whole as often.
        cls.sway.msg("output", "HEADLESS-2", "mode", "1280x960", "scale", "2")

    @classmethod
    def tearDownClass(cls):
        cls.sway.stop()

    def end_later(self, pid):  # a saver left running would draw over the next test's
        def end():
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.addCleanup(end)

    def saver(self, *args):
        saver = self.sway.start([os.path.join(self.sway.dir, "saver"), *args])
        self.addCleanup(saver.wait)
        self.end_later(saver.pid)
        self.assertTrue(self.sway.covered("HEADLESS-1"), "the saver covers nothing")
        self.assertIsNone(saver.poll(), "the saver ended by itself")
        return saver

    def test_every_output_covered_with_a_flock_at_its_scale(self):
        self.saver("--count", "3")
        outputs = ("HEADLESS-1", "HEADLESS-2")
        for output in outputs:
            self.assertTrue(self.sway.covered(output), f"{output} is not covered")

        # Two whole runs of one width in a shot are two sprites (the flock flaps in step):
        # sprites side by side make one wider run, and three cannot make two of one width.
        def sprite_width(output):
            runs = sprite_widths(*self.sway.shot(output))
            return next((width for width in runs if runs.count(width) > 1), None)
        widths = [wait_until(lambda: sprite_width(output)) for output in outputs]
        self.assertTrue(all(widths), f"never two whole sprites apart on an output: {widths}")
        self.assertAlmostEqual(widths[1] / widths[0], 2, delta=0.05, msg=f"widths {widths}")
        self.sway.msg("create_output")
        self.assertTrue(self.sway.covered("HEADLESS-3"), "a new output stays bare")

    def test_a_key_a_click_or_a_jump_ends_it_and_small_moves_do_not(self):
        cursor = ["swaymsg", "--", "seat", "seat0", "cursor"]
        for end in (["wtype", "a"], cursor + ["press", "button1"], cursor + ["move", "25", "-25"]):
            # sway tells a client of a set position only with the next move: set before start.
            self.sway.msg("seat", "seat0", "cursor", "set", "300", "200")
            saver = self.saver()
            for move in (("20", "20"), ("-20", "5"), ("1", "-20")):
                self.sway.msg("seat", "seat0", "cursor", "move", *move)
            self.assertTrue(self.sway.drawn("HEADLESS-1"), f"no frame, exit code {saver.poll()}")
            self.assertIsNone(saver.poll(), "a small move ended it")
            self.assertEqual(self.sway.run(*end)[0], 0, end)
            self.sway.msg("seat", "seat0", "cursor", "release", "button1")
            self.assertEqual(saver.wait(timeout=60), 0, end)

    def test_swayidle_starts_it(self):
        idle = self.sway.start(["swayidle", "-w", "timeout", "1",
                                os.path.join(self.sway.dir, "saver")])

        def end():  # the saver first: with -w, swayidle waits for it
            for pid in descendants(idle.pid):
                os.kill(pid, signal.SIGKILL)
            idle.kill()
            idle.wait()
        self.addCleanup(end)
        self.assertTrue(self.sway.covered("HEADLESS-1"), "swayidle did not start the saver")

    def test_bad_options_and_a_missing_or_failing_compositor_end_it_and_say_why(self):
        # A stand-in compositor fails one way per row; a saver that spins on a broken
        # connection would use a core until killed, so its processor time is watched.
        for args, stand_in, code, words in (
                (["--count", "31"], None, 2, "--count takes a number from 1 to 30"),
                (["--speed"], None, 2, "--speed needs a value"),
                ([], "none", 2, "flyingquorlin instead"),
                ([], "break", 3, "The connection to the compositor broke."),
                ([], "pointer", 3, "The pointer's x is outside -32768 to 32767."),
                ([], "huge", 3, "a frame of 50000 by 37500 pixels, more than shared memory")):
            env = {"WAYLAND_DISPLAY": f"fq-{stand_in}"} if stand_in else {}
            if stand_in not in (None, "none"):
                compositor = self.sway.start([os.path.join(self.sway.dir, "compositor"),
                                              stand_in], stdout=subprocess.PIPE, **env)
                self.addCleanup(compositor.stdout.close)
                self.addCleanup(compositor.wait)
                self.end_later(compositor.pid)
                self.assertEqual(compositor.stdout.readline(), b"ready\n", stand_in)
            saver = self.sway.start([os.path.join(self.sway.dir, "saver"), *args],
                                    stderr=subprocess.PIPE, **env)
            self.addCleanup(saver.stderr.close)
            self.addCleanup(saver.wait)
            self.end_later(saver.pid)
            wait_until(lambda: saver.poll() is not None or processor_seconds(saver.pid) > 2)
            self.assertIsNotNone(saver.poll(), f"{args} {stand_in}: it spins or hangs")
            self.assertEqual((saver.returncode, words in saver.stderr.read().decode()),
                             (code, True), f"{args} {stand_in}")


if __name__ == "__main__":
    try:
        unittest.main()
    except unittest.SkipTest as skip:
        print(f"skipped: {skip}")
        sys.exit(77)
