"""Today's wide screens: at 1920x1080, a width the dialog placement table has
no row for, the tray menu opens whole at the screen's corner, and the About,
Setting and Shut Down dialogs open centred on the work area and stay on top,
so the Shut Down dialog never hides behind a full-screen TV application."""
import unittest

from harness import installed_apps, session, tray
from harness.capture_driver import Device
from harness.case import RigTestCase
from harness.remote_keys import press
from harness.waits import wait_until

# Before anything asks for the display: this module's Xvfb is a wide one.
session.screen_size = (1920, 1080)

RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
WM_COMMAND, WM_CLOSE = 0x0111, 0x0010
ABOUT, SETTING, SHUT_DOWN = "Remote Control - About", "Remote Control - Setting", "Remote Control - Shut Down"
QUARTZVIEW_SHUT_DOWN_KEY = 29


class WideScreen(RigTestCase):
    def test_Dialogs_AreCentredOnTheWorkArea_AndStayOnTop(self):
        installed_apps.install(self.rig, 5)  # so that Setting has something to list
        self.start_utility(Device("01", RECEIVER, "rx"))
        self.wait_requests(1)
        # Each closed without a choice: Setting's OK would make TotalMedia the
        # default, and the shut-down key would then be another.
        ways = [(ABOUT, "OK", self.about_through_the_tray_menu),
                (SETTING, "OK", lambda: self.rig.post_main(WM_COMMAND, 32, 0)),
                (SHUT_DOWN, "Cancel", lambda: press(self.rig, QUARTZVIEW_SHUT_DOWN_KEY))]
        for caption, button, open_it in ways:
            with self.subTest(caption):
                open_it()
                tray.wait_dialog(self.rig, caption, {button})
                (left, top, right, bottom), topmost = tray.window_rect(self.rig, "#32770", caption)
                self.assertTrue(topmost, "kept on top")
                self.assertLessEqual(abs((left + right) // 2 - 960), 1, (left, right))
                # The work area is the screen less what a taskbar takes.
                self.assertTrue(0 < top and bottom <= 1080 and abs((top + bottom) // 2 - 540) <= 60, (top, bottom))
                self.rig.wintool("post", "#32770", caption, str(WM_CLOSE), "0", "0", check=True)
                wait_until(lambda: not self.rig.window_exists("#32770", caption), 10, f"{caption} to close")

    def about_through_the_tray_menu(self):
        corner = (1919, 1079)
        left, top, right, bottom = tray.menu_rect(tray.open_menu(self.rig, through_icon=True, at=corner))
        self.assertTrue(0 <= left < right <= 1920 and 0 <= top < bottom <= 1080, (left, top, right, bottom))
        self.assertTrue(right >= corner[0] - 1 or bottom >= corner[1] - 1, "not opened at the pointer")
        tray.choose(self.rig, tray.VK_UP, tray.VK_UP, tray.VK_RETURN)


if __name__ == "__main__":
    unittest.main()
