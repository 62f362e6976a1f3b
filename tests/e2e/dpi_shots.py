#!/usr/bin/env python3
"""Screenshots of the tray menu, About, Setting, the Shut Down dialog and
Remote Check at 96, 144 and 192 DPI (100, 150 and 200 %), under Wine, of the
target tools/e2e-target names: both programs are DPI-aware, so at each DPI
their windows are laid out anew rather than stretched. Not a test; it
asserts nothing but that each window appears.

    python3 tests/e2e/dpi_shots.py DIR     # DIR/<window>-<dpi>.png
"""
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

from harness import case, installed_apps, remote_check, screenshot, session, target, tray  # noqa: E402
from harness.capture_driver import Device  # noqa: E402
from harness.remote_keys import press  # noqa: E402
from harness.rig import Rig  # noqa: E402
from harness.tray import VK_RETURN, VK_UP  # noqa: E402
from harness.waits import wait_until  # noqa: E402

RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
ABOUT, SETTING, SHUT_DOWN = "Remote Control - About", "Remote Control - Setting", "Remote Control - Shut Down"
QUARTZVIEW_SHUT_DOWN_KEY = 29
CORNER = (1023, 767)


def shoot(rig, shots, name, rect):
    screenshot.capture(session.framebuffer(), rect, shots / name)
    print(f"saved {shots / name}")


def dialog(rig, shots, caption, name):
    tray.wait_dialog(rig, caption, {"OK"})
    rig.wintool("cursor", *map(str, CORNER), check=True)
    shoot(rig, shots, name, tray.window_rect(rig, "#32770", caption)[0])
    rig.wintool("press", caption, "Cancel" if caption == SHUT_DOWN else "OK", check=True)
    wait_until(lambda: not rig.window_exists("#32770", caption), 10, f"{caption} to close")


def at_dpi(dpi, shots):
    rig = Rig(f"dpi-{dpi}")
    try:
        # Read by Wine when a process starts: set before either program runs.
        rig.prefix.reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", "REG_DWORD", dpi)
        rig.register_devices(Device("01", RECEIVER, "dpi"))
        installed_apps.install(rig, 5, 6)
        process = rig.start_remote_control()
        rig.wait_remote_control_ready(process)
        wait_until(lambda: rig.driver_log.requests(), 10, "polling to start")
        tray.open_menu(rig, through_icon=True, at=CORNER)
        shoot(rig, shots, f"tray-menu-{dpi}.png", tray.menu_rect(tray.menu(rig)))
        tray.choose(rig, VK_UP, VK_UP, VK_RETURN)
        dialog(rig, shots, ABOUT, f"about-{dpi}.png")
        tray.open_menu(rig, through_icon=True, at=CORNER)
        tray.choose(rig, VK_UP, VK_UP, VK_UP, VK_RETURN)
        dialog(rig, shots, SETTING, f"setting-{dpi}.png")
        press(rig, QUARTZVIEW_SHUT_DOWN_KEY)  # Quartzview, the default, is not running
        dialog(rig, shots, SHUT_DOWN, f"shut-down-{dpi}.png")
        rig.post_main(0x0010)  # WM_CLOSE: Remote Check reads the receiver alone
        wait_until(lambda: process.poll() is not None, 20, "RemoteControl.exe to end")
        rig.control.path.write_text("")
        check = remote_check.start(rig)
        press(rig, 2, 12)
        wait_until(lambda: len(remote_check.code_lines(rig)) >= 2, 10, "two codes in Remote Check")
        rig.wintool("cursor", *map(str, CORNER), check=True)
        shoot(rig, shots, f"remote-check-{dpi}.png",
              tray.window_rect(rig, remote_check.CHECK_CLASS, remote_check.CHECK_TITLE)[0])
        rig.post(remote_check.CHECK_CLASS, remote_check.CHECK_TITLE, 0x0010)
        wait_until(lambda: check.poll() is not None, 20, "RemoteCheck.exe to end")
    finally:
        rig.close()


def main(directory):
    print(target.current().describe())
    case.check_prerequisites()
    shots = pathlib.Path(directory).resolve()
    shots.mkdir(parents=True, exist_ok=True)
    session.framebuffer_dir = session.run_root() / "framebuffer"
    session.framebuffer_dir.mkdir()
    for dpi in (96, 144, 192):
        at_dpi(dpi, shots)


if __name__ == "__main__":
    main(sys.argv[1])
