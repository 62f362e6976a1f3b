"""Every code of the eight key maps, fed through the stand-in driver to the
active application and compared with the expected tables of tests/key_maps:
what its stand-in window received (messages with wParam and lParam, whether
it was foreground), the keys the low-level hook saw (flags, and the
foreground window each arrived at), the pointer, the minimised state and
the pauses. The tables carry the cases; one walk goes through them.

A decoy window holds the foreground before every code, so a row that brings
the application forward is told apart from one that must leave it behind.
"""
import dataclasses
import sys
import threading
import time
import unittest

from harness import installed_apps, key_maps
from harness.key_maps import stand_in_window
from harness.input_monitor import LLMHF_INJECTED, WM_LBUTTONDOWN, WM_LBUTTONUP
from harness.remote_keys import press
from harness.tv_app import BARRIER_MESSAGE, TvApp
from harness.waits import wait_until
from test_dispatch import DECOY, POWER, DispatchTestCase
from test_startup import SETTINGS_KEY

NOOP_CODES = (13, 15)              # no key map acts on them
NOTHING_ABOVE_79 = (80, 127, 200, 254, 255)
POINTER_AT = (700, 500)            # over no window, away from the screen's edges
SLOW_STEP, FAST_STEP = 10, 50
DOWN, UP = "down", "up"
KEY_MESSAGES = {0x100: DOWN, 0x104: DOWN, 0x101: UP, 0x105: UP}
CHAR_MESSAGES = {0x102, 0x106}     # added by the stand-in's TranslateMessage
HOOK_DOWN, HOOK_UP = 0x11, 0x91    # injected + extended, and key-up
WM_USER, WM_CLOSE, WM_MOUSEMOVE = 0x400, 0x10, 0x200
ATTEMPTS = 3


@dataclasses.dataclass
class Expected:
    """What one row must be seen to do; lParam None: any (an injected key)."""
    forward: bool = False
    target: list = dataclasses.field(default_factory=list)   # (kind, wParam, lParam, foreground)
    hooked: list = dataclasses.field(default_factory=list)   # (vk, flags)
    move: tuple = (0, 0)
    click: bool = False
    toggle: bool = False
    step: bool = False
    pause_ms: int = 0


def expected(actions, fast):
    e = Expected(forward=any(a.name in ("fg", "top") for a in actions))
    for a in actions:
        if a.name == "key":
            e.hooked += [(a.args[0], HOOK_DOWN), (a.args[0], HOOK_UP)]
        elif a.name == "chord":
            e.hooked += [(vk, HOOK_DOWN) for vk in a.args] + [(vk, HOOK_UP) for vk in reversed(a.args)]
        elif a.name == "down":
            e.target.append((DOWN, a.args[0], a.args[1], e.forward))
        elif a.name == "post":
            e.target.append((a.args[0], a.args[1], a.args[2], e.forward))
        elif a.name == "move":
            scale = (FAST_STEP if fast else SLOW_STEP) // SLOW_STEP
            e.move = (a.args[0] * scale, a.args[1] * scale)
        elif a.name == "pause":
            e.pause_ms = a.args[0]
        elif a.name in ("click", "toggle", "step"):
            setattr(e, a.name, True)
    if e.forward:  # the keys go to the application, brought forward
        e.target += [(DOWN if flags == HOOK_DOWN else UP, vk, None, True) for vk, flags in e.hooked]
    return e


def matches(seen, wanted):
    return len(seen) == len(wanted) and all(
        all(w is None or s == w for s, w in zip(a, b)) for a, b in zip(seen, wanted))


class Walk:
    """One application's stand-in, driven code by code through its table."""
    retries_total = 0

    def __init__(self, case, key_map):
        self.case, self.rig, self.monitor, self.map = case, case.rig, case.monitor, key_map
        self.window = stand_in_window(key_map)
        low_messages = {a.args[0] for row in key_map.rows.values() for a in row
                        if a.name == "post" and a.args[0] < WM_USER}
        self.monitor.place_pointer(*POINTER_AT)
        self.tv = TvApp(self.rig, [self.window, DECOY], stay=True, messages=sorted(low_messages))
        self.decoy_hwnd = self.tv.hwnd(DECOY[1])
        self.decoy_in_front = False
        self.fast = False
        self.iconic = False
        self.last_code = None
        self.pointer = POINTER_AT
        self.retries = 0

    # -- what the equipment saw ------------------------------------------------
    def target_messages(self):
        seen = []
        for e in self.tv.messages():
            msg = int(e["msg"], 16)
            if e["title"] == self.window[1] and msg not in CHAR_MESSAGES and msg != BARRIER_MESSAGE:
                seen.append((KEY_MESSAGES.get(msg, msg), int(e["wp"], 16), int(e["lp"], 16), e["fg"] == "1"))
        return seen

    def decoy_keys(self):
        return [(KEY_MESSAGES[int(e["msg"], 16)], int(e["wp"], 16)) for e in self.tv.messages()
                if e["title"] == DECOY[1] and int(e["msg"], 16) in KEY_MESSAGES]

    def snapshot(self):
        return {"target": len(self.target_messages()), "decoy": len(self.decoy_keys()),
                "hooked": len(self.monitor.keys()), "mouse": len(self.monitor.mouse()), "time": time.time()}

    def is_iconic(self):
        return " iconic=1 " in self.rig.wintool("find", *self.window, check=True).stdout

    def seen_since(self, before):
        return {"target": self.target_messages()[before["target"]:],
                "decoy": self.decoy_keys()[before["decoy"]:],
                "hooked": self.monitor.keys()[before["hooked"]:],
                # Injected mouse input as the hook saw it: Wine applies a relative
                # move to its own pointer, and GetCursorPos in another process
                # may read the X pointer, which stays where it was.
                "mouse": [(m.message, m.x, m.y) for m in self.monitor.mouse()[before["mouse"]:]
                          if m.flags & LLMHF_INJECTED]}

    # -- one code --------------------------------------------------------------
    def feed(self, *codes):
        if codes[0] == self.last_code:  # the same code again at once would be a repeat
            codes = (next(c for c in NOOP_CODES if c != codes[0]),) + codes
        self.last_code = codes[-1]
        return press(self.rig, *codes)

    def put_decoy_in_front(self):
        if not self.decoy_in_front:
            if "foreground=1" not in self.rig.wintool("foreground", *DECOY, check=True).stdout:
                self.case.bring_to_foreground(DECOY)  # waits longer, and names what failed
            self.decoy_in_front = True

    def problems(self, want, before, seen):
        x, y = self.pointer
        wanted_mouse = [(WM_MOUSEMOVE, x + want.move[0], y + want.move[1])] if want.move != (0, 0) else []
        wanted_mouse += [(WM_LBUTTONDOWN, x, y), (WM_LBUTTONUP, x, y)] if want.click else []
        wanted_decoy = [] if want.forward else [(DOWN if f == HOOK_DOWN else UP, vk) for vk, f in want.hooked]
        found = []
        if not matches(seen["target"], want.target):
            found.append(f"application received {seen['target']}, expected {want.target}")
        if [(k.vk, k.flags) for k in seen["hooked"]] != want.hooked:
            found.append(f"hook saw {[(k.vk, k.flags) for k in seen['hooked']]}, expected {want.hooked}")
        elif not want.forward and any(k.foreground != self.decoy_hwnd for k in seen["hooked"]):
            # (Brought forward, the hook may still see the old foreground as
            # the first key passes: where it went is the window's log.)
            found.append(f"keys arrived with foreground {[hex(k.foreground) for k in seen['hooked']]}, "
                         f"expected the decoy's {self.decoy_hwnd:#x}")
        if seen["decoy"] != wanted_decoy:
            found.append(f"the foreground decoy received {seen['decoy']}, expected {wanted_decoy}")
        if seen["mouse"] != wanted_mouse:
            found.append(f"injected mouse input {seen['mouse']}, expected {wanted_mouse}")
        if want.toggle and self.is_iconic() == self.iconic:
            found.append(f"minimised state still {self.iconic}")
        return found

    def wine_lost_a_key(self, want, seen):
        """Wine's loss in the instant of a foreground switch: the hook saw
        every key, some reached no window or the one that was in front."""
        return (want.forward and want.hooked and [(k.vk, k.flags) for k in seen["hooked"]] == want.hooked
                and any(k.foreground in (0, self.decoy_hwnd) for k in seen["hooked"])
                and not matches(seen["target"], want.target))

    def step(self, code):
        want = expected(self.map.actions(code), self.fast)
        for attempt in range(1, ATTEMPTS + 1):
            self.put_decoy_in_front()
            before = self.snapshot()
            reads = self.feed(code, NOOP_CODES[0]) if want.pause_ms else self.feed(code)
            if want.pause_ms:
                gap = reads[-1].time - reads[-2].time
                self.case.assertGreaterEqual(gap, want.pause_ms / 1000 - 0.05,
                                             f"{self.map.name} code {code}: the next key came {gap:.2f}s later")

            def complete():
                seen = self.seen_since(before)
                counted = (len(seen["target"]) >= len(want.target) and len(seen["hooked"]) >= len(want.hooked)
                           and not self.problems(want, before, seen))
                lost = self.wine_lost_a_key(want, seen) and time.time() - before["time"] > 0.5
                return (counted or lost) and seen
            try:
                seen = wait_until(complete, 5, f"code {code}")
            except AssertionError:
                seen = self.seen_since(before)
            found = self.problems(want, before, seen)
            self.decoy_in_front = self.decoy_in_front and not (want.forward or want.toggle or want.click)
            if not found:
                self.fast ^= want.step
                self.pointer = (self.pointer[0] + want.move[0], self.pointer[1] + want.move[1])
                self.iconic ^= want.toggle
                return
            if attempt < ATTEMPTS and self.wine_lost_a_key(want, seen):
                self.retries += 1
                self.decoy_in_front = False
                print(f"\n{self.map.name} code {code}: a key reached no window or the one in front; retried",
                      file=sys.stderr)
                continue
            self.case.fail(f"{self.map.name} code {code} {self.map.actions(code)}: " + "; ".join(found))

    def codes_that_do_nothing(self):
        """Unlisted codes of 0 to 79 (32 to 63 by their ends), and a few above."""
        unlisted = [c for c in range(80) if c not in self.map.rows and c != POWER and not 32 < c < 63]
        return unlisted + list(NOTHING_ABOVE_79)

    def revisits(self):
        """Codes whose effect depends on what an earlier code toggled, again:
        the minimised window restored; the moves at the fast step, then slow again."""
        toggles = [c for c, row in self.map.rows.items() if any(a.name == "toggle" for a in row)]
        steps = [c for c, row in self.map.rows.items() if any(a.name == "step" for a in row)]
        moves = [c for c, row in self.map.rows.items() if any(a.name == "move" for a in row)]
        return toggles + (moves + steps + moves[:1] if steps else [])

    def run(self):
        for code in sorted(self.map.rows) + self.revisits():
            self.step(code)
        self.put_decoy_in_front()
        before = self.snapshot()
        self.feed(*self.codes_that_do_nothing())
        self.tv.barrier()
        found = self.problems(Expected(), before, self.seen_since(before))
        self.case.assertEqual(found, [], f"{self.map.name}: codes that must do nothing")
        Walk.retries_total += self.retries
        return self.retries


class KeyMaps(DispatchTestCase):
    """One test per application: every code of its table, then the codes that
    must do nothing, with the application made active by its first code."""

    @classmethod
    def tearDownClass(cls):
        print(f"\nkey maps: {Walk.retries_total} steps retried after Wine lost a key", file=sys.stderr)
        super().tearDownClass()

    def walk(self, name):
        started = time.monotonic()
        retries = Walk(self, key_maps.load(name)).run()
        print(f"\n{name}: {time.monotonic() - started:.1f}s, {retries} retries", file=sys.stderr)
        self.assertIsNone(self.process.poll(), "RemoteControl.exe ended")


for _name in key_maps.NAMES:
    setattr(KeyMaps, f"test_{_name}_EveryCodeActsAsItsTableSays",
            lambda self, name=_name: self.walk(name))


class BadInput(DispatchTestCase):
    def test_Quartzview_WindowGoesWhileKeysAreOnTheirWay_NextWindowIsFoundAnew(self):
        table = key_maps.load("quartzview")
        window = stand_in_window(table)
        codes = [c for c in sorted(table.rows) if 16 <= c <= 31 and not expected(table.actions(c), False).pause_ms]
        commands = [expected(table.actions(c), False).target[0][1] for c in codes]
        message = table.actions(16)[0].args[0]
        panel = TvApp(self.rig, [window], stay=False)
        reads_before = len(self.rig.driver_log.requests("transfer"))

        def close_after_three_reads():
            wait_until(lambda: len(self.rig.driver_log.requests("transfer")) >= reads_before + 3, 10, "3 reads")
            self.rig.post(*window, WM_CLOSE)
        closing = threading.Thread(target=close_after_three_reads)
        closing.start()
        press(self.rig, *codes, *codes, timeout=20)
        closing.join()
        wait_until(panel.ended, 10, "the panel to close")
        got = [int(e["wp"], 16) for e in panel.messages(str(message))]
        self.assertEqual(got, (commands * 2)[:len(got)], "the commands that arrived, in order, none twice")
        self.assertLess(len(got), 2 * len(codes), "the window went before the last code")
        # Within the watch's second the remote lets the closed panel go; until
        # then its keys find no window (a row's pause still follows: the unit
        # tests hold that). Either way the next window is found anew.
        second = TvApp(self.rig, [window], stay=True)
        press(self.rig, 22)
        second.barrier()
        self.assertEqual([int(e["wp"], 16) for e in second.messages(str(message))],
                         [expected(table.actions(22), False).target[0][1]])
        self.assertIsNone(self.process.poll(), "RemoteControl.exe ended")

    def test_HomeTheater_TitleInOtherCase_IsDetectedButNotFound_OfTwoEqualTitles_TheTopOneGetsTheKey(self):
        table = key_maps.load("home_theater")
        cls, title = stand_in_window(table)
        self.monitor.place_pointer(600, 500)
        shouting = TvApp(self.rig, [(cls + "Upper", title.upper())], stay=True)
        # Detection (case-insensitive) makes Home Theater active, so code 1
        # does not move the pointer; its key map (case-sensitive) finds no
        # window, so nothing is posted either.
        self.press_expecting_nothing([1], [shouting], pointer=(600, 500))
        # Two windows of that very title (classes apart, for the barrier's lookup).
        lower = TvApp(self.rig, [(cls + "Lower", title)], stay=True)
        top = TvApp(self.rig, [(cls + "Top", title)], stay=True)  # created last: first in Z order
        press(self.rig, 2)
        for tv in (shouting, lower, top):
            tv.barrier()
        posted = [(int(e["wp"], 16), int(e["lp"], 16)) for e in top.messages("WM_KEYDOWN")]
        self.assertEqual(posted, [expected(table.actions(2), False).target[0][1:3]])
        self.assertEqual(lower.messages("WM_KEYDOWN") + shouting.messages("WM_KEYDOWN"), [])
        self.assertIsNone(self.process.poll(), "RemoteControl.exe ended")


# The four applications whose Power key is not covered by test_dispatch.
LAUNCHED = ("home_theater", "my_ic_tv", "beyond_tv", "windvr6")
WINDVR6_CLOSE_WINDOW = ("WinDvrCloseStandIn", "WinDVR 6")   # Close looks for the record's title
ALT_CTRL_SHIFT_F8 = [(vk, HOOK_DOWN) for vk in (0x12, 0x11, 0x10, 0x77)] + \
                    [(vk, HOOK_UP) for vk in (0x77, 0x10, 0x11, 0x12)]
MY_IC_TV_CLOSE = (5401, 5400, 1)


class PowerKey(DispatchTestCase):
    def setUp(self):
        super(DispatchTestCase, self).setUp()  # the utility starts once the application is installed

    def test_Power_LaunchesTheInstalledDefaultWithRemote_ThenClosesItTheWayItIsClosed(self):
        for row, name in enumerate(LAUNCHED):
            with self.subTest(name):
                if row:
                    self.fresh_rig()
                app_id = key_maps.load(name).app
                app = installed_apps.install(self.rig, app_id, stay=name != "beyond_tv")[app_id]
                self.rig.prefix.reg_add(SETTINGS_KEY, "DefaultTVAPP", "REG_DWORD", app_id)
                self.bring_up()
                press(self.rig, POWER)
                app.wait_started()
                self.assertEqual(app.launches(), ["remote"])
                if name == "windvr6":  # only now: Launch would have taken it for WinDVR 6 running
                    TvApp(self.rig, [WINDVR6_CLOSE_WINDOW], stay=True)
                decoy = self.start_decoy_in_foreground()
                if name == "beyond_tv":
                    self.assertPowerClosesWithAltF4(app, reactivate=())
                    continue
                since = time.time()
                press(self.rig, POWER)
                app.barrier()
                received = [(int(e["msg"], 16), int(e["wp"], 16), int(e["lp"], 16), e["fg"])
                            for e in app.messages() if int(e["msg"], 16) != BARRIER_MESSAGE]
                if name == "my_ic_tv":
                    self.assertEqual(received, [MY_IC_TV_CLOSE + ("0",)])
                    self.assertEqual(self.monitor.keys(since), [])
                else:  # the chord goes to whatever is in front: no foreground change
                    hooked = wait_until(lambda: len(k := self.monitor.keys(since)) >= 8 and k, 5, "the close chord")
                    self.assertEqual([(k.vk, k.flags) for k in hooked], ALT_CTRL_SHIFT_F8)
                    self.assertEqual({k.foreground for k in hooked}, {decoy.hwnd(DECOY[1])})
                    self.assertEqual(received, [])


if __name__ == "__main__":
    unittest.main()
