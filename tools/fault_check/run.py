#!/usr/bin/env python3
"""Plants each fault of faults.py in turn in a checkout, builds the native
preset and runs its tests: a fault is caught when a test fails. Use a
checkout of its own (a git worktree), never the one being worked in: each
fault is written into the sources while its tests run.

Usage: tools/fault_check/run.py CHECKOUT [FAULT_NUMBER ...]
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from faults import FAULTS  # noqa: E402


def run(tree, command, timeout=900):
    return subprocess.run(command, shell=True, cwd=tree, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          timeout=timeout, text=True).returncode


def plant(tree, number, path, text, faulty):
    """The fault's verdict: caught, missed, stale (its text is gone) or nobuild."""
    with open(path) as source:
        original = source.read()
    if original.count(text) != 1:
        return "stale"
    with open(path, "w") as source:
        source.write(original.replace(text, faulty))
    try:
        if run(tree, "cmake --build --preset native") != 0:
            return "nobuild"
        return "caught" if run(tree, "ctest --preset native -j2 --timeout 60", 600) != 0 else "missed"
    finally:
        with open(path, "w") as source:
            source.write(original)


def main():
    tree = sys.argv[1]
    chosen = {int(n) for n in sys.argv[2:]}
    if run(tree, "cmake --preset native && cmake --build --preset native") != 0:
        sys.exit("the checkout does not build")
    verdicts = []
    for number, (name, text, faulty) in enumerate(FAULTS):
        if chosen and number not in chosen:
            continue
        verdict = plant(tree, number, os.path.join(tree, name), text, faulty)
        verdicts.append(verdict)
        print(number, verdict, name, flush=True)
    run(tree, "cmake --build --preset native")
    print("caught %d of %d" % (verdicts.count("caught"), len(verdicts)))


main()
