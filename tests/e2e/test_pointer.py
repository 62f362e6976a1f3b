"""Pointer emulation as the user meets it: with no TV application running,
the number keys of the remote move the real pointer (accelerating while a
key is held), stop short of the screen edges, and click or hold the mouse
buttons. The input monitor samples the pointer and logs the hooked events.

The Xvfb screen is 1024 x 768; Wine reports SM_CXFULLSCREEN 1024 and
SM_CYFULLSCREEN 779 there, so the utility starts with steps of 6 and 12
pixels, a right limit of 1023 and a bottom limit of 797 (below the screen).
"""
import sys
import time
import unittest

from harness.capture_driver import Device
from harness.case import RigTestCase
from harness.input_monitor import BUTTON_NAMES, LLMHF_INJECTED, InputMonitor
from harness.remote_keys import longest_gap, press, wait_idle_since
from harness.waits import WaitTimeout, hold_for, wait_until

RECEIVER = "Philips Silicon (7171-35) WDM Video Capture"
WM_DISPLAYCHANGE = 0x007E
# A gap this long between two reads of a held key means the utility's thread
# was held up close to the 250 ms after which a read counts as a fresh press.
NOISY_READ_GAP = 0.2


def along_x(y, *xs):
    return [(x, y) for x in xs]


def along_y(x, *ys):
    return [(x, y) for y in ys]


LARGEST_STEP = 1024 // 80


def moved_elsewhere_first(start, seen, path):
    """Whether the pointer left `start` before the first code and then took
    exactly the expected path from where it landed. Wine sometimes puts back
    the X pointer's position (the screen's centre) after another process's
    SetCursorPos; the utility's moves, relative to where it reads the pointer,
    were then right."""
    if not seen or not path or seen[0] == start:
        return False
    dx, dy = seen[0][0] - start[0], seen[0][1] - start[1]
    # Or Wine put back the pointer's earlier position (where the previous
    # case left it) after the placement: farther from the start than any one
    # move of the utility (at most the largest step, 12 pixels here) reaches.
    if max(abs(dx), abs(dy)) > LARGEST_STEP:
        return True
    return seen[1:] == [(x + dx, y + dy) for x, y in path]


class PointerTestCase(RigTestCase):
    swap_buttons = False

    def setUp(self):
        super().setUp()
        metrics = self.rig.wintool("metrics", check=True).stdout
        # Every expected path below is worked out for these two values.
        self.assertIn("cxfullscreen=1024 cyfullscreen=779", metrics, "the rig's screen changed")
        if self.swap_buttons:
            # Before the start: Wine keeps each process's first reading of
            # the swap setting, so a later swap would go unseen.
            self.rig.wintool("swapbuttons", "1", check=True)
        self.process = self.start_utility(Device("01", RECEIVER, "rx"))
        self.monitor = InputMonitor(self.rig)
        self.wait_requests(1)

    def assertPath(self, start, batches, path, attempts=3):
        """Places the pointer at `start`, feeds each batch of codes (one code per
        tick, so a repeated code is a held key; 0.3 s between batches, so that
        each batch starts a fresh press) and checks every position the pointer
        took, in order: a refused move adds none.

        A run in which the input monitor missed a sample or the utility was held
        up long enough to split a held key is rig noise, not a verdict; so is
        one in which Wine moved the pointer away before the first code. It is
        run again, up to `attempts` times. Any other mismatch fails at once.
        """
        end = path[-1] if path else start
        for attempt in range(1, attempts + 1):
            self.monitor.place_pointer(*start)
            since = time.time()
            gaps = []
            for number, codes in enumerate(batches):
                reads = press(self.rig, *codes)
                gaps.append(longest_gap(reads))
                if number + 1 < len(batches):
                    wait_idle_since(reads, 0.3)
            try:
                wait_until(lambda: self.monitor.position() == end, 2, f"the pointer to reach {end}")
            except WaitTimeout:
                pass  # reported below, with the whole path
            seen = [p for _, p in self.monitor.positions(since)]
            moved = moved_elsewhere_first(start, seen, path)
            noise = self.monitor.stalls(since) or max(gaps) >= NOISY_READ_GAP or moved
            if seen == path or not noise or attempt == attempts:
                break
            print(f"\n{self.id()}: rig noise (sampler stalls {self.monitor.stalls(since)}, longest read "
                  f"gap {max(gaps):.3f}s, pointer moved by Wine to {seen[0] if moved else None} before the "
                  f"first code), running attempt {attempt + 1}", file=sys.stderr)
        self.assertEqual(seen, path, f"pointer path from {start} for {batches}")
        hold_for(0.1, lambda: self.monitor.position() == end, f"the pointer resting at {end}")

    def post_display_change(self, width, height):
        # WM_TIMER is only made when no posted message waits, so the utility
        # has taken the new size before it reads the next code.
        self.rig.post_main(WM_DISPLAYCHANGE, 32, (height << 16) | width)

    def button_events(self, codes, count, timeout=5):
        """Feeds the codes and returns the `count` button events they caused as
        (name, x, y), after checking that no further event follows."""
        since = time.time()
        press(self.rig, *codes)
        events = wait_until(lambda: len(e := self.monitor.buttons(since)) >= count and e, timeout,
                            f"{count} button events") if count else []
        hold_for(0.2, lambda: len(self.monitor.buttons(since)) == count, f"exactly {count} button events")
        for e in events:
            self.assertTrue(e.flags & LLMHF_INJECTED, f"{BUTTON_NAMES[e.message]} not marked injected")
        return [(BUTTON_NAMES[e.message], e.x, e.y) for e in events]


class Acceleration(PointerTestCase):
    def test_HeldKey_Moves1PixelFourTimes_ThenSmallStepFiveTimes_ThenLargeStep(self):
        self.assertPath((300, 400), [[6] * 15], along_x(
            400, 301, 302, 303, 304, 310, 316, 322, 328, 334, 346, 358, 370, 382, 394, 406))

    def test_FreshPress_RestartsAt1Pixel(self):
        for name, batches, path in [
            ("after a pause of 250 ms or more", [[6] * 6, [6] * 2],
             along_x(400, 301, 302, 303, 304, 310, 316, 317, 318)),
            ("after another code", [[6] * 5 + [8] + [6] * 2],
             along_x(400, 301, 302, 303, 304, 310) + along_x(401, 310, 311, 312)),
            ("on reversing", [[6] * 5 + [4]], along_x(400, 301, 302, 303, 304, 310, 309)),
        ]:
            with self.subTest(name):
                self.assertPath((300, 400), batches, path)


class Directions(PointerTestCase):
    def test_EightDirections_AsOnANumericKeypad_YGrowingDownward(self):
        # Five reads of one code: four 1-pixel moves, then one of 6 pixels.
        for code, (dx, dy) in [(1, (-1, -1)), (2, (0, -1)), (3, (1, -1)), (4, (-1, 0)),
                               (6, (1, 0)), (7, (-1, 1)), (8, (0, 1)), (9, (1, 1))]:
            with self.subTest(code=code):
                self.assertPath((512, 384), [[code] * 5],
                                [(512 + dx * d, 384 + dy * d) for d in (1, 2, 3, 4, 10)])


class Edges(PointerTestCase):
    def test_MovesThatWouldReachAnEdge_AreRefusedWhole_AndRestartTheAcceleration(self):
        for name, start, codes, path in [
            # 1-pixel moves to 3, a 6-pixel one refused, then 1-pixel again, never onto column 0.
            ("left", (7, 300), [4] * 9, along_x(300, 6, 5, 4, 3, 2, 1)),
            ("top", (500, 7), [2] * 9, along_y(500, 6, 5, 4, 3, 2, 1)),
            ("right, never column 1023", (1016, 300), [6] * 9,
             along_x(300, 1017, 1018, 1019, 1020, 1021, 1022)),
            # The refused diagonal moves neither coordinate, though y had room.
            ("up-left at the left edge", (8, 300), [1] * 9,
             [(7, 299), (6, 298), (5, 297), (4, 296), (3, 295), (2, 294), (1, 293)]),
            ("down-right at the right edge", (1020, 300), [9] * 4, [(1021, 301), (1022, 302)]),
            # The start-up bottom limit lies below the 768 rows, so a move down
            # from the last row is allowed and the screen keeps the pointer on it.
            ("down-right on the last row", (500, 767), [9] * 3, along_x(767, 501, 502, 503)),
        ]:
            with self.subTest(name):
                self.assertPath(start, [codes], path)


class DisplayChange(PointerTestCase):
    def test_NewResolution_SetsTheStepsAndTheEdges(self):
        for size, name, start, codes, path in [
            ((640, 480), "steps 4 and 8", (300, 240), [6] * 12,
             along_x(240, 301, 302, 303, 304, 308, 312, 316, 320, 324, 332, 340, 348)),
            ((640, 480), "right edge 639", (634, 240), [6] * 6, along_x(240, 635, 636, 637, 638)),
            ((640, 480), "bottom edge 479", (300, 474), [8] * 6, along_y(300, 475, 476, 477, 478)),
            ((1280, 1024), "steps 8 and 16", (300, 240), [6] * 11,
             along_x(240, 301, 302, 303, 304, 312, 320, 328, 336, 344, 360, 376)),
            # The full height this time: the last screen row is now the edge.
            ((1024, 768), "bottom edge 767", (500, 760), [8] * 9, along_y(500, 761, 762, 763, 764, 765, 766)),
            ((1024, 768), "down-right on row 766 refused", (500, 766), [9] * 2, []),
        ]:
            with self.subTest(f"{size[0]}x{size[1]}: {name}"):
                self.post_display_change(*size)
                self.assertPath(start, [codes], path)


class Buttons(PointerTestCase):
    def test_Code0ClicksLeft_Code10ClicksRight_WherePointerIs(self):
        self.monitor.place_pointer(700, 500)
        self.assertEqual(self.button_events([0], 2), [("left down", 700, 500), ("left up", 700, 500)])
        press(self.rig, 6)
        wait_until(lambda: self.monitor.position() == (701, 500), 5, "the pointer at (701, 500)")
        self.assertEqual(self.button_events([10], 2), [("right down", 701, 500), ("right up", 701, 500)])

    def test_Code5_PressesThePrimaryButtonOnOneUse_AndReleasesItOnTheNext(self):
        self.monitor.place_pointer(700, 500)
        self.assertEqual(self.button_events([5], 1), [("left down", 700, 500)])
        self.assertEqual(self.button_events([6, 6], 0), [], "dragging clicks nothing")
        self.assertEqual(self.monitor.position(), (702, 500))
        self.assertEqual(self.button_events([5], 1), [("left up", 702, 500)])

    def test_HeldClickKeys_ClickOnce_HeldCode5PressesTheButtonOnce(self):
        """A press often lasts two or three ticks; it is one click, one press
        or release of the button."""
        self.monitor.place_pointer(700, 500)
        for code, expected in [(0, [("left down", 700, 500), ("left up", 700, 500)]),
                               (10, [("right down", 700, 500), ("right up", 700, 500)]),
                               (5, [("left down", 700, 500)])]:
            with self.subTest(code=code):
                since = time.time()
                held = press(self.rig, code, code, code)
                self.assertLess(longest_gap(held), 0.25, "the three reads came at a held key's rhythm")
                wait_until(lambda: len(self.monitor.buttons(since)) >= len(expected), 5, "the button events")
                hold_for(0.2, lambda: len(self.monitor.buttons(since)) == len(expected), "no further event")
                self.assertEqual([(BUTTON_NAMES[e.message], e.x, e.y) for e in self.monitor.buttons(since)],
                                 expected)
        wait_idle_since(held, 0.3)
        self.assertEqual(self.button_events([5], 1), [("left up", 700, 500)], "a fresh 5 releases it")


class OtherCodes(PointerTestCase):
    def test_CodesAbove10_LeaveThePointerAndTheButtonsAlone(self):
        self.monitor.place_pointer(700, 500)
        since = time.time()
        press(self.rig, 11, 14, 16, 19, 31, 64, 255)
        hold_for(0.3, lambda: self.monitor.position() == (700, 500) and not self.monitor.mouse(since),
                 "the pointer still and no mouse event")
        self.assertIsNone(self.process.poll())


class SwappedButtons(PointerTestCase):
    swap_buttons = True

    def test_Code5UsesTheRightButton_Codes0And10AreUnchanged(self):
        self.monitor.place_pointer(700, 500)
        for codes, events in [
            ([5], [("right down", 700, 500)]),
            ([5], [("right up", 700, 500)]),
            ([0], [("left down", 700, 500), ("left up", 700, 500)]),
            ([10], [("right down", 700, 500), ("right up", 700, 500)]),
        ]:
            with self.subTest(codes=codes, first=events[0][0]):
                self.assertEqual(self.button_events(codes, len(events)), events)


if __name__ == "__main__":
    unittest.main()
