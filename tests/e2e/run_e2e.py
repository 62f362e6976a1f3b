#!/usr/bin/env python3
"""Runs end-to-end test modules (CTest calls it once per module):
    run_e2e.py test_startup [test_polling ...]
    run_e2e.py test_startup.EarlierCopies          (one class or test)
Exit status 0 only when every test ran and passed. The first line says which
RemoteControl.exe the run exercises (the shipped i686 exe or its x86_64 test
twin) and why."""
import pathlib
import sys
import time
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

from harness import target  # noqa: E402


def main(names):
    if not names:
        print(__doc__)
        return 2
    print(target.current().describe(), flush=True)
    started = time.monotonic()
    suite = unittest.defaultTestLoader.loadTestsFromNames(names)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    print(f"e2e {' '.join(names)} on {target.current().name}: {result.testsRun} tests in {time.monotonic() - started:.1f}s")
    return 0 if result.wasSuccessful() and result.testsRun > 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
