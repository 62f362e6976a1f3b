"""Stand-in TV applications (tv_window.exe) and their message logs: one
started by the test, or one installed in the prefix for the utility to start."""
import itertools
import shutil

from . import paths
from .capture_driver import parse_line
from .waits import wait_until

# A message number nobody else sends: posted by the test after everything the
# utility posted, it arrives after all of it (one thread, one FIFO queue).
BARRIER_MESSAGE = 0x7FF0

_serial = itertools.count(1)


def _options(log_path, windows, stay, messages):
    args = ["--log", paths.to_wine(log_path)]
    if stay:
        args.append("--stay")
    for message in messages:
        args += ["--message", str(message)]
    for cls, title in windows:
        args += ["--window", cls, title]
    return args


class TvLog:
    """What the stand-in's windows logged."""

    def entries(self, event=None):
        if not self.log_path.exists():
            return []
        with open(self.log_path, errors="replace") as f:
            lines = f.read().split("\n")[:-1]
        parsed = [e for e in map(parse_line, lines) if e]
        return [e for e in parsed if event is None or e.event == event]

    def messages(self, name=None):
        return [e for e in self.entries("msg") if name is None or e["name"] == name]

    def hwnd(self, title):
        """The handle of the stand-in's window with this title."""
        return next(int(e["hwnd"], 16) for e in self.entries("window") if e["title"] == title)

    def barrier(self, timeout=10):
        """Returns once every window has handled all that was posted to it before."""
        for cls, title in self.windows:
            self.rig.post(cls, title, BARRIER_MESSAGE, 0, 0)
        wanted = {title for _, title in self.windows}
        wait_until(lambda: {e["title"] for e in self.messages(str(BARRIER_MESSAGE))} >= wanted, timeout,
                   "the barrier message in every stand-in window")


class TvApp(TvLog):
    def __init__(self, rig, windows, stay=True, messages=()):
        """windows: [(class, title)], created in order (the last ends on top)."""
        self.rig = rig
        self.windows = windows
        number = next(_serial)
        self.log_path = rig.dir / f"tv-{number}.log"
        args = _options(self.log_path, windows, stay, messages)
        self.process = rig.spawn(paths.equipment("tv_window.exe"), *args, output_name=f"tv-{number}.out")
        wait_until(lambda: self.process.poll() is not None or self.entries("ready"), 20,
                   "the stand-in TV windows")
        if self.process.poll() is not None:
            raise AssertionError(f"tv_window.exe ended with {self.process.returncode}")

    def ended(self):
        return self.process.poll() is not None


class InstalledTvApp(TvLog):
    """A stand-in copied to `folder` (a Linux path inside the prefix's drive C:)
    under the application's executable name; the utility starts it through
    the shell, with "remote" as its parameter, after it read the install
    location from the registry (harness/installed_apps.py)."""

    def __init__(self, rig, folder, exe_name, windows, stay=False, messages=()):
        self.rig = rig
        self.windows = windows
        self.log_path = rig.dir / f"tv-{next(_serial)}.log"
        folder.mkdir(parents=True, exist_ok=True)
        exe = folder / exe_name
        shutil.copyfile(paths.equipment("tv_window.exe"), exe)
        (folder / (exe_name + ".args")).write_text("\r\n".join(_options(self.log_path, windows, stay, messages)))

    def launches(self):
        """The shell parameters of every start, in order."""
        return [e["args"] for e in self.entries("launched")]

    def running(self):
        starts, ends = len(self.entries("ready")), len(self.entries("exit"))
        return starts > ends

    def ended(self):
        return bool(self.entries("ready")) and not self.running()

    def wait_started(self, count=1, timeout=20):
        wait_until(lambda: len(self.entries("ready")) >= count, timeout, f"start {count} of {self.windows[0][1]!r}")

    def wait_ended(self, timeout=20):
        wait_until(lambda: not self.running(), timeout, f"{self.windows[0][1]!r} to end")
