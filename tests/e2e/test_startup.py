"""Start-up of RemoteControl.exe: its settings key, the AlwaysRemoteOff switch,
and the WM_CLOSE it sends to earlier copies and their dialogs."""
import unittest

from harness.capture_driver import Device
from harness.case import RigTestCase
from harness.rig import MAIN_WINDOW
from harness.tv_app import TvApp
from harness.waits import hold_for, wait_until

SETTINGS_KEY = r"HKLM\Software\Tarvex Multimedia\Nimbus XQ Utilities"
RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
GUIDE_TITLE = "Alder Remote Control: user guide - Browser"


class SettingsKey(RigTestCase):
    def test_FirstStart_CreatesKeyWithDefaultApp6AndRemoteOn(self):
        self.assertIsNone(self.rig.prefix.reg_values(SETTINGS_KEY), "the template must be clean")
        self.start_utility()
        values = wait_until(lambda: self.rig.prefix.reg_values(SETTINGS_KEY), 10, "the settings key")
        self.assertEqual(values, {"DefaultTVAPP": ("REG_DWORD", 6), "AlwaysRemoteOff": ("REG_DWORD", 0)})

    def test_MissingDefaultApp_IsRecreated_AndPresetValuesAreKept(self):
        for preset, expected in [
            ({"AlwaysRemoteOff": 0}, {"DefaultTVAPP": 6, "AlwaysRemoteOff": 0}),
            ({"DefaultTVAPP": 3}, {"DefaultTVAPP": 3, "AlwaysRemoteOff": 0}),
            ({"DefaultTVAPP": 9, "AlwaysRemoteOff": 2}, {"DefaultTVAPP": 9, "AlwaysRemoteOff": 2}),
        ]:
            with self.subTest(preset=preset):
                self.rig.prefix.reg_delete_key(SETTINGS_KEY)
                for name, value in preset.items():
                    self.rig.prefix.reg_add(SETTINGS_KEY, name, "REG_DWORD", value)
                process = self.start_utility()
                values = wait_until(
                    lambda: (v := self.rig.prefix.reg_values(SETTINGS_KEY)) and len(v) == 2 and v, 10,
                    "both settings values")
                self.assertEqual({k: v[1] for k, v in values.items()}, expected)
                self.rig.post_main(0x0010)  # WM_CLOSE: make room for the next start
                self.assertEqual(self.wait_exit(process), 0)


class AlwaysRemoteOff(RigTestCase):
    def test_One_EndsAtOnceWithExitCode0_WithoutPolling(self):
        self.rig.prefix.reg_add(SETTINGS_KEY, "AlwaysRemoteOff", "REG_DWORD", 1)
        self.rig.register_devices(Device("01", RECEIVER, "A"))
        process = self.rig.start_remote_control()
        self.assertEqual(self.wait_exit(process), 0)
        self.assertEqual(self.rig.driver_log.requests(), [], "no timer may have run")

    def test_OtherValues_RunNormally(self):
        self.rig.register_devices(Device("01", RECEIVER, "A"))
        for value in (2, 255):
            with self.subTest(value=value):
                self.rig.prefix.reg_add(SETTINGS_KEY, "AlwaysRemoteOff", "REG_DWORD", value)
                before = len(self.rig.driver_log.requests())
                process = self.start_utility()
                self.wait_requests(before + 3)
                self.assertIsNone(process.poll())
                self.rig.post_main(0x0010)
                self.assertEqual(self.wait_exit(process), 0)


class EarlierCopies(RigTestCase):
    def test_EveryCopy_AndTheFirstWindowPerOldTitlePrefix_GetWmClose_OthersNamedAfterTheProductDoNot(self):
        # Created in this order, so the Z order (newest first) is the reverse.
        windows = [
            (MAIN_WINDOW, "Alder Remote Control (older copy)"),  # a copy, lowest: closed too
            ("StandInA", "Remote Control - Setting"),     # third name, but below the next one
            ("StandInB", "Remote Control 2"),             # third name, topmost of its kind
            ("BrowserStandIn", GUIDE_TITLE),              # the installed guide in a browser
            ("CabinetStandIn", "Alder Remote Control"),   # a folder window of the install folder
            (MAIN_WINDOW, "Alder Remote Control X"),      # a copy: its class counts, not its title
            ("StandInD", "Birch Remote Control"),         # first name
            ("StandInE", "remote control"),               # wrong case
            ("StandInF", "My Remote Control"),            # not a prefix
            ("StandInG", "Remote Contro"),                # too short
        ]
        tv = TvApp(self.rig, windows, stay=True)
        zorder = [title for title in self.rig.top_level_titles() if title in dict(map(reversed, windows))]
        self.assertLess(zorder.index("Remote Control 2"), zorder.index("Remote Control - Setting"),
                        "test set-up: the later window must be above the earlier")
        self.start_utility()
        tv.barrier()
        closed = sorted(e["title"] for e in tv.messages("WM_CLOSE"))
        self.assertEqual(closed, sorted(["Remote Control 2", "Birch Remote Control", "Alder Remote Control X",
                                         "Alder Remote Control (older copy)"]))

    def test_StandInWindowNamedLikeTheUtility_IsClosed_AndTheNewCopyRuns(self):
        tv = TvApp(self.rig, [(MAIN_WINDOW, MAIN_WINDOW)], stay=False)
        process = self.rig.start_remote_control()
        wait_until(lambda: tv.process.poll() is not None, 20, "the stand-in to end on WM_CLOSE")
        self.assertEqual([e["title"] for e in tv.messages("WM_CLOSE")], [MAIN_WINDOW])
        self.rig.wait_window(MAIN_WINDOW, MAIN_WINDOW)
        hold_for(0.5, lambda: process.poll() is None, "the new copy running")

    def test_OlderRemoteControl_Ends_AndTheNewerOneKeepsRunning(self):
        older = self.start_utility()
        newer = self.rig.start_remote_control()
        self.assertEqual(self.wait_exit(older), 0)
        self.rig.wait_window(MAIN_WINDOW, MAIN_WINDOW)
        hold_for(0.5, lambda: newer.poll() is None, "the newer copy running")
        self.assertEqual(self.rig.top_level_titles().count(MAIN_WINDOW), 1)


if __name__ == "__main__":
    unittest.main()
