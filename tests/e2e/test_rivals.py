"""Several savers at once and other programs' windows, on two monitors (1280x720 primary,
1024x768 to its right): savers started at the same moment each cover the primary; with N savers
on screen, N keys end them all wherever the pointer rests; a cover hidden by another program is
shown again; a window of another program that keeps raising itself over the saver loses to it,
and a key still ends the saver."""

import subprocess
import time
from concurrent.futures import ThreadPoolExecutor

from harness import WINE, WineTest

PRIMARY = (1280, 720)
SAVER, COVER = "FlyingQuorlin.Saver", "FlyingQuorlin.Cover"
ON_SECOND = (1280 + 512, 700)
SW_HIDE = 0


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

    def test_a_hidden_cover_is_shown_again_above_and_keys_reach_the_front_saver(self):
        # The first saver puts its cover back on top, over the second saver's, which holds
        # the foreground: the keys over it must still reach a saver.
        self.move(*ON_SECOND)
        savers = self.start_savers(2)
        cover = next(w for w in self.windows(savers[0]) if w["class"] == COVER)
        self.inspect("show", str(cover["hwnd"]), str(SW_HIDE))
        hidden = time.monotonic()
        self.wait_until(lambda: cover["hwnd"] in [w["hwnd"] for w in self.windows(savers[0])],
                        what="the cover to be shown again")
        self.assertLess(time.monotonic() - hidden, 1.5, "the cover came back too late")
        self.end_by_keys(savers)

    def test_a_window_raising_itself_over_the_saver_loses_and_a_key_ends_it(self):
        self.move(200, 150)  # beside the other window: under Wine a key goes to what is there
        saver = self.start_savers(1)[0]
        other = subprocess.Popen([WINE["x86_64"], self.inspector, "above", "400", "200", "300",
                                  "200"], env=self.env, stdout=subprocess.DEVNULL)
        self.addCleanup(other.kill)
        self.wait_until(lambda: [w for w in self.windows() if w["text"] == "above"],
                        what="the other program's window")
        # The two take turns on top; a look catches the saver there one time in four or so.
        self.wait_until(lambda: self.windows()[0]["pid"] == saver.pid, 8,
                        "the saver's windows to come back on top")
        self.end_by_keys([saver])
