"""The saver under Wine: its window, the sprites' drift a frame a pause (with the
high-resolution timer and without), and what ends it at once; the soak runs from
scripts/soak.sh. What each test proves: README.md here."""

import os
import time
import unittest

from harness import WM_CLOSE, WineTest, wine_path

WIDTH, HEIGHT = WineTest.screen
HOME = (WIDTH // 2, HEIGHT // 2)
WS_POPUP, WS_CAPTION, WS_THICKFRAME, WS_EX_TOPMOST = 0x80000000, 0xC00000, 0x40000, 0x8


def lit_rows(pixels, step=4):
    """The screen at a quarter of its size: per row a number with a bit set per lit pixel."""
    return [sum(1 << x // step for x in range(0, WIDTH, step)
                if pixels[3 * (y * WIDTH + x):3 * (y * WIDTH + x) + 3] != b"\0\0\0")
            for y in range(0, HEIGHT, step)]


def overlap(before, after, dx, dy):
    """How many lit pixels of `before`, moved by (dx, dy), fall on lit pixels of `after`."""
    return sum(((row << dx if dx >= 0 else row >> -dx) & after[y + dy]).bit_count()
               for y, row in enumerate(before) if 0 <= y + dy < len(after))


class SaverTest(WineTest):

    def start_saver(self, settings=None, args="/s", path=None):  # and its window, on top
        self.move(*HOME)
        program = self.start(args, settings, path)
        def covering():
            window = self.wait_window(program, "Animation Code")
            return window["rect"] == (0, 0, WIDTH, HEIGHT) and window["exstyle"] & WS_EX_TOPMOST \
                and window
        return program, self.wait_until(covering, 30, "the saver window to cover the screen")

    def test_window_covers_the_screen_black_topmost_and_borderless(self):
        program, window = self.start_saver({"Count": "0"})
        self.assertEqual((window["rect"], window["client"]), ((0, 0, WIDTH, HEIGHT),) * 2)
        self.assertTrue(window["exstyle"] & WS_EX_TOPMOST, "the window is not topmost")
        self.assertEqual(window["style"] & (WS_POPUP | WS_CAPTION | WS_THICKFRAME), WS_POPUP,
                         f"style {window['style']:#x}: want a pop-up without caption or frame")
        self.assertEqual([w["hwnd"] for w in self.windows(program)], [window["hwnd"]])
        self.wait_until(lambda: not self.pixels().strip(b"\0"), 30, "a black screen")

    def test_sprites_drift_right_and_down_a_frame_a_pause(self):
        without = wine_path(self.build / "e2e/fq_saver_fault.exe")  # the timer's look-up fails
        for what, args, path in [("the saver", "/s", None), ("no timer", "/s no-timer", without)]:
            with self.subTest(what):
                program, _ = self.start_saver(args=args, path=path)
                started, shot = time.monotonic(), self.pixels()
                before, after = lit_rows(shot), lit_rows(self.wait_until(
                    lambda: (later := self.pixels()) != shot and later, 30, "the next frame"))
                most_frames = (time.monotonic() - started) * 1000 / 25 + 1  # Speed 25
                program.kill()
                shifts = [(dx, dy) for dx in range(-40, 41) for dy in range(-40, 41)]
                dx, dy = max(shifts, key=lambda shift: overlap(before, after, *shift))
                lit, laid = sum(row.bit_count() for row in before), overlap(before, after, dx, dy)
                self.assertGreater(laid, lit // 3, f"no shift moves the sprites as one: {dx}, "
                                   f"{dy} lays {laid} of {lit} lit pixels")
                self.assertTrue(dx > 0 and dy > 0, f"the sprites moved by {dx}, {dy}")
                # A quarter pixel: dy is the frames' number within 3 of 4 dy.
                self.assertLessEqual(4 * dy - 3, most_frames, "frames faster than the pause")

    def test_a_key_a_button_or_a_close_request_ends_it_promptly(self):
        for what, act, speed in [("key a", lambda _: self.key("a"), "25"),
                                 ("Alt, a system key", lambda _: self.key("Alt_L"), "25"),
                                 ("left button", lambda _: self.click(*HOME, 1), "25"),
                                 ("right button", lambda _: self.click(*HOME, 3), "25"),
                                 ("middle button", lambda _: self.click(*HOME, 2), "25"),
                                 ("close request", lambda w: self.post(w["hwnd"], WM_CLOSE), "25"),
                                 # stored by hand, far above the dialog's range: a 30 s pause
                                 ("key a at Speed 30000", lambda _: self.key("a"), "30000")]:
            with self.subTest(what):
                program, window = self.start_saver({"Speed": speed})
                act(window)
                try:
                    # well within the 30 s pause, with time to spare on a busy machine
                    self.assertEqual(program.wait(timeout=15), 0, program.stderr())
                finally:
                    program.kill()  # one still running would be in the next one's way

    @unittest.skipUnless(os.environ.get("FQ_SOAK_SECONDS"), "the soak runs from scripts/soak.sh")
    def test_soak(self):
        program, _ = self.start_saver({"Speed": "1", "Count": "30"})
        started, samples = time.monotonic(), []
        for index in range(11):  # evenly over the run, from its start to its end
            time.sleep(max(0, started + float(os.environ["FQ_SOAK_SECONDS"]) * index / 10
                           - time.monotonic()))
            gdi, memory, working_set = map(int, self.inspect("process", str(program.pid))[0])
            samples.append({"seconds": round(time.monotonic() - started), "gdi_objects": gdi,
                            "windows": len(self.windows(program, hidden=True)), "memory": memory,
                            "working_set": working_set, "screen": hash(self.pixels())})
            print("soak", samples[-1], flush=True)
        self.key("a")
        self.assertEqual(program.wait(timeout=30), 0, program.stderr())
        self.assertEqual(len({s["screen"] for s in samples}), 11, "a frame stayed on the screen")
        for name in ("gdi_objects", "windows"):
            self.assertEqual({s[name] for s in samples}, {samples[0][name]}, name)
        # Wine's heaps may settle by a few pages; a leak of one bitmap a frame is megabytes.
        growth = max(s["memory"] for s in samples) - samples[0]["memory"]
        self.assertLess(growth, 1 << 20, [s["memory"] for s in samples])
