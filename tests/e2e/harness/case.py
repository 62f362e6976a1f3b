"""Base class of the end-to-end tests: a fresh rig per test, and a loud
failure (not a skip) when Wine, Xvfb or the Windows build is missing."""
import os
import shutil
import unittest

from . import paths, target
from .rig import Rig
from .waits import wait_until


def check_prerequisites():
    missing = [tool for tool in ("wineserver", "Xvfb") if not shutil.which(tool)]
    loader = target.current().loader
    if not (shutil.which(loader) or os.access(loader, os.X_OK)):
        missing.append(loader)
    needed = [paths.remote_control_exe(), paths.remote_check_exe()] + [paths.equipment(name) for name in (
        "stand_in_capture.dll", "wintool.exe", "tv_window.exe", "input_monitor.exe", "capture_probe.exe")]
    missing += [str(p) for p in needed if not p.exists()]
    if missing:
        raise AssertionError("end-to-end tests cannot run; missing: " + ", ".join(missing)
                             + " (build the 'windows' preset, or 'windows64' for the twin; tools/install-dependencies)")


class RigTestCase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        check_prerequisites()

    def setUp(self):
        self.rig = Rig(self.id().rsplit(".", 1)[-1])
        self.addCleanup(lambda: self.rig.close())

    def fresh_rig(self):
        """A new prefix for the next row of a table-driven test."""
        if not self.rig.used:
            return
        self.rig.close()
        self.rig = Rig(self.id().rsplit(".", 1)[-1])

    def start_utility(self, *devices):
        """Registers the devices, starts RemoteControl.exe and waits for its window."""
        if devices:
            self.rig.register_devices(*devices)
        process = self.rig.start_remote_control()
        self.rig.wait_remote_control_ready(process)
        self.assertIsNone(process.poll(), "RemoteControl.exe ended during start-up")
        return process

    def wait_requests(self, count, timeout=10, kind=None):
        log = self.rig.driver_log
        return wait_until(lambda: len(log.requests(kind)) >= count and log.requests(kind), timeout,
                          f"{count} {kind or ''} driver requests")

    def wait_exit(self, process, timeout=20):
        wait_until(lambda: process.poll() is not None, timeout, "RemoteControl.exe to end")
        return process.returncode
