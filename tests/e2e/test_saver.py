"""Saver mode under Wine: the window covers the screen, black and topmost; the sprites drift
right and down; a key, a button, a close request or a pointer jump of more than 20 pixels on
both axes ends the process promptly, while smaller moves and moves along one axis do not.

Wine remembers the pointer where it last saw it over one of its windows and sends a new window
one move event there. The tests therefore keep the pointer at HOME, the screen's centre, where
a fresh Xvfb puts it, whenever no saver runs, so that this first event lies where the real
pointer is."""

import subprocess
import time
import unittest

from harness import HarnessError, WineTestCase

TITLE = "Animation Code"
SCREEN = (1920, 1080)
HOME = (SCREEN[0] // 2, SCREEN[1] // 2)
WS_POPUP, WS_CAPTION, WS_THICKFRAME = 0x80000000, 0x00C00000, 0x00040000
# Generous: an ended saver is gone within a fraction of a second even on a loaded machine.
PROMPT_END_SECONDS = 5.0
# Time for the frame loop to be running once the window shows.
SETTLE_SECONDS = 1.0
# Put on the root window, so that any pixel the saver leaves uncovered shows.
BACKDROP = "#3050a0"


def sprite_rows(pixels, scale=4):
    """The screen at 1/scale size as one bit set per row: bit x is set where the pixel is not
    black."""
    rows = []
    for y in range(0, pixels.height, scale):
        row = 0
        for x in range(0, pixels.width, scale):
            if any(pixels.pixel(x, y)):
                row |= 1 << (x // scale)
        rows.append(row)
    return rows


def best_shift(before, after, max_shift=40):
    """The shift (dx, dy) in reduced pixels that lays the most lit pixels of `before` onto lit
    pixels of `after`, and that count."""
    best = (0, 0, -1)
    for dy in range(-max_shift, max_shift + 1):
        for dx in range(-max_shift, max_shift + 1):
            score = 0
            for y, row in enumerate(before):
                if row and 0 <= y + dy < len(after):
                    shifted = row << dx if dx >= 0 else row >> -dx
                    score += (shifted & after[y + dy]).bit_count()
            if score > best[2]:
                best = (dx, dy, score)
    return best


class SaverTestCase(WineTestCase):

    screen = f"{SCREEN[0]}x{SCREEN[1]}x24"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # ImageMagick sets the root window's background and exits non-zero all the same, so
        # the backdrop is checked on the screen instead.
        subprocess.run(["display", "-window", "root", "-size", "64x64", "xc:" + BACKDROP],
                       env=cls.prefix.env, timeout=30, capture_output=True)
        corner = subprocess.run(["import", "-window", "root", "-crop", "1x1+0+0", "-depth", "8",
                                 "rgb:-"], env=cls.prefix.env, timeout=30, check=True,
                                capture_output=True).stdout
        if corner.hex() != BACKDROP[1:]:
            cls.tearDownClass()
            raise HarnessError(f"the backdrop {BACKDROP} did not reach the screen, "
                               f"which shows #{corner.hex()}")

    def start_saver(self, settings=None):
        """Starts "/s" with the pointer at HOME; returns the program and its window as it is
        once the frame loop runs (the window shows before it is maximised and made topmost)."""
        self.move_pointer(*HOME)
        program = self.start("/s", settings=settings if settings is not None else {})
        self.wait_for_window(program, title=TITLE)
        time.sleep(SETTLE_SECONDS)
        self.assertTrue(program.running(), "the saver ended on its own after showing")
        return program, self.wait_for_window(program, title=TITLE)

    def assert_ends_promptly(self, program, started, what):
        """The program ends with exit code 0 within PROMPT_END_SECONDS of `started`."""
        exit_code = program.wait(timeout=PROMPT_END_SECONDS)
        elapsed = time.monotonic() - started
        self.assertEqual(exit_code, 0, f"exit code after {what}; stderr: {program.stderr()}")
        self.assertLess(elapsed, PROMPT_END_SECONDS, f"{what} took {elapsed:.2f} s to end it")
        return elapsed


class SaverScreenTest(SaverTestCase):

    def test_window_covers_the_screen_topmost_borderless_and_titled(self):
        program, window = self.start_saver()
        full_screen = {"left": 0, "top": 0, "right": SCREEN[0], "bottom": SCREEN[1],
                       "width": SCREEN[0], "height": SCREEN[1]}
        self.assertEqual(window["rect"], full_screen, "outer rectangle")
        self.assertEqual(window["client_rect"], full_screen, "client rectangle")
        self.assertTrue(window["topmost"], "the saver window is not topmost")
        self.assertEqual(window["style"] & (WS_POPUP | WS_CAPTION | WS_THICKFRAME), WS_POPUP,
                         f"style {window['style']:#x}: want a pop-up without caption or frame")
        self.assertEqual([w["title"] for w in self.windows(program)], [TITLE],
                         "the saver should show exactly one window")

    def test_sprites_drift_right_and_down(self):
        self.start_saver()
        before = sprite_rows(self.screen_pixels())
        time.sleep(0.3)
        after = sprite_rows(self.screen_pixels())
        lit = sum(row.bit_count() for row in before)
        self.assertGreater(lit, 0, "no sprite on the screen")
        dx, dy, overlap = best_shift(before, after)
        self.assertGreater(overlap, lit // 3,
                           f"the second screenshot does not match the first moved by any shift "
                           f"(best {dx}, {dy} matched {overlap} of {lit} lit cells)")
        self.assertTrue(dx > 0 and dy > 0,
                        f"the sprites moved by ({dx}, {dy}) quarter pixels; want right and down")

    def test_with_count_0_the_screen_stays_black(self):
        self.start_saver(settings={"Count": "0"})
        for shot in range(2):
            pixels = self.screen_pixels()
            lit = next(((x, y) for y in range(0, pixels.height, 2)
                        for x in range(0, pixels.width, 2) if any(pixels.pixel(x, y))), None)
            self.assertIsNone(lit, f"screenshot {shot + 1}: pixel {lit} is "
                                   f"{pixels.pixel(*lit) if lit else ''}, not black")
            time.sleep(0.5)


class SaverDismissalTest(SaverTestCase):

    def test_a_key_a_button_or_a_close_request_ends_the_saver_promptly(self):
        inputs = [
            ("key a", lambda window: self.press_key("a")),
            ("key F10", lambda window: self.press_key("F10")),
            ("key Alt", lambda window: self.press_key("Alt_L")),
            ("left button", lambda window: self.click_at(*HOME, button=1)),
            ("right button", lambda window: self.click_at(*HOME, button=3)),
            ("middle button", lambda window: self.click_at(*HOME, button=2)),
            ("close request", lambda window: self.close_window(window["hwnd"])),
        ]
        for what, act in inputs:
            with self.subTest(input=what):
                program, window = self.start_saver()
                try:
                    started = time.monotonic()
                    act(window)
                    self.assert_ends_promptly(program, started, what)
                finally:
                    # A saver that did not end would stand in the way of the next one.
                    program.kill()

    def test_only_a_jump_of_more_than_20_pixels_on_both_axes_ends_the_saver(self):
        # The first move event comes from Wine at HOME, far from (0, 0) on both axes.
        program, _ = self.start_saver()
        x, y = HOME
        kept_running = [("small move", x + 15, y + 15),
                        ("move of exactly 20 on both axes", x + 35, y + 35),
                        ("long move along x", SCREEN[0] - 100, y + 35),
                        ("long move along y", SCREEN[0] - 100, 100)]
        for what, to_x, to_y in kept_running:
            self.move_pointer(to_x, to_y)
            self.assertTrue(program.running(), f"the {what} to ({to_x}, {to_y}) ended the saver")
        started = time.monotonic()
        self.move_pointer(*HOME)
        self.assert_ends_promptly(program, started, "a jump on both axes")


if __name__ == "__main__":
    unittest.main()
