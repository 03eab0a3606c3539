"""The machinery under the end-to-end harness: a private Xvfb server, WINEPREFIXes copied
from a template made once, Wine calls that cannot hang on inherited pipes, and Windows
programs started with an exact command line whose pid and exit code are known.
"""

import ctypes
import fcntl
import json
import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
PROGRAM = "FlyingQuorlin.scr"

# A program's first start in a new prefix can take ~8 s on a loaded machine.
START_TIMEOUT = 30.0
# How long an idle wineserver outlives its last program (see WinePrefix.keep_server).
SERVER_LINGER = 120
PR_SET_PDEATHSIG = 1


class HarnessError(AssertionError):
    """The test environment could not be set up or did not answer; the message says why."""


def build_dir():
    """The x86_64 Windows build tree: FQ_WIN64_BUILD_DIR, else build/win64 of this checkout."""
    return Path(os.environ.get("FQ_WIN64_BUILD_DIR") or REPO / "build" / "win64")


def cache_dir():
    """Where the template prefix is kept: FQ_E2E_CACHE_DIR, else build/native/e2e."""
    return Path(os.environ.get("FQ_E2E_CACHE_DIR") or REPO / "build" / "native" / "e2e")


def windows_path(path):
    """The Wine path of a host path (drive Z: is the host's root)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def require_tools():
    missing = [tool for tool in (WINE, WINESERVER) if not os.access(tool, os.X_OK)]
    missing += [tool for tool in ("Xvfb", "xdotool", "import") if not shutil.which(tool)]
    if missing:
        raise HarnessError(
            "end-to-end tests need Wine (wine64), Xvfb, xdotool and ImageMagick; missing: "
            + ", ".join(missing) + ". Run: bash scripts/install-deps.sh")


def require_build():
    build = build_dir()
    needed = [build / PROGRAM, build / "e2e" / "fq_inspect.exe", build / "e2e" / "mpr.dll"]
    absent = [str(path) for path in needed if not path.is_file()]
    if absent:
        raise HarnessError(
            "the x86_64 Windows build is incomplete (missing " + ", ".join(absent) + "). Build it "
            "with: cmake --preset win64 && cmake --build build/win64, or point "
            "FQ_WIN64_BUILD_DIR at another build.")
    return build


def _end_with_parent():
    """Runs in a child before exec: the child gets SIGTERM when the test process dies, so a
    killed test run leaves no server behind."""
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


class XServer:
    """An Xvfb server on a display number it picks itself (-displayfd), so runs never clash."""

    def __init__(self, screen="1920x1080x24"):
        self.screen = screen
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=_end_with_parent)
        os.close(write_end)
        with os.fdopen(read_end) as reader:
            number = reader.readline().strip()
        if not number:
            self.stop()
            raise HarnessError("Xvfb did not start (screen " + screen + ")")
        self.display = ":" + number

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def copy_prefix(template, target):
    """Copies a prefix; the system DLL folders, which Wine never writes after boot, are shared
    by hard links, which makes a copy take milliseconds instead of seconds."""
    shared = {template / "drive_c" / "windows" / name for name in ("system32", "syswow64")}

    def copy(source, destination):
        if any(parent in shared for parent in Path(source).parents):
            os.link(source, destination)
        else:
            shutil.copy2(source, destination)

    shutil.copytree(template, target, symlinks=True, copy_function=copy, dirs_exist_ok=True)


def template_prefix(display):
    """The template prefix, made once under a lock (several test processes may ask at once)."""
    cache = cache_dir()
    cache.mkdir(parents=True, exist_ok=True)
    template = cache / "e2e-prefix-template"
    with open(cache / "e2e-prefix-template.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if (template / "fq-template-complete").is_file():
            return template
        shutil.rmtree(template, ignore_errors=True)
        building = Path(tempfile.mkdtemp(prefix="e2e-prefix-template.", dir=cache))
        prefix = WinePrefix(building, display)
        try:
            prefix.wine("wineboot", "-i", timeout=300)
            # A crash must show as an exit code, not as a dialog waiting for a click.
            prefix.wine("reg", "add", r"HKCU\Software\Wine\WineDbg", "/v", "ShowCrashDialog",
                        "/t", "REG_DWORD", "/d", "0", "/f")
        finally:
            prefix.stop()
        (building / "fq-template-complete").write_text("made by wineboot -i\n")
        building.rename(template)
        return template


class WinePrefix:
    """One WINEPREFIX with the environment every Wine call in it uses."""

    def __init__(self, path, display):
        self.path = Path(path)
        self.env = dict(os.environ)
        self.env.update({
            "WINEPREFIX": str(self.path),
            "WINEARCH": "win64",
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "DISPLAY": display,
        })

    def wine(self, *args, timeout=60, check=True):
        """Runs a Windows program to its end; returns the CompletedProcess (text output).
        Output goes through files, not pipes: Wine's services started by the first call
        inherit the output and would hold a pipe open long after the program ended."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            process = subprocess.run([WINE, *args], env=self.env, stdout=out, stderr=err,
                                     timeout=timeout)
            out.seek(0)
            err.seek(0)
            result = subprocess.CompletedProcess(
                process.args, process.returncode, out.read().decode(errors="replace"),
                err.read().decode(errors="replace"))
        if check and result.returncode != 0:
            raise HarnessError(f"wine {' '.join(args)} failed with {result.returncode}: "
                               f"{result.stderr.strip()}")
        return result

    def keep_server(self):
        """Keeps the wineserver up between programs. It still ends by itself once no program
        has run for SERVER_LINGER seconds, should the test process die before stop()."""
        subprocess.run([WINESERVER, f"-p{SERVER_LINGER}"], env=self.env, check=True, timeout=30)

    def stop(self):
        """Ends the wineserver of this prefix and with it every process it runs."""
        subprocess.run([WINESERVER, "-k"], env=self.env, capture_output=True, timeout=30)
        subprocess.run([WINESERVER, "-w"], env=self.env, capture_output=True, timeout=60)


class RunningProgram:
    """A Windows program started through the inspector's launcher: `pid` is its Windows
    process id (the one windows report), `exit_code` the full Windows exit code once ended."""

    def __init__(self, prefix, inspector, program, argument_text, env):
        self._prefix = prefix
        self._inspector = inspector
        self.argument_text = argument_text
        self.exit_code = None
        self.pid = None
        # Files, not pipes: see WinePrefix.wine.
        self._stdout = tempfile.TemporaryFile()
        self._stderr = tempfile.TemporaryFile()
        self._kept = {}
        self.process = subprocess.Popen([WINE, inspector, "launch", program, argument_text],
                                        env=env, stdout=self._stdout, stderr=self._stderr)
        deadline = time.monotonic() + START_TIMEOUT
        while not self._reports() and self.process.poll() is None and time.monotonic() < deadline:
            time.sleep(0.05)
        reports = self._reports()
        if not reports:
            launcher_status = self.process.poll()
            self.kill()
            raise HarnessError(f"the program did not start with {argument_text!r} (launcher "
                               f"status {launcher_status}): {self.stderr()}")
        self.pid = reports[0]["pid"]

    def _reports(self):
        """The launcher's complete JSON lines so far: {"pid"}, then {"exit_code"}."""
        lines = self._output(self._stdout).split("\n")
        return [json.loads(line) for line in lines[:-1]]

    def _output(self, file):
        """All that was written to one of the output files, also after kill() closed them."""
        if file.closed:
            return self._kept[file]
        file.seek(0)
        return file.read().decode(errors="replace")

    def running(self):
        return self.exit_code is None and self.process.poll() is None

    def wait(self, timeout=10.0):
        """The Windows exit code; raises HarnessError when the program still runs."""
        if self.exit_code is None:
            try:
                self.process.wait(timeout)
            except subprocess.TimeoutExpired:
                raise HarnessError(f"the program ({self.argument_text!r}) still runs after "
                                   f"{timeout} s") from None
            ended = [report for report in self._reports() if "exit_code" in report]
            if not ended:
                raise HarnessError("the launcher ended without the program's exit code: "
                                   + self.stderr())
            self.exit_code = ended[0]["exit_code"]
        return self.exit_code

    def kill(self):
        """Ends the program at once if it still runs (TerminateProcess by its pid), then its
        launcher, and lets go of the output files."""
        if self.process.poll() is None:
            if self.pid is not None:
                self._prefix.wine(self._inspector, "kill", str(self.pid), check=False)
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        for file in (self._stdout, self._stderr):
            if not file.closed:
                self._kept[file] = self._output(file)
                file.close()

    def stderr(self):
        """What the program and Wine wrote to stderr (crash reports land here)."""
        return self._output(self._stderr)
