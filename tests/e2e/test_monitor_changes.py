"""The saver while monitors change under it, on an Xorg whose outputs xrandr switches on, off
and re-modes: within a moment of Wine showing a new layout the saver window covers exactly the
primary monitor and a cover each other one, each with its flock, and none is left where no
monitor is."""

import time

from harness import WineTest, wine_path

HOME = (400, 300)  # on the primary in every layout here
# The bound on the saver's following a layout that Wine shows: a busy machine can take seconds.
SETTLING = 30
MAGENTA, BLACK = b"\xff\x00\xff", b"\0\0\0"
FULL, NONE = bytes(255 * [0] + [1]), bytes([1] + 255 * [0])  # per channel value: 255, 0


def area(pixels, width, rect):  # the rows of a rectangle of the screen
    left, top, right, bottom = rect
    return [pixels[3 * (y * width + left):3 * (y * width + right)] for y in range(top, bottom)]


def count(rows, colour):
    """How many pixels are of the colour, each channel of which is 255 or 0, by a bit per
    pixel and channel."""
    pixels, bits = b"".join(rows), -1
    for channel, value in enumerate(colour):
        bits &= int.from_bytes(pixels[channel::3].translate(FULL if value else NONE))
    return bits.bit_count()


class MonitorChangesTest(WineTest):
    screen = (1280, 720)
    outputs = 3

    def uncovered(self, program, monitors):
        """What differs from the saver covering exactly `monitors`, the first the primary: its
        windows, and its screen, on which every monitor shows sprites and nothing uncovered."""
        windows = self.windows(program)
        saver = [w["rect"] for w in windows if w["class"] == "FlyingQuorlin.Saver"]
        faults = [f"the saver window lies at {saver}, not on {monitors[0]}"] * (
            saver != list(monitors[:1]))
        if sorted(w["rect"] for w in windows) != sorted(monitors):
            faults.append(f"its windows lie at {sorted(w['rect'] for w in windows)}")
        shot, width = self.pixels(), max(m[2] for m in monitors)
        for n, monitor in enumerate(monitors):
            rows = area(shot, width, monitor)
            if magenta := count(rows, MAGENTA):
                faults.append(f"{magenta} pixels of monitor {monitor} are uncovered")
            elif sum(map(len, rows)) // 3 == count(rows, BLACK):
                faults.append(f"monitor {monitor} shows no sprite")
        return faults

    def change(self, program, what, *monitors, lay_out=True):
        """Lays the monitors out (unless told not to) and checks, as a subtest, that the saver
        comes to cover them."""
        with self.subTest(what):
            if lay_out:
                self.lay_out(*monitors)
            deadline = time.monotonic() + SETTLING
            while (faults := self.uncovered(program, monitors)) and time.monotonic() < deadline:
                time.sleep(0.2)
            self.assertEqual(faults, [], f"{what}, monitors {monitors}")

    def test_the_saver_covers_each_new_layout_and_ends_on_a_jump_on_an_added_monitor(self):
        self.lay_out((0, 0, 1280, 720))
        self.move(*HOME)
        program = self.start("/s", {"Count": "30"})
        self.wait_window(program, cls="FlyingQuorlin.Saver")
        self.change(program, "the start", (0, 0, 1280, 720), lay_out=False)
        self.change(program, "the primary grown", (0, 0, 1920, 1080))
        with self.subTest("sprites on the part that the primary gained"):
            def on_gained_part():  # a pixel neither black nor uncovered
                shot = self.pixels()
                return any(sum(map(len, rows)) // 3 > count(rows, BLACK) + count(rows, MAGENTA)
                           for rows in (area(shot, 1920, (1280, 0, 1920, 1080)),
                                        area(shot, 1920, (0, 720, 1280, 1080))))
            self.wait_until(on_gained_part, SETTLING, "a sprite on the part the primary gained")
        self.change(program, "a monitor added", (0, 0, 1920, 1080), (1920, 0, 3200, 720))
        self.change(program, "a third monitor added",
                    (0, 0, 1920, 1080), (1920, 0, 3200, 720), (3200, 0, 4224, 768))
        self.change(program, "a monitor re-moded",
                    (0, 0, 1920, 1080), (1920, 0, 2944, 768), (2944, 0, 3968, 768))
        self.change(program, "a monitor removed", (0, 0, 1920, 1080), (1920, 0, 2944, 768))
        self.change(program, "the primary shrunk", (0, 0, 1024, 768), (1024, 0, 2048, 768))
        self.move(1500, HOME[1])  # along x alone, onto the added monitor
        self.assertTrue(program.running(), "a move along x onto the added monitor ended it")
        self.move(1600, HOME[1] + 100)
        self.assertEqual(program.wait(timeout=30), 0, "a jump on the added monitor: "
                         + program.stderr())

    def test_every_monitor_off_for_a_moment_leaves_it_running_over_the_monitor_back(self):
        self.lay_out((0, 0, 1280, 720))
        # Where the X server was seen to put the pointer as its outputs go: a pointer elsewhere
        # moves with them, which the saver may take for a jump when Wine shows it the change late.
        self.move(63, 63)
        program = self.start("/s", {"Count": "30"})
        self.wait_window(program, cls="FlyingQuorlin.Saver")
        self.change(program, "the start", (0, 0, 1280, 720), lay_out=False)
        self.x("xrandr", *[arg for n in range(self.outputs)
                           for arg in ("--output", f"DUMMY{n}", "--off")])
        self.x("xrandr", "--query")
        time.sleep(0.5)  # how long they stay off: the change itself, not a wait for its result
        self.change(program, "the monitor back", (0, 0, 1280, 720))
        self.key("a")
        self.assertEqual(program.wait(timeout=30), 0, program.stderr())

    def test_a_cover_that_cannot_be_made_takes_the_saver_down_and_shows_its_box(self):
        # Every cover's window after the first is refused: the monitor added needs one.
        self.lay_out((0, 0, 1280, 720), (1280, 0, 2304, 768))
        self.move(*HOME)
        program = self.start("/s covers", path=wine_path(self.build / "e2e/fq_saver_fault.exe"))
        self.wait_until(lambda: len(self.windows(program)) == 2, what="the saver and its cover")
        self.lay_out((0, 0, 1280, 720), (1280, 0, 2304, 768), (2304, 0, 3328, 768))
        self.wait_window(program, cls="#32770", timeout=SETTLING)
        self.assertEqual([w for w in self.windows(program, hidden=True)
                          if w["class"].startswith("FlyingQuorlin.")], [],
                         "the saver's windows, shown or hidden, beside the box")
        self.assertIn("A cover for another monitor could not be created", self.dismiss_box(program))
        self.assertEqual(program.wait(), 3, "the fault's exit code")
