#!/usr/bin/env python3
"""Summarises the benchmark's runs: the median of the repeats for every configuration and
platform (the Windows build under Wine, the native X11 build), as JSON and as a plot of
milliseconds per frame against the note count, one line per platform, resolution and currency,
with the bare windows' floors dashed. The table gives each configuration's two platforms side by
side with the native/Wine ratio of frame rates, and the native program's minor page faults a frame
and triangles in view a frame (both faces of each note in view).

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
NATIVE_METRICS = ("faults_per_frame", "primitives_in_view")  # where the native bench gives them
CURRENCIES = {0: "Australian", 1: "American", 2: "Euro"}
PLATFORMS = ("wine", "native")


def configuration(run):
    return (run["mode"], run["width"], run["height"], run["notes"], run["currency"])


def summarise(runs):
    groups = defaultdict(list)
    for run in runs:
        if run["mode"] == "sigterm":
            continue
        groups[(run.get("platform", "wine"),) + configuration(run)].append(run)
    results = []
    for (platform, mode, width, height, notes, currency), members in sorted(groups.items(), key=str):
        entry = {"platform": platform, "mode": mode, "width": width, "height": height,
                 "notes": notes, "currency": currency, "repeats": len(members)}
        for metric in METRICS + NATIVE_METRICS:
            if all(metric in m for m in members):
                entry[metric] = round(statistics.median(m[metric] for m in members), 4)
        results.append(entry)
    return results


def plot(results, path):
    figure, axes = plt.subplots(figsize=(9, 5.5))
    styles = {"wine": "-", "native": ":"}
    for platform in PLATFORMS:
        for (width, height) in sorted({(r["width"], r["height"]) for r in results}):
            for currency, name in CURRENCIES.items():
                points = sorted((r["notes"], r["ms_median"]) for r in results
                                if r["platform"] == platform and r["mode"] == "scene"
                                and r["currency"] == currency
                                and (r["width"], r["height"]) == (width, height))
                if points:
                    axes.plot(*zip(*points), marker="o", linestyle=styles[platform],
                              label="%s %dx%d %s" % (platform, width, height, name))
    axes.set_xlabel("notes")
    axes.set_ylabel("milliseconds per frame (median)")
    axes.set_title("Skyfold frame time: Windows build under Wine and native X11 (Mesa, software)")
    axes.legend(fontsize=6, ncol=2)
    axes.grid(alpha=0.3)
    figure.tight_layout()
    figure.savefig(path, dpi=100)


def main():
    runs_path, results_path, plot_path = sys.argv[1:4]
    with open(runs_path) as f:
        runs = [json.loads(line) for line in f if line.strip()]
    results = summarise(runs)
    endings = defaultdict(list)
    for run in runs:
        if run["mode"] == "sigterm":
            endings["%dx%d" % (run["width"], run["height"])].append(run["ms"])
    with open(results_path, "w") as f:
        json.dump({"frames": results, "sigterm_ms": endings}, f, indent=1)
    plot(results, plot_path)
    by_platform = {(r["platform"],) + configuration(r): r for r in results}
    print("%-6s %-10s %5s %-10s | %8s %8s %8s %8s | %8s %8s %8s %8s | %6s | %6s %8s" % (
        "mode", "size", "notes", "currency", "wine fps", "ms med", "cpu ms", "first",
        "nat fps", "ms med", "cpu ms", "first", "ratio", "faults", "in view"))
    for key in sorted({configuration(r) for r in results}, key=str):
        wine, native = by_platform.get(("wine",) + key), by_platform.get(("native",) + key)
        cells = []
        for r in (wine, native):
            cells += (["%8.1f" % r["fps"], "%8.2f" % r["ms_median"],
                       "%8.2f" % (1000 * r["cpu_seconds_per_frame"]), "%8.0f" % r["first_frame_ms"]]
                      if r else ["%8s" % "-"] * 4)
        ratio = "%6.2f" % (native["fps"] / wine["fps"]) if wine and native else "%6s" % "-"
        mode, width, height, notes, currency = key
        native_only = ["%6.1f" % native["faults_per_frame"]
                       if native and "faults_per_frame" in native else "%6s" % "-",
                       "%8.0f" % native["primitives_in_view"]
                       if native and "primitives_in_view" in native else "%8s" % "-"]
        print("%-6s %-10s %5d %-10s | %s | %s | %s | %s" % (
            mode, "%dx%d" % (width, height), notes, CURRENCIES.get(currency, "-"),
            " ".join(cells[:4]), " ".join(cells[4:]), ratio, " ".join(native_only)))
    for size, times in sorted(endings.items()):
        print("native, 1500 notes at %s: SIGTERM to exit %.1f ms median, %.1f ms at most (%d runs)"
              % (size, statistics.median(times), max(times), len(times)))


if __name__ == "__main__":
    main()
