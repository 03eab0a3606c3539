"""The saver and the settings dialog on a 3840x2160 screen at 192 dpi against 96 dpi: every
picture twice as large, nothing left uncovered; the sheet in screen-format frames and
monochrome masks blits at every scale as the whole sheet in one bitmap would."""

import time

from harness import WINE, WineTest, run, wine_path

WIDTH, HEIGHT = 3840, 2160
HOME = (WIDTH // 2, HEIGHT // 2)
SS_TYPEMASK, SS_BITMAP = 0x1F, 0x0E


def lit_box(pixels, width, left, top, right, bottom):
    """The smallest rectangle (left, top, right, bottom) that holds every pixel that is not
    black within the given one, or None."""
    rows = [pixels[3 * (y * width + left):3 * (y * width + right)] for y in range(top, bottom)]
    lit = [(y, row) for y, row in enumerate(rows, top) if row.strip(b"\0")]
    if not lit:
        return None
    return (left + min((len(row) - len(row.lstrip(b"\0"))) // 3 for _, row in lit), lit[0][0],
            left + max((len(row.rstrip(b"\0")) + 2) // 3 for _, row in lit), lit[-1][0] + 1)


def size(box):
    return box[2] - box[0], box[3] - box[1]


class DenseScreenTest(WineTest):
    screen = (WIDTH, HEIGHT)

    def sprite_sizes(self, dpi):
        """The one sprite's width and height in three screenshots where it lies whole. It
        starts anywhere, partly off the screen too, and comes back in partly shown."""
        self.set_dpi(dpi)
        self.move(*HOME)
        program = self.start("/s", {"Count": "1"})
        self.wait_window(program, "Animation Code")
        sizes, deadline = [], time.monotonic() + 30
        while len(sizes) < 3 and time.monotonic() < deadline:
            box = lit_box(self.pixels(), WIDTH, 0, 0, WIDTH, HEIGHT)
            if box and 0 < box[0] and box[2] < WIDTH and 0 < box[1] and box[3] < HEIGHT:
                sizes.append(size(box))
        program.kill()
        self.assertTrue(sizes, f"at {dpi} dpi the sprite never showed whole")
        return sizes

    def test_sprites_are_twice_their_96_dpi_size(self):
        # Every frame is as wide (the wings change the height), so the widths compare.
        widths = {width for width, _ in self.sprite_sizes(96)}
        self.assertEqual(len(widths), 1, f"frames of different widths at 96 dpi: {widths}")
        wide = widths.pop()
        for width, height in self.sprite_sizes(192):
            self.assertLessEqual(abs(width - 2 * wide), 2,
                                 f"a sprite {width}x{height} at 192 dpi, {wide} wide at 96 dpi")

    def logo(self, dpi):
        """The size of the dialog's picture control and of what is drawn in it."""
        self.set_dpi(dpi)
        program = self.start("/c")
        dialog = self.wait_window(program, cls="FlyingQuorlinConfig")
        picture = next(c for c in self.windows(parent=dialog["hwnd"])
                       if c["class"] == "Static" and c["style"] & SS_TYPEMASK == SS_BITMAP)
        drawn = self.wait_until(lambda: lit_box(self.pixels(), WIDTH, *picture["rect"]),
                                what=f"the logo at {dpi} dpi")
        program.kill()
        return size(picture["rect"]), size(drawn)

    def test_the_dialogs_logo_is_twice_its_96_dpi_size(self):
        (control, drawn), (control2, drawn2) = self.logo(96), self.logo(192)
        self.assertEqual(control2, (2 * control[0], 2 * control[1]), "the picture's size")
        self.assertTrue(all(abs(b - 2 * a) <= 2 for a, b in zip(drawn, drawn2)),
                        f"the logo drawn {drawn2[0]}x{drawn2[1]} at 192 dpi, "
                        f"{drawn[0]}x{drawn[1]} at 96 dpi")

    def test_the_sheet_in_two_bitmaps_blits_as_one(self):
        probe = wine_path(self.build / "e2e/fq_sheet_blits.exe")
        for scale in (1, 2, 3):
            code, out, err = run(self.env, [WINE[self.arch], probe, str(scale)])
            self.assertEqual((code, out.strip()), (0, "0"), f"pixels that differ at k = {scale}"
                             f" (exit code, count): {err}")
