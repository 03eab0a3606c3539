"""Shared by the check_*.py scripts: reads the built program files from the command line
(arch=path arguments, as CMakeLists.txt passes them), collects failures and reports them.

A check script looks like:

    from static_check import Check
    check = Check()
    for arch, path in check.programs():
        check.expect(condition, f"{arch}: what was wrong, with the actual value")
    check.done()
"""

import sys
from pathlib import Path

BUILD_PRESETS = {"i686": "win32", "x86_64": "win64"}


class Check:
    def __init__(self, argv=None):
        self._programs = []
        self.failures = []
        for argument in (sys.argv[1:] if argv is None else argv):
            arch, _, path = argument.partition("=")
            if arch not in BUILD_PRESETS or not path:
                sys.exit(f"usage: {Path(sys.argv[0]).name} i686=<file> x86_64=<file>")
            self._programs.append((arch, Path(path)))
        missing = [f"{path} (build the {BUILD_PRESETS[arch]} preset first)"
                   for arch, path in self._programs if not path.is_file()]
        if missing:
            sys.exit("the built program is missing: " + "; ".join(missing))

    def programs(self):
        """(arch, path) of each built program, "i686" or "x86_64"."""
        return list(self._programs)

    def expect(self, condition, message):
        if not condition:
            self.failures.append(message)

    def done(self):
        for failure in self.failures:
            print("FAIL:", failure)
        if self.failures:
            sys.exit(1)
        print(f"{Path(sys.argv[0]).name}: all checks passed for "
              + ", ".join(str(path) for _, path in self._programs))
