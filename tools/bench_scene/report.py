#!/usr/bin/env python3
"""Summarises the benchmark's runs: the median of the repeats for every configuration, as JSON and
as a plot of milliseconds per frame against the note count, one line per resolution and currency,
with the bare window's floor dashed.

    report.py runs.jsonl results.json plot.png
"""
import json
import statistics
import sys
from collections import defaultdict

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

METRICS = ("fps", "ms_median", "ms_p99", "cpu_seconds_per_frame", "first_frame_ms")
CURRENCIES = {0: "Australian", 1: "American", 2: "Euro"}


def summarise(runs):
    groups = defaultdict(list)
    for run in runs:
        groups[(run["mode"], run["width"], run["height"], run["notes"], run["currency"])].append(run)
    results = []
    for (mode, width, height, notes, currency), members in sorted(groups.items(), key=str):
        entry = {"mode": mode, "width": width, "height": height, "notes": notes,
                 "currency": currency, "repeats": len(members)}
        for metric in METRICS:
            entry[metric] = round(statistics.median(m[metric] for m in members), 4)
        results.append(entry)
    return results


def plot(results, path):
    figure, axes = plt.subplots(figsize=(8, 5))
    for (width, height) in sorted({(r["width"], r["height"]) for r in results}):
        for currency, name in CURRENCIES.items():
            points = sorted((r["notes"], r["ms_median"]) for r in results
                            if r["mode"] == "scene" and r["currency"] == currency
                            and (r["width"], r["height"]) == (width, height))
            if points:
                axes.plot(*zip(*points), marker="o", label="%dx%d %s" % (width, height, name))
        floor = [r["ms_median"] for r in results
                 if r["mode"] == "bare" and (r["width"], r["height"]) == (width, height)]
        if floor:
            axes.axhline(floor[0], linestyle="--", color="grey", linewidth=0.8)
            axes.annotate("bare window %dx%d" % (width, height), (75, floor[0]), fontsize=7)
    axes.set_xlabel("notes")
    axes.set_ylabel("milliseconds per frame (median)")
    axes.set_title("Skyfold frame time under Wine + Mesa (software)")
    axes.legend(fontsize=7)
    axes.grid(alpha=0.3)
    figure.tight_layout()
    figure.savefig(path, dpi=100)


def main():
    runs_path, results_path, plot_path = sys.argv[1:4]
    with open(runs_path) as f:
        runs = [json.loads(line) for line in f if line.strip()]
    results = summarise(runs)
    with open(results_path, "w") as f:
        json.dump(results, f, indent=1)
    plot(results, plot_path)
    print("%-6s %-10s %5s %-10s %8s %9s %9s %9s %10s" % (
        "mode", "size", "notes", "currency", "fps", "ms med", "ms p99", "cpu ms", "first ms"))
    for r in results:
        print("%-6s %-10s %5d %-10s %8.1f %9.2f %9.2f %9.2f %10.0f" % (
            r["mode"], "%dx%d" % (r["width"], r["height"]), r["notes"],
            CURRENCIES.get(r["currency"], "-"), r["fps"], r["ms_median"], r["ms_p99"],
            1000 * r["cpu_seconds_per_frame"], r["first_frame_ms"]))


if __name__ == "__main__":
    main()
