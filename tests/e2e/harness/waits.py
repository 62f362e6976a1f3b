"""Polling with a deadline: the only way the tests synchronise with Wine.

A fixed sleep is either too short on a loaded CI machine or wastes time on a
fast one; polling a condition until a deadline is neither.
"""
import time


class WaitTimeout(AssertionError):
    """A condition did not come true in time (a test failure, not an error)."""


def wait_until(condition, timeout, what, interval=0.01):
    """Calls condition() until it returns something truthy; returns that value.

    Raises WaitTimeout naming `what` when `timeout` seconds pass first.
    """
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise WaitTimeout(f"timed out after {timeout:.1f}s waiting for {what}")
        time.sleep(interval)


def hold_for(duration, condition, what, interval=0.01):
    """Checks that condition() stays truthy for `duration` seconds.

    Used for "nothing happens" claims, which can only be observed over a
    span of time; the span is the claim, not a synchronisation.
    """
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        if not condition():
            raise AssertionError(f"{what} stopped holding")
        time.sleep(interval)
