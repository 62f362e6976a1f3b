"""Which capture device RemoteControl.exe opens: FriendlyName order, exact
case, the last of equal names, bind failures, and the name it joins the
graph under. Seen from the stand-in driver: which instance gets polled."""
import unittest

from harness.capture_driver import Device
from harness.case import RigTestCase
from harness.rig import TRAY_CALLBACK, WM_LBUTTONDOWN
from harness.waits import hold_for

NAME_1 = "Philips Silicon (7171-35) WDM Video Capture"
NAME_2 = "Philips Cap713x Video Capture"
NAME_3 = "713x BDA Analog Capture"
NAME_4 = "7162 BDA Analog Capture1"
MISSING_FILTER_TEXT = "Can't find the BDA video capture filter.\n\nPlease check your hardware or drivers. "

# How long "nothing is polled" is watched: about eight 65 ms ticks.
QUIET_SPAN = 0.55


class Discovery(RigTestCase):
    def assertPolled(self, tag):
        """The device with this tag, and only it, gets status requests."""
        requests = self.wait_requests(3)
        self.assertEqual({r["tag"] for r in requests}, {tag})
        joins = [e for e in self.rig.driver_log.entries("join") if e["graph"] == "1"]
        self.assertEqual([(j["tag"], j["name"]) for j in joins], [(tag, NAME_1)])

    def assertNoReceiver(self, process):
        """No request at all, and the tray click reports the missing filter."""
        hold_for(QUIET_SPAN, lambda: not self.rig.driver_log.requests(), "no driver request")
        self.rig.post_main(TRAY_CALLBACK, 0, WM_LBUTTONDOWN)
        self.rig.wait_window("#32770", "Remote Control")
        self.assertIn(MISSING_FILTER_TEXT, self.rig.dialog_texts("Remote Control"))
        self.rig.wintool("press", "Remote Control", "OK", check=True)
        self.assertEqual(self.wait_exit(process), 0)

    def test_EachNameAlone_IsFound_AndJoinedUnderTheFirstName(self):
        for name in (NAME_1, NAME_2, NAME_3, NAME_4):
            with self.subTest(name=name):
                self.fresh_rig()
                self.start_utility(Device("01", name, "only"))
                self.assertPolled("only")

    def test_EarlierNameOfTheList_WinsOverEnumerationOrder(self):
        for devices, polled in [
            ([Device("01", NAME_4, "n4"), Device("02", NAME_3, "n3"), Device("03", NAME_2, "n2"),
              Device("04", NAME_1, "n1")], "n1"),
            ([Device("01", NAME_3, "n3"), Device("02", NAME_2, "n2"), Device("03", NAME_4, "n4")], "n2"),
            ([Device("01", NAME_4, "n4"), Device("02", NAME_3, "n3")], "n3"),
        ]:
            with self.subTest(polled=polled):
                self.fresh_rig()
                self.start_utility(*devices)
                self.assertPolled(polled)

    def test_TwoDevicesOfOneName_TheLastEnumeratedIsPolled(self):
        self.start_utility(Device("01", NAME_2, "first"), Device("02", NAME_2, "second"))
        self.assertPolled("second")

    def test_MatchThatCannotBeBound_MakesItsNameYieldNothing_AndTheNextNameIsTried(self):
        for devices in [
            # bound first, then a failing match: the whole name yields nothing
            [Device("01", NAME_1, "bound"), Device("02", NAME_1, "broken", fail_load=True),
             Device("03", NAME_2, "next")],
            # a failing match ends the search even before a later good one
            [Device("01", NAME_1, "broken", fail_load=True), Device("02", NAME_1, "later"),
             Device("03", NAME_2, "next")],
        ]:
            with self.subTest(devices=[d.tag for d in devices]):
                self.fresh_rig()
                self.start_utility(*devices)
                self.assertPolled("next")

    def test_NoUsableReceiver_BehavesAsNoDevice(self):
        for devices in [
            [],
            [Device("01", NAME_1.lower(), "lower")],
            [Device("01", "philips Cap713x Video Capture", "case")],
            [Device("01", NAME_3.upper(), "upper")],
            [Device("01", NAME_4 + " ", "blank")],
            [Device("01", NAME_2, "broken", fail_load=True)],
            [Device("01", NAME_1, "nojoin", fail_join=True)],
            [Device("01", NAME_1, "noks", no_ks_control=True)],
        ]:
            with self.subTest(devices=[(d.friendly_name, d.tag) for d in devices]):
                self.fresh_rig()
                process = self.start_utility(*devices)
                self.assertNoReceiver(process)


if __name__ == "__main__":
    unittest.main()
