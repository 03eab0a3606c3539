"""The settings dialog under Wine, driven like a user: what it shows and where (at 96 dpi,
against the same layout table the program is built from), what typing and the buttons store,
the refusal boxes, and the keys that must and must not press a button."""

import json
import os
import subprocess
import unittest

from harness import HarnessError, WineTestCase, cache_dir

SPEED_REFUSAL = "ERROR: For Speed we're looking for a number between 1 and 100 here, buddy."
COUNT_REFUSAL = "ERROR: For count we're looking for a number between 1 and 30 here, buddy."
DIALOG_CLASS = "FlyingQuorlinConfig"
CONTROL_CLASSES = {"button": "Button", "textbox": "Edit", "label": "Static", "picture": "Static"}
LOGO_SIZE = (76, 64)
WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_SYSMENU = 0x40000, 0x20000, 0x10000, 0x80000
WHITE, BLACK, DARK_GREY = (255, 255, 255), (0, 0, 0), (64, 64, 64)


def load_layout():
    """The dialog's form data as the program's own table gives it: fq_dialog_layout of the
    native build (CTest names it; run by hand, the build that holds the prefix cache)."""
    tool = os.environ.get("FQ_DIALOG_LAYOUT_TOOL") or str(
        cache_dir().parent / "tests" / "e2e" / "fq_dialog_layout")
    if not os.access(tool, os.X_OK):
        raise HarnessError(f"the layout tool {tool} is missing: build the native preset, or "
                           "point FQ_DIALOG_LAYOUT_TOOL at it")
    return json.loads(subprocess.run([tool], check=True, capture_output=True, text=True).stdout)


LAYOUT = load_layout()


def pixels_at_96_dpi(twips):
    """Twips to pixels as the program rounds them (to nearest, halves away from zero)."""
    return (twips * 96 + 720) // 1440


def rgb(colour):
    return ((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF)


class DialogDriver(WineTestCase):
    """Drives the dialog like a user; holds no tests, so other test files can derive from it."""

    def open_dialog(self, argument_text="/c", settings=None):
        """Starts the program and waits for its dialog; returns (program, dialog window)."""
        program = self.start(argument_text, settings=settings)
        dialog = self.wait_for_window(program, title=LAYOUT["caption"], cls=DIALOG_CLASS)
        return program, dialog

    def named_controls(self, dialog):
        """The dialog's controls by their layout names; they are created in layout order."""
        controls = self.controls(dialog["hwnd"])
        self.assertEqual([c["class"] for c in controls],
                         [CONTROL_CLASSES[entry["kind"]] for entry in LAYOUT["controls"]],
                         "the controls' kinds and order differ from the layout")
        return {entry["name"]: control for entry, control in zip(LAYOUT["controls"], controls)}

    def focused_name(self, dialog):
        return next((name for name, c in self.named_controls(dialog).items() if c["focused"]),
                    None)

    def point_at(self, dialog):
        """Puts the pointer on the dialog's empty background, so that keys go to it."""
        client = dialog["client_rect"]
        self.move_pointer(client["left"] + 8, client["bottom"] - 8)

    def select_and_type(self, text):
        """Tab moves on and selects the next box's whole text; typing replaces it."""
        self.press_key("Tab")
        if text:
            self.type_text(text)
        else:
            self.press_key("BackSpace")

    def type_values(self, dialog, speed, count):
        """From the focus on OK: types both values, then Shift+Tab twice back to OK."""
        self.point_at(dialog)
        self.select_and_type(speed)
        self.select_and_type(count)
        self.press_key("shift+Tab", "shift+Tab")

    def box_texts(self, program, expected_boxes):
        """Dismisses the program's boxes one after the other with the real pointer; returns
        their texts. (Wine does not let the inspector tell which icon a box shows.)"""
        texts = []
        for _ in range(expected_boxes):
            box = self.wait_for_message_box(program)
            self.assertEqual(box["title"], "FlyingQuorlin")
            self.assertEqual([b["text"] for b in box["buttons"]], ["OK"])
            texts.append(" ".join(box["texts"]))
            self.click_box_button(box, "OK")
            self.wait_until(lambda: box["hwnd"] not in [b["hwnd"] for b in
                                                        self.message_boxes(program)],
                            what="the box to close")
        return texts

    def assert_settings_become(self, expected, what):
        try:
            self.wait_until(lambda: self.read_settings() == expected, timeout=5, what=what)
        except AssertionError:
            self.assertEqual(self.read_settings(), expected, what)

    def assert_ended(self, program, settings):
        self.assertEqual(program.wait(), 0, f"exit code; stderr: {program.stderr()}")
        self.assertEqual(self.read_settings(), settings, "stored settings at the end")


class DialogTest(DialogDriver):

    def test_settings_mode_opens_the_dialog_with_the_stored_values_focus_on_ok(self):
        cases = [("/c", None, "25", "8"), ("", None, "25", "8"), ("/x", None, "25", "8"),
                 ("/C:123", {"Speed": "2.5", "Count": " 1e1 "}, "2", "10")]
        for argument_text, settings, speed, count in cases:
            with self.subTest(argument_text=argument_text, settings=settings):
                program, dialog = self.open_dialog(argument_text, settings)
                named = self.named_controls(dialog)
                self.assertEqual((named["txtSpeed"]["text"], named["txtCount"]["text"]),
                                 (speed, count), "the boxes' texts")
                self.assertEqual(self.focused_name(dialog), "cmdOK", "the focus on opening")
                # Handles only: other fields (the foreground flag) may change between two looks.
                self.assertEqual([w["hwnd"] for w in self.windows(program)], [dialog["hwnd"]],
                                 "the program's windows")
                self.close_window(dialog["hwnd"])
                self.assert_ended(program, settings or {})

    def test_window_and_controls_match_the_layout_at_96_dpi(self):
        program, dialog = self.open_dialog()
        self.assertEqual(dialog["owner"], 0, "the dialog must have no owner")
        self.assertTrue(dialog["toolwindow"], "a tool-window frame")
        style = dialog["style"]
        self.assertEqual(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU),
                         WS_SYSMENU, f"fixed frame with a close box only (style {style:#x})")
        client = dialog["client_rect"]
        self.assertEqual((client["width"], client["height"]),
                         (pixels_at_96_dpi(LAYOUT["client_width"]),
                          pixels_at_96_dpi(LAYOUT["client_height"])), "client size")
        named = self.named_controls(dialog)
        for entry in LAYOUT["controls"]:
            left, top, width, height = (pixels_at_96_dpi(n) for n in entry["rect"])
            if entry["picture"]:
                width, height = LOGO_SIZE  # shown at its own size
            rect = named[entry["name"]]["rect"]
            self.assertEqual((rect["left"], rect["top"], rect["width"], rect["height"]),
                             (left, top, width, height), f"{entry['name']} in client pixels")
            if entry["kind"] in ("button", "label"):
                self.assertEqual(named[entry["name"]]["text"], entry["text"], entry["name"])

    def test_colours_white_on_black_labels_white_on_dark_grey_boxes(self):
        program, dialog = self.open_dialog()
        client = dialog["client_rect"]
        screen = self.screen_pixels(client["left"], client["top"], client["width"],
                                    client["height"])
        self.assertEqual(screen.pixel(4, 4), rgb(LAYOUT["background"]), "dialog background")
        named = self.named_controls(dialog)
        for entry in LAYOUT["controls"]:
            if not entry["colours"]:
                continue
            rect = named[entry["name"]]["rect"]
            # Edit boxes draw a border of their own; their inside starts a few pixels in.
            inset = 3 if entry["kind"] == "textbox" else 0
            seen = {screen.pixel(x, y)
                    for y in range(rect["top"] + inset, rect["bottom"] - inset)
                    for x in range(rect["left"] + inset, rect["right"] - inset)}
            text, background = rgb(entry["colours"]["text"]), rgb(entry["colours"]["background"])
            self.assertIn(text, seen, f"{entry['name']} shows no text in {text}")
            self.assertIn(background, seen, f"{entry['name']} shows no background {background}")
        # Wine cannot describe another process's font, so the title's size is measured.
        title, credit = (self.ink_height(screen, named[name]["rect"], WHITE)
                         for name in ("lblTitle", "lblCredit"))
        self.assertGreaterEqual(title, credit * 1.3, "the title's 12-point font against the "
                                f"8-point default: {title} and {credit} pixels of ink")

    @staticmethod
    def ink_height(screen, rect, colour):
        rows = [y for y in range(rect["top"], rect["bottom"])
                if any(screen.pixel(x, y) == colour for x in range(rect["left"], rect["right"]))]
        return rows[-1] - rows[0] + 1 if rows else 0

    def test_typed_values_and_ok_store_the_exact_texts_and_end(self):
        cases = [("1", "30", "space"), (" 2.5 ", "1e1", "Return"), ("100", "1", "Return")]
        for speed, count, key in cases:
            with self.subTest(speed=speed, count=count, key=key):
                program, dialog = self.open_dialog()
                self.type_values(dialog, speed, count)
                self.press_key(key)
                self.assert_ended(program, {"Speed": speed, "Count": count})

    def test_enter_or_space_on_the_focused_ok_clicks_it_at_once(self):
        for key in ("Return", "space"):
            with self.subTest(key=key):
                program, dialog = self.open_dialog()
                self.point_at(dialog)
                self.press_key(key)
                self.assert_ended(program, {"Speed": "25", "Count": "8"})

    def test_a_refused_value_shows_its_box_and_the_dialog_stays_as_typed(self):
        program, dialog = self.open_dialog()
        self.type_values(dialog, "abc", "12")
        self.press_key("Return")
        box = self.wait_for_message_box(program)
        owners = {w["hwnd"]: w["owner"] for w in self.windows(program)}
        self.assertEqual(owners.get(box["hwnd"]), dialog["hwnd"], "the box's owner")
        self.assertEqual(self.box_texts(program, 1), [SPEED_REFUSAL])
        # The count is checked and stored once the speed's box is gone.
        self.assert_settings_become({"Count": "12"}, "what the refused OK stored")
        named = self.named_controls(dialog)
        self.assertEqual((named["txtSpeed"]["text"], named["txtCount"]["text"]), ("abc", "12"))
        self.assertEqual(self.focused_name(dialog), "cmdOK", "the focus after the box")
        self.assertTrue(program.running(), "a refused OK must leave the dialog open")

        # Enter on OK, which got the focus back when the box closed, presses it again.
        self.press_key("Return")
        self.assertEqual(self.box_texts(program, 1), [SPEED_REFUSAL])

        # Both refused: two boxes, speed first, nothing more stored.
        self.type_values(dialog, "0", "31")
        self.press_key("Return")
        self.assertEqual(self.box_texts(program, 2), [SPEED_REFUSAL, COUNT_REFUSAL])
        self.assertEqual(self.read_settings(), {"Count": "12"})

        # Cancel ends and keeps what the refused OK stored.
        cancel = self.named_controls(dialog)["cmdCancel"]["screen_rect"]
        self.click_at((cancel["left"] + cancel["right"]) // 2,
                      (cancel["top"] + cancel["bottom"]) // 2)
        self.assert_ended(program, {"Count": "12"})

    def test_enter_in_a_text_box_and_escape_press_nothing(self):
        program, dialog = self.open_dialog()
        self.point_at(dialog)
        self.select_and_type("5")  # the speed box
        self.press_key("Return", "Escape")
        self.select_and_type("6")  # the count box
        self.press_key("Return", "Escape")
        self.press_key("Tab", "Escape")  # on Cancel, Escape is no click either

        def settled():
            if not self.windows(program):
                return "closed"
            return self.focused_name(dialog) == "cmdCancel" and "open"
        self.assertEqual(self.wait_until(settled, what="the keys to be handled"), "open",
                         "a key in a box closed the dialog")
        self.assertEqual(self.message_boxes(program), [], "a key in a box pressed OK")
        self.assertEqual(self.read_settings(), {}, "a key in a box stored settings")

    def test_closing_from_the_frame_saves_nothing_and_ends(self):
        program, dialog = self.open_dialog()
        self.type_values(dialog, "7", "7")
        self.close_window(dialog["hwnd"])
        self.assert_ended(program, {})


if __name__ == "__main__":
    unittest.main()
