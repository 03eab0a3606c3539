#!/usr/bin/env bash
# Makes the README's pictures under Wine on private displays, through the end-to-end harness:
# docs/dialog.png, the settings dialog as it opens with no stored settings at 96 dpi, and
# docs/monitors.png, the saver on two monitors, at half size, grey where no monitor is. Needs
# the win64 build and the end-to-end tools (see tests/e2e/README.md); honours
# FQ_WIN64_BUILD_DIR and FQ_E2E_CACHE_DIR like the tests.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
cd "$repo/tests/e2e"
FQ_DOCS="$repo/docs" /usr/bin/python3 - <<'PYTHON'
import os
import subprocess
import sys
import time
import unittest

from harness import WineTest

DOCS = os.environ["FQ_DOCS"]


class DialogScreenshot(WineTest):
    arch = "x86_64"

    def test_screenshot(self):
        program = self.start("/c")
        dialog = self.wait_window(program, text="About", cls="FlyingQuorlinConfig")
        self.move(0, 0)  # no hover highlight on a button
        left, top, right, bottom = dialog["rect"]
        self.x("import", "-window", "root", "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
               "+repage", f"{DOCS}/dialog.png")


class MonitorsScreenshot(WineTest):
    arch = "x86_64"
    screen = (2400, 900)
    monitors = [(1280, 720), (1024, 768)]

    def test_screenshot(self):
        self.move(640, 360)
        program = self.start("/s", {"Count": "30"})
        self.wait_window(program, cls="FlyingQuorlin.Saver")
        time.sleep(3)
        raw = self.work / "monitors.rgb"
        with open(raw, "wb") as shot:
            shot.write(self.pixels())
        program.kill()
        subprocess.run(["convert", "-size", "2304x768", "-depth", "8", f"rgb:{raw}",
                        "-fill", "gray25", "-draw", "rectangle 0,720 1279,767",  # no monitor's
                        "-scale", "50%", f"{DOCS}/monitors.png"], check=True)


result = unittest.main(argv=["screenshots"], exit=False).result
sys.exit(0 if result.wasSuccessful() else 1)
PYTHON
echo "wrote $repo/docs/dialog.png and $repo/docs/monitors.png"
