#!/usr/bin/env python3
"""A narrated run-through of RemoteControl.exe under Wine, over the stand-in
capture driver, with stand-in TotalMedia and Quartzview installed:

  the tray menu and the About box; Setting makes TotalMedia the default
  application; Power launches it, keys drive it, Power closes it; launched
  again and closed by its user, the watch lets it go and the number keys
  move the pointer again; the Shut Down dialog is opened and cancelled;
  each of the eight TV applications in turn, a stand-in window driven by a
  few remote keys (one line per key: what the application received) and
  closed by Power; Exit ends the program. Last, Remote Check shows the
  receiver and reads a few keys, telling what the utility would do with each.

After each step the observers (the driver, the pointer and keyboard hooks,
the stand-in TotalMedia, the utility's own windows) print what that step
produced. With --screenshots DIR, the tray menu, the three dialogs and
Remote Check are saved there as PNG files, cropped to their windows."""
import argparse
import os
import pathlib
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

from harness import case, installed_apps, key_maps, paths, remote_check, screenshot, session, target, tray  # noqa: E402
from harness.capture_driver import Device  # noqa: E402
from harness.input_monitor import BUTTON_NAMES, InputMonitor  # noqa: E402
from harness.remote_keys import press, wait_idle_since  # noqa: E402
from harness.remote_check import CHECK_CLASS, CHECK_TITLE  # noqa: E402
from harness.rig import MAIN_WINDOW, WM_CLOSE, Rig  # noqa: E402
from harness.tray import VK_RETURN, VK_UP  # noqa: E402
from harness.tv_app import BARRIER_MESSAGE, TvApp  # noqa: E402
from harness.waits import WaitTimeout, wait_until  # noqa: E402

SETTINGS_KEY = r"HKLM\Software\Tarvex Multimedia\Nimbus XQ Utilities"
RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
ABOUT, SETTING, SHUT_DOWN = "Remote Control - About", "Remote Control - Setting", "Remote Control - Shut Down"
APPLICATION_LIST = 11
TOTALMEDIA, QUARTZVIEW = 5, 6
POWER, SHUT_DOWN_KEY, UP_KEY = 12, 24, 16
# The menu opens at the pointer; in the bottom-right corner the pointer's
# image lies off the screen and out of the screenshots.
CORNER = (1023, 767)
# A few keys per application that show how it is driven (codes 13 and 15
# do nothing anywhere: they keep two presses of one key apart).
DRIVEN = [("powercinema", "PowerCinema", [0, 16, 26, 73]),
          ("home_theater", "Home Theater", [0, 67, 26, 68, 75, 13, 75]),
          ("my_ic_tv", "My IC-TV", [0, 16, 75]),
          ("media_center", "Media Center", [10, 9, 26]),
          ("totalmedia", "TotalMedia", [8, 23, 68]),
          ("quartzview", "Quartzview", [0, 74, 25, 14]),
          ("beyond_tv", "Beyond TV", [9, 30, 23]),
          ("windvr6", "WinDVR 6", [73, 17, 75, 17, 14, 28])]
KEY_NAMES = {0x08: "Backspace", 0x09: "Tab", 0x0D: "Enter", 0x10: "Shift", 0x11: "Ctrl", 0x12: "Alt",
             0x1B: "Escape", 0x20: "Space", 0x21: "PageUp", 0x22: "PageDown", 0x25: "Left", 0x26: "Up",
             0x27: "Right", 0x28: "Down", 0x70: "F1", 0x73: "F4", 0x77: "F8", 0x78: "F9", 0x79: "F10",
             0x7A: "F11"}
GUIDE = ("GuideStandIn", "Program Guide")  # another program's window, in front before every key
MESSAGE_NAMES = {0x100: "WM_KEYDOWN", 0x38F: "message 911", 0x0FB8: "PANEL_COMMAND_MESSAGE",
                 5401: "message 5401"}


class DriverObserver:
    """What the stand-in driver handed out while a step was handled."""
    title = "driver"

    def __init__(self, rig):
        self.log = rig.driver_log
        self.seen = len(self.log.requests())

    def lines(self):
        requests = self.log.requests()
        new, self.seen = requests[self.seen:], len(requests)
        codes = [r["answer"].split()[0].removeprefix("code=") for r in new if r["kind"] == "transfer"]
        idle = sum(1 for r in new if r["kind"] == "status" and r["answer"] != "00")
        return [f"read codes {' '.join(codes)} (and {idle} idle status requests)"] if codes else []


class InputObserver:
    """Where the pointer went, and the buttons and keys the hooks saw."""
    title = "input"

    def __init__(self, rig, monitor):
        self.rig = rig
        self.monitor = monitor
        self.since = time.time()

    def lines(self):
        # The sampler runs every 2 ms; wait until it has caught up with the pointer.
        now = self.rig.wintool("cursor", check=True).stdout.split()
        at = (int(now[1].removeprefix("x=")), int(now[2].removeprefix("y=")))
        _quietly(lambda: self.monitor.position() == at, 2)
        out = []
        path = [p for t, p in self.monitor.positions() if t > self.since]
        if path:
            out.append("pointer moved through " + " ".join(f"({x},{y})" for x, y in path))
        for b in [b for b in self.monitor.buttons() if b.time > self.since]:
            out.append(f"{BUTTON_NAMES[b.message]} at ({b.x},{b.y}){' injected' if b.flags & 1 else ''}")
        keys = [k for k in self.monitor.keys() if k.time > self.since]
        if keys:
            out.append("keys " + " ".join(f"vk=0x{k.vk:02x}{' up' if k.flags & 0x80 else ' down'}"
                                          f"{' ext' if k.flags & 1 else ''}" for k in keys))
        stamps = [t for t, _ in self.monitor.positions()] + [m.time for m in self.monitor.mouse()] + \
                 [k.time for k in self.monitor.keys()]
        self.since = max(stamps + [self.since])
        return out


class AppObserver:
    """What an installed stand-in application went through: starts, messages, end."""

    def __init__(self, name, stand_in):
        self.title = name
        self.stand_in = stand_in
        self.seen = 0

    def lines(self):
        entries = [e for e in self.stand_in.entries() if e.event in ("launched", "msg", "exit")]
        new, self.seen = entries[self.seen:], len(entries)
        out = []
        for e in new:
            if e.event == "launched":
                out.append(f'started by the shell with parameters "{e["args"]}"')
            elif e.event == "exit":
                out.append("window closed, program ended")
            else:
                out.append(f"{e['name']} wParam={e['wp']} lParam={e['lp']}{' (foreground)' if e['fg'] == '1' else ''}")
        return out


class UtilityObserver:
    """The utility's dialogs and menu that are open after a step."""
    title = "utility"

    def __init__(self, rig, process):
        self.rig = rig
        self.process = process

    def lines(self):
        if self.process.poll() is not None:
            return [f"RemoteControl.exe ended, exit code {self.process.returncode}"]
        out = []
        entry = tray.menu(self.rig)
        if entry:
            out.append(f"tray menu open at {tray.menu_rect(entry)}")
        for caption in (ABOUT, SETTING, SHUT_DOWN):
            if self.rig.window_exists("#32770", caption):
                (left, top, _, _), topmost = tray.window_rect(self.rig, "#32770", caption)
                texts = [t for t in self.rig.dialog_texts(caption) if t and t.isascii() and t.isprintable()]
                out.append(f"dialog {caption!r} at ({left},{top}){' topmost' if topmost else ''}: {texts}")
        return out


def _quietly(condition, timeout):
    """For the narration only: give an effect time to show, without failing."""
    try:
        wait_until(condition, timeout, "an effect")
        return True
    except WaitTimeout:
        return False


def key_name(vk):
    if vk in KEY_NAMES:
        return KEY_NAMES[vk]
    if 0x60 <= vk <= 0x69:
        return f"Num{vk - 0x60}"
    return chr(vk) if 0x30 <= vk <= 0x5A else f"0x{vk:02X}"


def drive_each_application(rig, monitor):
    print("\n-- The remote drives each of the eight applications, one after the other --")
    TvApp(rig, [GUIDE], stay=True)
    print(f"(A window titled {GUIDE[1]!r} is put in front before every key.)")
    for name, shown, codes in DRIVEN:
        table = key_maps.load(name)
        window = key_maps.stand_in_window(table)
        # WinDVR 6 is closed through a second window, titled "WinDVR 6".
        windows = [window] + ([("WinDVR6CloseStandIn", "WinDVR 6")] if name == "windvr6" else [])
        tv = TvApp(rig, windows, stay=False, messages=[0x38F])
        kind, text = table.window
        print(f"\n{shown}: a stand-in window with the {kind} {text!r} is up")
        for code in codes + [12]:
            # Keys typed right after the switch to the front that Wine lost: pressed once more.
            typed_in_front = code != 12 and {"fg", "key"} <= {a.name for a in table.actions(code)} | {
                "key" for a in table.actions(code) if a.name == "chord"}
            for again in (False, True):
                rig.wintool("foreground", *GUIDE)
                seen = (len(tv.messages()), len(monitor.keys()), len(monitor.mouse()))
                iconic = "iconic=1" in rig.wintool("find", *window).stdout
                reads = press(rig, *([13] if again else []), code, *([13] if code == 25 else []))[again:]
                if code == 12:
                    _quietly(tv.ended, 0.5)
                if not tv.ended():
                    tv.barrier()
                what = describe(tv, monitor, seen, window, iconic, reads)
                lost = typed_in_front and "into the application" not in what
                print(f"  key {code:>2}{' (Power)' if code == 12 else ''}: {what}"
                      + ("  (lost by Wine in the switch to the front; once more)" if lost and not again else ""))
                if not lost:
                    break
        for cls, title in windows:  # stand-ins that Power only asked to close
            if rig.window_exists(cls, title):
                rig.post(cls, title, WM_CLOSE)
        wait_until(tv.ended, 10, f"the {shown} stand-in to end")


def describe(tv, monitor, seen, window, was_iconic, reads):
    """What one key did, as the stand-in application and the hooks saw it."""
    out = []
    keys = monitor.keys()[seen[1]:]
    if keys:
        held = [key_name(k.vk) for k in keys if not k.flags & 0x80]
        # Typed keys reach a window after anything posted to it, the barrier included.
        def typed():
            return [m for m in tv.messages()[seen[0]:] if m["name"] in ("WM_KEYDOWN", "WM_SYSKEYDOWN")]
        _quietly(lambda: len(typed()) >= len(held) or tv.ended(), 1)
        where = "the application, brought in front" if typed() else f"{GUIDE[1]!r}, left in front"
        out.append(f"typed {'+'.join(held)} into {where}")
    for m in tv.messages()[seen[0]:]:
        number = int(m["msg"], 16)
        if keys and m["name"].endswith(("KEYDOWN", "KEYUP")) or number == BARRIER_MESSAGE or "CHAR" in m["name"]:
            continue
        what = MESSAGE_NAMES.get(number, m["name"])
        if m["name"] == "WM_KEYDOWN":
            what += f" {key_name(int(m['wp'], 16))}"
        out.append(f"{what} wParam={int(m['wp'], 16)} lParam=0x{int(m['lp'], 16):08X}"
                   f"{' (brought in front)' if m['fg'] == '1' else ''}")
    for event in monitor.mouse()[seen[2]:]:
        if event.flags & 1:
            action = BUTTON_NAMES.get(event.message, "pointer move")
            out.append(f"{action} to ({event.x},{event.y})" if action == "pointer move"
                       else f"{action} at ({event.x},{event.y})")
    if tv.ended():
        out.append("the application closed")
    elif was_iconic != ("iconic=1" in tv.rig.wintool("find", *window).stdout):
        out.append("window restored" if was_iconic else "window minimised")
    if len(reads) > 1 and reads[1].time - reads[0].time > 1:
        out.append(f"the next key was read {reads[1].time - reads[0].time:.1f} s later")
    return "; ".join(out) or "nothing"


class RunThrough:
    def __init__(self, rig, shots):
        self.rig = rig
        self.shots = shots
        self.observers = []

    def step(self, heading, action):
        print(f"\n{heading}")
        action()
        for observer in self.observers:
            for line in observer.lines():
                print(f"  {observer.title}: {line}")

    def screenshot(self, name, rect):
        if self.shots:
            path = self.shots / name
            screenshot.capture(session.framebuffer(), rect, path)
            print(f"  (saved {path})")

    def shoot_dialog(self, caption, name):
        tray.wait_dialog(self.rig, caption, {"OK"})
        if self.shots:
            self.rig.wintool("cursor", *map(str, CORNER), check=True)
            self.screenshot(name, tray.window_rect(self.rig, "#32770", caption)[0])


def main():
    parser = argparse.ArgumentParser(description="A narrated run-through of the utility under Wine.")
    parser.add_argument("--build-dir", help="the windows build of the target (default: build/windows, or "
                                            "build/windows64 for the test twin)")
    parser.add_argument("--screenshots", metavar="DIR", help="save the menu and the dialogs there as PNG files")
    arguments = parser.parse_args()
    if arguments.build_dir:
        os.environ[target.current().build_env] = str(pathlib.Path(arguments.build_dir).resolve())
    print(target.current().describe())
    shots = pathlib.Path(arguments.screenshots).resolve() if arguments.screenshots else None
    case.check_prerequisites()
    print(f"Windows build: {paths.windows_build_dir()}")
    if shots:
        session.framebuffer_dir = session.run_root() / "framebuffer"
        session.framebuffer_dir.mkdir()
    rig = Rig("run-through")
    try:
        play(rig, RunThrough(rig, shots))
    finally:
        rig.close()


def play(rig, run):
    rig.register_devices(Device("01", RECEIVER, "demo"))
    stand_ins = installed_apps.install(rig, TOTALMEDIA, QUARTZVIEW)
    print("Installed stand-ins: TotalMedia and Quartzview (registry install folders C:\\TV\\5 and C:\\TV\\6)")
    process = rig.start_remote_control()
    rig.wait_remote_control_ready(process)
    values = wait_until(lambda: rig.prefix.reg_values(SETTINGS_KEY), 10, "the settings key")
    print(f"RemoteControl.exe runs; {SETTINGS_KEY}: "
          + ", ".join(f"{name}={data}" for name, (_, data) in values.items()))
    wait_until(lambda: rig.driver_log.requests(), 10, "polling to start")
    monitor = InputMonitor(rig)
    totalmedia = stand_ins[TOTALMEDIA]
    run.observers = [DriverObserver(rig), InputObserver(rig, monitor), AppObserver("TotalMedia", totalmedia),
                     UtilityObserver(rig, process)]

    print("\n-- The tray menu and its dialogs --")

    def open_menu():
        tray.open_menu(rig, through_icon=True, at=CORNER)
        run.screenshot("tray-menu.png", tray.menu_rect(tray.menu(rig)))
    run.step("A right click on the tray icon opens the menu: Quartzview (the default), Setting, About, Exit",
             open_menu)
    run.step("About is chosen (Up, Up, Enter)", lambda: (tray.choose(rig, VK_UP, VK_UP, VK_RETURN),
                                                         run.shoot_dialog(ABOUT, "about.png")))
    run.step("Its OK button is pressed", lambda: (rig.wintool("press", ABOUT, "OK", check=True),
                                                  _quietly(lambda: not rig.window_exists("#32770", ABOUT), 10)))

    def open_setting():
        tray.open_menu(rig, through_icon=True, at=CORNER)
        tray.choose(rig, VK_UP, VK_UP, VK_UP, VK_RETURN)
        run.shoot_dialog(SETTING, "setting.png")
        entries, selected = tray.combo(rig, SETTING, APPLICATION_LIST)
        print(f"  the list offers {entries}, {entries[selected]!r} selected")
    run.step("Setting is chosen from the menu (Up, Up, Up, Enter)", open_setting)

    def choose_totalmedia():
        entries, _ = tray.combo(rig, SETTING, APPLICATION_LIST)
        rig.wintool("select", SETTING, str(APPLICATION_LIST), str(entries.index("TotalMedia")), check=True)
        rig.wintool("press", SETTING, "OK", check=True)
        _quietly(lambda: not rig.window_exists("#32770", SETTING), 10)
        print(f"  registry: DefaultTVAPP={rig.prefix.reg_values(SETTINGS_KEY)['DefaultTVAPP'][1]}")
    run.step("TotalMedia is selected and OK pressed", choose_totalmedia)

    print("\n-- The remote drives TotalMedia --")
    run.step("Remote Power: no application is active, so the default one is launched",
             lambda: (press(rig, POWER), _quietly(lambda: totalmedia.running(), 20)))
    run.step("Remote keys 16, 19 and 30: TotalMedia's key map types Up, Right and keypad + into its window",
             lambda: (press(rig, 16), press(rig, 19), press(rig, 30),
                      _quietly(lambda: len(totalmedia.messages("WM_KEYDOWN")) >= 3, 5)))

    def power_closes():
        press(rig, POWER)
        if not _quietly(lambda: not totalmedia.running(), 5):
            # Wine now and then drops a key injected right after a foreground switch.
            print("  (the Alt+F4 chord reached no window; remote key 12 once more)")
            press(rig, POWER)
            _quietly(lambda: not totalmedia.running(), 5)
    run.step("Remote Power again: the active application is closed (Alt+F4 in the foreground)", power_closes)

    run.step("Remote Power launches it once more",
             lambda: (press(rig, POWER), _quietly(lambda: totalmedia.running(), 20)))

    def user_closes():
        rig.post("TotalMediaStandIn", "Arcsoft TotalMedia", WM_CLOSE)
        _quietly(lambda: not totalmedia.running(), 10)
    run.step("Its user closes its window", user_closes)

    def until_pointer_moves():
        monitor.place_pointer(512, 384)
        transfers = press(rig, 6)
        presses = 1
        while not (moved := _quietly(lambda: monitor.position() != (512, 384), 0.3)) and presses < 20:
            wait_idle_since(transfers, 0.3)
            transfers = press(rig, 6)
            presses += 1
        print(f"  key 6 pressed {presses} time(s): "
              + ("the watch let TotalMedia go, so it reached the pointer" if moved else "the pointer never moved"))
    run.step("Remote key 6 until the pointer moves (from the middle of the screen): the watch looks once a second",
             until_pointer_moves)

    print("\n-- No TV application: the number keys drive the pointer --")
    run.step("Remote key 6 held for 8 ticks: right, 1 px four times, then 6 px", lambda: press(rig, *[6] * 8))
    run.step("Remote key 2 held for 3 ticks: up", lambda: press(rig, *[2] * 3))
    run.step("Remote key 0: left click", lambda: press(rig, 0))

    drive_each_application(rig, monitor)
    for observer in run.observers:  # what that section showed is told already
        observer.lines()

    print("\n-- Shut down, asked and cancelled --")
    run.step("Remote key 24: no application runs, so the Shut Down dialog asks",
             lambda: (press(rig, SHUT_DOWN_KEY), run.shoot_dialog(SHUT_DOWN, "shut-down.png")))
    run.step("Remote key 16 (anything but Power) cancels it",
             lambda: (press(rig, UP_KEY), _quietly(lambda: not rig.window_exists("#32770", SHUT_DOWN), 10)))

    print("\n-- Exit --")
    run.step("The tray menu's Exit (Up, Enter) ends the program",
             lambda: (tray.open_menu(rig, through_icon=True, at=CORNER), tray.choose(rig, VK_UP, VK_RETURN),
                      _quietly(lambda: process.poll() is not None, 20)))
    print(f"\nRemoteControl.exe is {'running' if process.poll() is None else 'ended'}; "
          f"{MAIN_WINDOW!r} window {'present' if rig.window_exists(MAIN_WINDOW, MAIN_WINDOW) else 'gone'}")
    play_remote_check(rig, run, monitor)


def play_remote_check(rig, run, monitor):
    print("\n-- Remote Check: which button sends which code, and what the utility would do --")
    # A new driver instance reads the script from its start: the utility's
    # codes, all read by now, are not to be read again.
    rig.control.path.write_text("")
    check = remote_check.start(rig)
    print("RemoteCheck.exe runs; its receiver report:")
    for line in remote_check.receiver_report(rig).split("\r\n"):
        print(f"  {line}")
    keys_before = len(monitor.keys())
    press(rig, 2, 12)
    totalmedia = TvApp(rig, [("TotalMediaStandIn", "Arcsoft TotalMedia")])
    press(rig, 16, 16, 30, 12, 24)
    wait_until(lambda: len(remote_check.code_lines(rig)) >= 7, 10, "seven codes in Remote Check's list")
    print("Remote keys 2 and Power, then, with TotalMedia's window open, 16 held for two ticks, 30, Power and 24:")
    for line in reversed(remote_check.code_lines(rig)):
        print(f"  {line}")
    print(f"  keys injected meanwhile: {len(monitor.keys()) - keys_before}; "
          f"messages TotalMedia received: {len(totalmedia.messages())}")
    # Wide enough for the longest verdict whole, as a user would drag it.
    rig.wintool("resize", CHECK_CLASS, CHECK_TITLE, "900", "440", check=True)
    rig.wintool("foreground", CHECK_CLASS, CHECK_TITLE)
    rig.wintool("cursor", *map(str, CORNER), check=True)
    run.screenshot("remote-check.png", tray.window_rect(rig, CHECK_CLASS, CHECK_TITLE)[0])
    rig.post(CHECK_CLASS, CHECK_TITLE, WM_CLOSE)
    _quietly(lambda: check.poll() is not None, 20)
    print(f"RemoteCheck.exe is {'running' if check.poll() is None else 'ended'}")


if __name__ == "__main__":
    main()
