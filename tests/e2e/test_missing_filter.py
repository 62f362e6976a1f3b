"""Without a capture device, a click on the tray icon reports the missing
filter in a message box, and closing the box ends the program."""
import unittest

from harness.case import RigTestCase
from harness.rig import MAIN_WINDOW, TRAY_CALLBACK, WM_LBUTTONDOWN, WM_RBUTTONDOWN
from harness.waits import hold_for

CAPTION = "Remote Control"
TEXT = "Can't find the BDA video capture filter.\n\nPlease check your hardware or drivers. "


class MissingFilter(RigTestCase):
    def test_TrayClick_ShowsTheReport_AndClosingItEndsTheProgram(self):
        for click in (WM_LBUTTONDOWN, WM_RBUTTONDOWN):
            for close in (("press", CAPTION, "OK"), ("post", "#32770", CAPTION, "16", "0", "0")):
                with self.subTest(click=hex(click), close=close[0]):
                    self.fresh_rig()
                    process = self.start_utility()
                    self.rig.post_main(TRAY_CALLBACK, 0, click)
                    self.rig.wait_window("#32770", CAPTION)
                    texts = self.rig.dialog_texts(CAPTION)
                    self.assertIn(TEXT, texts)
                    self.assertIn("OK", texts)
                    hold_for(0.3, lambda: process.poll() is None, "the program waiting for the box")
                    self.assertEqual(self.rig.wintool(*close).returncode, 0)
                    self.assertEqual(self.wait_exit(process), 0)
                    self.assertFalse(self.rig.window_exists(MAIN_WINDOW, MAIN_WINDOW))


if __name__ == "__main__":
    unittest.main()
