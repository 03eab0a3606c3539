"""Start-up under Wine: each mode once, "/a" handing the parent window to PwdChangePasswordA
(alone, the smoke run of the x86_64 build); and the single-instance guard with real processes:
which savers take the marker title and which stop at once."""

import shutil
import subprocess

from harness import WINE, WM_CLOSE, WineTest

OWN_TITLE, MARKER_TITLE = "Animation Code", "FlyingQuorlinSaver"


class StartupTest(WineTest):

    def test_each_mode_once(self):
        self.move(960, 540)
        saver = self.start("/s")
        self.wait_window(saver, OWN_TITLE)
        self.frames_drawn()
        self.key("a")
        self.assertEqual(saver.wait(30), 0, saver.stderr())
        dialog = self.start("/c")
        self.post(self.wait_window(dialog, cls="FlyingQuorlinConfig")["hwnd"], WM_CLOSE)
        self.assertEqual(dialog.wait(), 0, dialog.stderr())
        # Argument text, with the stand-in mpr.dll, the calls it records.
        for args, stub, calls in [("/a 123", True, ["SCRSAVE 123 0 0"]), ("/a 123", False, []),
                                  ("/p 123", True, [])]:
            program = self.start(args, stub=stub)
            self.assertEqual((program.wait(), self.mpr_calls()), (0, calls), f"{args}, {stub}")


class GuardTest(WineTest):

    def saver(self, path=None, title=OWN_TITLE):  # None: it ends at once
        saver = self.start("/s", path=path)
        if title:  # the window shows before its title is set
            def titled():
                window = self.wait_window(saver, cls="FlyingQuorlin.Saver")
                return window["text"] and window
            self.assertEqual(self.wait_until(titled, what="the saver's title")["text"], title)
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
        folder = self.work / "prefix/drive_c/Other Place"
        folder.mkdir()
        shutil.copy2(self.build / "FlyingQuorlin.scr", folder / "Renamed Saver.scr")
        renamed = r"C:\Other Place\Renamed Saver.scr"  # started quoted, for its blanks
        self.saver(renamed)
        self.saver(title=MARKER_TITLE)
        self.saver(renamed, title=None)
