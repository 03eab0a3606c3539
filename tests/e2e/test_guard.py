"""The single-instance guard under Wine: which saver starts run, which take the marker title
"FlyingQuorlinSaver" and which end at once, with other copies of the program (savers, the
settings dialog, a renamed copy) and with a foreign window that carries the marker title."""

import shutil
import subprocess
import unittest

from harness import PROGRAM, WINE, HarnessError, WineTestCase, build_dir, windows_path

OWN_TITLE = "Animation Code"
MARKER_TITLE = "FlyingQuorlinSaver"
SAVER_CLASS = "FlyingQuorlin.Saver"
# A stopped saver ends within a fraction of a second; this only bounds the wait.
STOP_TIMEOUT = 10.0


class GuardTest(WineTestCase):

    def start_saver(self, program_path=None):
        """Starts "/s" from the usual program file or from another path in the prefix."""
        return self.start("/s", program_path=program_path)

    def renamed_copy(self):
        """The program file copied under another name into another folder of the prefix."""
        folder = self.prefix.path / "drive_c" / "Other Place"
        folder.mkdir(exist_ok=True)
        shutil.copy2(build_dir() / PROGRAM, folder / "Renamed Saver.scr")
        return r"C:\Other Place\Renamed Saver.scr"

    def saver_titles(self, program):
        return [w["title"] for w in self.windows(program) if w["class"] == SAVER_CLASS]

    def assert_runs_titled(self, saver, title):
        window = self.wait_for_window(saver, cls=SAVER_CLASS)
        # The title is set while the window is still hidden, so the first look is the last.
        self.assertEqual(window["title"], title, f"title of the saver window of pid {saver.pid}")

    def assert_stopped_at_once(self, saver):
        self.assertEqual(saver.wait(STOP_TIMEOUT), 0,
                         f"exit code of a stopped saver; stderr: {saver.stderr()}")
        self.assertEqual(self.windows(saver, visible_only=False), [],
                         "a stopped saver left a window behind")

    def foreign_marker_window(self):
        """A window of another program titled like a marked saver, hidden, until the test ends."""
        helper = build_dir() / "e2e" / "titled_window.exe"
        if not helper.is_file():
            raise HarnessError(f"{helper} is missing: build the x86_64 Windows tree")
        process = subprocess.Popen([WINE, windows_path(helper), MARKER_TITLE],
                                   env=self.prefix.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.addCleanup(self._end_foreign_window, process)
        self.wait_until(lambda: [w for w in self.windows(visible_only=False)
                                 if w["title"] == MARKER_TITLE], what="the foreign window")

    def _end_foreign_window(self, process):
        process.kill()
        process.wait(10)

    def test_saver_started_alone_keeps_its_own_title(self):
        self.assert_runs_titled(self.start_saver(), OWN_TITLE)

    def test_second_saver_runs_marked_beside_the_first_and_a_third_stops(self):
        first = self.start_saver()
        self.assert_runs_titled(first, OWN_TITLE)
        second = self.start_saver()
        self.assert_runs_titled(second, MARKER_TITLE)
        third = self.start_saver()
        self.assert_stopped_at_once(third)
        self.assertTrue(first.running() and second.running(), "the third saver ended another")
        self.assertEqual((self.saver_titles(first), self.saver_titles(second)),
                         ([OWN_TITLE], [MARKER_TITLE]), "titles of the two running savers")

    def test_saver_beside_the_settings_dialog_runs_marked(self):
        dialog = self.start("/c")
        self.wait_until(lambda: self.windows(dialog), what="the settings dialog")
        self.assert_runs_titled(self.start_saver(), MARKER_TITLE)

    def test_foreign_marker_window_leaves_a_saver_alone_unmarked(self):
        self.foreign_marker_window()
        self.assert_runs_titled(self.start_saver(), OWN_TITLE)

    def test_foreign_marker_window_stops_a_saver_while_another_copy_runs(self):
        self.foreign_marker_window()
        dialog = self.start("/c")
        self.wait_until(lambda: self.windows(dialog), what="the settings dialog")
        self.assert_stopped_at_once(self.start_saver())
        self.assertTrue(dialog.running(), "the stopped saver ended the dialog")

    def test_renamed_copy_counts_as_the_same_program(self):
        renamed = self.renamed_copy()
        first = self.start_saver(renamed)
        self.assert_runs_titled(first, OWN_TITLE)
        self.assert_runs_titled(self.start_saver(), MARKER_TITLE)
        self.assert_stopped_at_once(self.start_saver(renamed))


if __name__ == "__main__":
    unittest.main()
