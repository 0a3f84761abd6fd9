#!/usr/bin/env python3
"""Measures `kelvary-cli servers list` over store files of 100, 1,000 and
10,000 servers (written once under build/bench/): the time of each listing,
best of five, and how it grows. Targets: 10,000 servers listed in under
0.5 s, and time growing no faster than the number of servers.

Usage: bench/list_benchmark.py [--cli build/native/kelvary-cli]
"""
import argparse
import os
import subprocess
import sys
import time

COUNTS = [100, 1000, 10000]
RUNS = 5
TARGET_SECONDS = 0.5
HEADER = "Windows Registry Editor Version 5.00\r\n\r\n"
SERVERS = "HKEY_CURRENT_USER\\Software\\Brennic\\Kelvary\\Servers"


def store_file(directory, count):
    """A store as the program writes it: every key a section, servers in listing order."""
    path = os.path.join(directory, f"servers-{count}.reg")
    if os.path.exists(path):
        return path
    parts = [HEADER]
    key = "HKEY_CURRENT_USER"
    for name in ["Software", "Brennic", "Kelvary", "Servers"]:
        key += "\\" + name
        parts.append(f"[{key}]\r\n\r\n")
    for server in sorted(f"ESS{n:05d}" for n in range(count)):
        parts.append(f"[{SERVERS}\\{server}]\r\n\"Path\"=\"\\\\\\\\fs{server}\\\\essbase\"\r\n\"Access\"=\"0\"\r\n\r\n")
    with open(path, "w", newline="") as out:
        out.write("".join(parts))
    return path


def best_listing_time(cli, path, count):
    environment = dict(os.environ, KELVARY_REGISTRY_FILE=path)
    best = None
    for _ in range(RUNS):
        start = time.perf_counter()
        listed = subprocess.run([cli, "servers", "list"], env=environment, check=True,
                                stdout=subprocess.PIPE).stdout.count(b"\n")
        elapsed = time.perf_counter() - start
        if listed != count:
            sys.exit(f"listed {listed} servers of {count}")
        best = elapsed if best is None else min(best, elapsed)
    return best


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", default="build/native/kelvary-cli")
    arguments = parser.parse_args()
    directory = os.path.join("build", "bench")
    os.makedirs(directory, exist_ok=True)
    times = {count: best_listing_time(arguments.cli, store_file(directory, count), count) for count in COUNTS}
    for count, seconds in times.items():
        print(f"servers list, {count:>6,} servers: {seconds:.3f} s  ({seconds / count * 1e6:.1f} us a server)")
    growth = times[COUNTS[-1]] / times[COUNTS[-2]]
    print(f"growth 1,000 -> 10,000 servers: {growth:.1f} times  (linear: at most 10)")
    print(f"10,000 servers: {times[COUNTS[-1]]:.3f} s  (target < {TARGET_SECONDS})")
    if times[COUNTS[-1]] >= TARGET_SECONDS or growth > COUNTS[-1] / COUNTS[-2]:
        sys.exit("listing benchmark: target missed")


if __name__ == "__main__":
    main()
