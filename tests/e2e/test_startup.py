"""Start-up under Wine: the settings are read before the mode in every mode, "/A" hands the
parent handle to the real PwdChangePasswordA, "/P" ends at once, and a bad stored setting
stops the program with the error box and exit code 3 once the box is dismissed."""

import unittest

from harness import WineTestCase

FAULT_EXIT_CODE = 3


class StartupTest(WineTestCase):

    def assert_ended_without_window(self, program, exit_code=0):
        self.assertEqual(program.wait(), exit_code,
                         f"exit code of {program.argument_text!r}; stderr: {program.stderr()}")
        self.assertEqual(self.windows(program, visible_only=False), [],
                         f"{program.argument_text!r} left windows behind")

    def test_change_password_hands_the_parent_and_scrsave_to_the_service(self):
        cases = [("/a 123", 123), ("/A -5", -5), ("/a:123", 0), ("/a 13.5", 14)]
        for argument_text, parent in cases:
            with self.subTest(argument_text=argument_text):
                program = self.start(argument_text, mpr_stub=True)
                self.assert_ended_without_window(program)
                self.assertEqual(self.mpr_calls(), [{"text": "SCRSAVE", "parent": parent,
                                                     "reserved1": 0, "reserved2": 0}],
                                 f"PwdChangePasswordA calls for {argument_text!r}")

    def test_change_password_with_the_system_service_ends_quietly(self):
        self.assert_ended_without_window(self.start("/a 123"))

    def test_preview_ends_at_once_without_a_window(self):
        self.assert_ended_without_window(self.start("/p 123"))

    def test_bad_stored_setting_stops_every_mode_with_the_error_box(self):
        cases = [("/p 123", {"Speed": "abc"}, "type mismatch"),
                 ("/s", {"Count": "abc"}, "type mismatch"),
                 ("/c", {"Speed": ""}, "type mismatch"),
                 ("/a 123", {"Speed": "40000"}, "overflow")]
        for argument_text, settings, fault in cases:
            with self.subTest(argument_text=argument_text, settings=settings):
                program = self.start(argument_text, settings=settings, mpr_stub=True)
                box = self.wait_for_message_box(program)
                self.assertEqual(box["title"], "FlyingQuorlin")
                self.assertIn(fault, " ".join(box["texts"]).lower(),
                              f"the box should name the fault; it says {box['texts']}")
                self.assertEqual([w["hwnd"] for w in self.windows(program)], [box["hwnd"]],
                                 "the box should be the program's only window")
                self.assertTrue(program.running(), "the program must wait for the box")
                self.click_box_button(box, "OK")
                self.assertEqual(program.wait(), FAULT_EXIT_CODE, "exit code after the box")
                self.assertEqual(self.mpr_calls(), [], "the service was called despite the fault")

    def test_overflowing_parent_handle_stops_before_the_service_is_called(self):
        program = self.start("/a 12345678901", mpr_stub=True)
        box = self.wait_for_message_box(program)
        self.assertIn("overflow", " ".join(box["texts"]).lower(), f"box texts: {box['texts']}")
        self.click_button(box["hwnd"], "OK")
        self.assertEqual(program.wait(), FAULT_EXIT_CODE, "exit code after the box")
        self.assertEqual(self.mpr_calls(), [], "the service was called with an overflowing handle")


if __name__ == "__main__":
    unittest.main()
