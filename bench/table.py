#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Prints the benchmark table (Markdown) from the results bench/run collected:
reading.json and calendar.json (Google Benchmark) and startup.txt (one line
per start: state program ms peak_kib)."""
import json
import os
import statistics
import sys

results = sys.argv[1]


def medians(name):
    """Median seconds per iteration: wall time for benchmarks that asked for
    it (their names end in /real_time), CPU time for the others."""
    with open(os.path.join(results, name)) as f:
        data = json.load(f)
    out = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") == "median":
            scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
            wall = b["run_name"].endswith("/real_time")
            out[b["run_name"].removesuffix("/real_time")] = b["real_time" if wall else "cpu_time"] * scale
    return out


def duration(seconds):
    if seconds >= 1e-3:
        return f"{seconds * 1e3:.1f} ms"
    if seconds >= 1e-6:
        return f"{seconds * 1e6:.2f} µs"
    return f"{seconds * 1e9:.0f} ns"


rows = []


def ratio_row(figure, ours, floor, limit, fmt=duration):
    ratio = ours / floor
    goal = f"≤ {limit:.2f}x" if limit else "report"
    met = ("yes" if ratio <= limit else "NO") if limit else "—"
    rows.append((figure, fmt(ours), fmt(floor), f"{ratio:.2f}x", goal, met))


reading = medians("reading.json")
calendar = medians("calendar.json")

ratio_row("1. ReadVerse, sample book", reading["ReadVerse/sample"], reading["ReadRecordFloor/sample"], 2.0)
ratio_row("1. ComposeVerse, sample book", reading["ComposeVerse"], reading["ReadRecordFloor/sample"], 2.0)
ratio_row("2. ReadVerse, a year's verses, 65,535-record book (floor: 366-record book)",
          reading["ReadVerse/large"], reading["ReadVerse/small"], 1.10)
ratio_row("2. ReadVerse, 366 records across the 65,535-record book (floor: 366-record book)",
          reading["ReadVerse/large_spread"], reading["ReadVerse/small"], None)
ratio_row("2. one pread, 366 records across the 65,535-record book (floor: 366-record book)",
          reading["ReadRecordFloor/large_spread"], reading["ReadRecordFloor/small"], None)
ratio_row("3. A year of dates in the window, per date", calendar["SelectDates"], calendar["SelectDatesFloor"], None)

starts = {}
with open(os.path.join(results, "startup.txt")) as f:
    for line in f:
        state, program, ms, kib = line.split()
        starts.setdefault((state, program), []).append((float(ms), int(kib)))
states = [("first-run", "first run, to the settings window"),
          ("chime-autorun-on", "chime and autorun on"),
          ("both-off", "chime and autorun off")]
runs = min(len(v) for v in starts.values())
for state, label in states:
    ours = statistics.median(ms for ms, _ in starts[(state, "talvik")]) / 1e3
    floor = statistics.median(ms for ms, _ in starts[(state, "floor")]) / 1e3
    ratio_row(f"4. Start-up to first paint, {label}", ours, floor, 1.10)
for state, label in states:
    ours = statistics.median(kib for _, kib in starts[(state, "talvik")]) / 1024
    floor = statistics.median(kib for _, kib in starts[(state, "floor")]) / 1024
    rows.append((f"5. Peak memory, {label}", f"{ours:.1f} MiB", f"{floor:.1f} MiB", f"{ours - floor:+.1f} MiB",
                 "≤ floor + 3 MiB", "yes" if ours - floor <= 3 else "NO"))
ratio_row("6. Saving settings (OK to disk)", reading["SaveSettings"], reading["ReplaceFloor"], None)

header = ("figure", "ours", "floor", "ratio", "goal", "met")
print("| " + " | ".join(header) + " |")
print("|" + "|".join("---" for _ in header) + "|")
for row in rows:
    print("| " + " | ".join(row) + " |")
print()
print(f"In-process figures: medians of 9 repetitions, interleaved. Start-up and memory: medians of {runs} starts per program "
      "and state, the two programs alternating.")
