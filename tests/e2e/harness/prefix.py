"""Wine prefixes: one booted template per run, a fresh copy per test. 32-bit
for the shipped exe, 64-bit for the test twin (harness/target.py).

`wineboot -i` costs 5-15 s, a copy well under one, so every test gets a
prefix of its own (its own registry, its own wineserver) cheaply.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

from . import paths, target
from .waits import wait_until

# Settings every prefix needs before the first test:
#  - Managed=N: without a window manager, hiding or destroying a visible
#    window (a message box closing) stalls its thread ~2 s otherwise;
#  - MouseSpeed=0: relative pointer moves arrive unaccelerated.
TEMPLATE_SETTINGS = [
    (r"HKCU\Software\Wine\X11 Driver", "Managed", "REG_SZ", "N"),
    (r"HKCU\Control Panel\Mouse", "MouseSpeed", "REG_SZ", "0"),
]


def base_env(prefix_dir, display):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": str(prefix_dir),
        "WINEARCH": target.current().wine_arch,
        # Wine's errors land in each program's .out file, for post-mortems.
        "WINEDEBUG": env.get("ALDER_E2E_WINEDEBUG", "fixme-all"),
        # No Mono or Gecko installer dialogs: nothing here needs them.
        "WINEDLLOVERRIDES": "mscoree,mshtml=",
        "DISPLAY": display,
    })
    if target.current().twin:
        # Processes the programs start (a ShellExecute launch) use the same loader.
        env["WINELOADER"] = target.current().loader
    return env


def wine(*args):
    """The command line that runs a Windows program with this run's Wine loader."""
    return [target.current().loader, *map(str, args)]


class WinePrefix:
    def __init__(self, path, display):
        self.path = path
        self.display = display
        self.env = base_env(path, display)
        self.server_running = False

    # -- server ------------------------------------------------------------
    def start(self, warm_up_log):
        """Starts a persistent wineserver and the prefix's services.

        The first wine command of a session starts services that inherit its
        stdout: it must write to a file, never to a pipe we wait on.
        """
        subprocess.run(["wineserver", "-p"], env=self.env, check=True, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.server_running = True
        with open(warm_up_log, "wb") as out:
            subprocess.run(wine(paths.equipment("wintool.exe"), "noop"), env=self.env,
                           stdout=out, stderr=out, stdin=subprocess.DEVNULL, timeout=120, check=True)

    def stop(self):
        """Ends every process of the prefix and its server, saving the registry."""
        if not self.server_running:
            return
        self.server_running = False
        try:
            subprocess.run(["wineserver", "-k"], env=self.env, timeout=30,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run(["wineserver", "-w"], env=self.env, timeout=30,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            # A wedged server must not outlive the test: kill it outright.
            subprocess.run(["wineserver", "-k9"], env=self.env, timeout=30,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # -- processes ---------------------------------------------------------
    def run(self, args, timeout=60, check=True):
        """Runs a Windows program to its end; returns the CompletedProcess (text).

        A process that Wine's loader could not even start (it prints that it
        failed to map the shared user data; seen under 64-bit Wine on a busy
        machine) ran none of its code: it is started once more, and said so."""
        for attempt in (1, 2):
            result = subprocess.run(wine(*args), env=self.env, capture_output=True,
                                    stdin=subprocess.DEVNULL, timeout=timeout, text=True,
                                    errors="replace")
            if attempt == 2 or "failed to map the shared user data" not in result.stderr + result.stdout:
                break
            print(f"\nWine's loader could not start {args[0]}; starting it again", file=sys.stderr)
        if check and result.returncode != 0:
            raise RuntimeError(f"{args} exited {result.returncode}: {result.stdout}{result.stderr}")
        return result

    def spawn(self, args, output_path):
        """Starts a Windows program; the Linux process is the Windows process."""
        out = open(output_path, "ab")
        try:
            return subprocess.Popen(wine(*args), env=self.env, stdout=out,
                                    stderr=out, stdin=subprocess.DEVNULL)
        finally:
            out.close()

    # -- registry ----------------------------------------------------------
    def reg_add(self, key, name, kind, data):
        self.run(["reg", "add", key, "/v", name, "/t", kind, "/d", str(data), "/f"])

    def reg_delete_key(self, key):
        self.run(["reg", "delete", key, "/f"], check=False)

    def reg_import(self, reg_text, scratch_dir):
        fd, file_name = tempfile.mkstemp(suffix=".reg", dir=scratch_dir)
        with os.fdopen(fd, "w", encoding="utf-16") as f:
            f.write(reg_text)
        self.run(["reg", "import", paths.to_wine(file_name)])

    def reg_values(self, key):
        """The values of a key as {name: (type, data)}; None when the key is missing.

        DWORD data comes back as an int, everything else as text.
        """
        result = self.run(["reg", "query", key], check=False)
        if result.returncode != 0:
            return None
        values = {}
        for line in result.stdout.splitlines():
            # reg.exe separates name, type and data by four spaces.
            parts = re.split(r" {4}", line.strip(), maxsplit=2)
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                name, kind = parts[0], parts[1]
                data = parts[2] if len(parts) == 3 else ""
                if kind == "REG_DWORD":
                    data = int(data, 16)
                values[name] = (kind, data)
        return values


def build_template(directory, display, log_path):
    """Boots a fresh prefix of the target's kind with the rig's settings, saved to disk."""
    prefix = WinePrefix(directory, display)
    with open(log_path, "wb") as out:
        subprocess.run(wine("wineboot", "-i"), env=prefix.env, stdout=out, stderr=out,
                       stdin=subprocess.DEVNULL, timeout=300, check=True)
    prefix.server_running = True
    for key, name, kind, data in TEMPLATE_SETTINGS:
        prefix.reg_add(key, name, kind, data)
    prefix.stop()
    wait_until(lambda: (directory / "user.reg").exists(), 10, "the template's registry files")
    return prefix


# Wine only reads its installed binaries (half a gigabyte of them), so the
# copies share them with the template; everything else, the registry files
# above all, is copied.
_SHARED_SUFFIXES = (".dll", ".exe", ".drv", ".sys", ".ocx", ".acm", ".cpl", ".tlb", ".ax", ".ds")


def _link_or_copy(source, destination):
    if source.lower().endswith(_SHARED_SUFFIXES):
        os.link(source, destination)
    else:
        shutil.copy2(source, destination)


def copy_prefix(template_dir, destination):
    # symlinks=True keeps dosdevices (z: -> /) a link rather than a copy of /.
    shutil.copytree(template_dir, destination, symlinks=True, copy_function=_link_or_copy)
    return destination
