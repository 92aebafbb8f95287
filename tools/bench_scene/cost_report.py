#!/usr/bin/env python3
"""Summarises tools/bench's cost run: what a paced minute of each program costs, as a Markdown
table (CPU seconds per minute, cores, frames per second, both sizes side by side), as JSON, and as
a plot of cores used against the note count: Skyfold's two builds as lines, xscreensaver's hacks,
which have no note count, as level lines beside them. Also the native saver's SIGTERM-to-exit times.

    cost_report.py cost.jsonl cost.json cost.png
"""
import json
import statistics
import sys
from collections import defaultdict

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

SECONDS_PER_MINUTE = 60.0


def plot(runs, path):
    figure, axes = plt.subplots(figsize=(9, 5.5))
    sizes = sorted({(r["width"], r["height"]) for r in runs})
    colours = {"skyfold native": "tab:blue", "skyfold Wine": "tab:orange",
               "skyfold native unpaced": "tab:gray", "glmatrix": "tab:green", "gears": "tab:red",
               "flipflop": "tab:purple"}
    notes = sorted({r["notes"] for r in runs if r["notes"]})
    for width, height in sizes:
        style = "-" if (width, height) == sizes[0] else "--"
        for program, colour in colours.items():
            points = sorted((r["notes"], r["cpu_seconds_per_minute"] / SECONDS_PER_MINUTE)
                            for r in runs if r["program"] == program
                            and (r["width"], r["height"]) == (width, height))
            if not points:
                continue
            if program.startswith("skyfold"):
                xs, ys = zip(*points)
                axes.plot(xs, ys, marker="o", linestyle=style, color=colour,
                          label="%s %dx%d" % (program, width, height))
            else:
                axes.plot([notes[0], notes[-1]], [points[0][1]] * 2, linestyle=style, color=colour,
                          alpha=0.7, label="%s %dx%d (no note count)" % (program, width, height))
    axes.set_xscale("log")
    axes.set_xticks(notes)
    axes.set_xticklabels([str(n) for n in notes])
    axes.set_xlabel("notes")
    axes.set_ylabel("cores used (CPU seconds per second)")
    axes.set_title("A paced minute of Skyfold beside xscreensaver's GL hacks (Xvfb, llvmpipe)")
    axes.legend(fontsize=7, ncol=2)
    axes.grid(alpha=0.3)
    figure.tight_layout()
    figure.savefig(path, dpi=100)


def main():
    runs_path, results_path, plot_path = sys.argv[1:4]
    with open(runs_path) as f:
        lines = [json.loads(line) for line in f if line.strip()]
    runs = [r for r in lines if r["mode"] == "cost"]
    endings = defaultdict(list)
    for r in lines:
        if r["mode"] == "sigterm":
            endings["%dx%d" % (r["width"], r["height"])].append(r["ms"])
    with open(results_path, "w") as f:
        json.dump({"cost": runs, "sigterm_ms": endings}, f, indent=1)
    plot(runs, plot_path)
    sizes = sorted({(r["width"], r["height"]) for r in runs})
    by_key = {(r["program"], r["notes"], r["width"], r["height"]): r for r in runs}
    header = "| program | notes |" + "".join(
        " %dx%d CPU s/min | cores | fps |" % size for size in sizes)
    print(header)
    print("|---|---|" + "---|---|---|" * len(sizes))
    for program, notes in sorted({(r["program"], r["notes"]) for r in runs},
                                 key=lambda k: (not k[0].startswith("skyfold"), k)):
        cells = []
        for width, height in sizes:
            r = by_key.get((program, notes, width, height))
            cells.append(" %.1f | %.3f | %.1f |" % (
                r["cpu_seconds_per_minute"], r["cpu_seconds_per_minute"] / SECONDS_PER_MINUTE,
                r["fps"]) if r else " — | — | — |")
        print("| %s | %s |%s" % (program, notes or "—", "".join(cells)))
    for size, times in sorted(endings.items()):
        print("native, 1500 notes at %s: SIGTERM to exit %.1f ms median, %.1f ms at most (%d runs)"
              % (size, statistics.median(times), max(times), len(times)))


if __name__ == "__main__":
    main()
