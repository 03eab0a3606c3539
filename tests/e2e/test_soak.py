"""The soak run (scripts/soak.sh): the saver at Speed 1 and Count 30 for FQ_SOAK_SECONDS
(default 600). Its GDI objects and windows must stay the same and its memory flat, frames must
keep coming, and a key must still end it. Each of the eleven samples is printed.

Wine does not implement GetGuiResources, so the inspector counts the live entries of the
process's GDI handle table and the windows it owns; its pagefile usage is, under Wine, the
process's anonymous resident memory (RssAnon)."""

import hashlib
import os
import time

from harness import WineTest

SECONDS = float(os.environ.get("FQ_SOAK_SECONDS", "600"))
# Wine's heaps may settle by a few pages; a leak of one bitmap a frame would be megabytes.
MEMORY_TOLERANCE = 1 << 20


class SoakTest(WineTest):

    def sample(self, program, started):
        gdi, windows, memory, working_set = map(int, self.inspect("process", str(program.pid))[0])
        figures = {"seconds": round(time.monotonic() - started, 1), "gdi_objects": gdi,
                   "windows": windows, "memory": memory, "working_set": working_set,
                   "screen": hashlib.sha1(self.pixels()).hexdigest()[:12]}
        print("soak", figures, flush=True)
        return figures

    def test_resources_stay_flat_frames_keep_coming_and_a_key_ends_it(self):
        self.move(960, 540)
        program = self.start("/s", {"Speed": "1", "Count": "30"})
        self.wait_window(program, "Animation Code")
        started = time.monotonic()
        samples = [self.sample(program, started)]
        for index in range(1, 11):
            time.sleep(max(0.0, started + SECONDS * index / 10 - time.monotonic()))
            samples.append(self.sample(program, started))
            self.assertNotEqual(samples[-1]["screen"], samples[-2]["screen"], "no new frame")
        key_pressed = time.monotonic()
        self.key("a")
        self.assertEqual(program.wait(5), 0, program.stderr())
        print(f"soak key to process end {time.monotonic() - key_pressed:.2f} s", flush=True)
        for name in ("gdi_objects", "windows"):
            self.assertEqual({s[name] for s in samples}, {samples[0][name]}, name)
        growth = max(s["memory"] for s in samples) - samples[0]["memory"]
        self.assertLess(growth, MEMORY_TOLERANCE, [s["memory"] for s in samples])
