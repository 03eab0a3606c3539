"""Start-up under Wine: "/a" hands the parent window to the system's PwdChangePasswordA, "/p"
ends at once, a bad stored setting stops with the fault box; and the single-instance guard
with real processes: which savers take the marker title and which stop at once."""

import shutil
import subprocess

from harness import WINE, WineTest

OWN_TITLE, MARKER_TITLE = "Animation Code", "FlyingQuorlinSaver"
FAULT_EXIT_CODE = 3


class StartupTest(WineTest):

    def test_change_password_and_preview_end_at_once(self):
        # Argument text, with the stand-in mpr.dll, the calls it records.
        for args, stub, calls in [("/a 123", True, ["SCRSAVE 123 0 0"]), ("/a 123", False, []),
                                  ("/p 123", True, [])]:
            with self.subTest(args=args, stub=stub):
                program = self.start(args, stub=stub)
                self.assertEqual(program.wait(), 0, program.stderr())
                self.assertEqual(self.mpr_calls(), calls, "PwdChangePasswordA calls")

    def test_a_bad_stored_setting_shows_the_fault_box_then_exits_3(self):
        program = self.start("/s", {"Count": "abc"})
        box = self.wait_window(program, cls="#32770")
        self.assertEqual([w["hwnd"] for w in self.windows(program)], [box["hwnd"]],
                         "the box is not the program's only window")
        self.assertIn("type mismatch", self.dismiss_box(program).lower())
        self.assertEqual(program.wait(), FAULT_EXIT_CODE)


class GuardTest(WineTest):

    def saver(self, path=None, title=OWN_TITLE):
        """Starts "/s" and checks the title its window takes before it shows; with no title,
        that it ends at once."""
        saver = self.start("/s", path=path)
        if title:
            self.assertEqual(self.wait_window(saver, cls="FlyingQuorlin.Saver")["text"], title)
        else:
            self.assertEqual(saver.wait(), 0, saver.stderr())
        return saver

    def open_dialog(self):
        self.wait_window(self.start("/c"), cls="FlyingQuorlinConfig")

    def test_a_second_saver_runs_marked_and_a_third_stops(self):
        first, second = self.saver(), self.saver(title=MARKER_TITLE)
        self.saver(title=None)
        self.assertTrue(first.running() and second.running(), "the third saver ended another")

    def test_a_saver_beside_the_settings_dialog_runs_marked(self):
        self.open_dialog()
        self.saver(title=MARKER_TITLE)

    def test_a_foreign_window_with_the_marker_title_stops_only_a_second_copy(self):
        window = subprocess.Popen([WINE["x86_64"], self.inspector, "window", MARKER_TITLE],
                                  env=self.env, stdout=subprocess.DEVNULL)
        self.addCleanup(window.kill)
        self.wait_until(lambda: [w for w in self.windows(hidden=True)
                                 if w["text"] == MARKER_TITLE], what="the foreign window")
        self.saver().kill()
        self.open_dialog()
        self.saver(title=None)

    def test_a_renamed_copy_counts_as_the_same_program(self):
        folder = self.work / "prefix" / "drive_c" / "Other Place"
        folder.mkdir()
        shutil.copy2(self.build / "FlyingQuorlin.scr", folder / "Renamed Saver.scr")
        renamed = r"C:\Other Place\Renamed Saver.scr"  # started quoted, for its blanks
        self.saver(renamed)
        self.saver(title=MARKER_TITLE)
        self.saver(renamed, title=None)
