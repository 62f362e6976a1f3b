#!/usr/bin/env python3
"""Checks every cell of the generated key lists (docs/remote-keys.md) against
the hand-written expected key maps (tests/key_maps/*.keys), which the product
never reads: a cell that names the wrong key, misses a code or shows one that
does nothing fails here.

    check_against_expected.py <docs/remote-keys.md> <tests/key_maps>
"""
import pathlib
import re
import sys

KEY_NAMES = {
    0x08: "Backspace", 0x09: "Tab", 0x0D: "Enter", 0x10: "Shift", 0x11: "Ctrl", 0x12: "Alt", 0x13: "Pause",
    0x1B: "Esc", 0x20: "Space", 0x21: "Page Up", 0x22: "Page Down", 0x23: "End", 0x24: "Home", 0x25: "Left",
    0x26: "Up", 0x27: "Right", 0x28: "Down", 0x2D: "Insert", 0x2E: "Delete", 0x6A: "Num *", 0x6B: "Num +",
    0x6D: "Num -", 0x6F: "Num /", 0xB3: "Play/Pause", 0xBC: "Comma (,)", 0xBE: "Period (.)",
}


def key_name(vk):
    if vk in KEY_NAMES:
        return KEY_NAMES[vk]
    if 0x60 <= vk <= 0x69:
        return f"Num {vk - 0x60}"
    if 0x70 <= vk <= 0x7B:
        return f"F{vk - 0x6F}"
    if 0x30 <= vk <= 0x39 or 0x41 <= vk <= 0x5A:
        return chr(vk)
    raise ValueError(f"no name for virtual key 0x{vk:02X}")


def expected_cell(tokens):
    """The table's wording for one line of an expected key map."""
    pause = ""
    if "pause" in tokens:
        pause = f", then waits {int(tokens[tokens.index('pause') + 1]) // 1000} s"
        tokens = tokens[:tokens.index("pause")]
    if tokens == ["toggle"]:
        return "minimises its window, or restores it" + pause
    if tokens[0] == "move":
        dx, dy = (int(t, 0) for t in tokens[1:3])
        direction = "up" if dy < 0 else "down" if dy > 0 else "left" if dx < 0 else "right"
        return f"pointer {direction} {abs(dx or dy)} or 50 pixels (code 75 switches)" + pause
    if tokens == ["click"]:
        return "left click where the pointer is" + pause
    if tokens == ["step"]:
        return "switches the pointer step between 10 and 50 pixels" + pause
    forward = tokens[0] in ("fg", "top")
    action = tokens[1:] if forward else tokens
    if action == ["lookup"]:
        return "nothing sent" + pause
    if action[0] in ("key", "chord"):
        text = "+".join(key_name(int(t, 0)) for t in action[1:])
        return text + ("" if forward else " (to the focused window)") + pause
    if action[0] == "down":
        keys, rest = [], action
        while rest and rest[0] == "down":
            keys.append(key_name(int(rest[1], 0)))
            rest = rest[3:]
        return ", ".join(keys) + pause
    if action[0] == "post":
        message, wparam, lparam = (int(t, 0) for t in action[1:4])
        return f"command {message} ({wparam}, {lparam})" + pause
    raise ValueError(f"unknown action {tokens}")


def expected_maps(folder):
    """{app id: {code: cell}} from the .keys files."""
    maps = {}
    for path in sorted(pathlib.Path(folder).glob("*.keys")):
        app, cells = None, {}
        for line in path.read_text().splitlines():
            tokens = line.split("#", 1)[0].split()
            if not tokens or tokens[0] in ("window", "lookup"):
                continue
            if tokens[0] == "app":
                app = int(tokens[1])
                continue
            cells[int(tokens[0])] = expected_cell(tokens[1:])
        maps[app] = cells
    return maps


def table(path):
    """{app id: {code: cell}} from the generated page: one "| Code | Sends |"
    table per application, in AppId order."""
    maps, app, in_list = {}, 0, False
    for line in pathlib.Path(path).read_text().splitlines():
        if line == "| Code | Sends |":
            app += 1
            maps[app] = {}
            in_list = True
        elif line.startswith("## "):
            in_list = False  # a heading ends a key list; other tables follow some
        elif in_list and re.match(r"\| \d", line):
            code, cell = (c.strip() for c in line.strip().strip("|").split("|"))
            maps[app][int(re.match(r"\d+", code).group())] = cell
    return maps


def main(table_path, folder):
    expected, generated = expected_maps(folder), table(table_path)
    problems = []
    for app in sorted(expected):
        for code in sorted(set(expected[app]) | set(generated.get(app, {}))):
            want, got = expected[app].get(code), generated.get(app, {}).get(code)
            if want != got:
                problems.append(f"app {app}, code {code}: table says {got!r}, expected {want!r}")
    print("\n".join(problems) or f"{sum(map(len, expected.values()))} cells as expected")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
