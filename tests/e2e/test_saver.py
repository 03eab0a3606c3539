"""The saver under Wine: its window covers the screen, black, topmost and borderless; the sprites
drift right and down; a key, a button, a close request or a pointer jump of more than 20 pixels
on both axes ends it promptly, while a smaller move or one along a single axis does not.

Wine sends a new window one move event where it last saw the pointer, so the pointer rests at
HOME whenever no saver runs."""

import time

from harness import WM_CLOSE, WineTest

TITLE = "Animation Code"
WIDTH, HEIGHT = WineTest.screen
HOME = (WIDTH // 2, HEIGHT // 2)
WS_POPUP, WS_CAPTION, WS_THICKFRAME, WS_EX_TOPMOST = 0x80000000, 0xC00000, 0x40000, 0x8


def lit_rows(pixels, step=4):
    """The screen at a quarter of its size as one number per row, a bit set per lit pixel."""
    return [sum(1 << (x // step) for x in range(0, WIDTH, step)
                if pixels[(y * WIDTH + x) * 3:(y * WIDTH + x) * 3 + 3] != b"\0\0\0")
            for y in range(0, HEIGHT, step)]


def best_shift(before, after, most=40):
    """The shift (dx, dy) that lays the most lit pixels of `before` on lit pixels of `after`,
    and how many it lays there."""
    scores = {}
    for dy in range(-most, most + 1):
        for dx in range(-most, most + 1):
            scores[dx, dy] = sum(((row << dx if dx >= 0 else row >> -dx) & after[y + dy]).bit_count()
                                 for y, row in enumerate(before) if row and 0 <= y + dy < len(after))
    shift = max(scores, key=scores.get)
    return shift, scores[shift]


class SaverTest(WineTest):

    def start_saver(self, settings=None):
        """Starts "/s" with the pointer at HOME; returns it and its window once the frame loop
        runs (the window is made full-screen and topmost after it shows)."""
        self.move(*HOME)
        program = self.start("/s", settings)
        self.wait_window(program, TITLE)
        time.sleep(1)
        return program, self.wait_window(program, TITLE)

    def test_window_covers_the_screen_black_topmost_and_borderless(self):
        program, window = self.start_saver({"Count": "0"})
        self.assertEqual((window["rect"], window["client"]), ((0, 0, WIDTH, HEIGHT),) * 2)
        self.assertTrue(window["exstyle"] & WS_EX_TOPMOST, "the window is not topmost")
        self.assertEqual(window["style"] & (WS_POPUP | WS_CAPTION | WS_THICKFRAME), WS_POPUP,
                         f"style {window['style']:#x}: want a pop-up without caption or frame")
        self.assertEqual([w["hwnd"] for w in self.windows(program)], [window["hwnd"]])
        for _ in range(2):
            pixels = self.pixels()
            first_lit = (len(pixels) - len(pixels.lstrip(b"\0"))) // 3
            self.assertEqual(first_lit, WIDTH * HEIGHT,
                             f"pixel {first_lit % WIDTH}, {first_lit // WIDTH} is not black")
            time.sleep(0.5)

    def test_sprites_drift_right_and_down(self):
        self.start_saver()
        before = lit_rows(self.pixels())
        time.sleep(0.3)
        after = lit_rows(self.pixels())
        lit = sum(row.bit_count() for row in before)
        (dx, dy), laid = best_shift(before, after)
        self.assertGreater(laid, lit // 3, f"the sprites did not move as one: best shift {dx}, "
                           f"{dy} lays {laid} of {lit} lit pixels")
        self.assertTrue(dx > 0 and dy > 0, f"the sprites moved by {dx}, {dy}: not right and down")

    def test_a_key_a_button_or_a_close_request_ends_it_promptly(self):
        inputs = {"key a": lambda _: self.key("a"), "Alt (a system key)": lambda _: self.key("Alt_L"),
                  "left button": lambda _: self.click(*HOME, 1),
                  "right button": lambda _: self.click(*HOME, 3),
                  "middle button": lambda _: self.click(*HOME, 2),
                  "close request": lambda window: self.post(window["hwnd"], WM_CLOSE)}
        for what, act in inputs.items():
            with self.subTest(what):
                program, window = self.start_saver()
                act(window)
                try:
                    self.assertEqual(program.wait(timeout=5), 0, program.stderr())
                finally:
                    program.kill()  # one that did not end would be in the next one's way

    def test_only_a_jump_of_more_than_20_pixels_on_both_axes_ends_it(self):
        program, _ = self.start_saver()  # Wine's first move event lies at HOME
        x, y = HOME
        for what, to in [("a small move", (x + 15, y + 15)), ("a move of 20", (x + 35, y + 35)),
                         ("a long move along x", (WIDTH - 100, y + 35)),
                         ("a long move along y", (WIDTH - 100, 100))]:
            self.move(*to)
            self.assertTrue(program.running(), f"{what} to {to} ended the saver")
        self.move(*HOME)
        self.assertEqual(program.wait(timeout=5), 0, program.stderr())
