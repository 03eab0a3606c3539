"""The soak run: the saver at Speed 1 and Count 30 under Wine for FQ_SOAK_SECONDS (default
60; scripts/soak.sh runs 600). Its GDI objects, windows and memory must stay flat, frames must
keep coming, and a key must still end it at once. Each sample is printed; with FQ_SOAK_REPORT
set, the samples are also written there as JSON.

Wine does not implement GetGuiResources (it reports ERROR_CALL_NOT_IMPLEMENTED), so the
inspector counts the live entries of the process's GDI handle table and the windows it owns,
and takes its memory from GetProcessMemoryInfo, where Wine gives the process's anonymous
resident memory (Linux's RssAnon) as its pagefile usage."""

import hashlib
import json
import os
import sys
import time
import unittest

from harness import HarnessError
from test_saver import SaverTestCase

SECONDS = float(os.environ.get("FQ_SOAK_SECONDS", "60"))
SAMPLES = 10
# Memory may move by a few pages as Wine's heaps settle; a leak of one bitmap or one
# allocation per frame would grow it by megabytes in a minute at Speed 1.
MEMORY_TOLERANCE = 1 << 20


class SoakTest(SaverTestCase):

    def sample(self, program, started):
        info = self.inspect("process", str(program.pid))
        screen = hashlib.sha1(self.screen_pixels().data).hexdigest()
        figures = {"seconds": round(time.monotonic() - started, 1),
                   "gdi_objects": info["gdi_objects"], "windows": info["windows"],
                   "memory": info["memory"]["pagefile_usage"],
                   "working_set": info["memory"]["working_set"],
                   "gui_resources": info["gui_resources"], "screen": screen}
        print(f"soak {json.dumps(figures)}", file=sys.stderr, flush=True)
        return figures

    def test_resources_stay_flat_frames_keep_coming_and_a_key_ends_it(self):
        program, _ = self.start_saver({"Speed": "1", "Count": "30"})
        started = time.monotonic()
        samples = [self.sample(program, started)]
        if samples[0]["gdi_objects"] is None:
            raise HarnessError("the inspector cannot read the saver's GDI handle table")
        for index in range(1, SAMPLES + 1):
            time.sleep(max(0.0, started + SECONDS * index / SAMPLES - time.monotonic()))
            self.assertTrue(program.running(), f"the saver ended after {samples[-1]['seconds']} s")
            samples.append(self.sample(program, started))
            self.assertNotEqual(samples[-1]["screen"], samples[-2]["screen"],
                                f"no new frame between {samples[-2]['seconds']} s and "
                                f"{samples[-1]['seconds']} s")

        key_pressed = time.monotonic()
        self.press_key("a")
        self.wait_until(lambda: not self.windows(program), timeout=5,
                        what="the saver window to go after a key")
        window_gone = time.monotonic() - key_pressed
        self.assert_ends_promptly(program, key_pressed, "a key after the soak")
        print(f"soak key to window gone {window_gone:.2f} s, to process end "
              f"{time.monotonic() - key_pressed:.2f} s", file=sys.stderr, flush=True)
        if os.environ.get("FQ_SOAK_REPORT"):
            with open(os.environ["FQ_SOAK_REPORT"], "w") as report:
                json.dump({"seconds": SECONDS, "samples": samples,
                           "key_to_window_gone": round(window_gone, 2)}, report, indent=1)

        first = samples[0]
        for name in ("gdi_objects", "windows"):
            self.assertEqual({s[name] for s in samples}, {first[name]},
                             f"{name} over the run: {[s[name] for s in samples]}")
        growth = max(s["memory"] for s in samples) - first["memory"]
        self.assertLess(growth, MEMORY_TOLERANCE,
                        f"memory grew by {growth} bytes: {[s['memory'] for s in samples]}")


if __name__ == "__main__":
    unittest.main()
