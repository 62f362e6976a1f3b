"""The input monitor (input_monitor.exe) and its log: the mouse and keyboard
events the low-level hooks saw, and every pointer position it sampled."""
import dataclasses
import itertools

from . import paths
from .capture_driver import parse_line
from .waits import wait_until

WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP = 0x0100, 0x0101, 0x0104, 0x0105
WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP = 0x0201, 0x0202, 0x0204, 0x0205
BUTTON_NAMES = {WM_LBUTTONDOWN: "left down", WM_LBUTTONUP: "left up",
                WM_RBUTTONDOWN: "right down", WM_RBUTTONUP: "right up"}
LLMHF_INJECTED = 0x01
LLKHF_EXTENDED, LLKHF_INJECTED, LLKHF_UP = 0x01, 0x10, 0x80

_serial = itertools.count(1)


@dataclasses.dataclass(frozen=True)
class MouseEvent:
    time: float
    message: int
    x: int
    y: int
    flags: int


@dataclasses.dataclass(frozen=True)
class KeyEvent:
    time: float
    message: int
    vk: int
    flags: int
    foreground: int = 0   # the foreground window as the hook saw the key; 0 for none


class InputMonitor:
    def __init__(self, rig):
        self.rig = rig
        self.log_path = rig.dir / f"input-{next(_serial)}.log"
        self.process = rig.spawn(paths.equipment("input_monitor.exe"), "--log", paths.to_wine(self.log_path),
                                 output_name=self.log_path.stem + ".out")
        wait_until(lambda: self.process.poll() is not None or self._entries("ready"), 20, "the input monitor")
        if self.process.poll() is not None:
            raise AssertionError(f"input_monitor.exe ended with {self.process.returncode}")

    def _entries(self, event):
        if not self.log_path.exists():
            return []
        with open(self.log_path, errors="replace") as f:
            lines = f.read().split("\n")[:-1]  # a line without its LF is still being written
        return [e for e in map(parse_line, lines) if e and e.event == event]

    def mouse(self, since=0.0):
        """Button and move events of the WH_MOUSE_LL hook, oldest first."""
        return [MouseEvent(e.time, int(e["msg"], 16), int(e["x"]), int(e["y"]), int(e["flags"], 16))
                for e in self._entries("mouse") if e.time >= since]

    def buttons(self, since=0.0):
        """Only the button events (SetCursorPos also yields non-injected moves)."""
        return [m for m in self.mouse(since) if m.message in BUTTON_NAMES]

    def keys(self, since=0.0):
        return [KeyEvent(e.time, int(e["msg"], 16), int(e["vk"], 16), int(e["flags"], 16), int(e["fg"], 16))
                for e in self._entries("key") if e.time >= since]

    def positions(self, since=0.0):
        """[(time, (x, y))] of every pointer position sampled, oldest first."""
        return [(e.time, (int(e["x"]), int(e["y"]))) for e in self._entries("cursor") if e.time >= since]

    def stalls(self, since=0.0):
        """Times at which the sampler had been held up long enough to miss a position."""
        return [e.time for e in self._entries("stall") if e.time >= since]

    def position(self):
        """The latest sampled position, or None."""
        samples = self.positions()
        return samples[-1][1] if samples else None

    def place_pointer(self, x, y, timeout=10):
        """Puts the pointer at (x, y) and waits until the sampler has seen it there."""
        out = self.rig.wintool("cursor", str(x), str(y), check=True).stdout
        if f"cursor x={x} y={y}" not in out:
            raise AssertionError(f"SetCursorPos({x}, {y}) left the pointer at {out.strip()}")
        wait_until(lambda: self.position() == (x, y), timeout, f"the sampler to see the pointer at {(x, y)}")
