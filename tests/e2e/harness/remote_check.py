"""Remote Check (RemoteCheck.exe) as the tests and the run-through see it:
started in a rig, and the texts of its window read back through wintool."""
from . import paths
from .capture_driver import parse_line
from .rig import unescape

CHECK_CLASS, CHECK_TITLE = "Alder Remote Check", "Remote Check"


def start(rig):
    """Starts RemoteCheck.exe and waits for its window; returns the process."""
    process = rig.spawn(paths.remote_check_exe(), output_name="remote-check.out")
    rig.wait_window(CHECK_CLASS, CHECK_TITLE)
    return process


def _texts(rig, command):
    lines = rig.wintool(command, CHECK_CLASS, CHECK_TITLE, check=True).stdout.splitlines()
    return [unescape(parse_line("t=0 " + line)["title"]) for line in lines
            if line.startswith(("control ", "entry "))]


def receiver_report(rig):
    """The text at the top of the window: the devices and the receiver."""
    texts = _texts(rig, "children")
    # Before its first control is made the window has no text to read.
    return texts[0] if texts else ""


def code_lines(rig):
    """The lines of the code list, newest first as the window shows them."""
    return _texts(rig, "listbox")
