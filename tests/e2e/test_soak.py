"""A soak of the real RemoteControl.exe: thousands of remote codes through the
stand-in driver while stand-in applications of all eight kinds come and go
(made active by a key, closed by the Power key or by the test), with display
changes, suspends (refused, unattended and resumed) and a shell that forgets
the tray icon. Afterwards the program must still be there and answer keys,
with its windows and memory where they were, no modifier key left down and
its settings key as it was.

Runs for ALDER_SOAK_SECONDS (150 by default; 3600 for the hour-long soak).
Wine does not count USER or GDI objects (GetGuiResources answers 0) nor
private bytes (PrivateUsage answers 0): the program's windows are counted
instead, and its private memory is read from Linux (/proc/<pid>/smaps_rollup,
the pages it wrote).
"""
import os
import random
import re
import time
import unittest

from harness.capture_driver import Device
from harness.case import RigTestCase
from harness.remote_keys import press
from harness.rig import MAIN_WINDOW, WM_CLOSE, WM_POWERBROADCAST, PBT_APMSUSPEND, PBT_APMRESUMESUSPEND
from harness.tv_app import TvApp
from harness.waits import wait_until

RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
SETTINGS_KEY = r"HKLM\Software\Tarvex Multimedia\Nimbus XQ Utilities"
POWER = 12
WM_DISPLAYCHANGE = 0x007E
PBT_APMQUERYSUSPEND = 0
PBT_APMQUERYSUSPENDFAILED = 2
PBT_APMRESUMEAUTOMATIC = 0x12
# One window of each application, as its lookups know it, by AppId.
STAND_INS = [
    ("PowerCinemaStandIn", "PowerCinema"),
    ("HomeTheaterStandIn", "Home Theater"),
    ("MyIcTvStandIn", "My IC-TV Media Center"),
    ("eHome Render Window", "Media Center"),
    ("TotalMediaStandIn", "Arcsoft TotalMedia"),
    ("TarvexMainPanel_Class", "TVR"),
    ("Streamzap.WM.D3D", "Beyond TV"),
    ("WinDvrStandIn", "InterVideo WinDVR 6"),
]
BATCH = 60
MEMORY_BOUND = 1024 * 1024  # bytes of private memory the program may gain


def soak_seconds():
    return float(os.environ.get("ALDER_SOAK_SECONDS", "150"))


class Soak(RigTestCase):
    def setUp(self):
        super().setUp()
        # Default application 0: the Power key with nothing active launches
        # nothing and no shut-down key opens the dialog, so any code may be fed.
        self.rig.prefix.reg_add(SETTINGS_KEY, "DefaultTVAPP", "REG_DWORD", 0)
        self.rig.prefix.reg_add(SETTINGS_KEY, "AlwaysRemoteOff", "REG_DWORD", 0)
        self.process = self.start_utility(Device("01", RECEIVER, "rx"))
        self.wait_requests(1)
        self.random = random.Random(int(os.environ.get("ALDER_SOAK_SEED", "1")))
        self.fed = 0

    # -- what the program holds -------------------------------------------
    def figures(self):
        out = self.rig.wintool("process", "RemoteControl.exe", check=True).stdout
        fields = dict(re.findall(r"(\w+)=(\d+)", out))
        figures = {name: int(fields[name]) for name in ("user", "gdi", "windows")}
        figures["private"] = self.linux_private_bytes()
        return figures

    def linux_private_bytes(self):
        """Private_Dirty + Swap of the Linux process that runs RemoteControl.exe: the
        memory it wrote itself. Private_Clean is left out: file pages count as
        private only while no other process maps them, so they come and go as
        other Wine programs (the wintool that asks, the stand-ins) start and end."""
        for pid in os.listdir("/proc"):
            if not pid.isdigit():
                continue
            try:
                with open(f"/proc/{pid}/cmdline", "rb") as f:
                    cmdline = f.read()
                if b"RemoteControl.exe" not in cmdline:
                    continue
                with open(f"/proc/{pid}/environ", "rb") as f:
                    if f"WINEPREFIX={self.rig.prefix.path}".encode() not in f.read():
                        continue
                with open(f"/proc/{pid}/smaps_rollup") as f:
                    rollup = f.read()
            except OSError:
                continue
            kb = sum(int(v) for v in re.findall(r"^(?:Private_Dirty|Swap):\s+(\d+) kB", rollup, re.M))
            return kb * 1024
        raise AssertionError("no Linux process runs this prefix's RemoteControl.exe")

    # -- what the soak does -----------------------------------------------
    def feed(self, count):
        codes = [self.random.choice([c for c in range(256) if c != POWER]) for _ in range(count)]
        press(self.rig, *codes, timeout=count * 0.065 + 30)
        self.fed += count

    def application_cycle(self, kind):
        cls, title = STAND_INS[kind]
        app = TvApp(self.rig, [(cls, title)], stay=False)
        self.feed(BATCH)  # the first routed code makes it active; the rest go to its key map
        press(self.rig, POWER)
        self.fed += 1
        # Power closes those that Alt+F4 or WM_CLOSE can close; the test closes the rest.
        try:
            wait_until(lambda: app.process.poll() is not None, 3, "the stand-in to close")
        except AssertionError:
            self.rig.post(cls, title, WM_CLOSE)
            wait_until(lambda: app.process.poll() is not None, 10, "the stand-in to close")

    def system_events(self, cycle):
        self.rig.post_main(WM_DISPLAYCHANGE, 32, (768 << 16) | 1024)
        if cycle % 3 == 0:
            self.rig.post_main(WM_POWERBROADCAST, PBT_APMQUERYSUSPEND)
            self.rig.post_main(WM_POWERBROADCAST, PBT_APMQUERYSUSPENDFAILED)
        elif cycle % 3 == 1:
            self.rig.post_main(WM_POWERBROADCAST, PBT_APMSUSPEND)
            self.rig.post_main(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC)
            self.rig.post_main(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND)
        else:
            self.rig.wintool("forgeticon", MAIN_WINDOW, MAIN_WINDOW, "10", check=True)
            self.rig.wintool("broadcast", "TaskbarCreated", check=True)

    def test_ThousandsOfCodes_LeaveTheProgramAsItWas(self):
        self.feed(BATCH)  # warm-up: the first pointer moves and clicks
        before = self.figures()
        began = time.monotonic()
        cycle = 0
        while time.monotonic() - began < soak_seconds():
            self.application_cycle(cycle % len(STAND_INS))
            self.system_events(cycle)
            self.feed(BATCH)  # with no application: the pointer
            cycle += 1
        press(self.rig, 99)
        after = self.figures()
        modifiers = self.rig.wintool("modifiers", check=True).stdout.strip()
        settings = self.rig.prefix.reg_values(SETTINGS_KEY)
        icons = self.rig.wintool("trayicons", check=True).stdout.count("trayicon hwnd=")
        print(f"\nsoak: {time.monotonic() - began:.0f} s, {cycle} application cycles, {self.fed} codes fed\n"
              f"  before: {before}\n  after:  {after}\n  modifiers {modifiers}; tray icons {icons}; "
              f"settings {settings}")

        self.assertIsNone(self.process.poll(), "RemoteControl.exe ended")
        self.assertEqual(after["windows"], before["windows"], "windows of the program")
        self.assertEqual((after["user"], after["gdi"]), (before["user"], before["gdi"]), "USER and GDI objects")
        self.assertLess(after["private"] - before["private"], MEMORY_BOUND, "private memory gained")
        self.assertEqual(modifiers, "down=", "modifier keys left down")
        self.assertEqual(icons, 1, "the tray icon")
        self.assertEqual(settings, {"DefaultTVAPP": ("REG_DWORD", 0), "AlwaysRemoteOff": ("REG_DWORD", 0)})


if __name__ == "__main__":
    unittest.main()
