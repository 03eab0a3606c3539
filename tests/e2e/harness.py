"""End-to-end harness: runs a build of the saver under Wine on a private Xvfb display and
WINEPREFIX, sees and does what a user does, and reads exit codes and the registry, through the
x86_64 inspector for either build. `python3 harness.py i686|x86_64 MODULE...` runs the first
module against that build (i686, the product, under 32-bit Wine). Where the machine cannot run
32-bit code (or FQ_NO_32BIT=1 says so), an i686 run is skipped with exit code 77 and an
x86_64 run takes the other modules on too."""

import contextlib
import ctypes
import fcntl
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
WINE = {"i686": "/usr/lib/wine/wine", "x86_64": "/usr/lib/wine/wine64"}
WINESERVER = "/usr/lib/wine/wineserver"
SETTINGS_KEY = r"Software\VB and VBA Program Settings\FlyingQuorlinSaver\Settings"
WM_CLOSE, BM_CLICK = 0x10, 0xF5
# The modes that lay_out() can give each output of an Xorg dummy server.
MODES = ("1920x1080", "1280x720", "1024x768")
XORG_CONF = """Section "ServerFlags"
  Option "AutoAddDevices" "false"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5-1000
  VertRefresh 5-200
  Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
  Modeline "1280x720" 74.25 1280 1390 1430 1650 720 725 730 750 +hsync +vsync
  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "%dx%d"
    Virtual 1920 1080
  EndSubSection
EndSection
"""
BUILD = {arch: Path(os.environ.get(f"FQ_{preset.upper()}_BUILD_DIR") or REPO / "build" / preset)
         for arch, preset in (("i686", "win32"), ("x86_64", "win64"))}


def wine_path(path):  # a Linux file as Wine's programs name it
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def run(env, command, input="", timeout=60):
    """(exit code, stdout, stderr) of a command. Output goes through files: the Wine services
    that the first call in a prefix starts inherit it and would hold a pipe open."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        code = subprocess.run(command, env=env, stdout=out, stderr=err, timeout=timeout,
                              input=input.encode()).returncode
        out.seek(0), err.seek(0)
        return code, out.read().decode(errors="replace"), err.read().decode(errors="replace")


class CursorImage(ctypes.Structure):  # XFixesCursorImage, up to the pixels
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong))]


class XTest(unittest.TestCase):
    """Private X servers for a test class, and what a test sees and waits for on them;
    `env` (set by a subclass) holds the DISPLAY of the X clients."""

    @classmethod
    def x_server(cls, command, host=None):
        """Starts an X server (on the display `host`, for a nested one) on a display number of
        its own, which it returns; it ends with the class, or with the test run."""
        read, write = os.pipe()
        server = subprocess.Popen(
            command + ["-displayfd", str(write), "-wr", "-nolisten", "tcp", "-noreset"],
            pass_fds=(write,), stderr=subprocess.DEVNULL, env=dict(os.environ, DISPLAY=host or ""),
            preexec_fn=lambda: ctypes.CDLL(None).prctl(1, 15))
        cls.addClassCleanup(server.wait, 10)
        cls.addClassCleanup(server.terminate)
        os.close(write)
        with os.fdopen(read) as pipe:
            return ":" + pipe.readline().strip()

    def wait_until(self, probe, timeout=30, what="the condition"):
        deadline = time.monotonic() + timeout
        while not (found := probe()):
            if time.monotonic() > deadline:
                raise AssertionError(f"timed out after {timeout} s waiting for {what}")
            time.sleep(0.2)
        return found

    def frames_drawn(self, count=2, part=slice(None)):
        """Waits until `part` of the screen changed `count` times: the saver's loop ran that
        often, and read the input that came before."""
        shown = self.pixels()[part]
        for _ in range(count):
            shown = self.wait_until(lambda: (shot := self.pixels()[part]) != shown and shot, 30,
                                    "a frame drawn")

    def x(self, *args):  # an X client on this class's display
        return subprocess.run(args, env=self.env, check=True, capture_output=True, timeout=30)

    def pixels(self):  # the screen in 8-bit RGB, exact and without a cursor
        return self.x("import", "-window", "root", "-depth", "8", "rgb:-").stdout


class WineTest(XTest):
    """One display and one prefix per class, with the program and the stand-in mpr.dll in
    C:\\FlyingQuorlin. The settings are deleted before each test, and the programs that a test
    started are ended after it."""

    arch = None  # None: FQ_E2E_ARCH, by default the product
    screen = (1920, 1080)
    monitors = None  # sizes, left to right: several monitors on a nested server in `screen`
    outputs = 0  # several: an Xorg whose outputs lay_out() changes, the first `screen` large

    @classmethod
    def setUpClass(cls):
        cls.arch = cls.arch or os.environ.get("FQ_E2E_ARCH", "i686")
        cls.build, inspector = BUILD[cls.arch], BUILD["x86_64"] / "e2e/fq_inspect.exe"
        assert os.path.exists(WINE[cls.arch]), f"no {WINE[cls.arch]}: run scripts/install-deps.sh"
        cache = Path(os.environ.get("FQ_E2E_CACHE_DIR") or REPO / "build/native/e2e")
        cache.mkdir(parents=True, exist_ok=True)
        cls.work = Path(tempfile.mkdtemp(prefix="run-", dir=cache))  # beside the template
        cls.addClassCleanup(shutil.rmtree, cls.work, ignore_errors=True)
        # A white root window shows any pixel the saver leaves uncovered.
        if cls.outputs:
            display = cls.dummy_server()
        else:
            display = cls.x_server(["Xvfb", "-screen", "0", "%dx%dx24" % cls.screen])
        if cls.monitors:  # Wine sees several monitors only through a nested server's Xinerama
            display = cls.x_server(["Xephyr", *[arg for size in cls.monitors for arg in (
                "-screen", "%dx%d" % size)], "+xinerama", "-extension", "RANDR"], display)
        cls.env = dict(os.environ, WINEARCH="win64", WINEDEBUG="-all", DISPLAY=display,
                       WINEDLLOVERRIDES="mscoree,mshtml=", WINEPREFIX=str(cls.work / "prefix"))
        cls.addClassCleanup(run, cls.env, [WINESERVER, "-w"])
        cls.addClassCleanup(run, cls.env, [WINESERVER, "-k"])
        # A template prefix made once per build tree by wineboot (about 15 s) is copied by hard
        # links, but for the registry files: Wine writes a linked one in place, never the rest.
        with open(cache / "prefix-template.lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if not (cache / "prefix-template").is_dir():
                making = dict(cls.env, WINEPREFIX=tempfile.mkdtemp(dir=cache))
                run(making, [WINE["x86_64"], "wineboot", "-i"], timeout=300)
                # A crash must show as an exit code, not as a dialog waiting for a click.
                run(making, [WINE["x86_64"], "reg", "add", r"HKCU\Software\Wine\WineDbg", "/v",
                             "ShowCrashDialog", "/t", "REG_DWORD", "/d", "0", "/f"])
                run(making, [WINESERVER, "-w"])
                os.rename(making["WINEPREFIX"], cache / "prefix-template")
        subprocess.run(["cp", "-al", cache / "prefix-template", cls.env["WINEPREFIX"]], check=True)
        subprocess.run(["cp", "--remove-destination", *(cache / "prefix-template").glob("*.reg"),
                        cls.env["WINEPREFIX"]], check=True)
        run(cls.env, [WINESERVER, "-p30"])  # kept up between programs
        os.mkdir(cls.work / "prefix/drive_c/FlyingQuorlin")
        for name in ("FlyingQuorlin.scr", "e2e/mpr.dll"):
            shutil.copy2(cls.build / name, cls.work / "prefix/drive_c/FlyingQuorlin")
        cls.inspector = wine_path(inspector)
        cls.inspect("windows", timeout=120)  # the first start brings up the prefix's services

    @classmethod
    def dummy_server(cls):
        """An Xorg with the dummy driver, its root magenta: a colour no sprite has, so that an
        uncovered pixel shows even among sprites; its other outputs can take each mode."""
        (cls.work / "xorg.conf").write_text(XORG_CONF % cls.screen)
        display = cls.x_server(["Xorg", "-config", str(cls.work / "xorg.conf"), "-logfile",
                                str(cls.work / "xorg.log"), "-sharevts", "-novtswitch"])
        xrandr = ["xrandr", "-display", display]
        for output in range(1, cls.outputs):
            for mode in MODES:
                subprocess.run(xrandr + ["--addmode", "DUMMY%d" % output, mode], check=True)
        subprocess.run(["xsetroot", "-display", display, "-solid", "magenta"], check=True)
        return display

    def lay_out(self, *monitors):
        """Shows the monitors (rectangles: left, top, right, bottom) on the outputs in order,
        the first the primary, the others off, and waits until Wine shows that layout."""
        arguments = []
        for n in range(self.outputs):
            arguments += ["--output", "DUMMY%d" % n]
            if n < len(monitors):
                left, top, right, bottom = monitors[n]
                arguments += ["--mode", "%dx%d" % (right - left, bottom - top),
                              "--pos", "%dx%d" % (left, top)]
            else:
                arguments += ["--off"]
        def shown():  # Wine's virtual screen size and its monitors' rectangles, sorted
            virtual, *shown = self.inspect("monitors")
            return tuple(map(int, virtual[2:])), sorted(tuple(map(int, m[:4])) for m in shown)
        # Wine missed the first change of a fresh prefix unless it had read the layout before.
        shown()
        size = max(m[2] for m in monitors), max(m[3] for m in monitors)
        self.x("xrandr", "--fb", "%dx%d" % size, *arguments)
        # Wine reads the server's layout without asking it to look again, and may otherwise
        # never see an output that came on; a query makes it look.
        self.x("xrandr", "--query")
        self.wait_until(lambda: shown() == (size, sorted(monitors)), 30,
                        f"Wine to show the screen {size} of {monitors}")

    def set_dpi(self, dpi):
        """Sets Wine's DPI, which a program reads as it starts, in both places that hold it."""
        for key in (r"HKCU\Control Panel\Desktop",
                    r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts"):
            code, _, err = run(self.env, [WINE["x86_64"], "reg", "add", key, "/v", "LogPixels",
                                          "/t", "REG_DWORD", "/d", str(dpi), "/f"])
            self.assertEqual(code, 0, f"LogPixels in {key}: {err}")

    def setUp(self):
        self.store({})
        self.mpr_log = self.work / f"{self.id()}.mpr"

    @classmethod
    def inspect(cls, *args, input="", timeout=30):  # the output's lines as lists of fields
        for _ in range(3):
            code, out, err = run(cls.env, [WINE["x86_64"], cls.inspector, *args], input, timeout)
            # A Wine start can end at once without a word on a loaded machine, with any code
            # (1 seen too). Looks, and commands that set a whole state, are asked again.
            if code == 0 or args[0] not in ("windows", "registry", "process", "regset", "show",
                                            "move"):
                break
            print(f"harness: fq_inspect {args[0]} ended with {code:#x}, {err.strip()!r}; "
                  "asking again", file=sys.stderr)
        if code != 0:
            raise AssertionError(f"fq_inspect {' '.join(args)[:80]} failed ({code:#x}): {err}")
        return [line.split("\t") for line in out.replace("\r", "").split("\n") if line]

    def start(self, args="", settings=None, path=None, stub=False):
        """Starts the program (from its usual path by default) with exactly `args` after it;
        the path is quoted where it holds a blank, as the system writes it. With `stub`, the
        stand-in mpr.dll records the calls that mpr_calls() reads."""
        if settings is not None:
            self.store(settings)
        path, env = path or r"C:\FlyingQuorlin\FlyingQuorlin.scr", dict(self.env)
        self.mpr_log.unlink(missing_ok=True)
        if stub:
            env.update(WINEDLLOVERRIDES=env["WINEDLLOVERRIDES"] + ";mpr=n,b",
                       FQ_MPR_LOG=wine_path(self.mpr_log))
        command = (f'"{path}"' if " " in path else path) + (" " + args if args else "")
        program = Program(self, [WINE["x86_64"], self.inspector, "launch", path, command], env)
        self.addCleanup(program.kill)
        return program

    def mpr_calls(self):
        return self.mpr_log.read_text().splitlines() if self.mpr_log.exists() else []

    def windows(self, program=None, hidden=False, parent=None):
        """Top-level windows or the descendants of `parent`; rects: left, top, right, bottom."""
        found = []
        for f in self.inspect("windows", *[str(parent)] * bool(parent)):
            n = [int(number) for number in f[:2] + f[3:17]]
            found.append(dict(zip(("hwnd", "pid", "visible", "focused", "foreground", "owner",
                                   "style", "exstyle"), n), rect=tuple(n[8:12]),
                              client=tuple(n[12:]), text=f[17], **{"class": f[2]}))
        return [w for w in found if (program is None or w["pid"] == program.pid)
                and (hidden or w["visible"])]

    def wait_window(self, program, text=None, cls=None, timeout=30):  # text: the title
        def probe():
            if not program.running():
                raise AssertionError(f"{program.command[:80]!r} ended ({program.wait()}) "
                                     f"before showing a window {text!r} of class {cls!r}")
            return next((w for w in self.windows(program) if text in (None, w["text"])
                         and cls in (None, w["class"])), None)
        return self.wait_until(probe, timeout, f"a window {text!r} of class {cls!r}")

    def dismiss_box(self, program):
        """Checks the program's box (titled FlyingQuorlin, one OK button), presses OK: its text."""
        box = self.wait_window(program, cls="#32770")
        self.assertEqual(box["text"], "FlyingQuorlin", "the box's title")
        controls = self.windows(parent=box["hwnd"])
        buttons = [c for c in controls if c["class"] == "Button"]
        self.assertEqual([b["text"] for b in buttons], ["OK"], "the box's buttons")
        self.post(buttons[0]["hwnd"], BM_CLICK)
        self.wait_until(lambda: box["hwnd"] not in [w["hwnd"] for w in self.windows()],
                        what="the box to close")
        return " ".join(c["text"] for c in controls if c["class"] == "Static" and c["text"])

    def post(self, hwnd, message, times=1):
        self.assertEqual(self.inspect("post", str(hwnd), str(message), str(times)), [], "a post")

    def store(self, values):  # name to a text (stored as REG_SZ, type 1) or to (type, bytes)
        values = {name: (1, (v + "\0").encode("utf-16-le")) if isinstance(v, str) else v
                  for name, v in values.items()}
        self.inspect("regset", SETTINGS_KEY, input="".join(
            f"{name}\t{kind}\t{data.hex()}\n" for name, (kind, data) in values.items()))

    def stored(self):  # name to (type number, bytes)
        return {f[0]: (int(f[1]), bytes.fromhex(f[2]))
                for f in self.inspect("registry", SETTINGS_KEY)}

    def settings(self):  # REG_SZ values as texts up to their terminators, others as they are
        return {name: data.decode("utf-16-le").split("\0")[0] if kind == 1 else (kind, data)
                for name, (kind, data) in self.stored().items()}

    def cursor_shown(self):  # whether the X server shows a pointer with an opaque pixel
        x11, xfixes = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXfixes.so.3")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
        xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
        display = x11.XOpenDisplay(self.env["DISPLAY"].encode())
        image = xfixes.XFixesGetCursorImage(display)
        shown = any(image.contents.pixels[i] >> 24
                    for i in range(image.contents.width * image.contents.height))
        x11.XFree(image)
        x11.XCloseDisplay(ctypes.c_void_p(display))
        return shown

    def move(self, x, y):  # Wine merges moves that queue up, so each gets time on its own
        self.x("xdotool", "mousemove", str(x), str(y))
        time.sleep(0.5)

    def click(self, x, y, button=1):
        self.move(x, y)
        self.x("xdotool", "click", str(button))

    def key(self, *keys):  # X key names, to the Wine window under the pointer
        self.x("xdotool", "key", *keys)


class Program:
    """A program run by the inspector's launcher, which prints its pid, then its exit code."""

    def __init__(self, test, launcher, env):
        self.test, self.command = test, launcher[-1]
        for _ in range(3):  # no pid printed: nothing started, so a failed Wine start is retried
            self.out, self.err = tempfile.TemporaryFile(), tempfile.TemporaryFile()
            self.process = subprocess.Popen(launcher, env=env, stdout=self.out, stderr=self.err)
            test.wait_until(lambda: self.lines() or not self.running(), 30, "the program to start")
            if self.lines():
                break
        else:
            raise AssertionError(f"{self.command[:80]!r} did not start: {self.stderr()}")
        self.pid = int(self.lines()[0])

    def lines(self):
        self.out.seek(0)
        return self.out.read().decode().split("\n")[:-1]

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout=30):  # the exit code, an NT status such as 0xC0000005 after a crash
        try:
            self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"{self.command[:80]!r} still runs after {timeout} s") from None
        return int(self.lines()[-1])  # after the crash's account, which Wine prints there too

    def kill(self):
        for _ in range(3):  # a Wine start can fail on a loaded machine
            if self.running():
                run(self.test.env, [WINE["x86_64"], self.test.inspector, "kill", str(self.pid)])
                with contextlib.suppress(subprocess.TimeoutExpired):
                    self.process.wait(10)
        self.test.assertFalse(self.running(), f"{self.command[:80]!r} could not be ended")

    def stderr(self):
        self.err.seek(0)
        return self.err.read().decode(errors="replace")

    def __enter__(self):
        return self

    def __exit__(self, *_):  # ended at once, not at the test's end: a row's program, say
        self.kill()


if __name__ == "__main__":
    arch, modules = sys.argv[1], sys.argv[2:]
    # The same probe as the scripts (FQ_NO_32BIT=1 answers no).
    if subprocess.run(["bash", REPO / "scripts/runs-32bit-code.sh"]).returncode == 0:
        modules = modules[:1]
    elif arch == "i686":
        sys.exit(77)
    else:
        print("This machine cannot run 32-bit code: the end-to-end suites run on the x86_64 "
              "build instead, and their i686 runs are reported as skipped.", flush=True)
    os.environ["FQ_E2E_ARCH"] = arch
    tests = unittest.defaultTestLoader.loadTestsFromNames(modules)
    sys.exit(not unittest.TextTestRunner(verbosity=2).run(tests).wasSuccessful())
