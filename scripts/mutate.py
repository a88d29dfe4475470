#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Runs a list of deliberate faults against the test suite, one at a time.

    scripts/mutate.py MUTATIONS.json --build-dir BUILD [--only ID ...] [--jobs N]

Each fault is an object {"id", "file", "line", "original", "replacement",
"why"} and may name "tests", a ctest regular expression for the tests that
are to catch it (all tests otherwise). `original` must occur on `line` of
`file` or, should the file have changed since, on the nearest line within 40
that holds it; its first occurrence there becomes `replacement`.

For each fault: patch, rebuild BUILD, run the tests (stopping at the first
failure), and put the file back byte for byte, also when interrupted. A fault
is killed when a test fails, survives when every test passes, and is invalid
(not counted) when it does not build. The last line printed is

    mutation score: K killed of N valid (I invalid)

and the exit status is 0 when nothing survived, 1 otherwise.
"""

import argparse
import json
import signal
import subprocess
import sys
from pathlib import Path

NEAR = 40
# Slow and blind to source faults: the install layout and the package.
NEVER = "install_|package_deb|appstream"


def run(argv, timeout):
    try:
        done = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)
        return done.returncode, done.stdout.decode(errors="replace")
    except subprocess.TimeoutExpired:
        return -1, f"timed out after {timeout} s"


def patched(text, fault):
    """The file's text with the fault in, or None when `original` is not near its line."""
    lines = text.split("\n")
    wanted = fault["line"] - 1
    for distance in range(NEAR + 1):
        for at in (wanted - distance, wanted + distance):
            if 0 <= at < len(lines) and fault["original"] in lines[at]:
                lines[at] = lines[at].replace(fault["original"], fault["replacement"], 1)
                return "\n".join(lines)
    return None


class Suite:
    def __init__(self, build, jobs):
        self.build, self.jobs = build, jobs

    def builds(self):
        return run(["cmake", "--build", self.build, "--parallel", str(self.jobs)], 1800)

    def passes(self, tests=None):
        argv = ["ctest", "--test-dir", self.build, "--parallel", str(self.jobs), "--timeout", "300",
                "--stop-on-failure", "-E", NEVER]
        status, output = run(argv + (["-R", tests] if tests else []), 3600)
        return status == 0, output


def try_fault(suite, root, fault):
    path = root / fault["file"]
    original = path.read_bytes()
    text = patched(original.decode(), fault)
    if text is None:
        return "not applied"
    try:
        path.write_text(text)
        status, output = suite.builds()
        if status != 0:
            return "invalid"
        passed, _ = suite.passes(fault.get("tests"))
        return "survived" if passed else "killed"
    finally:
        path.write_bytes(original)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("mutations")
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--only", nargs="*", help="the ids of the faults to run")
    args = parser.parse_args()
    root = Path(args.mutations).resolve().parent.parent
    faults = json.loads(Path(args.mutations).read_text())
    if args.only:
        faults = [f for f in faults if f["id"] in args.only]
    suite = Suite(args.build_dir, args.jobs)
    # A signal ends the run the ordinary way, so that `finally` restores the file.
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, lambda *_: sys.exit(130))

    status, output = suite.builds()
    passed, tested = suite.passes() if status == 0 else (False, output)
    if not passed:
        print("the suite fails without any fault; mend that first:\n" + tested[-3000:])
        return 2
    outcomes = {}
    for number, fault in enumerate(faults, 1):
        outcome = try_fault(suite, root, fault)
        outcomes.setdefault(outcome, []).append(fault["id"])
        print(f"[{number}/{len(faults)}] {outcome:11} {fault['id']} ({fault['file']})", flush=True)
    suite.builds()  # the build as the sources are again

    for outcome in ("survived", "not applied"):
        if outcomes.get(outcome):
            print(f"{outcome}: " + ", ".join(outcomes[outcome]))
    killed, survived = len(outcomes.get("killed", [])), len(outcomes.get("survived", []))
    unapplied = len(outcomes.get("not applied", []))
    print(f"mutation score: {killed} killed of {killed + survived + unapplied} valid "
          f"({len(outcomes.get('invalid', []))} invalid)")
    return 0 if killed == len(faults) - len(outcomes.get("invalid", [])) else 1


if __name__ == "__main__":
    sys.exit(main())
