#!/usr/bin/env python3
"""Checks what the windows build ships against its budget: 32-bit x86 code
(never the x86_64 test twin), RemoteControl.exe stripped under 100 KB, importing only DLLs every Windows has, with neither
the C++ exception runtime nor the C library's formatted printer linked in
(each alone more than doubles the exe), the installer present, and both
programs carrying their application manifest with every part Windows 7 to 11
need of it.

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

# What each program's manifest must say, and why.
MANIFEST_PARTS = {
    'level="asInvoker"': "runs with its starter's rights: no elevation, no VirtualStore redirection",
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "supportedOS Windows Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "supportedOS Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "supportedOS Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "supportedOS Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "supportedOS Windows 10 and 11 (the real version from GetVersionEx)",
    'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"': "Common Controls 6 (today's look)",
    ">true</dpiAware>": "system DPI awareness (laid out for the DPI, not stretched)",
}


def manifest_problems(exe):
    """The parts missing from the manifest that the exe carries as a resource."""
    data = exe.read_bytes()
    start, end = data.find(b"<assembly "), data.find(b"</assembly>")
    if start < 0 or end < start:
        return [f"{exe.name} carries no application manifest"]
    manifest = b" ".join(data[start:end].split()).decode("utf-8", "replace")
    return [f"{exe.name}'s manifest lacks {part}: {why}" for part, why in MANIFEST_PARTS.items()
            if part not in manifest]


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
    for exe in (stripped, build / "release" / "RemoteCheck.exe"):
        problems += manifest_problems(exe) if exe.exists() else [f"{exe} missing"]
    present = symbols(linked)
    problems += [f"{name} linked in: {what}" for name, what in UNWANTED.items() if name in present]
    print(f"RemoteControl.exe stripped: {size} bytes (budget {BUDGET}); imports "
          f"{sorted(objdump_imports(stripped))}")
    print("\n".join(problems) or "within budget")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
