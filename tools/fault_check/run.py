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
import signal
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from faults import FAULTS  # noqa: E402
import sample  # noqa: E402

SEED = 13


# A fault that makes a test loop for ever keeps the whole run waiting: past
# this, the run is stopped and the fault counts as caught.
SUITE_TIMEOUT = 300


def run(tree, command, timeout=900):
    """The finished command; its whole process group is killed when it runs
    past `timeout`, so that no test it started is left running."""
    with subprocess.Popen(command, shell=True, cwd=tree, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, errors="replace", start_new_session=True) as process:
        try:
            output, _ = process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.communicate()
            raise
        return subprocess.CompletedProcess(command, process.returncode, output)


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
        try:
            tests = run(tree, "ctest --preset native -j2 --timeout 60", SUITE_TIMEOUT)
        except subprocess.TimeoutExpired:
            return "caught", ["(the tests ran past %d s)" % SUITE_TIMEOUT]
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
