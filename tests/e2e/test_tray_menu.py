"""The tray menu, the About and Setting dialogs, and switching to an
application from the menu, with the real RemoteControl.exe.

The menu is read the way a keyboard user reads it (harness/tray.py): with the
application entry its items are [entry, Setting, About, Exit], without it
[Setting, About, Exit]. The item texts and check marks, which no other
process can read under Wine, are the host tests' (tray_menu_test.cpp).
"""
import sys
import time
import unittest

from harness import installed_apps, tray
from harness.capture_driver import Device
from harness.case import RigTestCase
from harness.input_monitor import InputMonitor
from harness.remote_keys import press, wait_idle_since
from harness.rig import (MAIN_WINDOW, PBT_APMRESUMESUSPEND, PBT_APMSUSPEND, TRAY_CALLBACK, WM_CLOSE, WM_LBUTTONDOWN,
                         WM_POWERBROADCAST, WM_RBUTTONDOWN)
from harness.tray import TRAY_ICON, TRAY_WINDOW, VK_DOWN, VK_ESCAPE, VK_MENU, VK_OEM_2, VK_RETURN, VK_SHIFT, VK_UP
from harness.tv_app import TvApp
from harness.waits import WaitTimeout, hold_for, wait_until

RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
SETTINGS_KEY = r"HKLM\Software\Tarvex Multimedia\Nimbus XQ Utilities"
ABOUT = "Remote Control - About"
SETTING = "Remote Control - Setting"
SHUT_DOWN = "Remote Control - Shut Down"
MESSAGE_CAPTION = "Remote Control"
LAUNCH_FAILED = "Can't launch TV application what you want."
CHOICE_NOT_SAVED = ("The default TV application could not be saved; it applies until Remote Control ends. "
                    "To keep it, install Remote Control again, which lets every user save it, or open Setting "
                    "once as an administrator.")
SETTING_PROMPT = "Select the application you want to launch when pressing power key on remote controller"
APPLICATION_LIST = 11
WM_COMMAND = 0x0111
IDCANCEL = 2
PANEL_COMMAND_MESSAGE = 0x0FB8
POWER, NUMBER_KEY, SHUT_DOWN_KEY = 12, 6, 24
# Dialog placement at a screen width of 1024 (SM_CXFULLSCREEN under this Xvfb).
PLACED_AT = (350, 300)


class MenuTestCase(RigTestCase):
    def start(self, apps=(), without_executable=(), default=None):
        """Installs the stand-in applications, sets DefaultTVAPP, starts the
        utility over a receiver and waits for its polling."""
        stand_ins = installed_apps.install(self.rig, *apps, without_executable=without_executable) if apps else {}
        if default is not None:
            self.rig.prefix.reg_add(SETTINGS_KEY, "DefaultTVAPP", "REG_DWORD", default)
        self.process = self.start_utility(Device("01", RECEIVER, "rx"))
        self.wait_requests(1)
        return stand_ins

    def menu(self):
        return tray.menu(self.rig)

    def open_menu(self, button=WM_RBUTTONDOWN, through_icon=False, at=(600, 400)):
        return tray.open_menu(self.rig, button, through_icon, at)

    def choose(self, *keys):
        tray.choose(self.rig, *keys)

    def wait_dialog(self, caption, texts=frozenset()):
        tray.wait_dialog(self.rig, caption, texts)

    def close_dialog(self, caption):
        """WM_CLOSE, as the close box sends: the dialog manager makes it IDCANCEL."""
        self.rig.post("#32770", caption, WM_CLOSE)
        wait_until(lambda: not self.rig.window_exists("#32770", caption), 10, f"{caption!r} to close")

    def placement(self, caption):
        rect, topmost = tray.window_rect(self.rig, "#32770", caption)
        return rect[:2], topmost

    def application_list(self):
        """(entries, selection) of the open Setting dialog's list."""
        return tray.combo(self.rig, SETTING, APPLICATION_LIST)

    def open_setting(self, ups=3):
        self.open_menu()
        self.choose(*[VK_UP] * ups, VK_RETURN)
        self.wait_dialog(SETTING, {"OK"})

    def default_app(self):
        return self.rig.prefix.reg_values(SETTINGS_KEY)["DefaultTVAPP"][1]

    def assertStillPolling(self):
        self.assertIsNone(self.process.poll(), "RemoteControl.exe ended")
        self.wait_requests(len(self.rig.driver_log.requests()) + 3)


class TrayMenu(MenuTestCase):
    def test_ButtonDown_OnTheIconOrAsTheCallback_OpensTheMenuAtTheCursor_EscapeClosesIt(self):
        self.start()
        for through_icon in (True, False):
            for button in (WM_RBUTTONDOWN, WM_LBUTTONDOWN):
                with self.subTest(through_icon=through_icon, button=hex(button)):
                    menu = self.open_menu(button, through_icon, at=(600, 400))
                    self.assertEqual((int(menu["left"]), int(menu["top"])), (600, 400))
                    self.choose(VK_ESCAPE)
                    self.assertStillPolling()

    def test_NoApplicationEntry_DownPicksSetting_FourthUpWrapsToExit_WhichEndsTheProgram(self):
        self.start(apps=(5,))  # DefaultTVAPP is 6, Quartzview is not installed
        self.open_menu()
        self.choose(VK_DOWN, VK_RETURN)
        self.wait_dialog(SETTING, {"OK"})
        self.close_dialog(SETTING)
        self.rig.wait_window(TRAY_WINDOW)  # the icon is on Wine's tray
        self.open_menu()
        self.choose(VK_UP, VK_UP, VK_UP, VK_UP, VK_RETURN)
        self.assertEqual(self.wait_exit(self.process), 0)
        self.assertFalse(self.rig.window_exists(MAIN_WINDOW, MAIN_WINDOW))
        # Wine's tray drops the icons of a window that is gone by itself, so
        # this shows the icon gone, not that the program deleted it.
        wait_until(lambda: self.rig.wintool("children", TRAY_WINDOW, "*").stdout.count(TRAY_ICON) == 0, 10,
                   "the tray icon to go")

    def test_DefaultOutside1To8_NoApplicationEntry(self):
        self.start(apps=(1, 5), default=9)
        self.open_menu()
        self.choose(VK_DOWN, VK_RETURN)
        self.wait_dialog(SETTING, {"OK"})
        self.assertEqual(self.application_list(), (["PowerCinema", "TotalMedia"], 0))
        self.close_dialog(SETTING)
        self.assertEqual(self.default_app(), 9)

    def test_ClickWhileTheMenuIsOpen_KeepsThatMenu(self):
        self.start()
        first = self.open_menu()
        for button in (WM_LBUTTONDOWN, WM_RBUTTONDOWN):
            self.rig.post_main(TRAY_CALLBACK, 0, button)
        # The callbacks are dispatched inside the menu's loop: a rebuilt menu
        # would show up as another menu handle.
        hold_for(0.5, lambda: (m := self.menu()) is not None and m["hmenu"] == first["hmenu"], "the same menu open")
        self.choose(VK_ESCAPE)
        self.assertStillPolling()


class Switching(MenuTestCase):
    def test_ApplicationEntry_ClosesTheOthersRunning_AndLaunchesTheDefaultWithRemote(self):
        stand_ins = self.start(apps=(5, 6), default=5)
        quartzview = TvApp(self.rig, [("TarvexMainPanel_Class", "TVR")], stay=True)
        media_center = TvApp(self.rig, [("eHome Render Window", "Media Center")], stay=False)
        self.open_menu()
        self.choose(VK_UP, VK_UP, VK_UP, VK_UP, VK_RETURN)
        totalmedia = stand_ins[5]
        totalmedia.wait_started()
        self.assertEqual(totalmedia.launches(), ["remote"])
        wait_until(lambda: media_center.process.poll() is not None, 10, "Media Center to close on WM_CLOSE")
        quartzview.barrier()
        self.assertEqual([(e["wp"], e["lp"]) for e in quartzview.messages(str(PANEL_COMMAND_MESSAGE))],
                         [("0x1", "0x0")], "Quartzview's close command")
        self.assertEqual(self.default_app(), 5)
        self.assertStillPolling()

    def test_ApplicationCommand_ChangesTheDefaultForThisRunOnly(self):
        stand_ins = self.start(apps=(5, 6), default=5)
        self.rig.post_main(WM_COMMAND, 1106)
        stand_ins[6].wait_started()
        self.assertEqual(stand_ins[6].launches(), ["remote"])
        # The Setting dialog preselects the default application: now Quartzview.
        self.open_setting()
        self.assertEqual(self.application_list(), (["TotalMedia", "Quartzview"], 1))
        self.close_dialog(SETTING)
        self.assertEqual(self.default_app(), 5, "not written to the registry")

    def test_InstalledButExecutableMissing_TheEntryReportsTheFailedLaunch_AndTheProgramGoesOn(self):
        self.start(apps=(5,), without_executable=(5,), default=5)
        self.open_menu()
        self.choose(VK_DOWN, VK_RETURN)
        self.wait_dialog(MESSAGE_CAPTION, {LAUNCH_FAILED, "OK"})
        self.rig.wintool("press", MESSAGE_CAPTION, "OK", check=True)
        wait_until(lambda: not self.rig.window_exists("#32770", MESSAGE_CAPTION), 10, "the message box to close")
        self.assertStillPolling()

    def test_PowerLaunchesTheDefault_OnceItsWindowIsGoneTheWatchHandsNumberKeysToThePointer(self):
        stand_ins = self.start(apps=(6,))
        monitor = InputMonitor(self.rig)
        monitor.place_pointer(600, 500)
        power = press(self.rig, POWER)
        quartzview = stand_ins[6]
        quartzview.wait_started()
        self.assertEqual(quartzview.launches(), ["remote"])
        transfers = power
        # The watch's first look comes a second after the launch. A window that
        # was not up by then is let go at once, and a number key would then
        # take Quartzview up again without the watch; only a window that came
        # in time shows that it is the active application.
        if quartzview.entries("ready")[0].time - power[-1].time < 0.9:
            transfers = press(self.rig, NUMBER_KEY)
            hold_for(0.3, lambda: monitor.position() == (600, 500), "the pointer staying put")
        else:
            print(f"\n{self.id()}: the stand-in took a second to start; its activity is not checked",
                  file=sys.stderr)
        self.rig.post("TarvexMainPanel_Class", "TVR", WM_CLOSE)
        quartzview.wait_ended()
        # The watch looks once a second; keys pressed before it noticed still
        # go to Quartzview. Each press is a fresh one (no repeat).
        presses = 0
        while monitor.position() == (600, 500):
            presses += 1
            self.assertLessEqual(presses, 20, "no number key reached the pointer")
            wait_idle_since(transfers, 0.3)
            transfers = press(self.rig, NUMBER_KEY)
            try:
                wait_until(lambda: monitor.position() != (600, 500), 0.3, "the pointer to move")
            except WaitTimeout:
                pass
        self.assertEqual(monitor.position(), (601, 500))


class Dialogs(MenuTestCase):
    def test_About_PlacedAndTopmost_WithItsTexts_OkClosesIt(self):
        self.start()
        self.open_menu()
        self.choose(VK_UP, VK_UP, VK_RETURN)
        self.wait_dialog(ABOUT, {"Remote Control Utility V1.0.0.3",
                                 "Drives TV applications from the remote.", "OK"})
        self.assertEqual(self.placement(ABOUT), (PLACED_AT, True))
        self.assertStillPolling()  # the ticks go on inside the dialog
        self.rig.wintool("press", ABOUT, "OK", check=True)
        wait_until(lambda: not self.rig.window_exists("#32770", ABOUT), 10, "About to close")
        self.assertStillPolling()

    def test_Setting_ListsTheInstalledInAppIdOrder_PreselectsTheDefault_OkSaves_CancelDoesNot(self):
        self.start(apps=(8, 3, 6, 2))
        self.open_setting()
        self.wait_dialog(SETTING, {SETTING_PROMPT, "OK"})
        self.assertEqual(self.placement(SETTING), (PLACED_AT, True))
        self.assertEqual(self.application_list(), (["Home Theater", "My IC-TV", "Quartzview", "WinDVR 6"], 2))
        self.rig.wintool("select", SETTING, str(APPLICATION_LIST), "0", check=True)
        self.close_dialog(SETTING)
        self.assertEqual(self.default_app(), 6)

        self.open_setting()
        self.assertEqual(self.application_list()[1], 2, "the default's entry again")
        self.rig.wintool("select", SETTING, str(APPLICATION_LIST), "3", check=True)
        self.rig.wintool("press", SETTING, "OK", check=True)
        wait_until(lambda: not self.rig.window_exists("#32770", SETTING), 10, "Setting to close")
        self.assertEqual(self.default_app(), 8)

        # Nothing selected, as after typing into the edit field: OK changes nothing.
        self.open_setting()
        self.assertEqual(self.application_list()[1], 3)
        self.rig.wintool("select", SETTING, str(APPLICATION_LIST), "-1", check=True)
        self.assertEqual(self.application_list()[1], -1)
        self.rig.wintool("press", SETTING, "OK", check=True)
        wait_until(lambda: not self.rig.window_exists("#32770", SETTING), 10, "Setting to close")
        self.assertEqual(self.default_app(), 8)
        self.open_setting()
        self.assertEqual(self.application_list()[1], 3)
        self.close_dialog(SETTING)

    def test_Setting_OkThatCannotSave_SaysSo_AndTheChoiceHoldsForThisRun(self):
        rows = [
            # how the save is kept from writing, the default stored, the entry chosen in Setting
            # The save never creates the key: with it gone, OK cannot save.
            ("KeyGone", 6, 1),
            # A key whose DACL lets everyone only read it (Wine enforces it on
            # an administrator too): read as stored, nothing repaired.
            ("KeyReadOnly", 8, 0),
        ]
        for name, stored, chosen in rows:
            with self.subTest(name):
                self.fresh_rig()
                if name == "KeyReadOnly":
                    self.rig.prefix.reg_add(SETTINGS_KEY, "DefaultTVAPP", "REG_DWORD", stored)
                    self.rig.wintool("setkeydacl", SETTINGS_KEY.split("\\", 1)[1], "D:P(A;;KR;;;WD)", check=True)
                self.start(apps=(6, 8))
                if name == "KeyGone":
                    self.rig.prefix.reg_delete_key(SETTINGS_KEY)
                values_before = self.rig.prefix.reg_values(SETTINGS_KEY)
                if name == "KeyReadOnly":
                    self.assertEqual(values_before, {"DefaultTVAPP": ("REG_DWORD", 8)}, "a read-only key repaired")
                self.open_setting()
                self.assertEqual(self.application_list(), (["Quartzview", "WinDVR 6"], [6, 8].index(stored)))
                self.rig.wintool("select", SETTING, str(APPLICATION_LIST), str(chosen), check=True)
                self.rig.wintool("press", SETTING, "OK", check=True)
                self.wait_dialog(MESSAGE_CAPTION, {CHOICE_NOT_SAVED, "OK"})
                self.rig.wintool("press", MESSAGE_CAPTION, "OK", check=True)
                wait_until(lambda: not self.rig.window_exists("#32770", SETTING)
                           and not self.rig.window_exists("#32770", MESSAGE_CAPTION), 10,
                           "Setting and the box to close")
                self.assertEqual(self.rig.prefix.reg_values(SETTINGS_KEY), values_before, "written or recreated")
                self.open_setting()
                self.assertEqual(self.application_list()[1], chosen, "the choice holds for this run")
                self.close_dialog(SETTING)

    def test_Accelerators_AltSlashOpensAbout_AltQuestionMarkOpensSetting(self):
        self.start(apps=(6,))
        for keys, caption in (((VK_MENU, VK_OEM_2), ABOUT), ((VK_MENU, VK_SHIFT, VK_OEM_2), SETTING)):
            with self.subTest(caption=caption):
                # The keys reach the thread of the foreground window: the
                # utility's own, hidden as it is.
                self.rig.wintool("foreground", MAIN_WINDOW, MAIN_WINDOW, check=True)
                wait_until(lambda: f'title="{MAIN_WINDOW}"' in self.rig.wintool("getforeground").stdout, 5,
                           "the main window in the foreground")
                self.rig.wintool("chord", *map(str, keys), check=True)
                self.wait_dialog(caption, {"OK"})
                self.close_dialog(caption)

    def test_SuspendWhileTheShutDownDialogIsUp_NoKeyIsRead_CancelStillWorks_ResumeBringsThePointerBack(self):
        self.start(default=5)
        monitor = InputMonitor(self.rig)
        monitor.place_pointer(600, 500)
        press(self.rig, SHUT_DOWN_KEY)
        self.wait_dialog(SHUT_DOWN, {"OK", "Cancel"})
        self.rig.post_main(WM_POWERBROADCAST, PBT_APMSUSPEND)
        self.wait_polling_stopped()
        self.rig.wintool("press", SHUT_DOWN, "Cancel", check=True)
        wait_until(lambda: not self.rig.window_exists("#32770", SHUT_DOWN), 10, "the Shut Down dialog to close")
        count = len(self.rig.driver_log.requests())
        hold_for(0.5, lambda: len(self.rig.driver_log.requests()) == count, "no polling while suspended")
        self.assertIsNone(self.process.poll())
        self.rig.post_main(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND)
        self.assertStillPolling()
        press(self.rig, NUMBER_KEY)
        wait_until(lambda: monitor.position() == (601, 500), 5, "the number key to move the pointer")
        self.assertFalse(self.rig.window_exists("#32770", SHUT_DOWN))

    def wait_polling_stopped(self, quiet=0.3, timeout=10):
        """Returns once no driver request has come for `quiet` seconds."""
        log = self.rig.driver_log
        seen = {"count": len(log.requests()), "since": time.monotonic()}

        def quiet_long_enough():
            count = len(log.requests())
            if count != seen["count"]:
                seen.update(count=count, since=time.monotonic())
            return time.monotonic() - seen["since"] >= quiet
        wait_until(quiet_long_enough, timeout, f"{quiet}s without a driver request")

    def test_AboutOpenedAgainOverTheFirst_BothClose_AndTheProgramGoesOn(self):
        self.start()
        for _ in range(2):
            self.open_menu()
            self.choose(VK_UP, VK_UP, VK_RETURN)
        wait_until(lambda: self.rig.top_level_titles().count(ABOUT) == 2, 10, "two About dialogs")
        for remaining in (1, 0):
            self.rig.post("#32770", ABOUT, WM_COMMAND, IDCANCEL)
            wait_until(lambda: self.rig.top_level_titles().count(ABOUT) == remaining, 10,
                       f"{remaining} About dialog left")
            self.assertStillPolling()


if __name__ == "__main__":
    unittest.main()
