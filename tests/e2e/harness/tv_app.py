"""A stand-in TV application process (tv_window.exe) and its message log."""
import itertools

from . import paths
from .capture_driver import parse_line
from .waits import wait_until

# A message number nobody else sends: posted by the test after everything the
# utility posted, it arrives after all of it (one thread, one FIFO queue).
BARRIER_MESSAGE = 0x7FF0

_serial = itertools.count(1)


class TvApp:
    def __init__(self, rig, windows, stay=True, messages=()):
        """windows: [(class, title)], created in order (the last ends on top)."""
        self.rig = rig
        self.windows = windows
        number = next(_serial)
        self.log_path = rig.dir / f"tv-{number}.log"
        args = ["--log", paths.to_wine(self.log_path)]
        if stay:
            args.append("--stay")
        for message in messages:
            args += ["--message", str(message)]
        for cls, title in windows:
            args += ["--window", cls, title]
        self.process = rig.spawn(paths.equipment("tv_window.exe"), *args, output_name=f"tv-{number}.out")
        wait_until(lambda: self.process.poll() is not None or self.entries("ready"), 20,
                   "the stand-in TV windows")
        if self.process.poll() is not None:
            raise AssertionError(f"tv_window.exe ended with {self.process.returncode}")

    def entries(self, event=None):
        if not self.log_path.exists():
            return []
        with open(self.log_path, errors="replace") as f:
            lines = f.read().split("\n")[:-1]
        parsed = [e for e in map(parse_line, lines) if e]
        return [e for e in parsed if event is None or e.event == event]

    def messages(self, name=None):
        return [e for e in self.entries("msg") if name is None or e["name"] == name]

    def barrier(self, timeout=10):
        """Returns once every window has handled all that was posted to it before."""
        for cls, title in self.windows:
            self.rig.post(cls, title, BARRIER_MESSAGE, 0, 0)
        wanted = {title for _, title in self.windows}
        wait_until(lambda: {e["title"] for e in self.messages(str(BARRIER_MESSAGE))} >= wanted, timeout,
                   "the barrier message in every stand-in window")
