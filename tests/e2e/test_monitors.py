"""The saver on two monitors (1280x720 primary, 1024x768 to its right), a flock on each, the
pointer judged in one space across both; several savers at once: test_rivals.py."""

import time

from harness import WineTest, wine_path

PRIMARY, SECOND = (1280, 720), (1024, 768)
HOME = (640, 360)
ON_SECOND = (1280 + 512, 360)  # reached from HOME by a move along x alone
WS_EX_TOPMOST = 0x8


class MonitorsTest(WineTest):
    screen = (2400, 900)
    monitors = [PRIMARY, SECOND]

    def start_saver(self, settings=None, at=HOME):  # the pointer rests `at` as it starts
        self.move(*at)
        program = self.start("/s", settings)
        self.wait_window(program, cls="FlyingQuorlin.Saver")
        self.frames_drawn()
        return program

    def test_each_monitor_shows_a_flock_of_its_own(self):
        program = self.start_saver({"Count": "30"})
        pixels, width = self.pixels(), PRIMARY[0] + SECOND[0]
        program.kill()
        for name, left, (w, h) in (("primary", 0, PRIMARY), ("second", PRIMARY[0], SECOND)):
            colours = {pixels[3 * (y * width + x):3 * (y * width + x) + 3]
                       for y in range(0, h, 2) for x in range(left, left + w, 2)}
            self.assertGreater(len(colours), 10, f"no sprite on the {name} monitor")

    def test_a_key_a_click_or_a_jump_on_the_second_monitor_ends_the_saver(self):
        x, y = ON_SECOND
        for what, act in [("key", lambda: self.key("a")), ("click", lambda: self.click(x, y)),
                          ("jump", lambda: self.move(x + 100, y + 100))]:
            with self.subTest(what):
                program = self.start_saver()
                self.move(*ON_SECOND)
                self.frames_drawn()
                self.assertTrue(program.running(), "the move along x to the second monitor")
                self.assertFalse(self.cursor_shown(), "the cursor over the second monitor")
                act()
                try:
                    self.assertEqual(program.wait(timeout=30), 0, program.stderr())
                finally:
                    program.kill()
                self.assertTrue(self.cursor_shown(), "the cursor after the saver")

    def test_another_programs_window_ends_it_the_settings_dialog_does_not(self):
        saver = self.start_saver()
        self.wait_window(self.start("/c"), cls="FlyingQuorlinConfig")
        self.frames_drawn()
        self.assertTrue(saver.running(), "the settings dialog's activation ended the saver")
        self.start(path=r"C:\windows\notepad.exe")
        self.assertEqual(saver.wait(timeout=30), 0, "notepad's activation: " + saver.stderr())

    def test_a_fault_takes_the_saver_down_and_shows_its_box_on_top_of_the_primary(self):
        # A saver whose drawing fails after a second and a half, as on a system out of resources.
        self.move(*ON_SECOND)
        program = self.start("/s", path=wine_path(self.build / "e2e/fq_saver_fault.exe"))
        box = self.wait_window(program, cls="#32770")
        left, top, right, bottom = box["rect"]
        self.assertTrue(0 <= left < right <= PRIMARY[0] and 0 <= top < bottom <= PRIMARY[1],
                        f"the box lies at {box['rect']}, not on the primary")
        self.assertTrue(box["exstyle"] & WS_EX_TOPMOST, "the box is not topmost")
        self.assertEqual([w["class"] for w in self.windows(program)], ["#32770"],
                         "the program's windows beside the box")
        self.assertTrue(self.cursor_shown(), "the cursor beside the box")
        self.click(*ON_SECOND)  # where a saver window was: a dismissal would end it with 0
        self.key("a")
        time.sleep(0.5)
        self.assertTrue(program.running(), "input beside the box ended the program")
        self.assertIn("The drawing failed.", self.dismiss_box(program))
        self.assertEqual(program.wait(), 3, "the fault's exit code")
