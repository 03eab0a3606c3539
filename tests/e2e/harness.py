"""End-to-end harness: runs the x86_64 build of the saver under Wine on a private Xvfb display
and WINEPREFIX, and observes what a user would see (windows, message boxes, the screen), the
exit code and the registry. Tests derive from WineTestCase; see README.md beside this file.

Each test class gets its own display and its own prefix, copied from a template prefix that
is made once per build tree (wineboot takes ~15 s) and reused. The prefix's wineserver stays
up for the whole class so that each program start costs a fraction of a second.
"""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

from wine_runtime import (PROGRAM, START_TIMEOUT, WINE, HarnessError, RunningProgram, WinePrefix,
                          XServer, build_dir, cache_dir, copy_prefix, require_build,
                          require_tools, template_prefix, windows_path)

APP_KEY = r"Software\VB and VBA Program Settings\FlyingQuorlinSaver"
SETTINGS_KEY = APP_KEY + r"\Settings"
# Where the program and the stand-in mpr.dll live inside each prefix (drive C:).
RUN_FOLDER = "FlyingQuorlin"
POLL_INTERVAL = 0.2
# Pointer moves closer together than this may be merged into one by Wine.
POINTER_SETTLE = 0.5
# fq_inspect commands that only look, so asking twice is harmless.
OBSERVING_COMMANDS = {"windows", "controls", "msgbox", "gettext", "registry", "process"}

# What tests import from here; the machinery's names are passed on for tests that go below
# WineTestCase (another program file, their own Wine calls).
__all__ = ["APP_KEY", "SETTINGS_KEY", "PROGRAM", "WINE", "HarnessError", "Pixels", "RegValue",
           "RunningProgram", "WineTestCase", "build_dir", "cache_dir", "windows_path"]


class RegValue:
    """A registry value with an exact type and exact bytes, for stored settings that are not
    plain texts. Plain Python str values are stored as REG_SZ texts."""

    TYPES = {"REG_NONE": 0, "REG_SZ": 1, "REG_EXPAND_SZ": 2, "REG_BINARY": 3, "REG_DWORD": 4,
             "REG_MULTI_SZ": 7, "REG_QWORD": 11}

    def __init__(self, type_name, data):
        self.type = self.TYPES[type_name]
        self.data = bytes(data)

    @classmethod
    def text(cls, text, type_name="REG_SZ", terminated=True):
        return cls(type_name, (text + ("\0" if terminated else "")).encode("utf-16-le"))

    @classmethod
    def dword(cls, number):
        return cls("REG_DWORD", (number & 0xFFFFFFFF).to_bytes(4, "little"))

    @classmethod
    def binary(cls, data):
        return cls("REG_BINARY", data)


class WineTestCase(unittest.TestCase):
    """Base class of the end-to-end tests: one display and one prefix per class."""

    screen = os.environ.get("FQ_E2E_SCREEN", "1920x1080x24")

    @classmethod
    def setUpClass(cls):
        require_tools()
        build = require_build()
        cls._work = Path(tempfile.mkdtemp(prefix="fq-e2e-"))
        try:
            cls.xserver = XServer(cls.screen)
            template = template_prefix(cls.xserver.display)
            copy_prefix(template, cls._work / "prefix")
            cls.prefix = WinePrefix(cls._work / "prefix", cls.xserver.display)
            cls.prefix.keep_server()
            run_folder = cls.prefix.path / "drive_c" / RUN_FOLDER
            run_folder.mkdir()
            shutil.copy2(build / PROGRAM, run_folder)
            shutil.copy2(build / "e2e" / "mpr.dll", run_folder)
            cls.program_path = "C:\\" + RUN_FOLDER + "\\" + PROGRAM
            cls.inspector = windows_path(build / "e2e" / "fq_inspect.exe")
            # The first Wine start in a prefix brings up its services; pay for it here.
            cls.inspect("windows", timeout=START_TIMEOUT * 2)
        except BaseException:
            cls.tearDownClass()
            raise

    @classmethod
    def tearDownClass(cls):
        if getattr(cls, "prefix", None):
            cls.prefix.stop()
        if getattr(cls, "xserver", None):
            cls.xserver.stop()
        if not os.environ.get("FQ_E2E_KEEP"):
            shutil.rmtree(cls._work, ignore_errors=True)

    def setUp(self):
        self._programs = []
        self.mpr_log = None
        self.addCleanup(self._end_programs)
        self.clear_settings()

    def _end_programs(self):
        for program in self._programs:
            program.kill()

    # --- Programs ---

    def start(self, argument_text="", settings=None, mpr_stub=False, env=None,
              program_path=None):
        """Starts the saver with exactly `argument_text` after its path. `settings` (name to
        str or RegValue) replaces the stored settings first. With `mpr_stub`, the stand-in
        mpr.dll records each PwdChangePasswordA call; read them with mpr_calls().
        `program_path` (a Windows path in the prefix) runs another copy of the program."""
        if settings is not None:
            self.store_settings(settings)
        run_env = dict(self.prefix.env)
        if mpr_stub:
            run_env["WINEDLLOVERRIDES"] += ";mpr=n,b"
            self.mpr_log = self._work / f"mpr-{len(self._programs)}-{self.id()}.log"
            run_env["FQ_MPR_LOG"] = windows_path(self.mpr_log)
        run_env.update(env or {})
        program = RunningProgram(self.prefix, self.inspector, program_path or self.program_path,
                                 argument_text, run_env)
        self._programs.append(program)
        return program

    def mpr_calls(self):
        """The PwdChangePasswordA calls the stand-in recorded in this test's last stub run:
        dicts with "text", "parent" (signed), "reserved1", "reserved2"."""
        if self.mpr_log is None:
            raise HarnessError("mpr_calls() needs a program started with mpr_stub=True")
        if not self.mpr_log.is_file():
            return []
        return [json.loads(line) for line in self.mpr_log.read_text().splitlines()]

    # --- Inspector ---

    @classmethod
    def inspect(cls, *args, timeout=30):
        result = cls.prefix.wine(cls.inspector, *args, timeout=timeout, check=False)
        if result.returncode not in (0, 1, 2) and args[0] in OBSERVING_COMMANDS:
            # On a loaded machine a Wine start has been seen to end at once without a word
            # (rarely); a look changes nothing, so it is asked again, and said so.
            print(f"harness: fq_inspect {args[0]} ended with {result.returncode:#x} and "
                  f"{result.stderr.strip()!r}; asking again", file=sys.stderr)
            result = cls.prefix.wine(cls.inspector, *args, timeout=timeout, check=False)
        if result.returncode != 0:
            raise HarnessError(f"fq_inspect {' '.join(args)} failed with {result.returncode:#x}:"
                               f" {result.stderr.strip()}")
        return json.loads(result.stdout)

    def windows(self, program=None, visible_only=True):
        """Top-level windows (see README for the fields), of one program if given."""
        found = self.inspect("windows")
        return [w for w in found if (program is None or w["pid"] == program.pid)
                and (w["visible"] or not visible_only)]

    def message_boxes(self, program=None):
        return [box for box in self.inspect("msgbox")
                if program is None or box["pid"] == program.pid]

    def controls(self, hwnd):
        return self.inspect("controls", str(hwnd))

    def click_button(self, hwnd, text):
        """Presses the button labelled `text` in window `hwnd` (BM_CLICK)."""
        self.inspect("click", str(hwnd), text)

    def set_text(self, hwnd, text):
        self.inspect("settext", str(hwnd), text)

    def get_text(self, hwnd):
        return self.inspect("gettext", str(hwnd))["text"]

    def close_window(self, hwnd):
        self.inspect("close", str(hwnd))

    def wait_until(self, probe, timeout=10.0, what="the condition"):
        """Polls `probe()` until it returns something truthy and returns that."""
        deadline = time.monotonic() + timeout
        while True:
            found = probe()
            if found:
                return found
            if time.monotonic() > deadline:
                raise HarnessError(f"timed out after {timeout} s waiting for {what}")
            time.sleep(POLL_INTERVAL)

    def wait_for_window(self, program, title=None, cls=None, timeout=10.0):
        """The first visible top-level window of `program` with that title and/or class."""
        def probe():
            if not program.running():
                raise HarnessError(f"the program ended (exit code {program.wait()}) before "
                                   f"showing the window")
            return next((w for w in self.windows(program)
                         if (title is None or w["title"] == title)
                         and (cls is None or w["class"] == cls)), None)
        return self.wait_until(probe, timeout, f"a window titled {title!r} class {cls!r}")

    def wait_for_message_box(self, program, timeout=10.0):
        def probe():
            if not program.running():
                raise HarnessError(f"the program ended (exit code {program.wait()}) before "
                                   f"showing a message box")
            return next(iter(self.message_boxes(program)), None)
        return self.wait_until(probe, timeout, "a message box")

    # --- Settings store ---

    def clear_settings(self):
        self.inspect("regdelete", APP_KEY)

    def store_settings(self, values):
        """Replaces the stored settings by `values`: name to str (REG_SZ) or RegValue."""
        self.clear_settings()
        args = []
        for name, value in values.items():
            if isinstance(value, str):
                value = RegValue.text(value)
            args += [name, str(value.type), value.data.hex()]
        if args:
            self.inspect("regwrite", SETTINGS_KEY, *args)

    def read_key(self, subkey=SETTINGS_KEY):
        """{"exists": bool, "values": [{"name", "type", "data", "hex"}]} of a HKCU key."""
        return self.inspect("registry", subkey)

    def read_settings(self):
        """The stored settings as name to data (text for REG_SZ); {} when the key is absent."""
        return {value["name"]: value["data"] for value in self.read_key()["values"]}

    # --- Screen and real input (X11) ---

    def _x(self, *args, **kwargs):
        return subprocess.run(list(args), env=self.prefix.env, check=True, timeout=30, **kwargs)

    def screenshot(self, path=None):
        """Saves the whole screen as PNG (pixel exact, no cursor) and returns its path."""
        path = Path(path or self._work / f"{self.id()}-{time.monotonic_ns()}.png")
        self._x("import", "-window", "root", str(path))
        return path

    def screen_pixels(self, left=0, top=0, width=None, height=None):
        """The screen (or a part) as a Pixels object: pixel(x, y) gives (r, g, b)."""
        screen_width, screen_height = (int(n) for n in self.screen.split("x")[:2])
        width = width or screen_width - left
        height = height or screen_height - top
        raw = self._x("import", "-window", "root", "-crop", f"{width}x{height}+{left}+{top}",
                      "-depth", "8", "rgb:-", capture_output=True).stdout
        return Pixels(width, height, raw)

    def move_pointer(self, x, y):
        """Moves the pointer to screen (x, y), then lets Wine see the move on its own."""
        self._x("xdotool", "mousemove", str(x), str(y))
        time.sleep(POINTER_SETTLE)

    def click_at(self, x, y, button=1):
        self.move_pointer(x, y)
        self._x("xdotool", "click", str(button))

    def press_key(self, *keys):
        """Presses X key names (e.g. "Return", "space", "a") in the window under the pointer."""
        self._x("xdotool", "key", *keys)

    def type_text(self, text):
        self._x("xdotool", "type", "--delay", "50", text)

    def click_box_button(self, box, text):
        """Clicks a message-box button by its label with the real pointer."""
        button = next((b for b in box["buttons"] if b["text"].replace("&", "") == text), None)
        if button is None:
            raise HarnessError(f"no button {text!r} in the box: {box['buttons']}")
        rect = button["screen_rect"]
        self.click_at((rect["left"] + rect["right"]) // 2, (rect["top"] + rect["bottom"]) // 2)


class Pixels:
    """A captured block of the screen, 8-bit RGB."""

    def __init__(self, width, height, data):
        if len(data) != width * height * 3:
            raise HarnessError(f"screen capture gave {len(data)} bytes for {width}x{height}")
        self.width, self.height, self.data = width, height, data

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.data[offset:offset + 3])
