"""The rig itself, without RemoteControl.exe: what Wine's device stack does
with the stand-in driver's registration, and that the driver answers its
script as documented. A fault here would make every other verdict void."""
import unittest

from harness import paths
from harness.capture_driver import Device
from harness.case import RigTestCase


class StandInDriver(RigTestCase):
    def probe(self, *args):
        return self.rig.prefix.run([paths.equipment("capture_probe.exe"), *args]).stdout.splitlines()

    def test_EnumeratesInSubkeyOrder_AndALoadFailureFailsTheBind(self):
        self.rig.register_devices(Device("b2", "Second", "B"), Device("a1", "First", "A"),
                                  Device("c3", "Broken", "C", fail_load=True))
        self.assertEqual(self.probe("list")[1:], ['device 0 "First"', 'device 1 "Second"', 'device 2 "Broken"'])
        self.assertIn("bind hr=0x80004005", self.probe("poll", "2", "1"))
        self.assertEqual([(e.event, e["tag"], e.get("result")) for e in self.rig.driver_log.entries()],
                         [("load", "C", "fail"), ("release", "C", None)])

    def test_AnswersTheScript_AndLeavesTheGraphCleanly(self):
        self.rig.register_devices(Device("01", "Only", "A"))
        self.rig.control.send("key 16 0x21", "status-hr 0x80004005 1", "transfer-hr 0x80004005 1",
                              "status-byte 9 1")
        self.assertEqual(self.probe("poll", "0", "6")[3:], [
            # Both one-shot status overrides apply to the first status request;
            # a failing answer still carries the status byte.
            "tick 0 status hr=0x80004005 byte=9",
            "tick 1 status hr=0x00000000 byte=0 transfer hr=0x80004005 read=eeeeeeee",
            "tick 2 status hr=0x00000000 byte=0 transfer hr=0x00000000 read=10000000",
            "tick 3 status hr=0x00000000 byte=0 transfer hr=0x00000000 read=21000000",
            "tick 4 status hr=0x00000000 byte=1",
            "tick 5 status hr=0x00000000 byte=1",
            "released",
        ])
        events = [(e.event, e.get("graph"), e.get("name")) for e in self.rig.driver_log.entries()
                  if e.event in ("join", "enumpins", "setsync", "release")]
        self.assertEqual(events, [("join", "1", "probe"), ("enumpins", None, None), ("join", "0", "(null)"),
                                  ("setsync", None, None), ("release", None, None)])


if __name__ == "__main__":
    unittest.main()
