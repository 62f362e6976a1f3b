"""The installer and uninstaller, run silently the way a deployment tool runs
them: a fresh install, an upgrade over an earlier install while the utility
runs, and an uninstall, each checked by what it leaves in the prefix; the
files and the default TV application a fresh install leaves and what a
waiting uninstall leaves of the settings key; and the installer's wizard
clicked through its choice of the default application to its finish page,
which starts the utility.

The earlier install is the unstripped build exe under version 1.0.0.2, the
upgrade the release installer with the stripped exe: the two exes differ in
size, so the moment the installed exe is replaced is visible from Linux.
While the installer or uninstaller closes the utility, the stand-in driver
answers every request after 1.5 s, so the utility needs that long to act on
WM_CLOSE: an installer that did not wait for its process would touch the exe
while it still runs, and the watch below would see it."""
import html
import os
import re
import threading
import time
import unittest

from harness import installed_apps, installer, paths, session
from harness.capture_driver import Device
from harness.case import RigTestCase
from harness.installer import (RUN_KEY, SETTINGS_KEY, UNINSTALL_KEY, VENDOR_KEY, INSTALLED_EXE_WINDOWS,
                               UNINSTALLER_WINDOWS, Layout, process_alive, utility_pids)
from harness.waits import wait_until

RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
CB_SETCURSEL = 0x014E
EARLIER_VERSION = "1.0.0.2"
# Wine signals a process's end to those waiting on it a few ms before its
# Linux process has gone from /proc (up to 0.010 s seen); an installer that did not
# wait would change the exe about 1.5 s early (the driver's delay).
END_SEEN_LATE = 0.1
# What an uninstall leaves: NSIS runs the uninstaller from a copy in the
# temporary folder, which it can only have deleted at the next boot.
UNINSTALLER_COPY = re.compile(r"users/[^/]+/Temp/~nsu\d+\.tmp(/Un\.exe)?$")
# Keys that Wine itself writes while a desktop runs, whenever its display
# set-up gets to them (seen: ...\Control\Video\{...}\0000 "GraphicsDriver",
# written late on a loaded machine): none of the installer's doing. Lower case,
# as key names compare.
WINE_OWN_KEYS = (r"[hkey_local_machine\system\currentcontrolset\control\video",
                 r"[hkey_local_machine\hardware\devicemap\video")
PENDING_RENAMES = ('[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Session Manager] '
                   '"PendingFileRenameOperations"=hex(7):')


def run_installer(test, exe, *args, name):
    # Spawned and waited for, not run through a pipe: the utility it may
    # start inherits its output handles.
    process = test.rig.spawn(exe, *args, output_name=name + ".out")
    wait_until(lambda: process.poll() is not None, 120, f"{name} to end")
    test.assertEqual(process.returncode, 0, f"{name} failed")


def pending_renames(line):
    """The (source, target) pairs of a PendingFileRenameOperations line of a
    regedit export; an empty target deletes the source at the next boot."""
    data = bytes(int(b, 16) for b in line[len(PENDING_RENAMES):].split(","))
    names = data.decode("utf-16-le").split("\0")
    while names and names[-1] == "":
        names.pop()
    if len(names) % 2:
        names.append("")
    return list(zip(names[0::2], names[1::2]))


class ExeWatch(threading.Thread):
    """Samples, every few ms, the installed exe (size, change time, or None
    when missing) and then whether the utility's process runs, until stopped.
    Stat first, liveness second: a sample that shows a changed exe and a live
    process means the exe changed while the process ran."""

    def __init__(self, exe, pid):
        super().__init__(daemon=True)
        self.exe, self.pid = exe, pid
        self.samples = []
        self.stopping = threading.Event()

    def state(self):
        try:
            stat = os.stat(self.exe)
            return (stat.st_size, stat.st_mtime_ns)
        except FileNotFoundError:
            return None

    def sample(self):
        state = self.state()
        self.samples.append((time.monotonic(), state, process_alive(self.pid)))

    def run(self):
        while not self.stopping.is_set():
            self.sample()
            time.sleep(0.003)

    def __enter__(self):
        self.start()
        wait_until(lambda: self.samples, 5, "the first sample of the exe watch")
        return self

    def __exit__(self, *exc):
        self.stopping.set()
        self.join()
        # The caller stops the watch once it has seen the end it waits for;
        # the last sample must show that end too.
        self.sample()

    def check_closed_before_touched(self, test):
        """The process ended, then the exe changed; returns the seconds from
        the end to the change."""
        initial = self.samples[0][1]
        test.assertTrue(self.samples[0][2], "the utility was not running when the watch began")
        changed = next((s[0] for s in self.samples if s[1] != initial), None)
        ended = next((s[0] for s in self.samples if not s[2]), None)
        test.assertIsNotNone(changed, "the installed exe never changed")
        test.assertIsNotNone(ended, "the utility never ended")
        test.assertGreaterEqual(changed - ended, -END_SEEN_LATE,
                                f"the exe changed {ended - changed:.3f} s before the utility ended")
        return changed - ended


class InstallUpgradeUninstall(RigTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.release_installer = installer.release_installer()
        cls.earlier_installer = installer.build_installer(
            paths.remote_control_exe(), EARLIER_VERSION, session.run_root() / "earlier-install.exe")

    # -- steps -------------------------------------------------------------
    def registry(self, key):
        return self.rig.prefix.reg_values(key)

    def machine_hive(self):
        """Every key and value of HKEY_LOCAL_MACHINE, a value as "[key] value"
        (regedit's export: reg query takes five times as long)."""
        export = self.rig.dir / "machine.reg"
        self.rig.prefix.run(["regedit", "/E", paths.to_wine(export), "HKEY_LOCAL_MACHINE"], timeout=120)
        # A long value continues on the next line after a backslash.
        text = re.sub(r"\\\n\s*", "", export.read_text(encoding="utf-16"))
        entries, key = set(), None
        for line in text.splitlines():
            if line.startswith("["):
                key = line
                entries.add(key)
            elif line.strip() and key is not None:
                entries.add(f"{key} {line.strip()}")
        return entries

    def wait_polling_by(self, windows_pid):
        """The utility of that Windows pid loaded the driver and asks it for keys."""
        log = self.rig.driver_log
        load = wait_until(lambda: [i for i, e in enumerate(log.entries())
                                   if e.event == "load" and e["pid"] == windows_pid], 30,
                          f"the driver loaded by pid {windows_pid}")[0]
        wait_until(lambda: len([e for e in log.entries()[load:] if e.event == "req"]) >= 3, 30,
                   f"three requests after the load by pid {windows_pid}")

    def loads(self):
        return [e["pid"] for e in self.rig.driver_log.entries("load")]

    # -- the table -----------------------------------------------------------
    def test_InstallUpgradeWhileRunningUninstall_LeavesOnlyWhatTheUserChose(self):
        rows = [
            # start-at-login turned off before the upgrade, uninstall options, settings kept
            ("StartAtLoginOn_SettingsKept", False, [], True),
            ("StartAtLoginTurnedOff_SettingsRemovedOnRequest", True, ["/REMOVESETTINGS"], False),
        ]
        for name, turned_off, uninstall_options, settings_kept in rows:
            with self.subTest(name):
                self.fresh_rig()
                self.install_upgrade_uninstall(turned_off, uninstall_options, settings_kept)

    def install_upgrade_uninstall(self, turned_off, uninstall_options, settings_kept):
        rig = self.rig
        layout = Layout(rig.prefix.path)
        # Shortcuts would otherwise also become menu entries in the Linux desktop.
        rig.prefix.env["WINEDLLOVERRIDES"] += ";winemenubuilder.exe=d"
        rig.register_devices(Device("01", RECEIVER, "rx"))
        files_before, machine_before = layout.files(), self.machine_hive()

        # A first install of the earlier version.
        run_installer(self, self.earlier_installer, "/S", name="earlier-install")
        self.assertEqual(layout.exe.read_bytes(), paths.remote_control_exe().read_bytes())
        self.assertTrue(layout.uninstaller.exists())
        self.assertTrue(layout.shortcut.exists())
        self.assertEqual(self.registry(RUN_KEY).get("Alder Remote Control"),
                         ("REG_SZ", f'"{INSTALLED_EXE_WINDOWS}"'))
        self.assertEqual(self.registry(UNINSTALL_KEY)["DisplayVersion"], ("REG_SZ", EARLIER_VERSION))
        # The key and its switch, but no default: no TV application is installed.
        self.assertEqual(self.registry(SETTINGS_KEY), {"AlwaysRemoteOff": ("REG_DWORD", 0)},
                         "a default stored with no TV application installed")

        # The installed utility runs and polls; its user picks a default
        # application and maybe turns start-at-login off.
        utility = rig.spawn(INSTALLED_EXE_WINDOWS, output_name="utility.out")
        self.wait_polling_by(wait_until(self.loads, 30, "the first driver load")[0])
        rig.prefix.reg_add(SETTINGS_KEY, "DefaultTVAPP", "REG_DWORD", 3)
        if turned_off:
            rig.prefix.run(["reg", "delete", RUN_KEY, "/v", "Alder Remote Control", "/f"])

        # The upgrade, while the utility runs and is slow to act on WM_CLOSE.
        rig.control.send("delay 1500")
        with ExeWatch(layout.exe, utility.pid) as watch:
            run_installer(self, self.release_installer, "/S", name="upgrade")
            wait_until(lambda: watch.state() != watch.samples[0][1] and utility.poll() is not None, 30,
                       "the old utility to end and its exe to be replaced")
        rig.control.send("delay 0")
        gap = watch.check_closed_before_touched(self)
        print(f"upgrade: exe replaced {gap * 1000:+.0f} ms after the utility's end", flush=True)
        self.assertEqual(layout.exe.read_bytes(), installer.release_exe().read_bytes())
        self.assertEqual(self.registry(UNINSTALL_KEY)["DisplayVersion"], ("REG_SZ", "1.0.0.3"))
        self.assertEqual(self.registry(RUN_KEY).get("Alder Remote Control"),
                         None if turned_off else ("REG_SZ", f'"{INSTALLED_EXE_WINDOWS}"'))
        # The silent upgrade started the new exe again, and it polls.
        new_loads = wait_until(lambda: self.loads()[1:], 30, "a driver load by the restarted utility")
        self.assertNotEqual(new_loads[0], self.loads()[0])
        self.wait_polling_by(new_loads[0])
        restarted = wait_until(lambda: utility_pids(rig.prefix.path), 10, "the restarted utility's process")
        self.assertEqual(len(restarted), 1, restarted)
        assert_started_by_shell(self, rig)

        # The uninstall closes it the same way, then removes what was added.
        rig.control.send("delay 1500")
        with ExeWatch(layout.exe, restarted[0]) as watch:
            run_installer(self, UNINSTALLER_WINDOWS, "/S", *uninstall_options, name="uninstall")
            # The uninstaller hands over to a copy of itself and returns at once.
            # The watch goes on until the utility's end is seen from Linux too,
            # which can come a few ms after the folder has gone.
            wait_until(lambda: not layout.install_dir.exists() and not process_alive(restarted[0]), 60,
                       "the install folder and the utility to go")
        gap = watch.check_closed_before_touched(self)
        print(f"uninstall: exe removed {gap * 1000:+.0f} ms after the utility's end", flush=True)
        self.assertFalse(layout.shortcut.exists(), "Start-menu entry left")
        self.assertIsNone(self.registry(UNINSTALL_KEY), "uninstall entry left")
        self.assertNotIn("Alder Remote Control", self.registry(RUN_KEY) or {}, "Run entry left")
        settings = self.registry(SETTINGS_KEY)
        if settings_kept:
            self.assertEqual(settings, {"DefaultTVAPP": ("REG_DWORD", 3), "AlwaysRemoteOff": ("REG_DWORD", 0),
                                        "InstallerDefaultTVAPP": ("REG_DWORD", 3)})
        else:
            self.assertIsNone(settings, "settings key left")
            self.assertIsNone(self.registry(VENDOR_KEY), "the emptied vendor key left")

        # Nothing else: the files are as before but for the uninstaller's
        # temporary copy, and HKLM differs at most by the settings and the
        # deletion of that copy at the next boot.
        left_files = layout.files() - files_before
        self.assertEqual({f for f in left_files if not UNINSTALLER_COPY.search(f)}, set())
        machine_after = self.machine_hive()
        changed = machine_after ^ machine_before
        settings_lines = {line for line in changed if "Tarvex Multimedia" in line}
        changed = {line for line in changed if not line.lower().startswith(WINE_OWN_KEYS)}
        pending = {line for line in changed if line.startswith(PENDING_RENAMES)}
        self.assertEqual(sorted(changed - settings_lines - pending), [])
        self.assertEqual(bool(settings_lines), settings_kept)
        self.assertEqual(len(pending), 1, pending)
        for source, target in pending_renames(pending.pop()):
            self.assertRegex(source, r"^\\\?\?\\C:\\users\\[^\\]+\\Temp\\~nsu\d+\.tmp(\\Un\.exe)?$")
            self.assertEqual(target, "", "a deletion at the next boot")


class FirstInstallAndSettings(RigTestCase):
    """A silent install into a folder of its own (/D=), with TV applications
    registered and settings stored beforehand, and a silent uninstall that
    waits (_?=, which leaves Uninstall.exe and its folder behind)."""

    FOLDER = r"C:\AlderRC"
    CARD_VALUE = ("CardModel", "REG_SZ", "XQ-7")  # another program's value in the same key

    def installed_files(self, folder):
        return {str(p.relative_to(folder)) for p in folder.rglob("*")}

    def check_guide(self, folder, shortcuts):
        """The programs and the guide as built, every page's links and images
        resolve to installed files, and the Start menu has their entries."""
        built = installer.guide_dir()
        expected = {str(p.relative_to(built)) for p in built.rglob("*") if p.name != "guide_files.nsh"}
        self.assertEqual(self.installed_files(folder),
                         {"RemoteControl.exe", "RemoteCheck.exe", "Uninstall.exe", "Guide"}
                         | {"Guide/" + f for f in expected})
        pages = sorted((folder / "Guide").rglob("*.html"))
        self.assertIn(folder / "Guide" / "user-guide.html", pages)
        self.assertIn(folder / "Guide" / "remote-keys.html", pages)
        for page in pages:
            for url in re.findall(r'(?:href|src)="([^"#:]*)(?:#[^"]*)?"', page.read_text(encoding="utf-8")):
                if url:
                    self.assertTrue((page.parent / html.unescape(url)).is_file(), f"{page.name}: {url}")
        for shortcut in shortcuts:
            self.assertTrue(shortcut.exists(), f"no Start-menu entry {shortcut.name}")

    def test_SilentInstallAndWaitingUninstall_StoreTheDefaultOnceAndRemoveOnlyTheirOwnValues(self):
        rows = [
            # applications registered, values stored before, DefaultTVAPP after the install,
            # uninstall options, the settings key after the uninstall
            ("OneApplication_ItsAppIdStored_KeyRemovedWithIt", [5], [], 5, ["/REMOVESETTINGS"], None),
            ("SeveralApplications_LowestStored_ForeignValueKept", [7, 3],
             [self.CARD_VALUE, ("AlwaysRemoteOff", "REG_DWORD", 1)], 3, ["/REMOVESETTINGS"],
             {"CardModel": ("REG_SZ", "XQ-7")}),
            ("StoredChoiceKept_SettingsKeptByDefault", [5, 7], [("DefaultTVAPP", "REG_DWORD", 7)], 7, [],
             {"DefaultTVAPP": ("REG_DWORD", 7), "AlwaysRemoteOff": ("REG_DWORD", 0),
              "InstallerDefaultTVAPP": ("REG_DWORD", 7)}),
            # The utility's first start stored Quartzview, which is not installed.
            ("StoredChoiceNotInstalled_Replaced", [5], [("DefaultTVAPP", "REG_DWORD", 6)], 5, [],
             {"DefaultTVAPP": ("REG_DWORD", 5), "AlwaysRemoteOff": ("REG_DWORD", 0),
              "InstallerDefaultTVAPP": ("REG_DWORD", 5)}),
        ]
        for name, app_ids, stored, default_after, uninstall_options, key_after in rows:
            with self.subTest(name):
                self.fresh_rig()
                rig = self.rig
                rig.prefix.env["WINEDLLOVERRIDES"] += ";winemenubuilder.exe=d"
                installed_apps.install(rig, *app_ids, without_executable=app_ids)
                for value, kind, data in stored:
                    rig.prefix.reg_add(SETTINGS_KEY, value, kind, data)
                layout = Layout(rig.prefix.path)
                folder = layout.drive_c / "AlderRC"
                shortcuts = (layout.guide_shortcut, layout.check_shortcut)

                run_installer(self, installer.release_installer(), "/S", "/D=" + self.FOLDER, name="install")
                self.assertEqual((rig.prefix.reg_values(SETTINGS_KEY) or {}).get("DefaultTVAPP"),
                                 ("REG_DWORD", default_after))
                # Every user may set the key's values, and nothing more: Setting
                # saves for a standard account with UAC on.
                dacl = rig.wintool("keydacl", SETTINGS_KEY.split("\\", 1)[1], check=True).stdout.split()[1]
                # 0x2 has no key alias in SDDL; Wine writes it "DC", the same bit.
                self.assertEqual(dacl.replace(";DC;", ";0x2;"), "D:P(A;;KA;;;SY)(A;;KA;;;BA)(A;;KR;;;BU)(A;;0x2;;;BU)")
                self.check_guide(folder, shortcuts)

                run_installer(self, self.FOLDER + r"\Uninstall.exe", "/S", *uninstall_options,
                              "_?=" + self.FOLDER, name="uninstall")
                self.assertEqual(self.installed_files(folder), {"Uninstall.exe"})
                for shortcut in shortcuts:
                    self.assertFalse(shortcut.exists(), f"Start-menu entry {shortcut.name} left")
                self.assertEqual(rig.prefix.reg_values(SETTINGS_KEY), key_after)
                if key_after is None:
                    self.assertIsNone(rig.prefix.reg_values(VENDOR_KEY), "the emptied vendor key left")


def assert_started_by_shell(test, rig):
    """The installer had the desktop's shell start the utility (/OPENASUSER),
    so on Windows it runs with the signed-in user's rights, not the
    installer's: its parent is Explorer."""
    process = rig.wintool("process", "RemoteControl.exe", check=True).stdout
    test.assertIn("parent=explorer.exe", process.lower(), "started by the installer itself")


class InteractiveInstall(RigTestCase):
    """The wizard as a user clicks through it, with two TV applications
    installed: its page offers them in AppId order and stores the one chosen;
    the finish page's ticked "Start Alder Remote Control now" starts the
    utility."""

    CAPTION = "Alder Remote Control Setup "  # NSIS ends the caption with a blank

    def wait_page(self, text):
        wait_until(lambda: text in self.texts(), 30, f"the installer page showing {text!r}")

    def texts(self):
        result = self.rig.wintool("dialog", self.CAPTION)
        return result.stdout if result.returncode == 0 else ""

    def press(self, button):
        result = self.rig.wintool("press", self.CAPTION, button)
        self.assertEqual(result.returncode, 0, f"no {button!r} button: {result.stdout}")

    def drop_list(self):
        """The handle of the page's drop list. (Its text cannot be read from
        another process: Wine answers the window's own empty title.)"""
        found = re.search(r'control id=\d+ hwnd=(0x[0-9a-f]+) .*class="ComboBox"', self.texts())
        self.assertIsNotNone(found, "no drop list on the page")
        return found.group(1)

    def test_SecondApplicationChosen_FinishWithStartTicked_StoresItAndStartsTheUtility(self):
        rig = self.rig
        rig.prefix.env["WINEDLLOVERRIDES"] += ";winemenubuilder.exe=d"
        rig.register_devices(Device("01", RECEIVER, "rx"))
        installed_apps.install(rig, 7, 5, without_executable=(7, 5))
        setup = rig.spawn(installer.release_installer(), output_name="install.out")
        self.wait_page("Choose Install Location")
        self.press("Next >")
        self.wait_page("Default TV Application")
        # The second entry, SnapStream (AppId 7) when the list is in AppId
        # order. Posted, like the press after it, to the page's one thread:
        # they arrive in this order.
        rig.wintool("posthandle", self.drop_list(), str(CB_SETCURSEL), "1", "0", check=True)
        self.press("Next >")
        self.wait_page("Choose Components")
        self.press("Install")
        self.wait_page("Completing Alder Remote Control Setup")
        self.assertIn('class="Button" title="Start Alder Remote Control now"', self.texts())
        self.assertIn('class="Button" title="Open the user guide"', self.texts())
        self.assertEqual(rig.driver_log.entries("load"), [], "started before Finish")
        self.press("Finish")
        wait_until(lambda: setup.poll() is not None, 30, "the installer to end")
        self.assertEqual(setup.returncode, 0)
        wait_until(lambda: len(rig.driver_log.requests()) >= 3, 30, "the started utility to poll")
        self.assertEqual(len(utility_pids(rig.prefix.path)), 1, "the installed exe runs once")
        assert_started_by_shell(self, rig)
        self.assertEqual(rig.prefix.reg_values(SETTINGS_KEY)["DefaultTVAPP"], ("REG_DWORD", 7))


if __name__ == "__main__":
    unittest.main()
