"""Hostile input under Wine: stored values of the wrong type or of 64 KiB, out-of-range
settings, huge, non-ASCII and quoted argument texts, and huge or non-ASCII text in the
dialog's boxes. Each has one clear outcome (a default, the fault box, or the dialog's refusal
message); none crashes or hangs, and the stored values are read back unchanged after each."""

import os
import tempfile
import time
import unittest
from pathlib import Path

from harness import PROGRAM, HarnessError, RegValue, SETTINGS_KEY, WineTestCase, windows_path
from test_dialog import COUNT_REFUSAL, DIALOG_CLASS, LAYOUT, SPEED_REFUSAL, DialogDriver
from test_saver import HOME, TITLE, SaverTestCase

FAULT_EXIT_CODE = 3
# The error box shows a stored value cut to this many bytes of UTF-8 and "...".
SHOWN_VALUE_BYTES = 40
# The saver's own processor share: about 0.3 of a core without a pause here (the rest of the
# loop's time is spent in wineserver and X), about 0.02 with the default 25 ms pause.
UNPACED_CPU_SHARE = 0.1


def box_text(box):
    """The box's text in lower case: the fault's kind, then the detail."""
    return box["texts"][0].lower() if box["texts"] else ""


def lit_pixels(pixels):
    """How many pixels are not black: the three colour planes ORed byte by byte."""
    size = pixels.width * pixels.height
    planes = (int.from_bytes(pixels.data[plane::3], "big") for plane in range(3))
    merged = (next(planes) | next(planes) | next(planes)).to_bytes(size, "big")
    return size - merged.count(0)


class StoreTestMixin:
    """Writing values too large for the inspector's command line, and reading values back."""

    def import_settings(self, values):
        """Replaces the stored settings through `reg import`: name to text, any length."""
        self.clear_settings()
        lines = ["Windows Registry Editor Version 5.00", "",
                 f"[HKEY_CURRENT_USER\\{SETTINGS_KEY}]"]
        for name, text in values.items():
            escaped = text.replace("\\", "\\\\").replace('"', '\\"')
            lines.append(f'"{name}"="{escaped}"')
        with tempfile.NamedTemporaryFile(suffix=".reg", dir=self._work, delete=False) as file:
            file.write(b"\xff\xfe" + ("\r\n".join(lines) + "\r\n").encode("utf-16-le"))
        self.prefix.wine("reg", "import", windows_path(file.name))

    def stored(self):
        """The stored values as name to (type, exact bytes in hex)."""
        return {v["name"]: (v["type"], v["hex"]) for v in self.read_key()["values"]}

    def dismiss_fault_box(self, program):
        """Waits for the fault box, dismisses it and checks the exit code; returns the box."""
        box = self.wait_for_message_box(program)
        self.assertEqual(box["title"], "FlyingQuorlin")
        self.click_button(box["hwnd"], "OK")
        self.assertEqual(program.wait(), FAULT_EXIT_CODE, f"exit code after {box['texts']}")
        return box


class WrongStoredValueTest(StoreTestMixin, DialogDriver):
    """A value the program could not have written is not read as a setting: the default
    stands, the value stays stored as it is, and only OK in the dialog replaces it."""

    def open_and_read_boxes(self, settings):
        program, dialog = self.open_dialog("/c", settings)
        named = self.named_controls(dialog)
        return program, dialog, (named["txtSpeed"]["text"], named["txtCount"]["text"])

    def assert_boxes_show(self, cases):
        """`cases`: (what, Speed value, Count value, the boxes' texts); each value is read
        back unchanged after the dialog is closed."""
        for what, speed, count, shown in cases:
            with self.subTest(values=what):
                program, dialog, texts = self.open_and_read_boxes({"Speed": speed,
                                                                   "Count": count})
                self.assertEqual(texts, shown, f"the boxes for {what}")
                before = self.stored()
                self.close_window(dialog["hwnd"])
                self.assertEqual(program.wait(), 0, f"exit code; stderr: {program.stderr()}")
                self.assertEqual(self.stored(), before, f"the values after the dialog ({what})")

    def test_values_of_a_non_text_type_give_the_default_and_stay_stored(self):
        self.assert_boxes_show([
            ("REG_DWORD, REG_BINARY", RegValue.dword(12),
             RegValue.binary("12".encode("utf-16-le")), ("25", "8")),
            ("REG_MULTI_SZ, REG_NONE", RegValue("REG_MULTI_SZ", "12\0\0".encode("utf-16-le")),
             RegValue("REG_NONE", b""), ("25", "8"))])

    def test_ok_replaces_a_non_text_value_by_the_text_shown(self):
        program, dialog, _ = self.open_and_read_boxes({"Count": RegValue.dword(12)})
        self.click_button(dialog["hwnd"], "OK")
        self.assert_ended(program, {"Speed": "25", "Count": "8"})
        self.assertEqual(self.stored()["Count"][0], "REG_SZ")

    def test_expandable_and_unterminated_texts_are_read_as_texts(self):
        self.assert_boxes_show([
            ("REG_EXPAND_SZ, unterminated", RegValue.text("12", "REG_EXPAND_SZ"),
             RegValue.text("13", terminated=False), ("12", "13")),
            # An odd byte count: the half character is dropped, nothing beyond is read.
            ("odd byte count, text after a terminator",
             RegValue("REG_SZ", "14".encode("utf-16-le") + b"A"), RegValue.text("15\0junk"),
             ("14", "15"))])

    def test_an_unexpanded_variable_is_a_type_mismatch(self):
        value = RegValue.text("%COUNT%", "REG_EXPAND_SZ")
        program = self.start("/c", settings={"Count": value})
        box = self.dismiss_fault_box(program)
        self.assertIn("type mismatch", box_text(box))
        self.assertEqual(self.stored(), {"Count": ("REG_EXPAND_SZ", value.data.hex())})

    def test_64_kib_values(self):
        euro = "\u20ac"
        cases = [  # name, stored text, the fault's kind or the count box's text
            ("euro signs", euro * 32768, "type mismatch"),
            ("digits", "1" * 32768, "overflow"),
            ("blanks around a number", " " * 16383 + "12" + " " * 16383, "12"),
        ]
        for what, text, outcome in cases:
            with self.subTest(value=what):
                self.import_settings({"Count": text})
                before = self.stored()
                self.assertEqual(len(before["Count"][1]) // 2, len(text) * 2 + 2,
                                 "reg import did not store the whole value")
                if outcome[0].isdigit():
                    program, dialog, texts = self.open_and_read_boxes(None)
                    self.assertEqual(texts[1], outcome)
                    self.close_window(dialog["hwnd"])
                    self.assertEqual(program.wait(), 0)
                else:
                    box = self.dismiss_fault_box(self.start("/c"))
                    self.assertIn(outcome, box_text(box))
                    shown = " ".join(box["texts"])
                    head = text.encode()[:SHOWN_VALUE_BYTES].decode(errors="ignore")
                    self.assertIn(head + "...", shown, "the box should show the value's start")
                    self.assertLess(len(shown), 200, f"the box is not abbreviated: {shown[:300]}")
                    self.assertNotIn("\ufffd", shown, "the cut split a character")
                self.assertEqual(self.stored(), before, "the value after the run")


class OutOfRangeSettingsTest(SaverTestCase):
    """Count is reduced to the 30 sprites the table holds (none at 0 or below); Speed 0 or
    below means no pause. The saver runs and a key still ends it."""

    def assert_frames_come(self, program, sprites):
        """The screen changes within 0.5 s, lit by no more than `sprites` sprites: the seed
        cannot be set from outside, so they are counted by their lit area (at most 64 by 64
        pixels each; 32767 sprites would light most of the screen). None: it stays black."""
        first = self.screen_pixels()
        time.sleep(0.5)
        second = self.screen_pixels()
        lit = lit_pixels(second)
        if sprites > 0:
            self.assertNotEqual(first.data, second.data, "the screen did not change in 0.5 s")
            self.assertGreater(lit, 0, "no sprite drawn")
        else:
            self.assertFalse(any(first.data), "sprites with Count <= 0")
        self.assertLessEqual(lit, sprites * 64 * 64, f"{lit} lit pixels: more than "
                             f"{sprites} sprites")
        self.assertTrue(program.running(), "the saver ended by itself")

    def unix_cpu_seconds(self):
        """Processor time of the saver's Linux process (Wine reports none for another
        process): the one running the program in this class's prefix."""
        for proc in Path("/proc").iterdir():
            try:
                command = (proc / "cmdline").read_bytes()
                environment = (proc / "environ").read_bytes().split(b"\0")
                stat = (proc / "stat").read_text()
            except (OSError, ValueError):
                continue
            if (PROGRAM.encode() in command and b"fq_inspect" not in command
                    and f"WINEPREFIX={self.prefix.path}".encode() in environment):
                fields = stat[stat.rindex(")") + 2:].split()
                return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")
        raise HarnessError("the saver's Linux process was not found")

    def cpu_share(self, seconds=1.5):
        before, started = self.unix_cpu_seconds(), time.monotonic()
        time.sleep(seconds)
        return (self.unix_cpu_seconds() - before) / (time.monotonic() - started)

    def test_saver_runs_and_ends_on_a_key(self):
        cases = [({"Count": "31"}, 30), ({"Count": "32767"}, 30), ({"Count": "-32768"}, 0),
                 ({"Speed": "0"}, 8), ({"Speed": "-1"}, 8)]
        for settings, sprites in cases:
            with self.subTest(settings=settings):
                program, _ = self.start_saver(settings)
                try:
                    self.assert_frames_come(program, sprites)
                    if "Speed" in settings:
                        share = self.cpu_share()
                        self.assertGreater(share, UNPACED_CPU_SHARE,
                                           f"processor share {share:.2f}: the loop pauses")
                    started = time.monotonic()
                    self.press_key("a")
                    self.assert_ends_promptly(program, started, "a key")
                finally:
                    program.kill()


class HostileArgumentTest(StoreTestMixin, WineTestCase):
    """Argument texts of 32,000 characters, non-ASCII and quoted ones: the mode is the first
    two characters, so each gets the dialog, the saver, preview, or "/A" with its number."""

    def assert_outcome(self, argument_text, outcome):
        """`outcome`: "dialog", "saver", "ended", ("parent", n) or "overflow"."""
        program = self.start(argument_text, mpr_stub=True)
        what = f"{argument_text[:40]!r} ({len(argument_text)} characters)"
        if outcome == "overflow":
            box = self.dismiss_fault_box(program)
            self.assertIn("overflow", box_text(box), what)
            self.assertEqual(self.mpr_calls(), [], f"{what}: the service was called")
        elif outcome in ("dialog", "saver"):
            title, cls = ((LAYOUT["caption"], DIALOG_CLASS) if outcome == "dialog"
                          else (TITLE, None))
            window = self.wait_for_window(program, title=title, cls=cls)
            self.close_window(window["hwnd"])
            self.assertEqual(program.wait(), 0, f"{what}: exit code; {program.stderr()}")
        else:
            self.assertEqual(program.wait(), 0, f"{what}: exit code; {program.stderr()}")
            calls = [call["parent"] for call in self.mpr_calls()]
            self.assertEqual(calls, [outcome[1]] if outcome != "ended" else [],
                             f"{what}: PwdChangePasswordA parents")

    def test_argument_texts(self):
        self.move_pointer(*HOME)
        cases = [
            ("/c " + "x" * 31997, "dialog"),
            ("/s" + " " * 31998, "saver"),
            ("/p" + "9" * 31998, "ended"),
            ("/a " + "0" * 31995 + "42", ("parent", 42)),
            ("/a " + "1" * 31997, "overflow"),
            ("/a" + "7" * 300, "overflow"),
            ("/s\u00e9\u4e2d", "saver"),
            ("/a \u0661\u0662\u0663", ("parent", 0)),  # Arabic-Indic digits are no number
            ("/a 12\u20ac", ("parent", 12)),
            ('"/s"', "dialog"),
            ('/s "quoted text" \'and more\'', "saver"),
            ('/a "123"', ("parent", 0)),
        ]
        self.store_settings({"Speed": "7", "Count": "9"})
        before = self.stored()
        for argument_text, outcome in cases:
            with self.subTest(argument_text=argument_text[:40], length=len(argument_text)):
                self.assert_outcome(argument_text, outcome)
                self.assertEqual(self.stored(), before, "the stored settings changed")


class HostileDialogTextTest(DialogDriver):
    """10,000 characters and non-ASCII text in the boxes: OK refuses both, stores nothing,
    and the boxes keep the text as it was put in."""

    def assert_refused(self, program, dialog, speed, count):
        named = self.named_controls(dialog)
        self.assertEqual(self.get_text(named["txtSpeed"]["hwnd"]), speed, "the speed box")
        self.assertEqual(self.get_text(named["txtCount"]["hwnd"]), count, "the count box")
        self.click_button(dialog["hwnd"], "OK")
        self.assertEqual(self.box_texts(program, 2), [SPEED_REFUSAL, COUNT_REFUSAL])
        self.assertEqual(self.read_settings(), {"Speed": "7", "Count": "9"}, "stored after OK")
        self.assertTrue(program.running(), "a refused OK must leave the dialog open")

    def test_10000_characters_set_into_the_boxes_are_refused(self):
        cases = [("1" * 10000, "x" * 10000), ("1e" + "9" * 9998, "\u00e9" * 10000)]
        for speed, count in cases:
            with self.subTest(speed=speed[:8], count=count[:8]):
                program, dialog = self.open_dialog(settings={"Speed": "7", "Count": "9"})
                named = self.named_controls(dialog)
                self.set_text(named["txtSpeed"]["hwnd"], speed)
                self.set_text(named["txtCount"]["hwnd"], count)
                self.assert_refused(program, dialog, speed, count)
                self.close_window(dialog["hwnd"])
                self.assert_ended(program, {"Speed": "7", "Count": "9"})

    def test_typed_non_ascii_text_is_refused(self):
        # Digits of other scripts and a full-width digit are not the program's numbers.
        speed, count = "\u0663\uff15", "\u00df\u20ac"
        program, dialog = self.open_dialog(settings={"Speed": "7", "Count": "9"})
        self.type_values(dialog, speed, count)
        self.assert_refused(program, dialog, speed, count)
        self.close_window(dialog["hwnd"])
        self.assert_ended(program, {"Speed": "7", "Count": "9"})


if __name__ == "__main__":
    unittest.main()
