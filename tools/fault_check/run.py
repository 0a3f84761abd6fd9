#!/usr/bin/env python3
"""Plants each fault of faults.py in turn in a checkout, builds the native
preset and runs its tests: a fault is caught when a test fails. Use a
checkout of its own (a git worktree), never the one being worked in: each
fault is written into the sources while its tests run.

Each line names the fault, its verdict and the tests that failed with it.

Usage: tools/fault_check/run.py CHECKOUT [--drawn COUNT] [FAULT_NUMBER ...]
With --drawn, the faults are COUNT of sample.py's, drawn with a fixed seed.
"""
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from faults import FAULTS  # noqa: E402
import sample  # noqa: E402

SEED = 13


def run(tree, command, timeout=900):
    return subprocess.run(command, shell=True, cwd=tree, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          timeout=timeout, text=True, errors="replace")


def failed_tests(output):
    """The names ctest lists under "The following tests FAILED:"."""
    return re.findall(r"^\s*\d+ - (\S+) \(", output.split("The following tests FAILED:")[-1], re.M)


def plant(tree, number, path, text, faulty):
    """The fault's verdict (caught, missed, stale: its text is gone, or
    nobuild) and the tests that caught it."""
    with open(path) as source:
        original = source.read()
    if original.count(text) != 1:
        return "stale", []
    with open(path, "w") as source:
        source.write(original.replace(text, faulty))
    try:
        if run(tree, "cmake --build --preset native").returncode != 0:
            return "nobuild", []
        tests = run(tree, "ctest --preset native -j2 --timeout 60", 600)
        return ("caught", failed_tests(tests.stdout)) if tests.returncode != 0 else ("missed", [])
    finally:
        with open(path, "w") as source:
            source.write(original)


def main():
    tree, arguments = sys.argv[1], sys.argv[2:]
    faults = FAULTS
    if arguments[:1] == ["--drawn"]:
        faults = sample.draw(tree, int(arguments[1]), SEED)
        arguments = arguments[2:]
    chosen = {int(n) for n in arguments}
    if run(tree, "cmake --preset native && cmake --build --preset native").returncode != 0:
        sys.exit("the checkout does not build")
    verdicts = []
    for number, (name, text, faulty) in enumerate(faults):
        if chosen and number not in chosen:
            continue
        verdict, catchers = plant(tree, number, os.path.join(tree, name), text, faulty)
        verdicts.append(verdict)
        print(number, verdict, name, " ".join(catchers), flush=True)
    run(tree, "cmake --build --preset native")
    print("caught %d of %d" % (verdicts.count("caught"), len(verdicts)))


main()
