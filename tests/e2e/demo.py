#!/usr/bin/env python3
"""Shows RemoteControl.exe at work under Wine: starts it over the stand-in
capture driver, prints its window and settings key, then presses remote keys
one at a time and prints, key by key, what each observer saw.

New observers (stand-in TV windows, the pointer) are added to OBSERVERS:
each gets the rig once at set-up and is asked after each key for the lines
that key produced."""
import sys
import time
import pathlib

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

from harness import case, paths  # noqa: E402
from harness.capture_driver import Device  # noqa: E402
from harness.rig import MAIN_WINDOW, Rig  # noqa: E402
from harness.waits import wait_until  # noqa: E402

SETTINGS_KEY = r"HKLM\Software\Tarvex Multimedia\Nimbus XQ Utilities"
RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
KEYS = [16, 17, 0x21, 5]


class DriverObserver:
    """What the stand-in driver was asked while a key was handled."""
    title = "driver"

    def __init__(self, rig):
        self.log = rig.driver_log
        self.seen = 0

    def lines(self):
        requests = self.log.requests()
        new, self.seen = requests[self.seen:], len(requests)
        out = []
        for r in new:
            if r["kind"] == "transfer" or r["answer"] == "00":
                out.append(f"{r['kind']:8} prop={r['prop']} -> hr={r['hr']} {r['answer']}")
        idle = sum(1 for r in new if r["kind"] == "status" and r["answer"] != "00")
        out.append(f"(and {idle} idle status requests)")
        return out


OBSERVERS = [DriverObserver]


def main():
    case.check_prerequisites()
    print(f"Windows build: {paths.windows_build_dir()}")
    rig = Rig("demo")
    try:
        rig.register_devices(Device("01", RECEIVER, "demo"))
        observers = [make(rig) for make in OBSERVERS]
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
        for observer in observers:
            observer.lines()
        for code in KEYS:
            print(f"\nRemote key code {code} (0x{code:02x}):")
            at = len(rig.driver_log.requests("transfer"))
            rig.control.key(code)
            wait_until(lambda: len(rig.driver_log.requests("transfer")) > at, 10, f"key {code} to be read")
            time.sleep(0.3)  # let the key's effects show before reporting them
            for observer in observers:
                for line in observer.lines():
                    print(f"  {observer.title}: {line}")
        print("\nRemoteControl.exe is", "running" if process.poll() is None else f"ended ({process.returncode})")
    finally:
        rig.close()


if __name__ == "__main__":
    main()
