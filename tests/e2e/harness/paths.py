"""Where the Windows build and the test equipment are, seen from Linux and Wine."""
import os
import pathlib

from . import target

SOURCE_DIR = target.SOURCE_DIR


def windows_build_dir():
    """The windows build of this run's target (harness/target.py): its
    variable (ALDER_WINDOWS_BUILD_DIR, ALDER_WINDOWS64_BUILD_DIR) first, then
    the preset's place."""
    return target.current().build_dir()


def remote_control_exe():
    return windows_build_dir() / "RemoteControl.exe"


def remote_check_exe():
    return windows_build_dir() / "RemoteCheck.exe"


def equipment(name):
    """A piece of test equipment built by the windows build."""
    return windows_build_dir() / "tests" / "e2e" / "equipment" / name


def to_wine(path):
    """Wine maps the Linux root to drive Z:."""
    return "Z:" + str(pathlib.Path(path).resolve()).replace("/", "\\")


def work_root():
    """Scratch space for prefixes and logs of one run."""
    base = os.environ.get("ALDER_E2E_WORK") or os.environ.get("TMPDIR") or "/tmp"
    return pathlib.Path(base)


def keep_work():
    """ALDER_E2E_KEEP=1 keeps every test's prefix and logs for a post-mortem."""
    return os.environ.get("ALDER_E2E_KEEP") == "1"
