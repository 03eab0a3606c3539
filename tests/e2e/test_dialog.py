"""The settings dialog under Wine, driven like a user: its window against the layout table at
96 dpi, its colours and fonts, the focus order, what Enter, Space and Escape press, what OK
stores, the refusal boxes (one at a time, however fast OK is pressed), that Cancel and the close
box store nothing, and what a dialog that fails to build leaves behind."""

import os
import subprocess
import time
from collections import Counter

from harness import BM_CLICK, REPO, WINE, WM_CLOSE, WineTest, run, wine_path

SPEED_REFUSAL = "ERROR: For Speed we're looking for a number between 1 and 100 here, buddy."
LOGO_SIZE = (76, 64)
WS_SYSMENU, WS_SIZE_BOXES, WS_EX_TOOLWINDOW = 0x80000, 0x70000, 0x80
WHITE, BLACK, GREY = b"\xff\xff\xff", b"\0\0\0", b"\x40\x40\x40"


def pixels(twips):
    return (twips * 96 + 720) // 1440  # at 96 dpi, to the nearest pixel as the program rounds


# fq_dialog_layout's table: caption and client size, then the controls in creation order.
TABLE = [line.split("\t") for line in subprocess.run(
    [os.environ.get("FQ_DIALOG_LAYOUT_TOOL") or REPO / "build/native/tests/e2e/fq_dialog_layout"],
    check=True, capture_output=True, encoding="utf-8").stdout.splitlines()]
CAPTION, CLIENT_SIZE = TABLE[0][0], [pixels(int(n)) for n in TABLE[0][1:]]
CONTROLS = [{"name": f[0], "class": f[1], "text": f[7],  # a picture shows at its own size
             "rect": [pixels(int(n)) for n in f[2:4]]
             + (list(LOGO_SIZE) if f[6] == "1" else [pixels(int(n)) for n in f[4:6]])}
            for f in TABLE[1:]]


class DialogTest(WineTest):

    def open(self):
        program = self.start("/c")
        return program, self.wait_window(program, CAPTION, "FlyingQuorlinConfig")

    def named(self, dialog):  # the dialog's controls by their names in the table
        controls = self.windows(parent=dialog["hwnd"])
        self.assertEqual([c["class"] for c in controls], [c["class"] for c in CONTROLS])
        return {entry["name"]: control for entry, control in zip(CONTROLS, controls)}

    def focus(self, dialog):
        return next((name for name, c in self.named(dialog).items() if c["focused"]), None)

    def point_at(self, dialog):  # keys go to the window under the pointer, once it is active
        self.click(dialog["client"][0] + 8, dialog["client"][3] - 8)  # on the background
        self.wait_until(lambda: self.focus(dialog), what="a focused control")

    def type_values(self, dialog, speed, count):
        """From OK: Tab to each box, which selects its text, type over it, and back to OK."""
        self.point_at(dialog)
        for text in (speed, count):
            self.key("Tab")
            self.x("xdotool", "type", "--delay", "50", text)
        self.key("shift+Tab", "shift+Tab")

    def assert_ended(self, program, stored):
        self.assertEqual(program.wait(), 0, program.stderr())
        self.assertEqual(self.settings(), stored, "the stored settings")

    def test_window_and_controls_match_the_layout_at_96_dpi(self):
        _, dialog = self.open()
        self.assertEqual(dialog["owner"], 0, "the dialog has an owner")
        self.assertTrue(dialog["exstyle"] & WS_EX_TOOLWINDOW, "not a tool window")
        self.assertEqual(dialog["style"] & (WS_SYSMENU | WS_SIZE_BOXES), WS_SYSMENU,
                         f"style {dialog['style']:#x}: want a fixed frame with a close box only")
        left, top, right, bottom = dialog["client"]
        self.assertEqual([right - left, bottom - top], CLIENT_SIZE, "the client size")
        controls = self.named(dialog)
        for entry, control in zip(CONTROLS, controls.values()):
            l, t, r, b = control["rect"]  # the boxes show the defaults, which the table holds
            self.assertEqual([l - left, t - top, r - l, b - t, control["text"]],
                             entry["rect"] + [entry["text"]], entry["name"])
        # The look: white text on a black dialog and labels and on dark grey boxes, and the
        # title in a font half as large again as the others.
        want = {name: GREY if c["class"] == "Edit" else BLACK for name, c in controls.items()
                if c["class"] != "Button" and name != "img1"}
        deadline = time.monotonic() + 30
        while True:  # until painted
            shot, width, colours, text_rows = self.pixels(), self.screen[0], {}, {}
            for name in want:  # its commonest colour, and how many of its rows hold white
                l, t, r, b = controls[name]["rect"]  # within the boxes' sunken edges
                rows = [[shot[3 * (y * width + x):][:3] for x in range(l + 2, r - 2)]
                        for y in range(t + 2, b - 2)]
                colours[name] = Counter(p for row in rows for p in row).most_common(1)[0][0]
                text_rows[name] = sum(WHITE in row for row in rows)
            background = shot[3 * ((bottom - 4) * width + left + 4):][:3]  # near a corner
            if background == BLACK and colours == want or time.monotonic() > deadline:
                break
        self.assertEqual(background, BLACK, "the dialog's background")
        self.assertEqual(colours, want)
        self.assertTrue(all(text_rows.values()), f"text missing: {text_rows}")
        self.assertGreaterEqual(text_rows["lblTitle"], 1.3 * text_rows["lblCredit"], "title font")

    def test_focus_order_keys_that_press_nothing_and_the_close_box(self):
        program, dialog = self.open()
        self.assertEqual(self.focus(dialog), "cmdOK", "the focus on opening")
        self.point_at(dialog)
        for name, keys in [("txtSpeed", ("Return", "Escape")), ("txtCount", ("Return", "Escape")),
                           ("cmdCancel", ("Escape",)), ("cmdOK", ())]:
            self.key("Tab", *keys)
            self.wait_until(lambda: self.focus(dialog) == name, what=f"Tab to reach {name}")
        self.assertEqual([w["hwnd"] for w in self.windows(program)], [dialog["hwnd"]],
                         "Enter in a box or Escape closed the dialog or brought up a box")
        self.type_values(dialog, "7", "7")
        self.post(dialog["hwnd"], WM_CLOSE)  # as the close box does
        self.assert_ended(program, {})

    def test_enter_or_space_on_ok_store_the_texts_as_typed_and_end(self):
        for key, speed, count in [("Return", "1", "30"), ("space", " 2.5 ", "1e1")]:
            with self.subTest(key=key):
                program, dialog = self.open()
                self.type_values(dialog, speed, count)
                self.key(key)
                self.assert_ended(program, {"Speed": speed, "Count": count})

    def test_refused_values_get_their_boxes_and_cancel_stores_nothing(self):
        program, dialog = self.open()
        self.type_values(dialog, "abc", "12")
        self.key("Return")
        self.assertEqual(self.wait_window(program, cls="#32770")["owner"], dialog["hwnd"])
        self.assertEqual(self.dismiss_box(program), SPEED_REFUSAL)
        # The count is checked and stored once the speed's box is gone.
        self.wait_until(lambda: self.settings() == {"Count": "12"}, what="Count alone stored")
        named = self.named(dialog)
        self.assertEqual((named["txtSpeed"]["text"], named["txtCount"]["text"]), ("abc", "12"))
        self.assertEqual(self.focus(dialog), "cmdOK", "the focus after the box")
        left, top, right, bottom = self.named(dialog)["cmdCancel"]["rect"]
        self.click((left + right) // 2, (top + bottom) // 2)
        self.assert_ended(program, {"Count": "12"})

    def test_ok_pressed_again_while_its_refusal_is_up_is_ignored(self):
        program = self.start("/c", settings={"Speed": "0"})  # the box shows 0: out of range
        dialog = self.wait_window(program, CAPTION, "FlyingQuorlinConfig")
        self.post(self.named(dialog)["cmdOK"]["hwnd"], BM_CLICK, 10)  # as another program can
        self.wait_window(program, cls="#32770")
        time.sleep(2)  # the other nine presses reach the dialog while its box is up
        self.assertEqual(len([w for w in self.windows(program) if w["class"] == "#32770"]), 1,
                         "refusal boxes stacked up")
        self.assertEqual(self.dismiss_box(program), SPEED_REFUSAL)
        self.wait_until(lambda: self.settings() == {"Speed": "0", "Count": "8"},
                        what="Count alone stored")
        time.sleep(1)
        self.assertEqual([w["class"] for w in self.windows(program)], ["FlyingQuorlinConfig"],
                         "a press queued behind the box came back as another")
        self.post(dialog["hwnd"], WM_CLOSE)
        self.assert_ended(program, {"Speed": "0", "Count": "8"})

    def test_a_dialog_that_fails_to_build_leaves_no_window_and_no_quit(self):
        """A half-built dialog would point at freed state while the fault's box serves
        messages, and a quit in the queue would close that box at once."""
        probe = wine_path(self.build / "e2e/fq_dialog_build_fault.exe")
        code, out, err = run(self.env, [WINE[self.arch], probe])
        self.assertEqual(code, 0, err)
        left, quit, fault = out.strip().split("\t")
        self.assertIn("The dialog's control txtSpeed could not be created", fault)
        self.assertEqual((left, quit), ("0", "0"), "a dialog window left, a quit waiting")
