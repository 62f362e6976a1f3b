"""The run-wide pieces: one Xvfb and one booted template prefix, made on first use.

Every test of one Python process shares them; each test then gets its own
copy of the template and its own wineserver (see rig.py). With
ALDER_E2E_TEMPLATE_CACHE set (CTest sets it to a folder of the host build),
the template is booted once for all the e2e processes of a build, under a
lock, and rebuilt when the Wine version, the prefix's kind (32- or 64-bit) or
the template settings change.
"""
import atexit
import fcntl
import hashlib
import os
import pathlib
import shutil
import subprocess
import tempfile

from . import paths, prefix, target
from .xserver import Xvfb

_state = {}
# Set before the first display() to have Xvfb keep its screen in a file there.
framebuffer_dir = None
# The screen of the run, set before the first display(): every module runs at
# 1024x768 but the one that checks today's wide screens.
screen_size = (1024, 768)


def _cleanup():
    if "xvfb" in _state:
        _state.pop("xvfb").stop()
    if "root" in _state and not paths.keep_work():
        shutil.rmtree(_state.pop("root"), ignore_errors=True)


def run_root():
    if "root" not in _state:
        _state["root"] = pathlib.Path(tempfile.mkdtemp(prefix="alder-e2e-", dir=paths.work_root()))
        atexit.register(_cleanup)
    return _state["root"]


def display():
    if "xvfb" not in _state:
        run_root()
        _state["xvfb"] = Xvfb(*screen_size, framebuffer_dir=framebuffer_dir)
    return _state["xvfb"].display


def framebuffer():
    """The XWD file of the screen, when framebuffer_dir was set."""
    display()
    return _state["xvfb"].framebuffer


def _template_key():
    version = subprocess.run(prefix.wine("--version"), capture_output=True, text=True, timeout=30).stdout
    kind = target.current().wine_arch
    return hashlib.sha256((version + kind + repr(prefix.TEMPLATE_SETTINGS)).encode()).hexdigest()[:16]


def _cached_template(cache):
    cache.mkdir(parents=True, exist_ok=True)
    directory = cache / f"template-{_template_key()}"
    with open(cache / "template.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not (directory / ".complete").exists():
            shutil.rmtree(directory, ignore_errors=True)
            prefix.build_template(directory, display(), cache / "wineboot.log")
            (directory / ".complete").touch()
    return directory


def template():
    """The booted template prefix directory."""
    if "template" not in _state:
        cache = os.environ.get("ALDER_E2E_TEMPLATE_CACHE")
        if cache:
            _state["template"] = _cached_template(pathlib.Path(cache))
        else:
            directory = run_root() / "template"
            prefix.build_template(directory, display(), run_root() / "wineboot.log")
            _state["template"] = directory
    return _state["template"]
