#!/usr/bin/env python3
"""Signs copies of the release artefacts the way a signed release build does
(tools/sign-file, with a throwaway self-signed certificate made here) and
verifies each signature with osslsigncode, trusting that certificate; and
holds that an unsigned file fails the same verification, so that a release
whose signing was asked for but did not happen is caught.

    check_signing.py <windows build dir>
"""
import pathlib
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]


def run(*args, **kwargs):
    return subprocess.run([str(a) for a in args], capture_output=True, text=True, **kwargs)


def verified(file, ca):
    return run("osslsigncode", "verify", "-in", file, "-CAfile", ca).returncode == 0


def main(build_dir):
    release = pathlib.Path(build_dir) / "release"
    artefacts = [release / "RemoteControl.exe", release / "RemoteCheck.exe",
                 *sorted(release.glob("AlderRemoteControl-*-install.exe"))]
    with tempfile.TemporaryDirectory() as scratch:
        scratch = pathlib.Path(scratch)
        key, cert, pfx = scratch / "key.pem", scratch / "cert.pem", scratch / "cert.pfx"
        run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=Alder test signing",
            "-addext", "extendedKeyUsage=codeSigning", "-keyout", key, "-out", cert, check=True)
        run("openssl", "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", pfx, "-passout", "pass:",
            check=True)
        problems = []
        for artefact in artefacts:
            copy = scratch / artefact.name
            shutil.copy(artefact, copy)
            if verified(copy, cert):
                problems.append(f"{artefact.name} passes verification unsigned: the check would miss an unsigned file")
            signed = run(ROOT / "tools" / "sign-file", copy, env={"PATH": "/usr/bin:/bin", "ALDER_SIGN_PFX": str(pfx)})
            if signed.returncode != 0 or not verified(copy, cert):
                problems.append(f"{artefact.name}: not signed or not verified: {signed.stderr.strip()}")
        print("\n".join(problems) or f"{len(artefacts)} files signed and verified; unsigned, each fails")
        return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
