"""The receiver requests RemoteControl.exe sends on its 65 ms tick, byte by
byte as the stand-in driver receives them, and how polling survives a
misbehaving driver and a system suspend."""
import statistics
import struct
import time
import unittest

from harness.capture_driver import Device
from harness.case import RigTestCase
from harness.rig import WM_POWERBROADCAST, PBT_APMSUSPEND, PBT_APMRESUMESUSPEND
from harness.waits import hold_for, wait_until

RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
# The two vendor property sets as they lie in memory (Data1..3 little-endian).
STATUS_SET = bytes.fromhex("89e59094176bec4494355e3587f9fbce")
TRANSFER_SET = bytes.fromhex("66c4b1fb03be0f479a8fa2aa0fa2c0ee")
KSPROPERTY_TYPE_GET = 1
E_FAIL = 0x80004005


def header(prop):
    return prop[:16], struct.unpack_from("<II", prop, 16)


class PollingTestCase(RigTestCase):
    def setUp(self):
        super().setUp()
        self.process = self.start_utility(Device("01", RECEIVER, "rx"))
        self.wait_requests(1)

    def requests_after(self, index, count=1, timeout=10):
        """The requests logged after the first `index`, once there are `count` of them."""
        log = self.rig.driver_log
        return wait_until(lambda: (r := log.requests()[index:]) and len(r) >= count and r, timeout,
                          f"{count} requests after #{index}")

    def transfers_after(self, index, count=1, timeout=10):
        log = self.rig.driver_log
        return wait_until(lambda: (t := [r for r in log.requests()[index:] if r["kind"] == "transfer"])
                          and len(t) >= count and t, timeout, f"{count} transfers after #{index}")

    def mark(self):
        return len(self.rig.driver_log.requests())

    def assertStillPolling(self):
        self.assertIsNone(self.process.poll(), "RemoteControl.exe ended")
        self.requests_after(self.mark(), 3)


class RequestLayout(PollingTestCase):
    def test_IdleTick_IsOneStatusRequestForSelector8_AboutEvery65Ms(self):
        requests = self.requests_after(0, 31, timeout=15)[:31]
        for r in requests:
            self.assertEqual((r["kind"], r["plen"], r["dlen"], r["data"]), ("status", "32", "1", "08"))
            self.assertEqual(header(r.prop), (STATUS_SET, (0, KSPROPERTY_TYPE_GET)))
            self.assertEqual(r.prop[24], 8, "selector")
        mean = statistics.mean(b.time - a.time for a, b in zip(requests, requests[1:]))
        self.assertTrue(0.055 <= mean <= 0.080, f"mean tick interval {mean * 1000:.1f} ms")

    def test_WaitingKeys_AreReadOnePerTick_WithATransferRightAfterTheStatus(self):
        start = self.mark()
        self.rig.control.key(16, 200, 0)
        self.transfers_after(start, 3)
        hold_for(0.3, lambda: len(self.transfers_after(start)) == 3, "exactly three transfers")
        requests = [r for r in self.rig.driver_log.requests()[start:]]
        kinds = [r["kind"] for r in requests]
        first = kinds.index("transfer") - 1
        self.assertEqual(kinds[first:first + 7], ["status", "transfer"] * 3 + ["status"])
        ticks = requests[first:first + 7]
        for status, transfer, code in zip(ticks[0::2], ticks[1::2], (16, 200, 0)):
            self.assertEqual(status["answer"], "00", "a key was waiting")
            self.assertLess(transfer.time - status.time, 0.03, "status and transfer belong to one tick")
            self.assertEqual((transfer["plen"], transfer["dlen"]), ("48", "8"))
            prop = transfer.prop
            self.assertEqual(header(prop), (TRANSFER_SET, (0, KSPROPERTY_TYPE_GET)))
            self.assertEqual(prop[24], 0x60, "device address")
            write_count, read_buffer, read_count = struct.unpack_from("<I I I", prop, 32)
            self.assertEqual((write_count, read_count), (0, 4))
            self.assertNotEqual(read_buffer, 0)
            self.assertEqual(transfer["answer"].split()[0], f"code={code}")
        self.assertEqual(ticks[6]["answer"], "01", "nothing waits after the third code")


class DriverFaults(PollingTestCase):
    def test_FailedOrNonZeroStatus_IsNoKey_UntilTheStatusHeals(self):
        for fault, heal, logged in [
            ("status-hr 0x80004005", "status-hr 0", lambda r: r["hr"] == "0x80004005"),
            ("status-hr 1", "status-hr 0", lambda r: r["hr"] == "0x00000001"),        # S_FALSE
            ("status-hr 0x8007001F", "status-hr 0", lambda r: r["hr"] == "0x8007001f"),
            ("status-byte 3", "status-byte auto", lambda r: r["answer"] == "03"),
            ("status-byte 0x80", "status-byte auto", lambda r: r["answer"] == "80"),
        ]:
            with self.subTest(fault=fault):
                start = self.mark()
                self.rig.control.send(fault, "key 42")
                # The driver writes status 0 (a key waits) even into failing answers.
                wait_until(lambda: len([r for r in self.rig.driver_log.requests()[start:] if logged(r)]) >= 5,
                           10, f"five answers under {fault!r}")
                self.assertEqual([r for r in self.rig.driver_log.requests()[start:] if r["kind"] == "transfer"], [])
                self.rig.control.send(heal)
                transfer = self.transfers_after(start)[0]
                self.assertEqual(transfer["answer"].split()[0], "code=42")

    def test_FailingTransfer_KeepsPolling_AndTheCodeIsReadOnceItWorks(self):
        start = self.mark()
        self.rig.control.send("transfer-hr 0x80004005", "key 7")
        failed = self.transfers_after(start, 5)
        self.assertTrue(all(t["hr"] == "0x80004005" for t in failed))
        self.assertStillPolling()
        self.rig.control.send("transfer-hr 0")
        good = wait_until(lambda: [t for t in self.transfers_after(start) if t["hr"] == "0x00000000"], 10,
                          "a transfer that succeeds")
        self.assertEqual(good[0]["answer"].split()[0], "code=7")
        self.assertStillPolling()

    def test_GarbageAndSlowAnswers_NeverStopPolling(self):
        for fault, count in [("garbage 15", 15), ("delay 250 3", 3), ("delay 40 10", 10)]:
            with self.subTest(fault=fault):
                start = self.mark()
                self.rig.control.send(fault)
                self.requests_after(start, count + 3, timeout=15)
                self.assertStillPolling()
                at = self.mark()
                self.rig.control.key(99)
                self.assertEqual(self.transfers_after(at)[0]["answer"].split()[0], "code=99")


class Suspend(PollingTestCase):
    def wait_quiet(self):
        """Waits until no request came for 0.3 s, then checks none comes for 0.6 s more."""
        log = self.rig.driver_log
        wait_until(lambda: time.time() - log.requests()[-1].time > 0.3, 10, "requests to stop")
        count = self.mark()
        hold_for(0.6, lambda: self.mark() == count, "the silence")

    def test_SuspendStopsRequests_ResumeRestartsThem(self):
        for suspend in (PBT_APMSUSPEND, 0):  # PBT_APMQUERYSUSPEND stops them too
            with self.subTest(suspend=suspend):
                self.rig.post_main(WM_POWERBROADCAST, suspend, 0)
                self.wait_quiet()
                self.assertIsNone(self.process.poll())
                self.rig.post_main(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0)
                self.assertStillPolling()

    def test_OtherPowerEvents_DoNotStopRequests(self):
        for event in (10, 18, 9):  # power status change, resume automatic, resume critical (not handled)
            with self.subTest(event=event):
                self.rig.post_main(WM_POWERBROADCAST, event, 0)
                self.assertStillPolling()


if __name__ == "__main__":
    unittest.main()
