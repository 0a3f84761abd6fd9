#!/usr/bin/env python3
"""Measures `kelvary-cli scan` on a large log: throughput, its time against
`wc -l` on the same cached file, and peak resident memory; the same ratio on a
dense log where one line in six belongs to a calculation; then peak memory on
a log that holds one 200 MiB line and on one calculation's 2 million completion notices,
with and without detail. The logs are written once, deterministically,
under build/bench/ and reused.

Usage: bench/scan_benchmark.py [--cli build/native/kelvary-cli] [--size-mib 1024]
"""
import argparse
import heapq
import os
import random
import subprocess
import sys
import tempfile
import time

RATIO_TARGET = 2.0
DENSE_RATIO_TARGET = 3.0
DENSE_SIZE_MIB = 512
# About one line in six is a calculation's: its start, interval, notices or total.
DENSE_LOG = {"calc_rate": 0.04, "max_pending": 2000}
MEMORY_TARGET_MIB = 16.0
RUNS = 5
LONG_LINE_MIB = 200
NOTICES = 2000000

DATABASES = ["Basic", "Forecast", "Budget", "Interntl", "Xchgrate"]
USERS = ["admin", "jsmith", "Qatest", "mlopez", "batch01"]
OTHER_MESSAGES = [
    "Received Command [Report] from user [{user}]",
    "Data Load Updated [{n}] cells",
    "Data Load Elapsed Time : [{f}] seconds",
    "Commit Blocks Interval was adjusted to be [{n}] blocks.",
    "Clear Active on User [{user}] Instance [1]",
    "Calculating in parallel with [2] threads",
    "Calculator Information Message: Executing Block - [Product(100-{n})], [Market(East)]",
    "Setting Application {app} Statistics",
    "Writing Parameters For Database [{db}]",
    "Total Data Load Time : [{f}] seconds",
    "Spreadsheet Extractor Elapsed Time : [{f}] seconds",
    "Retrieval Cache Size is [{n}] bytes",
]


class Clock:
    """Seconds since the log's first message, as a header stamp."""

    DAYS = ["Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"]

    def __init__(self):
        self.seconds = 0

    def tick(self, rng):
        self.seconds += rng.randint(0, 2)

    def header(self, db, user, code):
        day, rest = divmod(self.seconds, 86400)
        hh, rest = divmod(rest, 3600)
        mm, ss = divmod(rest, 60)
        return "[%s Jan %02d %02d:%02d:%02d 2003]Local/SAMPLE/%s/%s/Info(%d)" % (
            self.DAYS[day % 7], day % 28 + 1, hh, mm, ss, db, user, code)


def calculation_messages(rng, clock, db, user):
    """One calculation from start to finish, as (header, message) pairs, in time order."""
    steps = rng.choice([4, 5, 10, 20])
    events = [(clock.seconds, "Calculating [ Measures(Sales,COGS)] with fixed members [Year(Jan)]"),
              (clock.seconds + 1, "Completion Notice For Every: [ %d%%] Of Blocks" % (100 // steps))]
    at = clock.seconds + 1
    for done in range(1, steps + 1):
        at += rng.randint(20, 400)
        events.append((at, "Calculator Information Message: Completion Notice: [%d] of [%d] done" % (done, steps)))
    if rng.random() < 0.9:  # some are still running when the log ends, or are cut by a restart
        events.append((at + 1, "Total Calc Elapsed Time : [%.2f] seconds" % (at - clock.seconds)))
    return [(when, db, user, message) for when, message in events]


def write_realistic_log(path, size, calc_rate=0.004, max_pending=40):
    """Mostly retrievals, loads and housekeeping; a few calculations running at
    once, each with its interval line, completion notices and finish; now and
    then a server restart. A higher calc_rate and max_pending make a busy log."""
    rng = random.Random(20030108)
    clock = Clock()
    pending = []  # a heap of calculation messages still to come, (seconds, db, user, message)
    with open(path + ".part", "wb") as out:
        written = 0
        chunk = []
        while written < size:
            clock.tick(rng)
            if rng.random() < calc_rate and len(pending) < max_pending:
                for event in calculation_messages(rng, clock, rng.choice(DATABASES), rng.choice(USERS)):
                    heapq.heappush(pending, event)
            if pending and pending[0][0] <= clock.seconds:
                _, db, user, message = heapq.heappop(pending)
            elif rng.random() < 0.000001:
                db, user, message = "", "", "Starting Essbase Server - Application [SAMPLE]"
                pending.clear()
            else:
                db, user = rng.choice(DATABASES), rng.choice(USERS)
                message = rng.choice(OTHER_MESSAGES).format(
                    user=user, db=db, app="SAMPLE", n=rng.randint(1, 99999), f="%.2f" % rng.uniform(0, 99))
            chunk.append(clock.header(db, user, rng.randint(1002000, 1019999)) + "\r\n" + message + "\r\n\r\n")
            if len(chunk) >= 4096:
                data = "".join(chunk).encode("ascii")
                out.write(data)
                written += len(data)
                chunk = []
    os.replace(path + ".part", path)


def write_long_line_log(path):
    with open(path + ".part", "wb") as out:
        out.write(b"[Wed Jan 08 14:05:09 2003]Local/SAMPLE/Basic/admin/Info(1012555)\r\n")
        block = b"x" * (1 << 20)
        for _ in range(LONG_LINE_MIB):
            out.write(block)
        out.write(b"\r\nCalculating [ Measures(Sales)]\r\n")
    os.replace(path + ".part", path)


def write_many_notices_log(path):
    """One calculation that is still running after NOTICES completion notices."""
    header = b"[Wed Jan 08 14:05:09 2003]Local/SAMPLE/Basic/admin/Info(1012555)\r\n"
    notice = header + b"Calculator Information Message: Completion Notice\r\n"
    with open(path + ".part", "wb") as out:
        out.write(header + b"Calculating [ Measures(Sales)]\r\n")
        out.write(header + b"Completion Notice For Every: [ 10%] Of Blocks\r\n")
        block = notice * 10000
        for _ in range(NOTICES // 10000):
            out.write(block)
    os.replace(path + ".part", path)


def run_measured(command):
    """Wall time in seconds and peak resident memory in MiB of one run. The
    memory comes from /usr/bin/time: a child forked from Python would report
    Python's own memory as its peak."""
    with tempfile.NamedTemporaryFile("r") as report:
        start = time.perf_counter()
        with open(os.devnull, "wb") as null:
            status = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", report.name] + command,
                                     stdout=null, stderr=null)
        elapsed = time.perf_counter() - start
        if status != 0:
            sys.exit("failed: %s" % " ".join(command))
        return elapsed, int(report.read().split()[-1]) / 1024.0


def best_of(command):
    runs = [run_measured(command) for _ in range(RUNS)]
    return min(t for t, _ in runs), max(m for _, m in runs)


def against_wc(scan, log):
    """Best times of `wc -l` and of the scan on the same cached log, and the scan's peak memory.
    The two take turns, so that a change in the machine's load weighs on both alike."""
    run_measured(["cat", log])  # into the page cache
    wc_runs, scan_runs = [], []
    for _ in range(RUNS):
        wc_runs.append(run_measured(["wc", "-l", log]))
        scan_runs.append(run_measured(scan + [log]))
    return min(t for t, _ in wc_runs), min(t for t, _ in scan_runs), max(m for _, m in scan_runs)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", default="build/native/kelvary-cli")
    parser.add_argument("--size-mib", type=int, default=1024)
    parser.add_argument("--dir", default="build/bench")
    args = parser.parse_args()

    os.makedirs(args.dir, exist_ok=True)
    big = os.path.join(args.dir, "realistic-%dMiB.log" % args.size_mib)
    long_line = os.path.join(args.dir, "one-%dMiB-line.log" % LONG_LINE_MIB)
    if not os.path.exists(big):
        print("writing %s ..." % big, flush=True)
        write_realistic_log(big, args.size_mib << 20)
    if not os.path.exists(long_line):
        print("writing %s ..." % long_line, flush=True)
        write_long_line_log(long_line)
    dense = os.path.join(args.dir, "dense-%dMiB.log" % DENSE_SIZE_MIB)
    if not os.path.exists(dense):
        print("writing %s ..." % dense, flush=True)
        write_realistic_log(dense, DENSE_SIZE_MIB << 20, **DENSE_LOG)
    notices = os.path.join(args.dir, "%d-notices.log" % NOTICES)
    if not os.path.exists(notices):
        print("writing %s ..." % notices, flush=True)
        write_many_notices_log(notices)

    size_mib = os.path.getsize(big) / (1 << 20)
    scan = [args.cli, "scan", "--app", "SAMPLE", "--detail", "--estimates"]
    wc_time, scan_time, scan_memory = against_wc(scan, big)
    dense_wc_time, dense_scan_time, dense_memory = against_wc(scan, dense)
    _, long_memory = best_of(scan + [long_line])
    _, notices_memory = best_of(scan + [notices])
    _, notices_plain_memory = best_of(scan[:-1] + [notices])

    ratio = scan_time / wc_time
    dense_ratio = dense_scan_time / dense_wc_time
    print("log:                    %.0f MiB (%s)" % (size_mib, big))
    print("wc -l:                  %.3f s" % wc_time)
    print("kelvary-cli scan:       %.3f s  (%.0f MiB/s)" % (scan_time, size_mib / scan_time))
    print("ratio scan / wc -l:     %.2f  (target <= %.1f)" % (ratio, RATIO_TARGET))
    print("peak memory, 1 GiB log: %.1f MiB  (target <= %.0f)" % (scan_memory, MEMORY_TARGET_MIB))
    print("dense log:              %d MiB, one line in six a calculation's" % DENSE_SIZE_MIB)
    print("wc -l:                  %.3f s" % dense_wc_time)
    print("kelvary-cli scan:       %.3f s  (%.0f MiB/s)" % (dense_scan_time, DENSE_SIZE_MIB / dense_scan_time))
    print("ratio scan / wc -l:     %.2f  (target <= %.1f)" % (dense_ratio, DENSE_RATIO_TARGET))
    print("peak memory, %d MiB line: %.1f MiB  (target <= %.0f)" % (LONG_LINE_MIB, long_memory, MEMORY_TARGET_MIB))
    print("peak memory, %d notices: %.1f MiB with detail, %.1f MiB without  (target <= %.0f)" % (
        NOTICES, notices_memory, notices_plain_memory, MEMORY_TARGET_MIB))
    worst_memory = max(scan_memory, dense_memory, long_memory, notices_memory, notices_plain_memory)
    met = ratio <= RATIO_TARGET and dense_ratio <= DENSE_RATIO_TARGET and worst_memory <= MEMORY_TARGET_MIB
    print("targets met" if met else "TARGETS MISSED")
    return 0 if met else 1


if __name__ == "__main__":
    sys.exit(main())
