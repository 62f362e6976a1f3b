"""RemoteControl.exe recovers from what the system does around it: a suspend
that some program refuses, a wake without a user, and a restart of the shell
that forgets every tray icon."""
import re
import time
import unittest

from harness.capture_driver import Device
from harness.case import RigTestCase
from harness.rig import MAIN_WINDOW, WM_POWERBROADCAST, PBT_APMSUSPEND, PBT_APMRESUMESUSPEND
from harness.waits import hold_for, wait_until

RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
PBT_APMQUERYSUSPEND = 0
PBT_APMQUERYSUSPENDFAILED = 2
PBT_APMRESUMEAUTOMATIC = 0x12
WM_RBUTTONDOWN = 0x0204


class RecoveryTestCase(RigTestCase):
    def setUp(self):
        super().setUp()
        self.process = self.start_utility(Device("01", RECEIVER, "rx"))
        self.wait_requests(1)

    def request_count(self):
        return len(self.rig.driver_log.requests())

    def wait_quiet(self):
        """Polling has stopped: no request for 0.3 s, then none for 0.6 s more."""
        log = self.rig.driver_log
        wait_until(lambda: time.time() - log.requests()[-1].time > 0.3, 10, "requests to stop")
        count = self.request_count()
        hold_for(0.6, lambda: self.request_count() == count, "the silence")

    def assertPolling(self):
        """Requests come again, one per tick, and a queued key is read."""
        self.assertIsNone(self.process.poll(), "RemoteControl.exe ended")
        start = self.request_count()
        wait_until(lambda: self.request_count() >= start + 5, 10, "five more requests")
        self.rig.control.key(99)
        log = self.rig.driver_log
        wait_until(lambda: [r for r in log.requests("transfer") if r["answer"].startswith("code=99")], 10,
                   "code 99 to be read")


class PowerEvents(RecoveryTestCase):
    def test_RefusedSuspend_RestartsPolling(self):
        self.rig.post_main(WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0)
        self.wait_quiet()
        self.rig.post_main(WM_POWERBROADCAST, PBT_APMQUERYSUSPENDFAILED, 0)
        self.assertPolling()

    def test_UnattendedWake_RestartsPolling_AndALaterResumeAddsNoSecondTimer(self):
        self.rig.post_main(WM_POWERBROADCAST, PBT_APMSUSPEND, 0)
        self.wait_quiet()
        self.rig.post_main(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0)
        self.assertPolling()
        self.rig.post_main(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0)
        self.assertPolling()
        # One timer, not two: about 15 requests a second, not 30.
        start, began = self.request_count(), time.time()
        wait_until(lambda: time.time() - began >= 2.0, 5, "two seconds")
        per_second = (self.request_count() - start) / (time.time() - began)
        self.assertLess(per_second, 22, "requests per second")


class ShellRestart(RigTestCase):
    """Without a capture device, so that a click on the icon shows whose it is:
    the utility's report of the missing filter."""

    def setUp(self):
        super().setUp()
        self.process = self.start_utility()

    def tray_icons(self):
        """Handles of the icon windows on Wine's stand-alone tray."""
        out = self.rig.wintool("trayicons", check=True).stdout
        return re.findall(r"^trayicon hwnd=(0x[0-9a-f]+)", out, re.M)

    def assertIconIsTheUtilitys(self, icon):
        self.rig.wintool("posthandle", icon, str(WM_RBUTTONDOWN), "0", "0", check=True)
        self.rig.wait_window("#32770", "Remote Control")
        self.assertIn("Can't find the BDA video capture filter.", self.rig.dialog_texts("Remote Control")[-1])

    def test_TaskbarCreated_AddsTheIconAgain(self):
        wait_until(lambda: len(self.tray_icons()) == 1, 10, "the utility's tray icon")
        # The shell forgets the icon, as a restarted Explorer would.
        self.rig.wintool("forgeticon", MAIN_WINDOW, MAIN_WINDOW, "10", check=True)
        wait_until(lambda: not self.tray_icons(), 10, "the icon to be gone")

        self.rig.wintool("broadcast", "TaskbarCreated", check=True)

        icons = wait_until(lambda: self.tray_icons(), 10, "the icon to come back")
        self.assertEqual(len(icons), 1)
        self.assertIconIsTheUtilitys(icons[0])

    def test_TaskbarCreated_WhileTheIconIsShown_LeavesOneIcon(self):
        icons = wait_until(lambda: self.tray_icons(), 10, "the utility's tray icon")
        self.rig.wintool("broadcast", "TaskbarCreated", check=True)
        hold_for(1.0, lambda: self.tray_icons() == icons, "the one icon")
        self.assertIconIsTheUtilitys(icons[0])


if __name__ == "__main__":
    unittest.main()
