#!/usr/bin/env python3
"""The grid of extremes: every field of every function at its limits and at
random points between, forward, inverse and between, each call timed.

Every accepted input must answer within 100 ms.  This runs one probex-calc
per call (--json, so that the details are computed too), takes the function
list and the fields from `probex-calc --list-functions`, and prints the
slowest calls, every call over the limit and every run-time error (a value
beyond the extended range is a null with a note, never an error).  It is a
measurement, not a test: the random points come from a seed.

    python3 bench/extremes.py build/cli/probex-calc [--seed N] [--random N]
                              [--only NAME,...] [--slowest N]
"""
import argparse
import json
import math
import random
import subprocess
import sys
import time

LIMIT_SECONDS = 0.1
# A call that runs this long is cut off and counted as a hang.
HANG_SECONDS = 10
# Values every field is tried at; those its rule refuses are skipped.
EDGES = ["-1e4900", "-1e300", "-1e20", "-1", "-1e-300", "0", "4e-4951", "1e-4900", "1e-300",
         "1e-20", "0.001", "0.5", "0.999999999999", "1", "2", "1e6", "1073741823",
         "2147483647", "1e20", "1e300", "1e4900"]
PERCENTILES = ["1e-300", "1e-20", "0.000001", "0.05", "0.5", "0.95", "0.999999999999",
               "0.99999999999999999999"]


def functions(calc):
    out = subprocess.run([calc, "--list-functions"], capture_output=True, text=True, check=True)
    for line in out.stdout.splitlines():
        name, _caption, fields, modes = line.split("\t")
        yield name, len(fields.split(", ")), modes.split()


def random_text(rng):
    """A number log-uniform over the whole extended range, either sign."""
    magnitude = 10 ** rng.uniform(-300, 300) if rng.random() < 0.7 else rng.uniform(0, 100)
    return f"{(-1 if rng.random() < 0.2 else 1) * magnitude:.6g}"


def run(calc, words):
    start = time.perf_counter()
    try:
        out = subprocess.run([calc, "--json", *words], capture_output=True, text=True,
                             timeout=HANG_SECONDS)
    except subprocess.TimeoutExpired:
        return HANG_SECONDS, "hang"
    seconds = time.perf_counter() - start
    try:
        status = json.loads(out.stdout).get("status", "?")
    except ValueError:
        status = "usage" if out.returncode == 2 else "no json"
    return seconds, status


def calls(name, count, modes, rng, randoms):
    """The words of each call: defaults from probex-calc, one field at a time at
    each edge, then random points in every field."""
    base = ["1"] * count
    for mode in modes:
        flag = {"forward": [], "inverse": ["--inverse"], "between": ["--between"]}[mode]
        width = count + (1 if mode == "between" else 0)
        for field in range(width):
            values = PERCENTILES if mode == "inverse" and field == count - 1 else EDGES
            for value in values:
                texts = (base + ["2"])[:width]
                texts[field] = value
                yield flag + [name] + texts
        for _ in range(randoms):
            texts = [random_text(rng) for _ in range(width)]
            if mode == "inverse":
                texts[-1] = rng.choice(PERCENTILES)
            if mode == "between":
                texts[-2:] = sorted(texts[-2:], key=float)
            yield flag + [name] + texts


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("calc")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--random", type=int, default=10)
    parser.add_argument("--only", default="")
    parser.add_argument("--slowest", type=int, default=10)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    only = set(filter(None, args.only.split(",")))
    timed, errors = [], []
    for name, count, modes in functions(args.calc):
        if only and name not in only:
            continue
        for words in calls(name, count, modes, rng, args.random):
            seconds, status = run(args.calc, words)
            if status in ("ok", "error", "hang"):
                timed.append((seconds, " ".join(words), status))
            if status in ("error", "hang"):
                errors.append((status, " ".join(words)))
    timed.sort(reverse=True)
    print(f"{len(timed)} accepted calls; slowest {args.slowest}:")
    for seconds, words, status in timed[:args.slowest]:
        print(f"  {seconds * 1000:8.1f} ms  {status:5}  {words}")
    over = [t for t in timed if t[0] > LIMIT_SECONDS]
    print(f"{len(over)} over {LIMIT_SECONDS * 1000:.0f} ms (process start included)")
    print(f"{len(errors)} run-time errors or hangs:")
    for status, words in errors:
        print(f"  {status}: {words}")
    return 1 if over or errors else 0


if __name__ == "__main__":
    sys.exit(main())
