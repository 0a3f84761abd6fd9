#!/usr/bin/env python3
"""Times the window's check against `kelvary-cli.exe scan` under Wine: for a
realistic and a busy log (100 MiB each), the time from the press of "Check
Calculation" to the finished report in the real main window, against the CLI's
scan of the same file in the same Wine prefix, process start included; and
checks that the window's list equals the CLI's report. Needs Wine and a
display (Xvfb), like the window tests.

Usage: bench/window_check_benchmark.py [--build build/windows] [--size-mib 100]
"""
import argparse
import os
import subprocess
import sys
import time

from scan_benchmark import write_realistic_log

RATIO_TARGET = 2.0
RUNS = 3
APPLICATION = "SAMPLE"
# Logs as generated: about 1 line in 30 of the realistic one belongs to a
# calculation, 1 in 6 of the busy one.
LOGS = {"realistic": {}, "busy": {"calc_rate": 0.1, "max_pending": 600}}
WINE = "/usr/lib/wine/wine64"


def windows_path(path):
    """A Linux path as Wine shows it: the file system's root is drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine_environment(prefix):
    env = dict(os.environ, WINEPREFIX=prefix, WINEARCH="win64", WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d")
    return env


def essbase_log(root, kind, size_mib):
    """The log in an Essbase directory of its own: ROOT/KIND/app/SAMPLE/SAMPLE.log."""
    essbase = os.path.join(root, "%s-%dMiB" % (kind, size_mib))
    log = os.path.join(essbase, "app", APPLICATION, APPLICATION + ".log")
    if not os.path.exists(log):
        print("writing %s ..." % log, flush=True)
        os.makedirs(os.path.dirname(log), exist_ok=True)
        write_realistic_log(log, size_mib << 20, **LOGS[kind])
    return essbase, log


def run(command, env):
    result = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            stdin=subprocess.DEVNULL)
    if result.returncode != 0:
        sys.exit("failed (%d): %s\n%s" % (result.returncode, " ".join(command), result.stderr.decode()))
    return result


def report_lines(stdout):
    return stdout.decode("latin-1").replace("\r\n", "\n").splitlines()


def window_check(driver, essbase, env):
    """Best click-to-report time in seconds, and the window's list."""
    best, lines = None, None
    for _ in range(RUNS):
        result = run([WINE, driver, windows_path(essbase), APPLICATION], env)
        elapsed = float(result.stderr.decode().strip().splitlines()[-1]) / 1000.0
        best = elapsed if best is None else min(best, elapsed)
        lines = report_lines(result.stdout)
    return best, lines


def cli_scan(cli, log, env):
    """Best wall time in seconds of the whole process, and its report."""
    best, lines = None, None
    for _ in range(RUNS):
        start = time.perf_counter()
        result = run([WINE, cli, "scan", "--app", APPLICATION, windows_path(log)], env)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
        lines = report_lines(result.stdout)
    return best, lines


def wc_time(log):
    best = None
    for _ in range(5):
        start = time.perf_counter()
        subprocess.run(["wc", "-l", log], stdout=subprocess.DEVNULL, check=True)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build/windows")
    parser.add_argument("--size-mib", type=int, default=100)
    parser.add_argument("--dir", default="build/bench/window")
    args = parser.parse_args()

    prefix = os.path.abspath(os.path.join(args.build, "wineprefix"))
    here = os.path.dirname(os.path.abspath(__file__))
    subprocess.run([os.path.join(here, "..", "cmake", "wine-prefix.sh"), prefix], check=True)
    env = wine_environment(prefix)
    driver = os.path.join(args.build, "bench", "kelvary-window-check-driver.exe")
    cli = os.path.join(args.build, "kelvary-cli.exe")

    met = True
    print("%-10s %9s %9s %9s %7s  %s" % ("log", "wc -l", "window", "cli scan", "ratio", "lists"))
    for kind in LOGS:
        essbase, log = essbase_log(args.dir, kind, args.size_mib)
        subprocess.run(["cat", log], stdout=subprocess.DEVNULL, check=True)  # into the page cache
        wc = wc_time(log)
        window, window_lines = window_check(driver, essbase, env)
        scan, cli_lines = cli_scan(cli, log, env)
        ratio = window / scan
        same = window_lines == cli_lines
        print("%-10s %7.3f s %7.3f s %7.3f s %7.2f  %s" % (
            kind, wc, window, scan, ratio, "equal" if same else "DIFFER"), flush=True)
        met = met and same and ratio <= RATIO_TARGET
    subprocess.run([os.path.join(here, "..", "cmake", "wine-prefix.sh"), prefix, "--kill"])
    print("target: window / cli scan <= %.1f, lists equal: %s" % (RATIO_TARGET, "met" if met else "MISSED"))
    return 0 if met else 1


if __name__ == "__main__":
    sys.exit(main())
