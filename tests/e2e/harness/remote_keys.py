"""Pressing remote keys through the stand-in driver and knowing when the
utility is done with them.

Codes fed in one batch are read one per poll tick (65 ms apart), so a code
repeated in a batch is what a held key looks like to the utility. A status
request after a code's transfer comes from a later tick, so by then the tick
that read the code has done its work (or is waiting in a modal box it opened).
"""
import time

from .waits import wait_until


def press(rig, *codes, timeout=10):
    """Feeds the codes and returns their transfers once every one has been handled."""
    log = rig.driver_log
    before = len(log.requests())
    rig.control.key(*codes)

    def handled():
        new = log.requests()[before:]
        reads = [i for i, r in enumerate(new) if r["kind"] == "transfer"]
        if len(reads) < len(codes):
            return None
        last = reads[len(codes) - 1]
        if not any(r["kind"] == "status" for r in new[last + 1:]):
            return None
        return [new[i] for i in reads[:len(codes)]]

    transfers = wait_until(handled, timeout, f"the utility to read and handle codes {list(codes)}")
    read = [int(t["answer"].split()[0].removeprefix("code=")) for t in transfers]
    if read != list(codes):
        raise AssertionError(f"the driver handed out {read}, not the codes fed {list(codes)}")
    return transfers


def longest_gap(transfers):
    """The longest time between two consecutive reads, in seconds (0 for one read)."""
    return max((b.time - a.time for a, b in zip(transfers, transfers[1:])), default=0.0)


def wait_idle_since(transfers, seconds):
    """Waits until `seconds` have passed since the last of these reads, so that
    the next read of the same code is a fresh press, not a repeat."""
    last = transfers[-1].time
    wait_until(lambda: time.time() - last >= seconds, seconds + 5, f"{seconds}s without a key")
