"""Which RemoteControl.exe this run exercises, decided once per process by
tools/e2e-target: the shipped i686 exe in a 32-bit prefix where this machine
runs 32-bit code, otherwise the x86_64 test twin of the same sources in a
64-bit prefix. ALDER_E2E_TARGET=twin picks the twin on any machine."""
import dataclasses
import functools
import os
import pathlib
import subprocess

SOURCE_DIR = pathlib.Path(__file__).resolve().parents[3]


@dataclasses.dataclass(frozen=True)
class Target:
    name: str            # "i686" or "twin"
    why: str
    build_env: str       # the variable that names its windows build folder
    build_default: str   # the preset's folder under the source tree
    wine_arch: str
    # The Wine loader that starts its programs. Debian's `wine` picks the
    # 32-bit loader whenever that file is there, even where it cannot run.
    loader: str

    @property
    def twin(self):
        return self.name == "twin"

    def build_dir(self):
        configured = os.environ.get(self.build_env)
        return pathlib.Path(configured) if configured else SOURCE_DIR / "build" / self.build_default

    def describe(self):
        what = ("the x86_64 test twin (build/windows64), never shipped" if self.twin
                else "the shipped i686 RemoteControl.exe (build/windows)")
        return f"end-to-end target: {what}; {self.why}"


@functools.cache
def current():
    result = subprocess.run([str(SOURCE_DIR / "tools" / "e2e-target")], capture_output=True, text=True,
                            timeout=60)
    if result.returncode != 0:
        raise AssertionError(f"tools/e2e-target: {result.stderr.strip() or result.stdout.strip()}")
    name, why = result.stdout.strip().split(" ", 1)
    if name == "twin":
        return Target(name, why, "ALDER_WINDOWS64_BUILD_DIR", "windows64", "win64", "/usr/lib/wine/wine64")
    return Target(name, why, "ALDER_WINDOWS_BUILD_DIR", "windows", "win32", "wine")
