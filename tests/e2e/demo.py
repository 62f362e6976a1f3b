#!/usr/bin/env python3
"""Shows RemoteControl.exe at work under Wine: starts it over the stand-in
capture driver, prints its window and settings key, then plays a short remote
session and prints, key by key, what each observer saw:

  - with no TV application, number keys move and click the real pointer;
  - a stand-in TotalMedia window appears, a number key makes it the active
    application (the pointer stays put), and Power closes it with Alt+F4.

Observers (the driver, the pointer, the stand-in TV windows) are asked after
each step for the lines that step produced."""
import argparse
import os
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

from harness import case, paths  # noqa: E402
from harness.capture_driver import Device  # noqa: E402
from harness.input_monitor import BUTTON_NAMES, InputMonitor  # noqa: E402
from harness.remote_keys import press  # noqa: E402
from harness.rig import MAIN_WINDOW, Rig  # noqa: E402
from harness.tv_app import TvApp  # noqa: E402
from harness.waits import WaitTimeout, wait_until  # noqa: E402

SETTINGS_KEY = r"HKLM\Software\Tarvex Multimedia\Nimbus XQ Utilities"
RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
TOTALMEDIA = ("TotalMediaStandIn", "Arcsoft TotalMedia")


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


class PointerObserver:
    """Where the pointer went and which buttons the hook saw."""
    title = "input"

    def __init__(self, rig):
        self.rig = rig
        self.monitor = InputMonitor(rig)
        self.since = 0.0

    def lines(self):
        # The sampler runs every 2 ms; wait until it has caught up with the pointer.
        now = self.rig.wintool("cursor", check=True).stdout.split()
        at = (int(now[1].removeprefix("x=")), int(now[2].removeprefix("y=")))
        try:
            wait_until(lambda: self.monitor.position() == at, 2, "the sampler to catch up")
        except WaitTimeout:
            pass
        out = []
        path = [p for t, p in self.monitor.positions() if t > self.since]
        if path:
            out.append("moved through " + " ".join(f"({x},{y})" for x, y in path))
        for b in [b for b in self.monitor.buttons() if b.time > self.since]:
            out.append(f"{BUTTON_NAMES[b.message]} at ({b.x},{b.y}){' injected' if b.flags & 1 else ''}")
        keys = [k for k in self.monitor.keys() if k.time > self.since]
        if keys:
            out.append("keys " + " ".join(f"vk=0x{k.vk:02x}{' up' if k.flags & 0x80 else ' down'}"
                                          f"{' ext' if k.flags & 1 else ''}" for k in keys))
        stamps = [t for t, _ in self.monitor.positions()] + [b.time for b in self.monitor.mouse()] + \
                 [k.time for k in self.monitor.keys()]
        self.since = max(stamps + [self.since])
        return out or [f"stays at ({at[0]},{at[1]})"]


class TvObserver:
    """What a stand-in TV window received."""

    def __init__(self, tv):
        self.tv = tv
        self.title = tv.windows[0][1]
        self.seen = 0

    def lines(self):
        messages = self.tv.messages()
        new, self.seen = messages[self.seen:], len(messages)
        out = [f"{m['name']} wParam={m['wp']} lParam={m['lp']}{' (foreground)' if m['fg'] == '1' else ''}"
               for m in new]
        if self.tv.process.poll() is not None and not getattr(self, "ended", False):
            self.ended = True
            out.append("window closed, program ended")
        return out or ["nothing"]


def step(observers, heading, action):
    print(f"\n{heading}")
    action()
    for observer in observers:
        for line in observer.lines():
            print(f"  {observer.title}: {line}")


def main():
    parser = argparse.ArgumentParser(description="A narrated remote-control session under Wine.")
    parser.add_argument("--build-dir", help="the windows build (default: build/windows of the source tree)")
    arguments = parser.parse_args()
    if arguments.build_dir:
        os.environ["ALDER_WINDOWS_BUILD_DIR"] = str(pathlib.Path(arguments.build_dir).resolve())
    case.check_prerequisites()
    print(f"Windows build: {paths.windows_build_dir()}")
    rig = Rig("demo")
    try:
        rig.register_devices(Device("01", RECEIVER, "demo"))
        process = rig.start_remote_control()
        rig.wait_remote_control_ready(process)
        print("\nTop-level windows of the utility:")
        for line in rig.wintool("list").stdout.splitlines():
            if MAIN_WINDOW in line:
                print("  " + line)
        print(f"\nSettings key {SETTINGS_KEY}:")
        values = wait_until(lambda: rig.prefix.reg_values(SETTINGS_KEY), 10, "the settings key")
        for name, (kind, data) in values.items():
            print(f"  {name} {kind} {data}")
        wait_until(lambda: rig.driver_log.requests(), 10, "polling to start")
        pointer = PointerObserver(rig)
        rig.wintool("cursor", "512", "384", check=True)
        observers = [DriverObserver(rig), pointer]
        pointer.lines()

        print("\n-- No TV application running: the number keys drive the pointer --")
        for codes, what in [
            ([6] * 12, "key 6 held for 12 ticks: right, 1 px four times, then 6 px, then 12 px"),
            ([2] * 3, "key 2 held for 3 ticks: up, 1 px each"),
            ([0], "key 0: left click"),
            ([10], "key 10: right click"),
            ([5], "key 5: press and hold the left button"),
            ([9] * 6, "key 9 held for 6 ticks: drag down-right"),
            ([5], "key 5 again: release the button"),
        ]:
            step(observers, f"Remote {what}", lambda: press(rig, *codes))

        print("\n-- A TV application starts --")
        tv = TvApp(rig, [TOTALMEDIA], stay=False)
        print(f"  stand-in window class={TOTALMEDIA[0]!r} title={TOTALMEDIA[1]!r} is up")
        observers.append(TvObserver(tv))
        step(observers, "Remote key 6: TotalMedia's window is found and becomes the active application",
             lambda: press(rig, 6))
        step(observers, "Remote key 12 (Power): the active application is closed",
             lambda: (press(rig, 12), _wait_quietly(lambda: tv.process.poll() is not None, 5)))
        if tv.process.poll() is None:
            # Wine now and then drops a key injected right after a foreground switch.
            step(observers, "The chord reached no window; remote keys 6 and 12 once more",
                 lambda: (press(rig, 6, 12), _wait_quietly(lambda: tv.process.poll() is not None, 5)))

        print("\nRemoteControl.exe is", "running" if process.poll() is None else f"ended ({process.returncode})")
    finally:
        rig.close()


def _wait_quietly(condition, timeout):
    """For the narration only: give an effect time to show, without failing."""
    try:
        wait_until(condition, timeout, "an effect")
    except WaitTimeout:
        pass


if __name__ == "__main__":
    main()
