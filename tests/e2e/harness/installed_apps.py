"""TV applications installed in a test's prefix, as the utility sees them: the
registry value that its application records read at start-up, and a stand-in
(tv_window.exe) under the application's executable name in that folder, so
that the utility can start it through the shell.

The records are filled before the utility's entry point runs, so applications
must be installed before RemoteControl.exe starts."""
import dataclasses

from .tv_app import InstalledTvApp


@dataclasses.dataclass(frozen=True)
class Application:
    app_id: int
    name: str            # the tray menu's entry and the Setting list's text
    key: str             # under HKEY_LOCAL_MACHINE
    value: str           # holds the install folder
    exe_name: str
    window: tuple        # (class, title): the main window the utility recognises


# Media Center is left out: its presence test needs Windows XP's version,
# its registration and ehshell.exe in the Windows folder.
APPLICATIONS = {a.app_id: a for a in [
    Application(1, "PowerCinema", r"SOFTWARE\CyberLink\PowerCinema", "InstallPath", "PowerCinema.exe",
                ("PowerCinemaStandIn", "PowerCinema")),
    Application(2, "Home Theater", r"Software\InterVideo\Home Theater", "PATH", "Home Theater.exe",
                ("HomeTheaterStandIn", "Home Theater")),
    Application(3, "My IC-TV", r"Software\Honestech\HT IC-TV", "AppPath", "HT IC-TV.exe",
                ("MyIcTvStandIn", "My IC-TV Media Center")),
    Application(5, "TotalMedia", r"SOFTWARE\ArcSoft\TotalMedia\2.0", "AppPath", "TotalMedia.exe",
                ("TotalMediaStandIn", "Arcsoft TotalMedia")),
    Application(6, "Quartzview", r"Software\Honestech\TV Plus\DTVR", "AppPath", "MainPanel.exe",
                ("TarvexMainPanel_Class", "TVR")),
    Application(7, "SnapStream", r"SOFTWARE\SnapStream Media\Beyond TV", "InstallDir", "BTVD3DShell.exe",
                ("Streamzap.WM.D3D", "Beyond TV")),
    Application(8, "WinDVR 6", r"Software\InterVideo\DVR6", "PATH", "WinDVR.exe",
                ("WinDvrStandIn", "InterVideo WinDVR 6")),
]}


def _reg_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def install(rig, *app_ids, without_executable=(), stay=False, windows=None):
    """Installs the applications (one registry import); returns {app_id: stand-in}.

    An application in `without_executable` gets its registry value but no
    program in its folder, so the shell cannot start it. `windows` may give an
    application's stand-in other windows than its main window alone:
    {app_id: [(class, title)]}, created in order.
    """
    lines = ["Windows Registry Editor Version 5.00", ""]
    stand_ins = {}
    for app_id in app_ids:
        app = APPLICATIONS[app_id]
        folder = f"C:\\TV\\{app_id}"   # short: the records keep at most 127 characters
        lines += [f"[HKEY_LOCAL_MACHINE\\{app.key}]", f"{_reg_string(app.value)}={_reg_string(folder)}", ""]
        if app_id not in without_executable:
            stand_ins[app_id] = InstalledTvApp(rig, rig.prefix.path / "drive_c" / "TV" / str(app_id), app.exe_name,
                                               (windows or {}).get(app_id, [app.window]), stay=stay)
    rig.used = True
    rig.prefix.reg_import("\r\n".join(lines) + "\r\n", rig.dir)
    return stand_ins
