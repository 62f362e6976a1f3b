"""The run-wide pieces: one Xvfb and one booted template prefix, made on first use.

Every test module of one Python process shares them; each test then gets its
own copy of the template and its own wineserver (see rig.py).
"""
import atexit
import pathlib
import shutil
import tempfile
import time

from . import paths, prefix
from .xserver import Xvfb

_state = {}


def _cleanup():
    if "xvfb" in _state:
        _state.pop("xvfb").stop()
    if "root" in _state:
        shutil.rmtree(_state.pop("root"), ignore_errors=True)


def run_root():
    if "root" not in _state:
        _state["root"] = pathlib.Path(tempfile.mkdtemp(prefix="alder-e2e-", dir=paths.work_root()))
        atexit.register(_cleanup)
    return _state["root"]


def display():
    if "xvfb" not in _state:
        run_root()
        _state["xvfb"] = Xvfb()
    return _state["xvfb"].display


def template():
    """The booted template prefix directory (built once per run)."""
    if "template" not in _state:
        started = time.monotonic()
        directory = run_root() / "template"
        prefix.build_template(directory, display(), run_root() / "wineboot.log")
        _state["template"] = directory
        _state["template_seconds"] = time.monotonic() - started
    return _state["template"]
