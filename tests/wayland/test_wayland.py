"""flyingquorlin-wayland under a headless compositor of the test's own, run as a user the test
makes (sway refuses root), one set of cases for each (tests/wayland/README.md): every output
covered with its flock at its scale (on sway, two scales and an output made while it runs); a
key, a click and a jump end it, small moves do not; the idle timer starts it, and again after
input. On sway, bad options and a missing or failing compositor (failing_compositor.c) give
exit codes 2 and 3 without spinning. Nothing is left running in the test's folder. Skipped
(exit code 77) where the compositor cannot start.
Usage: python3 test_wayland.py sway|kwin|gnome PROGRAM HELPER..."""

import os
import pwd
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

KIND, PROGRAM, *HELPERS = sys.argv[1:]
del sys.argv[1:]
USER = "fq-wayland-test"
WHITE = b"\xff\xff\xff"  # the background: wherever it shows, nothing covers it
KEY_A, BTN_LEFT = 30, 272  # the kernel's codes


def wait_until(probe, seconds=60):  # the probe's last answer, once true or at the bound
    deadline = time.monotonic() + seconds
    while not (answer := probe()) and time.monotonic() < deadline:
        time.sleep(0.05)
    return answer


def descendants(pid):
    try:
        with open(f"/proc/{pid}/task/{pid}/children") as children:
            return [d for c in children.read().split() for d in (int(c), *descendants(int(c)))]
    except FileNotFoundError:
        return []


def end(process):  # by pid, with whatever it started
    for pid in (*descendants(process.pid), process.pid) if process.returncode is None else ():
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    process.wait()
    for stream in (process.stdin, process.stdout, process.stderr):
        if stream:
            stream.close()


def processor_seconds(pid):  # user and system time so far
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def running_in(folder):  # the processes whose runtime folder it is, wherever they came from
    def runs_in(pid):
        try:
            with open(f"/proc/{pid}/environ", "rb") as environ:
                return f"XDG_RUNTIME_DIR={folder}".encode() in environ.read().split(b"\0")
        except OSError:  # ended meanwhile
            return False
    return [int(p) for p in os.listdir("/proc") if p.isdigit() and runs_in(p)]


def white_share(pixels):  # on every 7th pixel
    step = 3 * 7
    return sum(pixels[i:i + 3] == WHITE for i in range(0, len(pixels), step)) / (len(pixels) / step)


def ppm_pixels(ppm):  # a binary PPM's pixels, 3 bytes each, and its width
    _, size, _, pixels = ppm.split(b"\n", 3)
    return pixels, int(size.split()[0])


class Desktop:
    """A compositor run as the test's user in a folder of its own; a subclass starts it in
    launch(), names its outputs and their scales, and takes their screenshots."""
    tools = ()
    idle_seconds = "2"  # long enough for a screenshot between two runs

    def __init__(self):
        if os.geteuid() != 0 or not all(map(shutil.which, self.tools)):
            raise unittest.SkipTest(f"needs root and {', '.join(self.tools)}")
        if subprocess.run(["id", USER], capture_output=True).returncode:
            subprocess.run(["useradd", "--system", "--no-create-home", USER], check=True)
        self.user = pwd.getpwnam(USER)
        self.dir = tempfile.mkdtemp(prefix="fq-wayland-")
        for path in (PROGRAM, *HELPERS):
            shutil.copy(path, self.dir)
        os.chmod(self.dir, 0o700)
        for entry in [self.dir] + [os.path.join(self.dir, n) for n in os.listdir(self.dir)]:
            os.chown(entry, self.user.pw_uid, self.user.pw_gid)
        # How the session's idle timer starts a program, beside the program's own option.
        self.idle = [["swayidle", "-w", "timeout", self.idle_seconds,
                      self.path("flyingquorlin-wayland")]]
        self.env = {"PATH": os.environ["PATH"], "XDG_RUNTIME_DIR": self.dir, "HOME": self.dir,
                    "WAYLAND_DISPLAY": "wayland-fq"}
        self.started, self.input = [], None
        # Logs go to a file: a pipe nobody reads would stall them once full.
        self.log = open(os.path.join(self.dir, "log"), "wb")
        try:
            self.launch()
            assert wait_until(lambda: all(self.bare(self.shot(o)[0]) for o in self.outputs)), \
                "no white background"
        except BaseException:
            self.stop()
            raise

    def path(self, name):
        return os.path.join(self.dir, name)

    def start(self, command, stdout=subprocess.DEVNULL, stderr=None, keep=True, **env):
        process = subprocess.Popen(command, cwd=self.dir, env={**self.env, **env},
                                   stdin=subprocess.PIPE if stdout == subprocess.PIPE else None,
                                   stdout=stdout, stderr=stderr or self.log,
                                   user=self.user.pw_uid, group=self.user.pw_gid, extra_groups=[])
        if keep:
            self.started.append(process)
        return process

    def run(self, *command):
        process = self.start(list(command), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                             keep=False)
        out, err = process.communicate(timeout=90)
        return process.returncode, out, err

    def appears(self, name, process):  # a socket or file it makes, or False once it ended
        wait_until(lambda: os.path.exists(self.path(name)) or process.poll() is not None)
        if not os.path.exists(self.path(name)) or process.poll() is not None:
            raise unittest.SkipTest(f"{process.args[0]} does not start here")

    def bus(self, name):  # a dbus-daemon of the test's own, its pid kept
        daemon = self.start(["dbus-daemon", "--session", "--nofork", "--nosyslog",
                             f"--address=unix:path={self.path(name)}"])
        self.appears(name, daemon)
        return f"unix:path={self.path(name)}"

    def open_input(self, command):  # a helper that takes "key", "button" and "move" lines
        self.input = self.start(command, stdout=subprocess.PIPE)
        assert self.input.stdout.readline() == b"ready\n", f"no input through {command}"

    def send(self, *words):
        self.input.stdin.write(" ".join(map(str, words)).encode() + b"\n")
        self.input.stdin.flush()
        assert self.input.stdout.readline() == b"ok\n", f"{words} not sent"

    def key(self):
        self.send("key", KEY_A)

    def click(self):
        self.send("button", BTN_LEFT)

    def move(self, dx, dy):
        self.send("move", dx, dy)

    def place(self):  # the pointer somewhere inside the first output, before a saver starts
        pass

    def covered(self, output):
        return wait_until(lambda: not self.uncovered(self.shot(output)[0]))

    def uncovered(self, pixels):  # more of the background than the sprites' highlights hold
        return white_share(pixels) > 1 / 300

    def bare(self, pixels):  # the background, but for a bar or a notification
        return white_share(pixels) > 0.8

    def drawn(self, output):  # two frames shown after the call: the input before it was read
        for _ in range(2):
            last = self.shot(output)[0]
            if not wait_until(lambda: self.shot(output)[0] != last):
                return False
        return True

    def stop(self):  # last started first, each with what it started, then nothing of the user
        for process in reversed(self.started):
            end(process)
        self.log.close()
        ended = wait_until(lambda: not running_in(self.dir), 30)
        with open("/proc/mounts") as mounts:  # GNOME's document portal, ended without a word
            portal = f" {self.path('doc')} " in mounts.read()
        if portal:
            subprocess.run(["umount", self.path("doc")], check=True)
        shutil.rmtree(self.dir)
        assert ended, f"still running: {running_in(self.dir)}"


class Sway(Desktop):
    tools = ("sway", "swayidle", "swaybg", "grim", "wtype")
    outputs, scales = ("HEADLESS-1", "HEADLESS-2"), (1, 2)

    def launch(self):
        with open(self.path("config"), "w") as config:
            config.write("output HEADLESS-1 mode 640x480\noutput * bg #ffffff solid_color\n")
        os.chown(self.path("config"), self.user.pw_uid, self.user.pw_gid)
        sway = self.start(["sway", "-c", "config"], WAYLAND_DISPLAY="", WLR_BACKENDS="headless",
                          WLR_LIBINPUT_NO_DEVICES="1", WLR_RENDERER="pixman")
        # sway names its sockets wayland-N and sway-ipc.*: a link gives the test's own name.
        wait_until(lambda: self.find("sway-ipc.") or sway.poll() is not None)
        self.appears(self.find("wayland-") or "wayland-", sway)
        os.symlink(self.find("wayland-"), self.path("wayland-fq"))
        self.env["SWAYSOCK"] = self.path(self.find("sway-ipc."))
        self.open_input([self.path("fq_virtual_seat")])  # kept, driven by sway's own commands
        self.msg("create_output")
        # The same logical size as HEADLESS-1, so that sprites at scale 2 fit whole as often.
        self.msg("output", "HEADLESS-2", "mode", "1280x960", "scale", "2")

    def find(self, prefix):
        names = [n for n in os.listdir(self.dir) if n.startswith(prefix) and "lock" not in n]
        return names[0] if names else None

    def msg(self, *args):  # "--": a negative move is no option
        return self.run("swaymsg", "--", *args)[0] == 0

    def shot(self, output):
        return ppm_pixels(self.run("grim", "-t", "ppm", "-o", output, "-")[1])

    def key(self):
        assert self.run("wtype", "a")[0] == 0, "wtype failed"

    def click(self):
        assert self.msg("seat", "seat0", "cursor", "press", "button1"), "no press"
        self.msg("seat", "seat0", "cursor", "release", "button1")

    def move(self, dx, dy):
        assert self.msg("seat", "seat0", "cursor", "move", str(dx), str(dy)), "no move"

    def place(self):  # sway tells a client of a set position only with the next move
        self.msg("seat", "seat0", "cursor", "set", "300", "200")

    def add_output(self):
        self.msg("create_output")
        return "HEADLESS-3"


class Kwin(Desktop):
    tools = ("kwin_wayland", "dbus-daemon", "swayidle", "swaybg")
    outputs, scales = ("Virtual-0", "Virtual-1"), (1, 1)

    def launch(self):
        # A copy without the file capability that a container may refuse, of the same name:
        # KWin's own Qt platform serves only a program whose name ends so.
        shutil.copy(shutil.which("kwin_wayland"), self.path("kwin_wayland"))
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.bus("bus")
        kwin = self.start(
            [self.path("kwin_wayland"), "--virtual", "--width", "1024", "--height", "768",
             "--output-count", "2", "--socket", "wayland-fq", "--no-lockscreen",
             "--no-global-shortcuts", "--no-kactivities"],
            WAYLAND_DISPLAY="", QT_QPA_PLATFORM="offscreen", LIBGL_ALWAYS_SOFTWARE="1",
            KWIN_WAYLAND_NO_PERMISSION_CHECKS="1", KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1")
        self.appears("wayland-fq", kwin)
        self.start(["swaybg", "-c", "#ffffff"])
        self.open_input([self.path("fq_fake_input")])

    def shot(self, output):  # B G R A in memory, to R G B
        picture = self.run(self.path("fq_desktop_bus"), "shot", output)[1]
        pixels = bytearray(len(picture) // 4 * 3)
        for colour in range(3):
            pixels[colour::3] = picture[2 - colour::4]
        return bytes(pixels), 1024


class Gnome(Desktop):
    tools = ("gnome-shell", "gnome-screenshot", "dbus-daemon", "convert")
    outputs, scales = ("1024x768+0+0", "800x600+1024+0"), (1, 1)
    idle_seconds = "10"  # a screenshot takes seconds

    def launch(self):
        self.idle = []  # only Mutter's idle monitor, through the program's own option
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.bus("bus")
        for key, value in (("picture-uri", ""), ("primary-color", "#ffffff")):  # white
            self.run("gsettings", "set", "org.gnome.desktop.background", key, value)
        shell = self.start(
            ["gnome-shell", "--headless", "--wayland", "--no-x11", "--wayland-display",
             "wayland-fq", "--virtual-monitor", "1024x768", "--virtual-monitor", "800x600"],
            WAYLAND_DISPLAY="", DBUS_SYSTEM_BUS_ADDRESS=self.bus("system-bus"))
        self.appears("wayland-fq", shell)
        for name in ("org.gnome.Mutter.RemoteDesktop", "org.gnome.Shell.Screenshot"):
            assert self.run("gdbus", "wait", "--session", "--timeout", "60", name)[0] == 0, name
        self.open_input([self.path("fq_desktop_bus"), "input"])
        # The pointer starts in the corner that opens the overview: out first, with one move
        # (a small one would open it); then Escape until the overview the shell opens in is
        # gone (an Escape while it opens is lost, and it tells nobody on the bus).
        self.move(400, 300)
        wait_until(lambda: self.send("key", 1) or self.bare(self.shot(self.outputs[0])[0]))

    def place(self):  # far from the corner that opens the overview: bottom left, then in
        for move in ((0, 5000), (-5000, 0), (400, -300)):
            self.move(*move)

    def shot(self, output):
        self.run("gnome-screenshot", "-f", self.path("shot.png"))
        return ppm_pixels(self.run("convert", self.path("shot.png"), "-crop", output, "ppm:-")[1])


class WaylandTest(unittest.TestCase):
    def launch(self, command, **kwargs):  # ended with the test
        process = DESKTOP.start(command, keep=False, **kwargs)
        self.addCleanup(end, process)
        return process

    def program(self, *args, **kwargs):
        return self.launch([DESKTOP.path("flyingquorlin-wayland"), *args], **kwargs)

    def saver(self, *args):
        saver = self.program(*args)
        self.assertTrue(DESKTOP.covered(DESKTOP.outputs[0]), "the saver covers nothing")
        self.assertIsNone(saver.poll(), "the saver ended by itself")
        return saver

    def test_every_output_covered_with_a_flock_at_its_scale(self):
        self.saver("--count", "3")
        for output in DESKTOP.outputs:
            self.assertTrue(DESKTOP.covered(output), f"{output} is not covered")

        # Two whole runs of one width in a shot are two sprites (the flock flaps in step):
        # sprites side by side make one wider run, and three cannot make two of one width.
        def sprite_width(output):
            runs = sprite_widths(*DESKTOP.shot(output))
            return next((width for width in runs if runs.count(width) > 1), None)
        widths = [wait_until(lambda: sprite_width(output)) for output in DESKTOP.outputs]
        self.assertTrue(all(widths), f"never two whole sprites apart on an output: {widths}")
        self.assertAlmostEqual(widths[1] / widths[0], DESKTOP.scales[1],
                               delta=0.05, msg=f"widths {widths}")
        if hasattr(DESKTOP, "add_output"):
            self.assertTrue(DESKTOP.covered(DESKTOP.add_output()), "a new output is bare")

    def test_a_key_a_click_or_a_jump_ends_it_and_small_moves_do_not(self):
        desktop = DESKTOP
        for ending in (desktop.key, desktop.click, lambda: desktop.move(25, -25)):
            desktop.place()
            saver = self.saver()
            for move in ((20, 20), (-20, 5), (1, -20)):
                desktop.move(*move)
            self.assertTrue(desktop.drawn(desktop.outputs[0]), f"no frame, {saver.poll()}")
            self.assertIsNone(saver.poll(), "a small move ended it")
            ending()
            self.assertEqual(saver.wait(timeout=60), 0, ending)

    def test_the_idle_timer_starts_it_again_after_input(self):
        desktop, first = DESKTOP, DESKTOP.outputs[0]
        for starter in desktop.idle + [[desktop.path("flyingquorlin-wayland"), "--when-idle",
                                          desktop.idle_seconds]]:
            idle = self.launch(starter)
            self.assertTrue(desktop.covered(first), f"{starter}: not started when idle")
            desktop.key()
            # Moves keep the session awake until the saver is seen gone.
            self.assertTrue(wait_until(lambda: desktop.move(1, 0) or
                                       desktop.uncovered(desktop.shot(first)[0])),
                            f"{starter}: a key did not end it")
            self.assertTrue(desktop.covered(first), f"{starter}: not started again")
            self.assertIsNone(idle.poll(), f"{starter}: it stopped waiting")
            end(idle)  # its saver first: swayidle -w waits for it

    @unittest.skipUnless(KIND == "sway", "one compositor is enough")
    def test_bad_options_and_a_missing_or_failing_compositor_end_it_and_say_why(self):
        # A stand-in compositor fails one way per row; a saver that spins on a broken
        # connection would use a core until killed, so its processor time is watched.
        for row, (args, stand_in, code, words) in enumerate((
                (["--count", "31"], None, 2, "--count takes a number from 1 to 30"),
                (["--speed"], None, 2, "--speed needs a value"),
                (["--when-idle", "0"], None, 2, "--when-idle takes whole seconds from 1 to 86400"),
                ([], "bare", 2, "nor xdg_wm_base"),
                (["--when-idle", "5"], "bare", 2, "nor xdg_wm_base"),
                (["--when-idle", "5"], "huge", 2, "finds no source of idleness"),
                ([], "none", 2, "flyingquorlin instead"),
                ([], "break", 3, "The connection to the compositor broke."),
                ([], "pointer", 3, "The pointer's x is outside -32768 to 32767."),
                ([], "huge", 3, "a frame of 50000 by 37500 pixels, more than shared memory"))):
            env = {"WAYLAND_DISPLAY": f"fq-{row}"} if stand_in else {}
            if stand_in not in (None, "none"):
                compositor = self.launch([DESKTOP.path("fq_failing_compositor"), stand_in],
                                         stdout=subprocess.PIPE, **env)
                self.assertEqual(compositor.stdout.readline(), b"ready\n", stand_in)
            saver = self.program(*args, stderr=subprocess.PIPE, **env)
            wait_until(lambda: saver.poll() is not None or processor_seconds(saver.pid) > 2)
            self.assertIsNotNone(saver.poll(), f"{args} {stand_in}: it spins or hangs")
            self.assertEqual((saver.returncode, words in saver.stderr.read().decode()),
                             (code, True), f"{args} {stand_in}")


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


if __name__ == "__main__":
    try:
        DESKTOP = {"sway": Sway, "kwin": Kwin, "gnome": Gnome}[KIND]()
    except unittest.SkipTest as skip:
        print(f"skipped: {skip}")
        sys.exit(77)
    try:
        unittest.main()
    finally:
        DESKTOP.stop()
