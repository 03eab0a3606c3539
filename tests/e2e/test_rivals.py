"""Several savers at once and other programs' windows, on two monitors (1280x720 primary,
1024x768 to its right): the faults they were found by are in docs/RELIABILITY.md."""

import subprocess
import time
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

    def end_by_keys(self, savers):  # each key ends one saver, not more
        try:
            for left in range(len(savers) - 1, -1, -1):
                self.key("a")
                self.wait_until(lambda: sum(s.running() for s in savers) <= left, 5,
                                f"a key to end one of {left + 1} savers")
                time.sleep(0.5)  # for a saver that would end with the one ended
                self.assertEqual(sum(s.running() for s in savers), left, "savers left")
            self.assertEqual([s.wait() for s in savers], [0] * len(savers), "the exit codes")
        finally:
            for saver in savers:
                saver.kill()

    def test_savers_started_together_cover_the_primary_and_n_keys_end_them(self):
        for count, pointer in [(2, (5, 5)), (3, (640, 360)), (4, ON_SECOND)]:
            with self.subTest(count=count, pointer=pointer):
                self.move(*pointer)  # where it rests as they start
                savers = self.start_savers(count, together=True)
                time.sleep(1)  # for a misplaced window to be put back
                try:
                    self.assertEqual([w["rect"] for w in self.windows() if w["class"] == SAVER],
                                     [(0, 0, *PRIMARY)] * len(savers), "the saver windows")
                except AssertionError:
                    for saver in savers:
                        saver.kill()
                    raise
                self.end_by_keys(savers)

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
        self.end_by_keys(savers)

    def disturb(self, saver, window, action, then=lambda: None):
        """Does to the saver's window what another program may, `then` at once, and waits for
        the window to be put back where it was, shown and restored."""
        self.inspect(action[0], str(window["hwnd"]), *map(str, action[1:]))
        then()
        done = time.monotonic()
        self.wait_until(lambda: [(w["rect"], w["style"] & WS_MINIMIZE) for w in self.windows(saver)
                                 if w["hwnd"] == window["hwnd"]] == [(window["rect"], 0)],
                        what=f"the window {action} to be put back")
        self.assertLess(time.monotonic() - done, 1.5, f"the window {action} came back too late")

    def test_a_saver_window_moved_or_minimised_is_put_back_and_no_jump(self):
        # Moved as the pointer moves a little: the move of the window is no jump of the pointer.
        self.move(*HOME)
        saver = self.start_savers(1)[0]
        window = next(w for w in self.windows(saver) if w["class"] == SAVER)
        for nudge in range(3):
            self.disturb(saver, window, ["move", 300, 200, *PRIMARY],
                         lambda: self.x("xdotool", "mousemove_relative", "--", "2", "-2"))
            time.sleep(0.5)
            self.assertTrue(saver.running(), f"a 2-pixel nudge {nudge + 1} ended it")
        for command in (SW_MINIMIZE, SW_SHOWMINIMIZED, SW_SHOWMINNOACTIVE):
            with self.subTest(command=command):
                self.disturb(saver, window, ["show", command])
        self.assertTrue(saver.running(), "putting the saver window back ended it")
        self.move(HOME[0] + 300, HOME[1] + 300)
        self.assertEqual(saver.wait(timeout=5), 0, "a jump: " + saver.stderr())

    def test_a_window_raising_itself_over_the_saver_loses_and_a_key_or_a_jump_ends_it(self):
        # Every 10 ms (the shortest timer), the other window lies above the saver at nearly
        # every move: none of those moves may rest the pointer anew.
        for every, ending in [(100, "key"), (10, "jump")]:
            with self.subTest(every=every, ending=ending):
                self.move(200, 150)  # beside the other window: under Wine a key goes there
                saver = self.start_savers(1)[0]
                other = subprocess.Popen([WINE["x86_64"], self.inspector, "above", "400", "200",
                                          "300", "200", str(every)], env=self.env,
                                         stdout=subprocess.DEVNULL)
                try:
                    self.wait_until(lambda: [w for w in self.windows() if w["text"] == "above"],
                                    what="the other program's window")
                    self.end_beside_a_window_above(saver, ending)
                finally:
                    other.kill()
                    other.wait()

    def end_beside_a_window_above(self, saver, ending):
        if ending == "key":
            # The two take turns on top; a look catches the saver there one time in four or so.
            self.wait_until(lambda: self.windows()[0]["pid"] == saver.pid, 8,
                            "the saver's windows to come back on top")
            self.end_by_keys([saver])
            return
        for nudge in range(3):
            self.x("xdotool", "mousemove_relative", "--", "2", "-2")
            time.sleep(0.5)
            self.assertTrue(saver.running(), f"a 2-pixel nudge {nudge + 1} ended it")
        self.move(500, 450)  # clear of the other window
        self.assertEqual(saver.wait(timeout=5), 0, "a jump: " + saver.stderr())
