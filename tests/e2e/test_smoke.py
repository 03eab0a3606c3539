"""The x86_64 build under 64-bit Wine, each mode once."""

import time

from harness import WM_CLOSE, WineTest


class SmokeTest(WineTest):
    arch = "x86_64"

    def test_each_mode_once(self):
        self.move(960, 540)
        saver = self.start("/s")
        self.wait_window(saver, "Animation Code")
        time.sleep(1)  # until the frame loop runs
        self.key("a")
        self.assertEqual(saver.wait(5), 0, saver.stderr())
        dialog = self.start("/c")
        self.post(self.wait_window(dialog, cls="FlyingQuorlinConfig")["hwnd"], WM_CLOSE)
        self.assertEqual(dialog.wait(), 0, dialog.stderr())
        for args, calls in [("/p 123", []), ("/a 123", ["SCRSAVE 123 0 0"])]:
            program = self.start(args, stub=True)
            self.assertEqual((program.wait(), self.mpr_calls()), (0, calls), args)
