"""The expected key maps of tests/key_maps/*.keys (format in the README
there): what each remote key code must make the utility do to one TV
application. The host tests read the same files."""
import dataclasses
import shlex

from . import paths

KEY_MAPS_DIR = paths.SOURCE_DIR / "tests" / "key_maps"
NAMES = ("powercinema", "home_theater", "my_ic_tv", "media_center",
         "totalmedia", "quartzview", "beyond_tv", "windvr6")   # in AppId order
LOOKUPS = ("FindWindowExA", "FindWindowA", "walk")
POWER_KEY = 12

# Token -> number of numeric arguments (chord: 2 to 4 virtual keys).
ARITY = {"fg": 0, "top": 0, "key": 1, "chord": (2, 4), "down": 2, "post": 3, "pause": 1,
         "lookup": 0, "toggle": 0, "move": 2, "click": 0, "step": 0}


@dataclasses.dataclass(frozen=True)
class Action:
    name: str
    args: tuple = ()


@dataclasses.dataclass
class KeyMap:
    name: str
    app: int
    window: tuple      # ("title", text) or ("class", text)
    lookup: str
    rows: dict         # code -> tuple of Action, in the order they happen

    def actions(self, code):
        """The row of a code; () for a code that must do nothing."""
        return self.rows.get(code, ())


class FormatError(ValueError):
    pass


def _number(token, where):
    try:
        return int(token, 0)
    except ValueError:
        raise FormatError(f"{where}: {token!r} is not a number") from None


def _actions(tokens, where):
    actions = []
    i = 0
    while i < len(tokens):
        name = tokens[i]
        if name not in ARITY:
            raise FormatError(f"{where}: unknown action {name!r}")
        low, high = ARITY[name] if isinstance(ARITY[name], tuple) else (ARITY[name],) * 2
        args = []
        i += 1
        while len(args) < high and i < len(tokens) and tokens[i] not in ARITY:
            args.append(_number(tokens[i], where))
            i += 1
        if len(args) < low:
            raise FormatError(f"{where}: {name} takes {low} numbers, got {len(args)}")
        actions.append(Action(name, tuple(args)))
    return tuple(actions)


def parse(text, name):
    header, rows = {}, {}
    for number, line in enumerate(text.splitlines(), 1):
        where = f"{name}.keys:{number}"
        tokens = shlex.split(line, comments=True)
        if not tokens:
            continue
        first = tokens[0]
        if first in ("app", "window", "lookup"):
            if rows:
                raise FormatError(f"{where}: header line after the code lines")
            header[first] = tokens[1:]
            continue
        code = _number(first, where)
        if not 0 <= code <= 255 or code == POWER_KEY or code in rows:
            raise FormatError(f"{where}: code {code} out of range, the Power key, or listed twice")
        rows[code] = _actions(tokens[1:], where)
    try:
        (app,), (kind, text), (lookup,) = header["app"], header["window"], header["lookup"]
    except (KeyError, ValueError):
        raise FormatError(f"{name}.keys: needs the header lines app, window and lookup") from None
    if kind not in ("title", "class") or lookup not in LOOKUPS:
        raise FormatError(f"{name}.keys: window {kind!r} or lookup {lookup!r} unknown")
    return KeyMap(name, _number(app, name), (kind, text), lookup, rows)


def stand_in_window(key_map):
    """(class, title) of a stand-in main window with the table's identity;
    the other half is a name of its own."""
    kind, text = key_map.window
    return (text, f"{key_map.name} stand-in") if kind == "class" else (f"{key_map.name}StandIn", text)


def load(name):
    return parse((KEY_MAPS_DIR / f"{name}.keys").read_text(), name)


def load_all():
    return [load(name) for name in NAMES]
