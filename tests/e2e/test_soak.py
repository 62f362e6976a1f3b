"""A soak of the real RemoteControl.exe: thousands of remote codes through the
stand-in driver while stand-in applications of all eight kinds come and go,
with display changes, suspends (refused, unattended and resumed) and a shell
that forgets the tray icon. Afterwards the program must still be there and
answer keys, with its windows and memory where they were, no modifier key
left down and its settings key holding the last choice made in Setting.

Each cycle takes one application kind, in AppId order, and one of three ways
in and out:
- power: Setting makes it the default; the Power key closes a stand-in of
  another kind that runs and launches it; the test closes it and the launch
  watch lets it go (or, when it came up too late for the watch, Power closes it);
- menu: Setting makes it the default; the tray menu's application entry
  closes another kind's stand-in and launches it; the Power key closes it;
- test: the test starts it, the first routed code makes it active, the Power
  key closes it. Media Center, which cannot be installed in a prefix, always
  comes this way.
A close that the stand-in only logs (a command message or a chord: Home
Theater, My IC-TV, Quartzview, WinDVR 6), or an Alt+F4 that Wine lost, is
finished by the test, and counted. WinDVR 6's stand-in also has a window
titled "WinDVR 6": its Close looks for that title, not for the main window's,
and without it the Power key leaves WinDVR 6 active. Every cycle ends with
the shut-down key opening the Shut Down dialog, which shows that no
application is active any more, and another key cancelling it.

Runs for ALDER_SOAK_SECONDS (150 by default; 3600 for the hour-long soak).
Wine does not count USER or GDI objects (GetGuiResources answers 0) nor
private bytes (PrivateUsage answers 0): the program's windows are counted
instead, and its private memory is read from Linux (/proc/<pid>/smaps_rollup,
the pages it wrote).
"""
import collections
import os
import random
import re
import sys
import time
import unittest

from harness import installed_apps, tray
from harness.capture_driver import Device
from harness.case import RigTestCase
from harness.remote_keys import press, wait_idle_since
from harness.rig import MAIN_WINDOW, WM_CLOSE, WM_POWERBROADCAST, PBT_APMSUSPEND, PBT_APMRESUMESUSPEND
from harness.tray import VK_DOWN, VK_RETURN, VK_UP
from harness.tv_app import TvApp
from harness.waits import WaitTimeout, wait_until

RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
SETTINGS_KEY = r"HKLM\Software\Tarvex Multimedia\Nimbus XQ Utilities"
SETTING = "Remote Control - Setting"
SHUT_DOWN = "Remote Control - Shut Down"
APPLICATION_LIST = 11
POWER, CANCEL_KEY = 12, 99
WM_DISPLAYCHANGE = 0x007E
PBT_APMQUERYSUSPEND = 0
PBT_APMQUERYSUSPENDFAILED = 2
PBT_APMRESUMEAUTOMATIC = 0x12
MEDIA_CENTER = 4
QUARTZVIEW = 6
# One window of each application, as its lookups know it, by AppId: the
# installed applications' main windows, and Media Center's.
STAND_INS = {app_id: app.window for app_id, app in installed_apps.APPLICATIONS.items()}
STAND_INS[MEDIA_CENTER] = ("eHome Render Window", "Media Center")
# The windows of each stand-in, created in order: the main window last, on top.
WINDOWS = {app_id: [window] for app_id, window in STAND_INS.items()}
WINDOWS[8] = [("WinDvrCloseStandIn", "WinDVR 6"), STAND_INS[8]]
INSTALLED = (1, 2, 3, 5, 6, 7, 8)   # in AppId order, as the Setting list shows them
# Closed by Alt+F4 or WM_CLOSE, which end a stand-in; the others' close is a
# command message or a chord, which a stand-in only logs.
ENDS_ON_ITS_CLOSE = {1, 4, 5, 7}
WAYS = ("power", "menu", "test")
BATCH = 80
MEMORY_BOUND = 1024 * 1024  # bytes of private memory the program may gain


def soak_seconds():
    return float(os.environ.get("ALDER_SOAK_SECONDS", "150"))


class Soak(RigTestCase):
    def setUp(self):
        super().setUp()
        self.installed = installed_apps.install(self.rig, *INSTALLED, windows=WINDOWS)
        self.default = 5
        self.rig.prefix.reg_add(SETTINGS_KEY, "DefaultTVAPP", "REG_DWORD", self.default)
        self.rig.prefix.reg_add(SETTINGS_KEY, "AlwaysRemoteOff", "REG_DWORD", 0)
        self.process = self.start_utility(Device("01", RECEIVER, "rx"))
        self.wait_requests(1)
        self.random = random.Random(int(os.environ.get("ALDER_SOAK_SEED", "1")))
        self.fed = 0
        self.ways = collections.Counter()
        self.finished_by_test = collections.Counter()

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

    # -- the remote ---------------------------------------------------------
    def feed(self, count):
        """Random codes, never Power: with nothing active the shut-down key may
        open the Shut Down dialog, and only a code other than Power may end it."""
        codes = [self.random.choice([c for c in range(256) if c != POWER]) for _ in range(count)]
        press(self.rig, *codes, timeout=count * 0.065 + 30)
        self.fed += count
        if self.rig.window_exists("#32770", SHUT_DOWN):
            self.cancel_shut_down()

    def press(self, code):
        self.fed += 1
        return press(self.rig, code)

    def cancel_shut_down(self):
        self.press(CANCEL_KEY)
        wait_until(lambda: not self.rig.window_exists("#32770", SHUT_DOWN), 10, "the Shut Down dialog to close")

    def nothing_active(self):
        """The shut-down key opens the Shut Down dialog only with no application
        active and none running: pressed until it does (the watch looks once a
        second), then cancelled."""
        shut_down_key = 29 if self.default == QUARTZVIEW else 24
        deadline = time.monotonic() + 15
        while True:
            transfers = self.press(shut_down_key)
            try:
                wait_until(lambda: self.rig.window_exists("#32770", SHUT_DOWN), 1, "the Shut Down dialog")
                break
            except WaitTimeout:
                if time.monotonic() > deadline:
                    windows = self.rig.wintool("list", check=True).stdout
                    raise AssertionError("an application stayed active: the shut-down key never opened the "
                                         f"dialog; default {self.default}, top-level windows:\n{windows}")
                wait_idle_since(transfers, 0.3)  # the next press is a fresh one
        self.cancel_shut_down()

    # -- the ways in and out ------------------------------------------------
    def choose_default(self, app_id):
        """Opens Setting from the tray menu, picks the application and presses OK."""
        tray.open_menu(self.rig)
        tray.choose(self.rig, VK_UP, VK_UP, VK_UP, VK_RETURN)
        tray.wait_dialog(self.rig, SETTING, {"OK"})
        self.rig.wintool("select", SETTING, str(APPLICATION_LIST), str(INSTALLED.index(app_id)), check=True)
        self.rig.wintool("press", SETTING, "OK", check=True)
        wait_until(lambda: not self.rig.window_exists("#32770", SETTING), 10, "Setting to close")
        self.default = app_id

    def another_running(self, app_id):
        """A stand-in of the next kind, for the launch to close first."""
        other = app_id % len(STAND_INS) + 1
        return other, TvApp(self.rig, WINDOWS[other], stay=False)

    def finish(self, kind, app_id, running, close_window):
        """After the program closed it: waits for a stand-in that ends on its
        close; closes one that only logged it (or lost its Alt+F4)."""
        if app_id in ENDS_ON_ITS_CLOSE:
            try:
                wait_until(lambda: not running(), 5, f"{STAND_INS[app_id][1]!r} to end on its close")
                return
            except WaitTimeout:
                self.finished_by_test[f"{kind}: Alt+F4 or WM_CLOSE lost"] += 1
        else:
            self.finished_by_test[f"{kind}: its close only logged"] += 1
        close_window()
        wait_until(lambda: not running(), 10, f"{STAND_INS[app_id][1]!r} to end")

    def finish_other(self, other, app):
        self.finish("the other application", other, lambda: app.process.poll() is None,
                    lambda: self.rig.post(*STAND_INS[other], WM_CLOSE))

    def finish_installed(self, app_id):
        stand_in = self.installed[app_id]
        self.finish("closed by Power", app_id, stand_in.running, lambda: self.rig.post(*STAND_INS[app_id], WM_CLOSE))

    def by_power(self, app_id):
        self.choose_default(app_id)
        other, other_app = self.another_running(app_id)
        stand_in = self.installed[app_id]
        starts = len(stand_in.entries("ready"))
        power = self.press(POWER)
        stand_in.wait_started(starts + 1)
        self.finish_other(other, other_app)
        self.feed(BATCH)
        # The watch looks a second after the Power key; a window not up by then
        # was let go, and only the codes' detection made it active again.
        if stand_in.entries("ready")[-1].time - power[-1].time < 0.9:
            self.ways["power, closed by the test, let go by the watch"] += 1
            self.rig.post(*STAND_INS[app_id], WM_CLOSE)
            stand_in.wait_ended()
        else:
            self.ways["power, closed by Power (came up after the watch looked)"] += 1
            self.press(POWER)
            self.finish_installed(app_id)

    def by_menu(self, app_id):
        self.choose_default(app_id)
        other, other_app = self.another_running(app_id)
        stand_in = self.installed[app_id]
        starts = len(stand_in.entries("ready"))
        tray.open_menu(self.rig)
        tray.choose(self.rig, VK_DOWN, VK_RETURN)  # the application entry
        stand_in.wait_started(starts + 1)
        self.finish_other(other, other_app)
        self.feed(BATCH)
        self.ways["menu, closed by Power"] += 1
        self.press(POWER)
        self.finish_installed(app_id)

    def by_test(self, app_id):
        app = TvApp(self.rig, WINDOWS[app_id], stay=False)
        self.feed(BATCH)  # the first routed code makes it active; the rest go to its key map
        self.ways["test, closed by Power"] += 1
        self.press(POWER)
        self.finish("closed by Power", app_id, lambda: app.process.poll() is None,
                    lambda: self.rig.post(*STAND_INS[app_id], WM_CLOSE))

    def application_cycle(self, cycle):
        app_id = cycle % len(STAND_INS) + 1
        way = WAYS[cycle % len(WAYS)] if app_id != MEDIA_CENTER else "test"
        print(f"cycle {cycle}: {STAND_INS[app_id][1]!r} by {way}, {self.fed} codes fed so far", file=sys.stderr)
        {"power": self.by_power, "menu": self.by_menu, "test": self.by_test}[way](app_id)
        self.nothing_active()

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

    def cycle(self, number):
        self.application_cycle(number)
        self.system_events(number)
        self.feed(BATCH)  # with no application: the pointer, the Shut Down dialog

    def test_ThousandsOfCodes_LeaveTheProgramAsItWas(self):
        # Warm-up: one cycle of each way, so the first menu, dialog, launch and
        # pointer move have made what they keep for the rest of the run.
        for number in range(len(WAYS)):
            self.cycle(number)
        before = self.figures()
        began = time.monotonic()
        number = len(WAYS)
        while time.monotonic() - began < soak_seconds():
            self.cycle(number)
            number += 1
        self.nothing_active()  # it still answers keys: the shut-down key opens the dialog, another closes it
        after = self.figures()
        modifiers = self.rig.wintool("modifiers", check=True).stdout.strip()
        settings = self.rig.prefix.reg_values(SETTINGS_KEY)
        icons = self.rig.wintool("trayicons", check=True).stdout.count("trayicon hwnd=")
        print(f"\nsoak: {time.monotonic() - began:.0f} s after the warm-up, {number} application cycles, "
              f"{self.fed} codes fed\n  ways: {dict(self.ways)}\n"
              f"  closes the test finished: {dict(self.finished_by_test)}\n"
              f"  before: {before}\n  after:  {after}\n  modifiers {modifiers}; tray icons {icons}; "
              f"settings {settings}")

        self.assertIsNone(self.process.poll(), "RemoteControl.exe ended")
        self.assertEqual(after["windows"], before["windows"], "windows of the program")
        self.assertEqual((after["user"], after["gdi"]), (before["user"], before["gdi"]), "USER and GDI objects")
        self.assertLess(after["private"] - before["private"], MEMORY_BOUND, "private memory gained")
        self.assertEqual(modifiers, "down=", "modifier keys left down")
        self.assertEqual(icons, 1, "the tray icon")
        self.assertEqual(settings, {"DefaultTVAPP": ("REG_DWORD", self.default),
                                    "AlwaysRemoteOff": ("REG_DWORD", 0)})


if __name__ == "__main__":
    unittest.main()
