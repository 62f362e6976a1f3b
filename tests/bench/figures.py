#!/usr/bin/env python3
"""Figures of RemoteControl.exe against the floor, measured under Wine with the
stand-in capture driver of the end-to-end rig (not a test: it prints numbers).

    python3 tests/bench/figures.py [--idle-seconds 60] [--keys 150] [--starts 5]

The floor is floor_poller.exe (tests/bench/floor/), the least a Win32 program
can do to watch the receiver as often as the utility: a 65 ms timer sending
one status request to its own instance of the same stand-in device.

1. Idle cost: both programs polling side by side in one Wine session, with no
   key waiting, for --idle-seconds: CPU time of each process (the sum of its
   threads' on-CPU time from /proc/<pid>/task/*/schedstat), the wineserver's
   CPU time over the same span (shared by both), and private memory (Linux's
   view: Private_Clean + Private_Dirty of /proc/<pid>/smaps_rollup, Wine's own
   DLLs and heaps included in both).
2. Start-up: process start (just before the Linux process is spawned) to the
   first status request, --starts times each, alternating.
3. Key latency: --keys codes per kind, each queued at a random moment 0.3 to
   0.7 s after the previous one arrived: left clicks in pointer mode (arrival:
   the input monitor's low-level mouse hook), and keys to a stand-in TotalMedia
   window (arrival: the window's WM_KEYDOWN). Split into the polling wait (code
   queued to the status request that saw it; its floor is uniform over
   0-65 ms), the read (status to transfer) and the program's own handling
   (transfer to arrival).
4. Calls: Wine's relay trace of a separate run of each program, the Win32
   calls made from the program's own image per idle tick and per key
   (KsProperty is a COM call, outside the trace: one per request).

One clock for all ends: Linux's raw monotonic clock (CLOCK_MONOTONIC_RAW, the
clock of Wine's QueryPerformanceCounter). The equipment stamps its log lines
with the wall clock; a sampler here reads (wall, raw) pairs every 10 ms and
every stamp is moved onto the raw clock through them, so neither a wall-clock
step nor the monotonic clock's offset can bias a latency.
"""
import argparse
import bisect
import collections
import os
import pathlib
import random
import re
import signal
import statistics
import struct
import sys
import threading
import time

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "e2e"))

from harness import capture_driver, paths, target  # noqa: E402
from harness.capture_driver import Device, RequestLog  # noqa: E402
from harness.input_monitor import InputMonitor  # noqa: E402
from harness.rig import Rig  # noqa: E402
from harness.tv_app import TvApp  # noqa: E402
from harness.waits import wait_until  # noqa: E402

RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
TOTALMEDIA = ("TotalMediaStandIn", "Arcsoft TotalMedia")
LEFT_CLICK = 0
TOTALMEDIA_KEYS = {16: 0x26, 17: 0x28}  # code: the virtual key TotalMedia receives (Up, Down)
WM_KEYDOWN = 0x100
WM_LBUTTONDOWN = 0x201
WM_CLOSE = 0x10


def floor_exe():
    return paths.windows_build_dir() / "tests" / "bench" / "floor_poller.exe"


def raw_now():
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW)


class ClockMap(threading.Thread):
    """(wall, raw) pairs every 10 ms; to_raw() interpolates between them."""

    def __init__(self):
        super().__init__(daemon=True)
        self.walls, self.raws = [], []
        self.lock = threading.Lock()
        self.stopping = threading.Event()
        self.sample()

    def sample(self):
        before = raw_now()
        wall = time.time()
        after = raw_now()
        with self.lock:
            self.walls.append(wall)
            self.raws.append((before + after) / 2)

    def run(self):
        while not self.stopping.wait(0.01):
            self.sample()

    def to_raw(self, wall):
        with self.lock:
            i = min(max(bisect.bisect_left(self.walls, wall), 1), len(self.walls) - 1)
            w0, w1, r0, r1 = self.walls[i - 1], self.walls[i], self.raws[i - 1], self.raws[i]
        return r0 + (wall - w0) * ((r1 - r0) / (w1 - w0) if w1 > w0 else 1.0)


class Tail:
    """The parsed lines of an equipment log, read on from where the last call
    stopped: re-reading whole logs every few ms would load the machine that is
    being measured."""

    def __init__(self, path):
        self.path, self.offset, self.entries, self.pending = path, 0, [], b""

    def read(self):
        if self.path.exists():
            with open(self.path, "rb") as f:
                f.seek(self.offset)
                data = f.read()
            self.offset += len(data)
            lines = (self.pending + data).split(b"\n")
            # A line without its LF is still being written.
            self.pending = lines.pop()
            self.entries += [e for e in map(capture_driver.parse_line,
                                            (line.decode(errors="replace") for line in lines)) if e]
        return self.entries


# -- /proc -------------------------------------------------------------------
def cpu_seconds(pid):
    total = 0
    for task in pathlib.Path(f"/proc/{pid}/task").iterdir():
        try:
            total += int((task / "schedstat").read_text().split()[0])
        except (OSError, ValueError):
            pass
    return total / 1e9


def private_kib(pid):
    fields = {}
    for line in pathlib.Path(f"/proc/{pid}/smaps_rollup").read_text().splitlines():
        parts = line.split()
        if len(parts) >= 2 and parts[0].endswith(":"):
            fields[parts[0][:-1]] = int(parts[1]) if parts[1].isdigit() else 0
    return fields.get("Private_Clean", 0) + fields.get("Private_Dirty", 0)


def wineserver_pid(prefix_dir):
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            command = pathlib.Path(f"/proc/{entry}/cmdline").read_bytes().split(b"\0")[0]
            environment = pathlib.Path(f"/proc/{entry}/environ").read_bytes().split(b"\0")
        except OSError:
            continue
        # Debian's wineserver is a script that runs wineserver32 or wineserver64.
        if os.path.basename(command).startswith(b"wineserver") and f"WINEPREFIX={prefix_dir}".encode() in environment:
            return int(entry)
    return None


# -- statistics ----------------------------------------------------------------
def quantile(values, q):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, max(0, round(q * (len(ordered) - 1))))]


def ms_summary(values):
    return (f"p50 {quantile(values, 0.5) * 1000:6.1f}  p99 {quantile(values, 0.99) * 1000:6.1f}  "
            f"max {max(values) * 1000:6.1f} ms")


def row(name, value, floor, unit):
    ratio = f"{value / floor:6.2f}x" if floor else "     -"
    print(f"  {name:<34} {value:10.2f} {unit:<4} floor {floor:10.2f} {unit:<4} ratio {ratio}")


# -- the session ---------------------------------------------------------------
class Bench:
    def __init__(self, name):
        self.rig = Rig(name)
        # The utility binds the first device with a receiver's name; the floor
        # program its own instance (index 1), with its own log and script.
        self.floor_log = RequestLog(self.rig.dir / "floor-driver.log")
        self.floor_control = self.rig.dir / "floor-control.txt"
        self.floor_control.touch()
        self.rig.used = True
        for devices, control, log in (
                ([Device("01", RECEIVER, "rc")], self.rig.control.path, self.rig.driver_log.path),
                ([Device("02", "Bench Floor Capture", "floor")], self.floor_control, self.floor_log.path)):
            self.rig.prefix.reg_import(capture_driver.registration(devices, control, log), self.rig.dir)

    def start_utility(self):
        started = raw_now()
        process = self.rig.start_remote_control()
        return process, started

    def start_floor(self):
        started = raw_now()
        process = self.rig.spawn(floor_exe(), "1", output_name="floor.out")
        return process, started

    def close_utility(self, process):
        self.rig.post_main(WM_CLOSE)
        wait_until(lambda: process.poll() is not None, 20, "RemoteControl.exe to end")

    @staticmethod
    def stop_floor(process):
        process.send_signal(signal.SIGKILL)
        process.wait(20)


def first_request_after(log, clock, since_raw, timeout=30):
    return wait_until(lambda: next((clock.to_raw(r.time) for r in log.requests()
                                    if clock.to_raw(r.time) > since_raw), None), timeout, "a first request")


def measure_idle(bench, clock, seconds):
    print(f"\nIdle, {seconds:.0f} s side by side, no key waiting:")
    utility, _ = bench.start_utility()
    floor, _ = bench.start_floor()
    wait_until(lambda: len(bench.rig.driver_log.requests()) >= 3 and len(bench.floor_log.requests()) >= 3, 60,
               "both programs polling")
    server = wineserver_pid(bench.rig.prefix.path)
    time.sleep(2)  # past start-up's one-off work
    begin = {"utility": cpu_seconds(utility.pid), "floor": cpu_seconds(floor.pid),
             "server": cpu_seconds(server) if server else 0.0}
    ticks_before = (len(bench.rig.driver_log.requests()), len(bench.floor_log.requests()))
    span_start = raw_now()
    time.sleep(seconds)
    span = raw_now() - span_start
    end = {"utility": cpu_seconds(utility.pid), "floor": cpu_seconds(floor.pid),
           "server": cpu_seconds(server) if server else 0.0}
    ticks = (len(bench.rig.driver_log.requests()) - ticks_before[0],
             len(bench.floor_log.requests()) - ticks_before[1])
    memory = (private_kib(utility.pid), private_kib(floor.pid))
    used = {k: end[k] - begin[k] for k in end}
    row("CPU time per minute", used["utility"] * 60 / span * 1000, used["floor"] * 60 / span * 1000, "ms")
    row("CPU time per tick", used["utility"] / max(ticks[0], 1) * 1e6, used["floor"] / max(ticks[1], 1) * 1e6,
        "us")
    row("status requests per minute", ticks[0] * 60 / span, ticks[1] * 60 / span, "")
    row("private memory", memory[0] / 1024, memory[1] / 1024, "MiB")
    print(f"  wineserver, shared by both (and Wine's desktop): {used['server'] * 60 / span * 1000:.1f} ms CPU "
          "per minute")
    bench.close_utility(utility)
    bench.stop_floor(floor)


def measure_startup(bench, clock, starts):
    print(f"\nStart-up, process start to the first status request ({starts} starts each):")
    times = {"utility": [], "floor": []}
    for _ in range(starts):
        process, started = bench.start_utility()
        times["utility"].append(first_request_after(bench.rig.driver_log, clock, started) - started)
        bench.close_utility(process)
        process, started = bench.start_floor()
        times["floor"].append(first_request_after(bench.floor_log, clock, started) - started)
        bench.stop_floor(process)
    for name in times:
        print(f"  {name:<8} {ms_summary(times[name])}  (all: "
              f"{', '.join(f'{t * 1000:.0f}' for t in times[name])} ms)")
    row("start-up, median", statistics.median(times["utility"]) * 1000,
        statistics.median(times["floor"]) * 1000, "ms")


def feed_keys(bench, clock, codes, arrived_events, label):
    """Queues each code at a random moment and splits its latency; returns the
    lists of (wait, read, handling) and the count of codes that never arrived.
    arrived_events(code, entries) picks the arrival events out of log entries."""
    driver = Tail(bench.rig.driver_log.path)
    waits, reads, handlings, lost = [], [], [], 0
    rng = random.Random(12)
    for code in codes:
        time.sleep(rng.uniform(0.3, 0.7))
        before = len(driver.read())
        bench.rig.control.key(code)
        ready = raw_now()

        def transfer():
            new = [e for e in driver.read()[before:] if e.event == "req"]
            for i, r in enumerate(new):
                if r["kind"] == "transfer" and i > 0:
                    return new[i - 1], r
            return None

        status, read = wait_until(transfer, 5, f"the transfer of code {code}", interval=0.002)
        status_at, read_at = clock.to_raw(status.time), clock.to_raw(read.time)
        try:
            arrived = wait_until(lambda: arrived_events(code, read.time), 3, f"{label} {code} to arrive",
                                 interval=0.002)
        except AssertionError:
            lost += 1
            continue
        waits.append(status_at - ready)
        reads.append(read_at - status_at)
        handlings.append(clock.to_raw(arrived) - read_at)
    return waits, reads, handlings, lost


def measure_latency(bench, clock, keys):
    print(f"\nKey latency ({keys} codes per kind, queued at random moments):")
    utility, _ = bench.start_utility()
    wait_until(lambda: len(bench.rig.driver_log.requests()) >= 3, 30, "the utility polling")
    monitor = InputMonitor(bench.rig)
    mouse = Tail(monitor.log_path)

    def click_arrived(code, after_wall):
        return next((e.time for e in mouse.read() if e.event == "mouse" and e.time >= after_wall
                     and int(e["msg"], 16) == WM_LBUTTONDOWN), None)

    results = {"pointer click": feed_keys(bench, clock, [LEFT_CLICK] * keys, click_arrived, "click")}

    totalmedia = TvApp(bench.rig, [TOTALMEDIA], stay=True)
    window = Tail(totalmedia.log_path)

    def key_arrived(code, after_wall):
        return next((e.time for e in window.read() if e.event == "msg" and e.time >= after_wall
                     and int(e["msg"], 16) == WM_KEYDOWN and int(e["wp"], 16) == TOTALMEDIA_KEYS[code]), None)

    codes = [16 + i % 2 for i in range(keys)]
    results["TotalMedia key"] = feed_keys(bench, clock, codes, key_arrived, "key")
    floor_wait = [i / 1000 * 0.065 for i in range(1001)]
    for label, (waits, reads, handlings, lost) in results.items():
        print(f"  {label} ({len(waits)} arrived, {lost} lost):")
        print(f"    polling wait      {ms_summary(waits)}   floor {ms_summary(floor_wait)}")
        print(f"    read (transfer)   {ms_summary(reads)}")
        print(f"    own handling      {ms_summary(handlings)}")
        totals = [w + r + h for w, r, h in zip(waits, reads, handlings)]
        print(f"    total             {ms_summary(totals)}")
    bench.close_utility(utility)


# -- relay trace -----------------------------------------------------------------
# The return address has 8 hex digits in a 32-bit process, up to 16 in the twin's.
CALL = re.compile(r"^([0-9a-f]{4}):Call ([\w.]+)\(.*\) ret=([0-9a-f]{8,16})$")
# The driver's own log line, seen as an argument in the trace: it marks each request.
MARKER = re.compile(r'strlen\([0-9a-f]+ "req n=(\d+) tag=\S+ kind=(\w+) .* answer=([^"]*)"\)')


def image_range(exe):
    data = pathlib.Path(exe).read_bytes()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 24
    # PE32 keeps a 4-byte ImageBase at 28; PE32+ (the twin) an 8-byte one at 24.
    if struct.unpack_from("<H", data, optional)[0] == 0x20B:
        image_base = struct.unpack_from("<Q", data, optional + 24)[0]
    else:
        image_base = struct.unpack_from("<I", data, optional + 28)[0]
    size = struct.unpack_from("<I", data, optional + 56)[0]
    return image_base, image_base + size


def calls_by_request(trace, exe):
    """{(n, kind, answer): [function, ...]}: the calls from the exe's image made
    after the driver logged request n and before the next request."""
    low, high = image_range(exe)
    segments = collections.defaultdict(list)
    current = None
    with open(trace, errors="replace") as f:
        for line in f:
            marker = MARKER.search(line)
            if marker:
                current = (int(marker.group(1)), marker.group(2), marker.group(3))
                continue
            call = CALL.match(line.rstrip())
            if call and current and low <= int(call.group(3), 16) < high:
                segments[current].append(call.group(2))
    return segments


def describe(calls):
    counted = collections.Counter(calls)
    return f"{len(calls)} calls: " + ", ".join(f"{name.split('.', 1)[1]} {n}" for name, n in counted.most_common())


def measure_calls(clock):
    print("\nWin32 calls from the program's own image (Wine relay trace; + 1 KsProperty per request):")
    bench = Bench("relay")
    try:
        # Only the two programs traced: the equipment keeps its speed.
        env = bench.rig.prefix.env
        env["WINEDEBUG"] = "+relay"
        utility = bench.rig.spawn(paths.remote_control_exe(), output_name="utility-relay.out")
        floor = bench.rig.spawn(floor_exe(), "1", output_name="floor-relay.out")
        env["WINEDEBUG"] = "fixme-all"
        wait_until(lambda: len(bench.rig.driver_log.requests()) >= 20 and len(bench.floor_log.requests()) >= 20,
                   180, "20 requests of each program under the relay trace")
        bench.stop_floor(floor)
        monitor = InputMonitor(bench.rig)
        for _ in range(3):
            before = len(bench.rig.driver_log.requests())
            bench.rig.control.key(LEFT_CLICK)
            wait_until(lambda: len(monitor.mouse()) > 0 and len(bench.rig.driver_log.requests()) > before + 2, 60,
                       "a traced click")
            time.sleep(0.5)
        totalmedia = TvApp(bench.rig, [TOTALMEDIA], stay=True)
        for code in (16, 17, 16):
            before = len(totalmedia.messages())
            bench.rig.control.key(code)
            wait_until(lambda: len(totalmedia.messages()) > before and bench.rig.driver_log.requests()[-1]["kind"]
                       == "status", 60, "a traced TotalMedia key")
            time.sleep(0.5)
        bench.close_utility(utility)
        utility_segments = calls_by_request(bench.rig.dir / "utility-relay.out", paths.remote_control_exe())
        floor_segments = calls_by_request(bench.rig.dir / "floor-relay.out", floor_exe())
    finally:
        bench.rig.close()
    idle = [calls for (n, kind, answer), calls in sorted(utility_segments.items())
            if kind == "status" and answer != "00" and n > 5][:-1]
    floor_idle = [calls for (n, kind, answer), calls in sorted(floor_segments.items()) if n > 5][:-1]
    print(f"  idle tick, utility: {describe(idle[len(idle) // 2])}")
    print(f"  idle tick, floor:   {describe(floor_idle[len(floor_idle) // 2])}")
    row("Win32 calls per idle tick", statistics.mean(map(len, idle)) + 1, statistics.mean(map(len, floor_idle)) + 1,
        "")
    keyed = [(kind, answer, calls) for (n, kind, answer), calls in sorted(utility_segments.items())
             if kind == "transfer"]
    for kind, answer, calls in keyed:
        print(f"  after the read of {answer.split()[0]}: {describe(calls)}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--idle-seconds", type=float, default=60)
    parser.add_argument("--keys", type=int, default=150)
    parser.add_argument("--starts", type=int, default=5)
    parser.add_argument("--skip", action="append", default=[], choices=["idle", "startup", "latency", "calls"])
    args = parser.parse_args()
    print(target.current().describe())
    for needed in (paths.remote_control_exe(), floor_exe()):
        if not needed.exists():
            sys.exit(f"missing {needed}: build the {target.current().build_default} preset")
    clock = ClockMap()
    clock.start()
    try:
        print(f"RemoteControl.exe: {paths.remote_control_exe()}")
        if not {"idle", "startup", "latency"} <= set(args.skip):
            bench = Bench("figures")
            try:
                if "idle" not in args.skip:
                    measure_idle(bench, clock, args.idle_seconds)
                if "startup" not in args.skip:
                    measure_startup(bench, clock, args.starts)
                if "latency" not in args.skip:
                    measure_latency(bench, clock, args.keys)
            finally:
                bench.rig.close()
        if "calls" not in args.skip:
            measure_calls(clock)
    finally:
        clock.stopping.set()


if __name__ == "__main__":
    main()
