"""The utility's tray icon, its popup menu and its dialogs, seen and worked
from another process with wintool.

Wine lets no other process read a tracked menu's items (GetMenuItemCount
answers -1), but its loop takes key messages posted to the menu's window:
from no selection, Down picks the first item, Up the last, and separators
are skipped."""
from .capture_driver import parse_line
from .rig import TRAY_CALLBACK, WM_RBUTTONDOWN
from .waits import wait_until

TRAY_WINDOW, TRAY_ICON = "__winex11_standalone_tray", "__winex11_tray_icon"
VK_RETURN, VK_ESCAPE, VK_SHIFT, VK_MENU, VK_UP, VK_DOWN, VK_OEM_2 = 0x0D, 0x1B, 0x10, 0x12, 0x26, 0x28, 0xBF


def fields(line):
    """{name: value} of a wintool answer line such as `entry index=0 title="My IC-TV"`."""
    return parse_line("t=0 " + line).fields


def menu(rig):
    """The tracked menu's window (hwnd, hmenu, left, top, right, bottom), or None."""
    result = rig.wintool("menu")
    return fields(result.stdout.splitlines()[0]) if result.returncode == 0 else None


def menu_rect(entry):
    return tuple(int(entry[k]) for k in ("left", "top", "right", "bottom"))


def open_menu(rig, button=WM_RBUTTONDOWN, through_icon=False, at=(600, 400)):
    """Puts the pointer at `at`, clicks, and returns the menu once it is up."""
    answer = rig.wintool("cursor", *map(str, at), check=True).stdout
    if f"cursor x={at[0]} y={at[1]}" not in answer:
        raise AssertionError(f"SetCursorPos{at} left the pointer at {answer.strip()}")
    if through_icon:
        # What a click on the icon does: Wine's tray sends the callback.
        rig.wintool("postchild", TRAY_WINDOW, "*", TRAY_ICON, str(button), "0", "0", check=True)
    else:
        rig.post_main(TRAY_CALLBACK, 0, button)
    return wait_until(lambda: menu(rig), 10, "the tray menu")


def choose(rig, *keys):
    """Presses the keys in the open menu; the last one closes it."""
    rig.wintool("menukey", *map(str, keys), check=True)
    wait_until(lambda: menu(rig) is None, 10, "the menu to close")


def window_rect(rig, cls, title):
    """((left, top, right, bottom), topmost) of a top-level window."""
    entry = fields(rig.wintool("rect", cls, title, check=True).stdout.strip())
    return menu_rect(entry), entry["topmost"] == "1"


def combo(rig, caption, control_id):
    """(entries, selection) of a combo box in the dialog with that caption."""
    lines = rig.wintool("combo", caption, str(control_id), check=True).stdout.splitlines()
    return [fields(line)["title"] for line in lines[1:]], int(fields(lines[0])["selection"])


def wait_dialog(rig, caption, texts=frozenset(), timeout=10):
    """Waits for the dialog and its controls (created after the dialog window)."""
    def complete():
        if not rig.window_exists("#32770", caption):
            return False
        try:
            return set(texts) <= set(rig.dialog_texts(caption))
        except AssertionError:
            return False  # closed in between
    wait_until(complete, timeout, f"dialog {caption!r} with {sorted(texts)}")
