"""Several savers at once and other programs' windows, on two monitors (1280x720 primary,
1024x768 to its right): the faults they were found by are in docs/RELIABILITY.md."""

import subprocess
from concurrent.futures import ThreadPoolExecutor

from harness import WINE, WineTest

PRIMARY = (1280, 720)
SAVER, COVER = "FlyingQuorlin.Saver", "FlyingQuorlin.Cover"
ON_SECOND = (1280 + 512, 700)
HOME = (640, 360)
SW_HIDE, SW_SHOWMINIMIZED, SW_MINIMIZE, SW_SHOWMINNOACTIVE = 0, 2, 6, 7
WS_MINIMIZE = 0x20000000


class RivalsTest(WineTest):
    screen = (2400, 900)
    monitors = [PRIMARY, (1024, 768)]

    def start_savers(self, count, together=False):  # those that pass the guard, once shown
        def start(_):
            saver = self.start("/s", {"Count": "0"} if together else None)
            if not together:
                self.wait_window(saver, cls=SAVER)
            return saver
        with ThreadPoolExecutor(count if together else 1) as pool:
            savers = list(pool.map(start, range(count)))
        self.wait_until(lambda: all(not s.running() or self.windows(s) for s in savers),
                        what="every saver to show or end")
        return [s for s in savers if s.running()]

    def end_by_keys(self, savers, pointer):
        """Each key ends one saver, not more: typed once each saver window covers the primary
        and the foreground's saver owns the top window under the pointer, which Wine hands it."""
        def running():
            return [s.pid for s in savers if s.running()]

        def ready():  # the others have seen that saver take the foreground
            shown = self.windows()
            under = next((w["pid"] for w in shown if w["rect"][0] <= pointer[0] < w["rect"][2]
                          and w["rect"][1] <= pointer[1] < w["rect"][3]), None)
            return ([w["rect"] for w in shown if w["class"] == SAVER] == [(0, 0, *PRIMARY)] *
                    len(running()) and under in running() and
                    [w["pid"] for w in shown if w["foreground"]] == [under])
        try:
            for left in range(len(savers), 0, -1):
                self.wait_until(lambda: len(running()) < left or ready(), 30, f"one of {left} "
                                "savers on the primary to hold the foreground under the pointer")
                self.assertEqual(len(running()), left, "savers left")
                self.key("a")
                self.wait_until(lambda: len(running()) < left, 30, f"a key to end 1 of {left}")
            self.assertEqual([s.wait() for s in savers], [0] * len(savers), "the exit codes")
        finally:
            for saver in savers:
                saver.kill()

    def test_savers_started_together_cover_the_primary_and_n_keys_end_them(self):
        for count, pointer in [(2, (5, 5)), (3, (640, 360)), (4, ON_SECOND)]:
            with self.subTest(count=count, pointer=pointer):
                self.move(*pointer)  # where it rests as they start
                self.end_by_keys(self.start_savers(count, together=True), pointer)

    def test_covers_hidden_moved_shrunk_or_minimised_come_back_and_keys_reach_the_front_saver(self):
        # The first saver puts its cover back on top, over the second saver's, which holds
        # the foreground: the keys over it must still reach a saver.
        self.move(*ON_SECOND)
        savers = self.start_savers(2)
        cover = next(w for w in self.windows(savers[0]) if w["class"] == COVER)
        for what, action in [("hidden", ["show", SW_HIDE]), ("minimised", ["show", SW_MINIMIZE]),
                             ("moved away", ["move", 3000, 3000, 1024, 768]),
                             ("shrunk", ["move", 1280, 0, 10, 10])]:
            with self.subTest(what):
                self.disturb(savers[0], cover, action)
        self.end_by_keys(savers, ON_SECOND)

    def disturb(self, saver, window, action, then=lambda: None):
        """Does to the saver's window what another program may, `then` at once, and waits for
        the window to be put back where it was, shown and restored."""
        self.inspect(action[0], str(window["hwnd"]), *map(str, action[1:]))
        then()
        self.wait_until(lambda: [(w["rect"], w["style"] & WS_MINIMIZE) for w in self.windows(saver)
                                 if w["hwnd"] == window["hwnd"]] == [(window["rect"], 0)], 30,
                        f"the window {action} to be put back")

    def nudges_keep_it_and_a_jump_ends_it(self, saver, jump_to, each=lambda nudge: nudge()):
        """Three 2-pixel moves, each through `each`, then a jump; a move was read in the yield
        before the second frame drawn after it, seen below the other program's window."""
        for nudge in range(3):
            each(lambda: self.x("xdotool", "mousemove_relative", "--", "2", "-2"))
            self.frames_drawn(part=slice(400 * (PRIMARY[0] + 1024) * 3, None))
            self.assertTrue(saver.running(), f"a 2-pixel nudge {nudge + 1} ended it")
        self.move(*jump_to)
        self.assertEqual(saver.wait(timeout=30), 0, "a jump: " + saver.stderr())

    def test_a_saver_window_moved_or_minimised_is_put_back_and_no_jump(self):
        self.move(*HOME)
        saver = self.start_savers(1)[0]
        window = next(w for w in self.windows(saver) if w["class"] == SAVER)
        for command in (SW_MINIMIZE, SW_SHOWMINIMIZED, SW_SHOWMINNOACTIVE):
            with self.subTest(command=command):
                self.disturb(saver, window, ["show", command])
        def moved(nudge):  # as the pointer moves a little: the window's move is no jump
            self.disturb(saver, window, ["move", 300, 200, *PRIMARY], nudge)
        self.nudges_keep_it_and_a_jump_ends_it(saver, (HOME[0] + 300, HOME[1] + 300), moved)

    def test_a_window_raising_itself_over_the_saver_loses_and_a_key_or_a_jump_ends_it(self):
        # Every 10 ms (the shortest timer), the other window lies above the saver at nearly
        # every move: none of those moves may rest the pointer anew.
        for every in (100, 10):
            with self.subTest(every=every):
                self.move(200, 150)  # beside the other window: under Wine a key goes there
                saver = self.start_savers(1)[0]
                other = subprocess.Popen([WINE["x86_64"], self.inspector, "above", "400", "200",
                                          "300", "200", str(every)], env=self.env,
                                         stdout=subprocess.DEVNULL)
                try:
                    self.wait_until(lambda: [w for w in self.windows() if w["text"] == "above"],
                                    what="the other program's window")
                    if every == 10:  # the jump to clear of the other window
                        self.nudges_keep_it_and_a_jump_ends_it(saver, (500, 450))
                    else:  # the two take turns on top: a look catches the saver there 1 in 4
                        self.wait_until(lambda: self.windows()[0]["pid"] == saver.pid, 30,
                                        "the saver's windows to come back on top")
                        self.end_by_keys([saver], (200, 150))
                finally:
                    other.kill()
                    other.wait()
