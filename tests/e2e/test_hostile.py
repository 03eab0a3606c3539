"""Input that only Windows decides, under Wine: stored values that are no number, of other
types, of an odd length or of 64 KiB, argument texts that are huge, non-ASCII or quoted, and
messages from another program that carry pointers or odd ids. Each has one clear outcome (a
fault box titled FlyingQuorlin is dismissed with exit code 3), nothing crashes or hangs, and
the stored values read back unchanged. docs/RELIABILITY.md explains the outcomes chosen."""

from harness import BM_CLICK, WM_CLOSE, WineTest

FAULT_EXIT_CODE = 3
DIALOG, SAVER = "FlyingQuorlinConfig", "FlyingQuorlin.Saver"
REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_MULTI_SZ = 1, 2, 4, 7
WM_SETTEXT, WM_GETMINMAXINFO, WM_NCCREATE, WM_INITDIALOG, WM_COMMAND = 0xC, 0x24, 0x81, 0x110, 0x111
OK_ID, ERROR_MESSAGE_SYNC_ONLY = 100, "1159"


def text(value, kind=REG_SZ):
    return kind, (value + "\0").encode("utf-16-le")


class HostileTest(WineTest):

    def test_stored_values(self):
        cases = [  # what, the stored Count, the count box's text or the fault box's word
            ("text that is no number", text("abc"), "type mismatch"),
            ("REG_DWORD", (REG_DWORD, (12).to_bytes(4, "little")), "8"),
            ("REG_MULTI_SZ", text("12\0", REG_MULTI_SZ), "8"),
            ("REG_EXPAND_SZ", text("12", REG_EXPAND_SZ), "12"),
            ("no terminator", (REG_SZ, "13".encode("utf-16-le")), "13"),
            ("an odd byte count", (REG_SZ, "14".encode("utf-16-le") + b"A"), "14"),
            ("text after the terminator", text("15\0junk"), "15"),
            ("64 KiB of euro signs", text("\u20ac" * 32768), "type mismatch"),
            ("64 KiB of digits", text("1" * 32768), "overflow"),
            ("64 KiB of blanks around 12", text(" " * 16383 + "12" + " " * 16383), "12"),
        ]
        for what, value, outcome in cases:
            with self.subTest(what):
                self.store({"Count": value})
                self.assertEqual(self.stored(), {"Count": value}, "as stored")
                program = self.start("/c")
                if outcome.isdigit():
                    dialog = self.wait_window(program, cls=DIALOG)
                    self.assertEqual([c["text"] for c in self.windows(parent=dialog["hwnd"])
                                      if c["class"] == "Edit"], ["25", outcome])
                    self.post(dialog["hwnd"], WM_CLOSE)
                else:
                    self.assertIn(outcome, self.dismiss_box(program).lower())
                self.assertEqual(program.wait(), 0 if outcome.isdigit() else FAULT_EXIT_CODE)
                self.assertEqual(self.stored(), {"Count": value}, "after the run")

    def test_argument_texts(self):
        self.move(960, 540)  # where Wine's first move event for the saver lies
        cases = [  # argument text, outcome: a window class, a parent handle, None or "overflow"
            ("/c " + "x" * 31997, DIALOG),
            ("/s" + " " * 31998, SAVER),
            ("/p" + "9" * 31998, None),
            ("/a " + "0" * 31995 + "42", 42),
            ("/a " + "1" * 31997, "overflow"),
            ("/s\u00e9\u4e2d", SAVER),  # only two characters are looked at
            ("/a \u0661\u0662\u0663", 0),  # Arabic-Indic digits are not the program's digits
            ("/a 12\u20ac", 12),
            ('"/s"', DIALOG),  # the quote belongs to the switch
            ('/s "quoted text" \'and more\'', SAVER),
            ('/a "123"', 0),
        ]
        self.store({"Speed": "7", "Count": "9"})
        for args, outcome in cases:
            with self.subTest(args=args[:12], length=len(args)):
                program = self.start(args, stub=True)
                if outcome == "overflow":
                    self.assertIn("overflow", self.dismiss_box(program).lower())
                elif outcome in (DIALOG, SAVER):
                    self.post(self.wait_window(program, cls=outcome)["hwnd"], WM_CLOSE)
                self.assertEqual(program.wait(), FAULT_EXIT_CODE if outcome == "overflow" else 0)
                calls = [f"SCRSAVE {outcome} 0 0"] if isinstance(outcome, int) else []
                self.assertEqual(self.mpr_calls(), calls, "PwdChangePasswordA calls")
                self.assertEqual(self.settings(), {"Speed": "7", "Count": "9"})

    def test_messages_of_another_program(self):
        """Creation messages and others with pointers or odd ids, posted then sent by another
        program: the system refuses to post those that carry a pointer and copies them across
        when sent. No window takes one as its state: the dialog stores nothing until OK or
        Cancel, which still work, and a close still ends the saver."""
        self.move(960, 540)  # where Wine's first move event for the saver lies
        cases = [  # window, message, wParam, lParam (WM_SETTEXT: the text; WM_NCCREATE: the
            # creation parameter), whether the system posts it
            (DIALOG, WM_INITDIALOG, 0, "0", True),
            (DIALOG, WM_INITDIALOG, 0, "0x1234", True),
            (DIALOG, WM_COMMAND, 1, "0", True),  # IDOK, as Enter in a box: presses nothing
            (DIALOG, WM_COMMAND, 0xFFFF, "0x1234", True),  # no control's id
            (DIALOG, WM_COMMAND, 1 << 16 | OK_ID, "0x1234", True),  # from OK, but no click
            (DIALOG, WM_SETTEXT, 0, "x" * 30000, False),
            (DIALOG, WM_NCCREATE, 0, "0x1234", False),
            (SAVER, WM_NCCREATE, 0, "0", False),
            (SAVER, WM_NCCREATE, 0, "0x1234", False),
            (SAVER, WM_GETMINMAXINFO, 0, "0", False),
        ]
        for index, (cls, message, wparam, lparam, posted) in enumerate(cases):
            with (self.subTest(cls, message=hex(message), wparam=hex(wparam), lparam=lparam[:8]),
                  self.start("/c" if cls == DIALOG else "/s", settings={}) as program):
                window = self.wait_window(program, cls=cls)["hwnd"]
                target, parameters = (str(window), str(message)), (str(wparam), lparam)
                self.assertEqual(self.inspect("post", *target, "1", *parameters),
                                 [] if posted else [["error", ERROR_MESSAGE_SYNC_ONLY]], "posted")
                answer = self.inspect("send", *target, *parameters)[0]
                if answer[0] == "error":
                    self.fail(f"the send: {answer}; the program: {program.wait():#x}")
                if cls == SAVER:
                    self.post(window, WM_CLOSE)
                    self.assertEqual((program.wait(), self.settings()), (0, {}))
                    continue
                controls = self.windows(parent=window)
                self.assertEqual([c["text"] for c in controls if c["class"] == "Edit"],
                                 ["25", "8"], "the boxes")
                self.assertEqual(self.settings(), {}, "stored before OK or Cancel")
                ok = index % 2 == 0  # the dialog's rows end by OK and Cancel in turn
                button = "OK" if ok else "Cancel"
                self.post(next(c["hwnd"] for c in controls if c["text"] == button), BM_CLICK)
                self.assertEqual((program.wait(), self.settings()),
                                 (0, {"Speed": "25", "Count": "8"} if ok else {}))
