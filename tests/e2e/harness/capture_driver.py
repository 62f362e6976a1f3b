"""The stand-in capture driver from the Linux side: registration, script, log.

Registry layout (what Wine's device enumerator and BindToObject read):
  HKLM\\Software\\Classes\\CLSID\\{STAND_IN_CLSID}\\InprocServer32
      @ = the DLL's Windows path, ThreadingModel = Both
  HKLM\\Software\\Classes\\CLSID\\{CAPTURE_CATEGORY}\\Instance\\<subkey>
      CLSID = {STAND_IN_CLSID}, FriendlyName = the device's name,
      plus the stand-in's own configuration, read in IPersistPropertyBag::Load.
Wine lists the Instance subkeys in subkey-name order.
"""
import dataclasses
import re

from . import paths

STAND_IN_CLSID = "{866F9DCB-54E5-4822-9C4B-3B3D2F384BB4}"
CAPTURE_CATEGORY = "{65E8773D-8F56-11D0-A3B9-00A0C9223196}"
INSTANCE_KEY = rf"HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{CAPTURE_CATEGORY}\Instance"


def _reg_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


@dataclasses.dataclass
class Device:
    """One registered video-capture device backed by the stand-in driver."""
    subkey: str            # enumeration order is subkey-name order
    friendly_name: str
    tag: str               # names this instance in the request log
    fail_load: bool = False
    fail_join: bool = False
    no_ks_control: bool = False


def registration(devices, control_path, log_path):
    """The .reg text that registers the driver class and the devices."""
    dll = paths.to_wine(paths.equipment("stand_in_capture.dll"))
    lines = ["Windows Registry Editor Version 5.00", "",
             rf"[HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{STAND_IN_CLSID}\InprocServer32]",
             "@=" + _reg_string(dll),
             '"ThreadingModel"="Both"', ""]
    for device in devices:
        values = {
            "CLSID": STAND_IN_CLSID,
            "FriendlyName": device.friendly_name,
            "StandInTag": device.tag,
            "StandInControl": paths.to_wine(control_path),
            "StandInLog": paths.to_wine(log_path),
            "StandInFailLoad": "1" if device.fail_load else "0",
            "StandInFailJoin": "1" if device.fail_join else "0",
            "StandInNoKsControl": "1" if device.no_ks_control else "0",
        }
        lines.append(f"[{INSTANCE_KEY}\\{device.subkey}]")
        lines += [f"{_reg_string(k)}={_reg_string(v)}" for k, v in values.items()]
        lines.append("")
    return "\r\n".join(lines) + "\r\n"


class ControlScript:
    """Appends commands to the file the driver reads on each request."""

    def __init__(self, path):
        self.path = path
        path.touch()

    def send(self, *commands):
        # One write per call: the driver never sees half a batch as whole lines.
        with open(self.path, "a") as f:
            f.write("".join(c + "\n" for c in commands))

    def key(self, *codes):
        self.send("key " + " ".join(str(c) for c in codes))


_FIELD = re.compile(r'(\w+)=("(?:[^"\\]|\\.)*"|\S+)')


@dataclasses.dataclass
class Entry:
    """One line of the driver's log."""
    time: float
    event: str             # req, join, load, setsync, enumpins, release, control...
    fields: dict

    def __getitem__(self, name):
        return self.fields[name]

    def get(self, name, default=None):
        return self.fields.get(name, default)

    @property
    def prop(self):
        return bytes.fromhex(self.fields["prop"])


def parse_line(line):
    head, _, rest = line.partition(" ")
    if not head.startswith("t="):
        return None
    event, _, rest = rest.partition(" ")
    fields = {}
    for name, value in _FIELD.findall(rest):
        if value.startswith('"'):
            value = value[1:-1]
        fields[name] = value
    return Entry(float(head[2:]), event, fields)


class RequestLog:
    """Reads the driver's log; every call sees the lines written so far."""

    def __init__(self, path):
        self.path = path

    def entries(self, event=None):
        if not self.path.exists():
            return []
        with open(self.path, errors="replace") as f:
            # A line without its LF is still being written: leave it for later.
            lines = f.read().split("\n")[:-1]
        parsed = [e for e in map(parse_line, lines) if e]
        return [e for e in parsed if event is None or e.event == event]

    def requests(self, kind=None):
        return [e for e in self.entries("req") if kind is None or e["kind"] == kind]
