#!/usr/bin/env python3
"""Checks what the windows build ships against its budget: 32-bit x86 code
(never the x86_64 test twin), RemoteControl.exe stripped under 100 KB, importing only DLLs every Windows has, with neither
the C++ exception runtime nor the C library's formatted printer linked in
(each alone more than doubles the exe), and the installer present.

    check_footprint.py <windows build dir>
"""
import pathlib
import struct
import subprocess
import sys

BUDGET = 100 * 1024
SYSTEM_DLLS = {"advapi32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll",
               "shell32.dll", "user32.dll"}
# Symbols whose presence means a whole runtime came along.
UNWANTED = {
    "___gxx_personality_v0": "the C++ exception runtime (a throw or a try block)",
    "___cxa_throw": "the C++ exception runtime",
    "___mingw_pformat": "the formatted printer (snprintf and friends)",
    "___dynamic_cast": "RTTI (dynamic_cast or typeid)",
}


IMAGE_FILE_MACHINE_I386 = 0x014C


def pe_machine(path):
    """The Machine field of a PE file's COFF header."""
    data = path.read_bytes()
    header = struct.unpack_from("<I", data, 0x3C)[0]
    if data[header:header + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, header + 4)[0]


def objdump_imports(exe):
    text = subprocess.run(["i686-w64-mingw32-objdump", "-p", str(exe)], capture_output=True, text=True,
                          check=True).stdout
    return {line.split(":", 1)[1].strip().lower() for line in text.splitlines() if "DLL Name:" in line}


def symbols(exe):
    text = subprocess.run(["i686-w64-mingw32-nm", str(exe)], capture_output=True, text=True,
                          check=True).stdout
    return {line.split()[-1] for line in text.splitlines() if line.strip()}


def main(build_dir):
    build = pathlib.Path(build_dir)
    linked, stripped = build / "RemoteControl.exe", build / "release" / "RemoteControl.exe"
    problems = []
    for path in (linked, stripped):
        if not path.exists():
            problems.append(f"{path} missing (build the windows preset)")
    installers = list((build / "release").glob("AlderRemoteControl-*-install.exe"))
    if len(installers) != 1:
        problems.append(f"expected one installer in {build / 'release'}, found {installers}")
    if problems:
        print("\n".join(problems))
        return 1
    for path in (linked, stripped, installers[0]):
        machine = pe_machine(path)
        if machine != IMAGE_FILE_MACHINE_I386:
            problems.append(f"{path.name} is no 32-bit x86 program (machine {machine!r}): only the i686 build ships")
    if problems:
        print("\n".join(problems))
        return 1
    size = stripped.stat().st_size
    if size >= BUDGET:
        problems.append(f"stripped RemoteControl.exe is {size} bytes, the budget {BUDGET}")
    foreign = objdump_imports(stripped) - SYSTEM_DLLS
    if foreign:
        problems.append(f"imports DLLs a clean Windows lacks: {sorted(foreign)}")
    present = symbols(linked)
    problems += [f"{name} linked in: {what}" for name, what in UNWANTED.items() if name in present]
    print(f"RemoteControl.exe stripped: {size} bytes (budget {BUDGET}); imports "
          f"{sorted(objdump_imports(stripped))}")
    print("\n".join(problems) or "within budget")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
