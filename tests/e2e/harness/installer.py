"""The installer from the Linux side: the release installer of the windows
build (for the test twin, its test-only 64-bit installer), an earlier version of it made by makensis for upgrade tests, where an
install lands in a prefix, and the processes of the installed utility."""
import os
import pathlib
import subprocess

from . import paths, target

PRODUCT = "Alder Remote Control"
INSTALL_DIR_WINDOWS = r"C:\Program Files" + "\\" + PRODUCT
INSTALLED_EXE_WINDOWS = INSTALL_DIR_WINDOWS + r"\RemoteControl.exe"
UNINSTALLER_WINDOWS = INSTALL_DIR_WINDOWS + r"\Uninstall.exe"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall" + "\\" + PRODUCT
RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
SETTINGS_KEY = r"HKLM\Software\Tarvex Multimedia\Nimbus XQ Utilities"
VENDOR_KEY = r"HKLM\Software\Tarvex Multimedia"
SCRIPT = paths.SOURCE_DIR / "src" / "installer" / "remote_control.nsi"
ICON = paths.SOURCE_DIR / "src" / "resources" / "remote_control.ico"


def release_dir():
    return paths.windows_build_dir() / ("test-installer" if target.current().twin else "release")


def release_installer():
    """The installer the windows build made (the one that ships)."""
    found = sorted(release_dir().glob("AlderRemoteControl-*-install.exe"))
    if len(found) != 1:
        raise AssertionError(f"expected one installer in {release_dir()}, found {found}")
    return found[0]


def release_exe():
    return release_dir() / "RemoteControl.exe"


def guide_dir():
    """The user guide as the windows build rendered it for the installer."""
    return paths.windows_build_dir() / "src" / "installer" / "guide"


def build_installer(exe, version, output):
    """An installer of `exe` that calls itself `version` (an earlier release)."""
    twin = ["-DTARGET=amd64-unicode"] if target.current().twin else []
    check_exe = release_dir() / "RemoteCheck.exe"
    subprocess.run(["makensis", "-V1", *twin, f"-DEXE={exe}", f"-DCHECK_EXE={check_exe}", f"-DICON={ICON}",
                    f"-DVERSION={version}",
                    f"-DGUIDE={guide_dir()}", f"-DOUTFILE={output}", str(SCRIPT)], check=True, timeout=120)
    return output


class Layout:
    """Where an install lands in one prefix, seen from Linux."""

    def __init__(self, prefix_dir):
        drive_c = pathlib.Path(prefix_dir) / "drive_c"
        self.drive_c = drive_c
        self.install_dir = drive_c / "Program Files" / PRODUCT
        self.exe = self.install_dir / "RemoteControl.exe"
        self.uninstaller = self.install_dir / "Uninstall.exe"
        self.guide = self.install_dir / "Guide"
        # The all-users Start menu (SetShellVarContext all).
        programs = drive_c / "ProgramData" / "Microsoft" / "Windows" / "Start Menu" / "Programs"
        self.shortcut = programs / (PRODUCT + ".lnk")
        self.guide_shortcut = programs / (PRODUCT + " User Guide.lnk")
        self.check_shortcut = programs / "Alder Remote Check.lnk"

    def files(self):
        """Every file and folder under drive_c, relative to it."""
        return {str(p.relative_to(self.drive_c)) for p in self.drive_c.rglob("*")}


def utility_pids(prefix_dir):
    """Linux pids of the running installed RemoteControl.exe processes of one
    prefix (Wine shows a process's Windows path as its command line)."""
    wanted = INSTALLED_EXE_WINDOWS.encode()
    pids = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            command = pathlib.Path(f"/proc/{entry}/cmdline").read_bytes().split(b"\0")[0]
            if command != wanted or not process_alive(int(entry)):
                continue
            environment = pathlib.Path(f"/proc/{entry}/environ").read_bytes().split(b"\0")
        except OSError:
            continue
        if f"WINEPREFIX={prefix_dir}".encode() in environment:
            pids.append(int(entry))
    return pids


def process_alive(pid):
    """True while the process runs; a zombie has ended."""
    try:
        stat = pathlib.Path(f"/proc/{pid}/stat").read_text()
    except OSError:
        return False
    # The state follows the parenthesised command, which may hold blanks.
    return stat.rsplit(")", 1)[1].split()[0] not in ("Z", "X")
