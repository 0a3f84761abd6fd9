"""Faults drawn at random from the portable core, beside the hand-picked ones
of faults.py: a comparison flipped or shifted, a condition's join turned
round, a truth value or a one changed. Hand-picked faults follow the tests
their author knew; drawn ones show what a suite misses elsewhere. The draw
depends only on the seed and the sources, so two suites can be compared on
the same faults.

Each fault is (file, the whole line as it stands, the line with the fault);
run.py plants it as it plants those of faults.py."""
import glob
import os
import random
import re

# Portable sources only: the Win32 layer has no native build to test it.
CORE_GLOBS = ["src/base/*.cpp", "src/status/*.cpp", "src/servers/*.cpp", "src/ui/*.cpp", "src/cli/*.cpp"]
SKIPPED = re.compile(r"(_win32|_avx2|main)\.cpp$")

# (pattern, replacement): each a small fault of its own kind.
MUTATIONS = [
    (r"(?<=\s)<(?=\s)", "<="),
    (r"<=", "<"),
    (r"(?<=\s)>(?=\s)", ">="),
    (r">=", ">"),
    (r"==", "!="),
    (r"!=", "=="),
    (r"&&", "||"),
    (r"\|\|", "&&"),
    (r"\btrue\b", "false"),
    (r"\bfalse\b", "true"),
    (r"(?<=[-+] )1\b", "2"),
    (r"(?<=\[)0(?=\])", "1"),
]


def code_part(line):
    """The line without a trailing comment, or None for a line to leave."""
    stripped = line.strip()
    if not stripped or stripped.startswith(("//", "#", "*", "/*")):
        return None
    return line.split("//")[0]


def sites(tree):
    for path in sorted(p for g in CORE_GLOBS for p in glob.glob(os.path.join(tree, g))):
        if SKIPPED.search(path):
            continue
        with open(path) as source:
            lines = source.read().split("\n")
        counts = {}
        for line in lines:
            counts[line] = counts.get(line, 0) + 1
        for line in lines:
            code = code_part(line)
            if code is None or counts[line] != 1 or '"' in code:
                continue
            for pattern, replacement in MUTATIONS:
                for match in re.finditer(pattern, code):
                    faulty = line[:match.start()] + replacement + line[match.end():]
                    yield os.path.relpath(path, tree), line, faulty


def draw(tree, count, seed):
    found = list(sites(tree))
    return random.Random(seed).sample(found, min(count, len(found)))
