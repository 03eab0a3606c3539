#!/usr/bin/env bash
# Makes docs/dialog.png (or the path given): the settings dialog as it opens with no stored
# settings, at 96 dpi, under Wine on a private display, through the end-to-end harness.
# Needs the win64 build and the end-to-end tools (see tests/e2e/README.md); honours
# FQ_WIN64_BUILD_DIR and FQ_E2E_CACHE_DIR like the tests.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-$repo/docs/dialog.png}")"
cd "$repo/tests/e2e"
FQ_SCREENSHOT_OUT="$out" /usr/bin/python3 - <<'PYTHON'
import os
import sys
import unittest

from harness import WineTest


class DialogScreenshot(WineTest):
    arch = "x86_64"

    def test_screenshot(self):
        program = self.start("/c")
        dialog = self.wait_window(program, text="About", cls="FlyingQuorlinConfig")
        self.move(0, 0)  # no hover highlight on a button
        left, top, right, bottom = dialog["rect"]
        self.x("import", "-window", "root", "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
               "+repage", os.environ["FQ_SCREENSHOT_OUT"])


result = unittest.main(argv=["screenshot-dialog"], exit=False).result
sys.exit(0 if result.wasSuccessful() else 1)
PYTHON
echo "wrote $out"
