"""Where the Windows build and the test equipment are, seen from Linux and Wine."""
import os
import pathlib

SOURCE_DIR = pathlib.Path(__file__).resolve().parents[3]


def windows_build_dir():
    """The ALDER windows build directory: env var first, then the preset's place."""
    configured = os.environ.get("ALDER_WINDOWS_BUILD_DIR")
    return pathlib.Path(configured) if configured else SOURCE_DIR / "build" / "windows"


def remote_control_exe():
    return windows_build_dir() / "RemoteControl.exe"


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
