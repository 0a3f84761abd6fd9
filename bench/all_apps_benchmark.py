#!/usr/bin/env python3
"""Measures `kelvary-cli check --all-apps` on a server of many applications
against checking them one after another: 50 applications of 20 MiB each
(realistic logs, written once under build/bench/apps/ and reused), all in
the page cache.

Usage: bench/all_apps_benchmark.py [--cli build/native/kelvary-cli] [--apps 50] [--size-mib 20]
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from scan_benchmark import write_realistic_log  # noqa: E402

RUNS = 3


def application_names(count):
    return ["APP%02d" % k for k in range(1, count + 1)]


def write_server(root, count, size_mib):
    """An Essbase directory whose app folder holds `count` applications."""
    template = os.path.join(root, "template-%dMiB.log" % size_mib)
    if not os.path.exists(template):
        write_realistic_log(template, size_mib << 20)
    with open(template, "rb") as f:
        text = f.read()
    for name in application_names(count):
        folder = os.path.join(root, "app", name)
        log = os.path.join(folder, name + ".log")
        if os.path.exists(log):
            continue
        os.makedirs(folder, exist_ok=True)
        with open(log, "wb") as out:
            out.write(text.replace(b"/SAMPLE/", b"/%s/" % name.encode()).replace(
                b"[SAMPLE]", b"[%s]" % name.encode()))


def best_of(action):
    best = None
    for _ in range(RUNS):
        start = time.perf_counter()
        action()
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default="build/native/kelvary-cli")
    parser.add_argument("--apps", type=int, default=50)
    parser.add_argument("--size-mib", type=int, default=20)
    parser.add_argument("--dir", default="build/bench/apps")
    args = parser.parse_args()

    root = os.path.abspath(args.dir)
    os.makedirs(root, exist_ok=True)
    print("writing %d applications of %d MiB under %s ..." % (args.apps, args.size_mib, root), flush=True)
    write_server(root, args.apps, args.size_mib)
    names = application_names(args.apps)
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"))
        subprocess.run([args.cli, "servers", "add", "Bench", "--path", root], env=env, check=True)

        def run(arguments):
            subprocess.run([args.cli, "check", "--server", "Bench"] + arguments, env=env, check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        run(["--all-apps"])  # into the page cache
        together = best_of(lambda: run(["--all-apps"]))
        one_by_one = best_of(lambda: [run(["--app", name]) for name in names])
    total_mib = args.apps * args.size_mib
    print("cores:                        %d" % os.cpu_count())
    print("%d applications, %d MiB in all" % (args.apps, total_mib))
    print("check --all-apps:             %.3f s  (%.0f MiB/s)" % (together, total_mib / together))
    print("check --app, one after other: %.3f s  (%.0f MiB/s)" % (one_by_one, total_mib / one_by_one))
    print("speed-up:                     %.2f times" % (one_by_one / together))
    return 0


if __name__ == "__main__":
    sys.exit(main())
