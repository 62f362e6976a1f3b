"""One test's world: a fresh prefix with its own wineserver, the stand-in
driver's files, and the programs started in it, all ended by close()."""
import itertools
import shutil
import subprocess

from . import capture_driver, paths, prefix, session
from .waits import wait_until

MAIN_WINDOW = "Alder Remote Control"   # class and title of the utility's window
TRAY_CALLBACK = 1001
WM_CLOSE = 0x0010
WM_POWERBROADCAST = 0x0218
WM_LBUTTONDOWN = 0x0201
WM_RBUTTONDOWN = 0x0204
PBT_APMSUSPEND = 4
PBT_APMRESUMESUSPEND = 7

_serial = itertools.count(1)


class Rig:
    def __init__(self, name):
        self.dir = session.run_root() / f"{next(_serial):03d}-{name}"
        self.dir.mkdir()
        self.prefix = prefix.WinePrefix(prefix.copy_prefix(session.template(), self.dir / "prefix"),
                                        session.display())
        self.processes = []
        self.used = False  # anything started or registered in this prefix yet
        self.control = capture_driver.ControlScript(self.dir / "control.txt")
        self.driver_log = capture_driver.RequestLog(self.dir / "driver.log")
        self.prefix.start(self.dir / "warm-up.log")

    def close(self):
        # Ending the server ends every process of the prefix.
        self.prefix.stop()
        for process in self.processes:
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        if not paths.keep_work():
            shutil.rmtree(self.dir, ignore_errors=True)

    # -- the stand-in driver -------------------------------------------------
    def register_devices(self, *devices):
        self.used = True
        text = capture_driver.registration(devices, self.control.path, self.driver_log.path)
        self.prefix.reg_import(text, self.dir)

    # -- programs ------------------------------------------------------------
    def spawn(self, exe, *args, output_name):
        self.used = True
        process = self.prefix.spawn([exe, *args], self.dir / output_name)
        self.processes.append(process)
        return process

    def start_remote_control(self):
        return self.spawn(paths.remote_control_exe(), output_name="remote-control.out")

    def wintool(self, *args, check=False):
        return self.prefix.run([paths.equipment("wintool.exe"), *args], check=check)

    def window_exists(self, cls="*", title="*"):
        return self.wintool("find", cls, title).returncode == 0

    def wait_window(self, cls="*", title="*", timeout=20):
        wait_until(lambda: self.window_exists(cls, title), timeout, f"window class={cls!r} title={title!r}")

    def post(self, cls, title, message, wparam=0, lparam=0):
        result = self.wintool("post", cls, title, str(message), str(wparam), str(lparam))
        if result.returncode != 0:
            raise AssertionError(f"no window class={cls!r} title={title!r} to post {message} to")

    def post_main(self, message, wparam=0, lparam=0):
        self.post(MAIN_WINDOW, MAIN_WINDOW, message, wparam, lparam)

    def wait_remote_control_ready(self, process, timeout=30):
        """The utility has created its main window (or ended before that)."""
        try:
            wait_until(lambda: process.poll() is not None or self.window_exists(MAIN_WINDOW, MAIN_WINDOW),
                       timeout, "RemoteControl.exe's main window")
        except AssertionError as failure:
            raise AssertionError(f"{failure}\n{self.backtraces('RemoteControl.exe')}") from None

    def backtraces(self, executable):
        """winedbg's backtrace of every thread of the prefix's processes named so,
        for the failure report of a program that stopped answering."""
        report = []
        try:
            processes = self.prefix.run(["winedbg", "--command", "info proc"], check=False, timeout=60).stdout
            for line in processes.splitlines():
                if executable.lower() in line.lower():
                    pid = line.split()[0].lstrip("=")
                    result = subprocess.run(prefix.wine("winedbg"), input=f"attach 0x{pid}\nbt all\ndetach\nquit\n",
                                            env=self.prefix.env, capture_output=True, text=True, timeout=60,
                                            errors="replace")
                    report.append(result.stdout)
        except (subprocess.TimeoutExpired, OSError) as error:
            report.append(f"no backtrace: {error}")
        (self.dir / "backtraces.txt").write_text("\n".join(report))
        return "\n".join(report) or f"no {executable} process to trace"

    def top_level_titles(self):
        """Titles of all top-level windows in Z order (topmost first)."""
        from .capture_driver import parse_line
        titles = []
        for line in self.wintool("list", check=True).stdout.splitlines():
            entry = parse_line("t=0 " + line)
            if entry:
                titles.append(entry["title"])
        return titles

    def dialog_texts(self, caption):
        """Texts of the controls of the dialog (message box) with this caption."""
        from .capture_driver import parse_line
        result = self.wintool("dialog", caption)
        if result.returncode != 0:
            raise AssertionError(f"no dialog captioned {caption!r}")
        texts = []
        for line in result.stdout.splitlines():
            if line.startswith("control "):
                entry = parse_line("t=0 " + line)
                texts.append(unescape(entry["title"]))
        return texts


def unescape(text):
    """Undoes wintool's C-style quoting."""
    return text.encode("latin-1", "backslashreplace").decode("unicode_escape")
