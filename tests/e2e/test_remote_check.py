"""Remote Check (RemoteCheck.exe): the receiver it reports, the words it shows
for each code as it arrives, that it sends nothing anywhere, and how it makes
way for a running Remote Control and starts it again."""
import re
import unittest

from harness import paths, remote_check
from harness.capture_driver import Device
from harness.case import RigTestCase
from harness.input_monitor import InputMonitor
from harness.remote_check import CHECK_CLASS, CHECK_TITLE
from harness.remote_keys import press
from harness.rig import MAIN_WINDOW, WM_CLOSE
from harness.tv_app import TvApp
from harness.waits import hold_for, wait_until

RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
GUIDE_TITLE = "Alder Remote Control: user guide - Browser"
WM_COMMAND, COPY_ID = 0x0111, 102
# The time, the code as the key tables write it ("2 (digit 3)"), press or
# repeat, the verdict: tab-separated, as the Copy command copies them.
LINE = re.compile(r"^\d\d:\d\d:\d\d\.\d\d\d\t(\d+)(?: \([^)\t]*\))?\t(press|repeat)\t(.*)$")


class RemoteCheck(RigTestCase):
    def shown(self):
        """The code list, oldest first, as (code, press or repeat, words)."""
        entries = remote_check.code_lines(self.rig)
        parsed = [LINE.match(entry) for entry in entries]
        self.assertTrue(all(parsed), f"lines not in the documented form: {entries}")
        return [(int(m[1]), m[2], m[3]) for m in reversed(parsed)]

    def test_Receiver_FoundOrNot_IsReportedInWords(self):
        cases = [
            ((Device("01", "USB Video Camera", "cam"), Device("02", RECEIVER, "rx")),
             [f'Remote Control uses "{RECEIVER}"', "Its driver answers"]),
            ((Device("01", "USB Video Camera", "cam"),),
             ['"USB Video Camera"', "None is the tuner card's capture filter"]),
            ((), ["No video-capture device is present."]),
        ]
        for devices, expected in cases:
            with self.subTest(devices=[d.friendly_name for d in devices]):
                self.fresh_rig()
                if devices:
                    self.rig.register_devices(*devices)
                remote_check.start(self.rig)
                text = wait_until(lambda: expected[-1] in (report := remote_check.receiver_report(self.rig))
                                  and report, 10, "the receiver report")
                for words in expected:
                    self.assertIn(words, text)

    def test_Codes_AreShownWithWhatTheUtilityWouldDo_AndNothingIsSent(self):
        self.rig.register_devices(Device("01", RECEIVER, "rx"))
        # Windows 10 as Wine plays it: only a program whose manifest declares
        # Windows 10 is told 10.0, others 6.2 as on Windows itself.
        self.rig.prefix.reg_add(r"HKCU\Software\Wine", "Version", "REG_SZ", "win10")
        monitor = InputMonitor(self.rig)
        # The installed guide in a browser carries the product's name: it is
        # not the utility, so Remote Check neither asks about it nor closes it.
        guide = TvApp(self.rig, [("BrowserStandIn", GUIDE_TITLE)])
        remote_check.start(self.rig)
        self.wait_requests(1, kind="status")
        pointer = monitor.position()
        press(self.rig, 2, 12, 24, 29, 255)
        totalmedia = TvApp(self.rig, [("TotalMediaStandIn", "Arcsoft TotalMedia")])
        press(self.rig, 16, 16, 12, 5)
        expected = [
            (2, "press", "pointer: move up (no TV application recognised)"),
            (12, "press", "Power: Quartzview is not installed, so it says \"Please re-initialize the TV "
                          "application settings.\", then closes the other TV applications, then starts nothing"),
            (24, "press", "nothing (not the shut-down key of the default application)"),
            (29, "press", "opens the Shut Down dialog"),
            # 29 opened the Shut Down dialog (for the utility); any other code cancels it.
            (255, "press", "(the driver said a code was waiting, but the read delivered none) Shut Down dialog: "
                           "cancelled (only Power confirms it)"),
            (16, "press", "(recognised) TotalMedia: Up"),
            (16, "repeat", "TotalMedia: nothing (a held key acts on the press and every tenth repeat)"),
            (12, "press", "Power: closes TotalMedia"),
            # Power let it go; its window is still there, so the detection finds it again.
            (5, "press", "(recognised) TotalMedia: Num 6"),
        ]
        wait_until(lambda: len(self.shown()) >= len(expected), 10, "every code in the list")
        self.assertEqual(self.shown(), expected)
        # Nothing reached the stand-in, the keyboard, the buttons or the pointer.
        hold_for(0.5, lambda: (not totalmedia.messages() and not guide.messages() and not monitor.keys()
                               and not monitor.buttons() and monitor.position() == pointer),
                 "no input from Remote Check")
        self.assertTrue(self.rig.window_exists("BrowserStandIn", GUIDE_TITLE), "the guide's window was closed")
        # Copy (nothing selected): every line, oldest first, after a header
        # that names the program, Windows and the receiver.
        self.rig.post(CHECK_CLASS, CHECK_TITLE, WM_COMMAND, COPY_ID, 0)
        copied = wait_until(lambda: (r := self.rig.wintool("clipboard")).returncode == 0 and r.stdout, 10,
                            "the lines on the clipboard")
        # (Wine's console writes each CRLF as CR CR LF: read as two breaks.)
        lines = [line for line in copied.splitlines() if line]
        self.assertRegex(lines[0], r"^Alder Remote Check \d+\.\d+\.\d+\.\d+ on Windows 10\.0 build \d+$")
        self.assertIn(f'Remote Control uses "{RECEIVER}". Its driver answers.', lines[2])
        self.assertEqual([(int(m[1]), m[2], m[3]) for m in map(LINE.match, lines[3:])], expected)
        self.assertFalse(self.rig.window_exists("#32770", "Remote Control"), "a message box was shown")

    def test_RunningUtility_IsClosedWhenAsked_AndStartedAgainAtTheEnd(self):
        utility = self.start_utility(Device("01", RECEIVER, "rx"))
        # A utility slow to close, as on a busy machine: its tick is held up
        # in the driver for 8 s. Remote Check reads once it has gone, however
        # long that takes. (A new driver instance reads the script from its
        # start, so it is emptied once the utility has taken the delay.)
        before = len(self.rig.driver_log.entries("control"))
        self.rig.control.send("delay 8000 1")
        wait_until(lambda: len(self.rig.driver_log.entries("control")) > before, 10,
                   "the utility's driver to take the delay")
        self.rig.control.path.write_text("")
        check = self.rig.spawn(paths.remote_check_exe(), output_name="remote-check.out")
        self.rig.wait_window("#32770", CHECK_TITLE)
        self.assertTrue(any("Close Remote Control while Remote Check runs?" in text
                            for text in self.rig.dialog_texts(CHECK_TITLE)))
        self.assertEqual(self.rig.wintool("press", CHECK_TITLE, "&Yes").returncode, 0)
        self.assertEqual(self.wait_exit(utility), 0)
        self.rig.wait_window(CHECK_CLASS, CHECK_TITLE)
        press(self.rig, 16)
        wait_until(lambda: self.shown(), 10, "the code in Remote Check's list")
        self.rig.post(CHECK_CLASS, CHECK_TITLE, WM_CLOSE)
        wait_until(lambda: check.poll() is not None, 20, "RemoteCheck.exe to end")
        self.rig.wait_window(MAIN_WINDOW, MAIN_WINDOW)


if __name__ == "__main__":
    unittest.main()
