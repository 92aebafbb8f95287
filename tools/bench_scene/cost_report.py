#!/usr/bin/env python3
"""Summarises tools/bench's cost run: what a paced minute of each program costs, as Markdown tables
(CPU seconds per minute, cores, frames per second, minor page faults a frame and the display
server's cores, both sizes side by side; what a frame of the native saver costs on X11 and on
Wayland, the program's CPU time and the display server's; the spread of the repeated runs with the
allocator's thresholds and with glibc's defaults), as JSON, and as a plot of cores used against
the note count: Skyfold's builds as lines, xscreensaver's hacks, which have no note count, as
level lines beside them. Also the native saver's SIGTERM-to-exit times, what the idle watcher
costs while it waits, and (tools/bench --views) what a second monitor's view adds to a frame.

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
MILLISECONDS_PER_SECOND = 1000.0
ALLOCATOR_RUNS = "skyfold native, allocator"  # the repeated runs' names start so
VIEW_RUNS = "skyfold native X11, "  # --views: "1 monitor" or "2 monitors", maybe ", unpaced"


def cores(seconds_per_minute):
    return seconds_per_minute / SECONDS_PER_MINUTE


def cpu_ms_per_frame(seconds_per_minute, fps):
    return cores(seconds_per_minute) * MILLISECONDS_PER_SECOND / fps if fps else float("nan")


def plot(runs, path):
    figure, axes = plt.subplots(figsize=(9, 5.5))
    sizes = sorted({(r["width"], r["height"]) for r in runs})
    colours = {"skyfold native": "tab:blue", "skyfold Wine": "tab:orange",
               "skyfold Wayland": "tab:cyan", "skyfold Wayland, 2 monitors": "tab:olive",
               "skyfold native unpaced": "tab:gray",
               "glmatrix": "tab:green", "gears": "tab:red", "flipflop": "tab:purple"}
    notes = sorted({r["notes"] for r in runs if r["notes"]})
    for width, height in sizes:
        style = "-" if (width, height) == sizes[0] else "--"
        for program, colour in colours.items():
            points = sorted((r["notes"], cores(r["cpu_seconds_per_minute"]))
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
    axes.set_ylabel("cores used by the program (CPU seconds per second)")
    axes.set_title("A paced minute of Skyfold beside xscreensaver's GL hacks (llvmpipe)")
    axes.legend(fontsize=7, ncol=2)
    axes.grid(alpha=0.3)
    figure.tight_layout()
    figure.savefig(path, dpi=100)


def main_table(runs):
    sizes = sorted({(r["width"], r["height"]) for r in runs})
    by_key = {(r["program"], r["notes"], r["width"], r["height"]): r for r in runs}
    lines = ["| program | notes |" + "".join(
        " %dx%d CPU s/min | cores | fps | faults/frame | server cores |" % size for size in sizes),
        "|---|---|" + "---|---|---|---|---|" * len(sizes)]
    for program, notes in sorted({(r["program"], r["notes"]) for r in runs},
                                 key=lambda k: (not k[0].startswith("skyfold"), k)):
        cells = []
        for width, height in sizes:
            r = by_key.get((program, notes, width, height))
            cells.append(" %.1f | %.3f | %.1f | %.0f | %.3f (%s) |" % (
                r["cpu_seconds_per_minute"], cores(r["cpu_seconds_per_minute"]), r["fps"],
                r["faults_per_frame"], cores(r["server_cpu_seconds_per_minute"]), r["server"])
                         if r else " — | — | — | — | — |")
        lines.append("| %s | %s |%s" % (program, notes or "—", "".join(cells)))
    return lines


# The paced native saver on both window systems at the size they share: the program's CPU time a
# frame, the display server's, and the two together.
def frame_cost_table(runs):
    wayland = [r for r in runs if r["program"].startswith("skyfold Wayland")]
    shared = {(r["width"], r["height"]) for r in wayland}
    lines = ["| path | size | notes | fps | program CPU ms/frame | server CPU ms/frame | "
             "together ms/frame |", "|---|---|---|---|---|---|---|"]
    for r in sorted((r for r in runs if (r["program"] == "skyfold native" or r in wayland)
                     and (r["width"], r["height"]) in shared and r["notes"] in
                     {w["notes"] for w in wayland}), key=lambda r: (r["notes"], r["program"])):
        program = cpu_ms_per_frame(r["cpu_seconds_per_minute"], r["fps"])
        server = cpu_ms_per_frame(r["server_cpu_seconds_per_minute"], r["fps"])
        path = ("Wayland (sway)" + r["program"][len("skyfold Wayland"):] if r in wayland
                else "X11 (Xvfb)")
        lines.append("| %s | %dx%d | %d | %.1f | %.2f | %.2f | %.2f |" % (
            path, r["width"], r["height"], r["notes"], r["fps"], program, server, program + server))
    return lines if len(lines) > 2 else []


def spread(values):
    return "%.1f (%.1f–%.1f)" % (statistics.median(values), min(values), max(values))


def allocator_table(runs):
    groups = defaultdict(list)
    for r in runs:
        if r["program"].startswith(ALLOCATOR_RUNS):
            groups[(r["program"], r["notes"], r["width"], r["height"])].append(r)
    lines = ["| run | notes | size | runs | fps | cores | faults/frame |",
             "|---|---|---|---|---|---|---|"]
    for (program, notes, width, height), members in sorted(groups.items()):
        lines.append("| %s | %d | %dx%d | %d | %s | %s | %s |" % (
            program, notes, width, height, len(members), spread([m["fps"] for m in members]),
            "%.2f (%.2f–%.2f)" % tuple(f(cores(m["cpu_seconds_per_minute"]) for m in members)
                                      for f in (statistics.median, min, max)),
            spread([m["faults_per_frame"] for m in members])))
    return lines if len(lines) > 2 else []


# One window over one monitor or two, repeated in turns: medians with the range of the repeats, and
# what the second monitor's view adds to a frame.
def views_table(runs):
    groups = defaultdict(list)
    for r in runs:
        if r["program"].startswith(VIEW_RUNS):
            groups[(r["program"][len(VIEW_RUNS):], r["notes"])].append(r)
    if not groups:
        return []
    frame_ms = {key: statistics.median(cpu_ms_per_frame(m["cpu_seconds_per_minute"], m["fps"])
                                       for m in members) for key, members in groups.items()}
    lines = ["| monitors | notes | runs | fps | cores | CPU ms/frame | server cores | "
             "CPU a frame against one monitor |", "|---|---|---|---|---|---|---|---|"]
    for (monitors, notes), members in sorted(groups.items(), key=lambda g: (g[0][1], g[0][0])):
        one = frame_ms.get((monitors.replace("2 monitors", "1 monitor"), notes))
        lines.append("| %s | %d | %d | %s | %s | %s | %s | %s |" % (
            monitors, notes, len(members), spread([m["fps"] for m in members]),
            "%.2f (%.2f–%.2f)" % tuple(f(cores(m["cpu_seconds_per_minute"]) for m in members)
                                      for f in (statistics.median, min, max)),
            spread([cpu_ms_per_frame(m["cpu_seconds_per_minute"], m["fps"]) for m in members]),
            "%.3f" % statistics.median(cores(m["server_cpu_seconds_per_minute"])
                                       for m in members),
            "%.2f×" % (frame_ms[(monitors, notes)] / one) if one else "—"))
    return lines


def main():
    runs_path, results_path, plot_path = sys.argv[1:4]
    with open(runs_path) as f:
        lines = [json.loads(line) for line in f if line.strip()]
    runs = [r for r in lines if r["mode"] == "cost"]
    watchers = [r for r in lines if r["mode"] == "watcher"]
    endings = defaultdict(list)
    for r in lines:
        if r["mode"] == "sigterm":
            endings["%dx%d" % (r["width"], r["height"])].append(r["ms"])
    with open(results_path, "w") as f:
        json.dump({"cost": runs, "sigterm_ms": endings, "watcher": watchers}, f, indent=1)
    single = [r for r in runs if not r["program"].startswith((ALLOCATOR_RUNS, VIEW_RUNS))]
    if single:
        plot(single, plot_path)
        print("\n".join(main_table(single)) + "\n")
    for table in (frame_cost_table(single), allocator_table(runs), views_table(runs)):
        if table:
            print("\n".join(table) + "\n")
    for size, times in sorted(endings.items()):
        print("native, 1500 notes at %s: SIGTERM to exit %.1f ms median, %.1f ms at most (%d runs)"
              % (size, statistics.median(times), max(times), len(times)))
    for r in watchers:
        print("%s waiting on %s: %.4f CPU s/min, %.2f wake-ups/min, %d KiB resident (%.0f s)"
              % (r["program"], r["server"], r["cpu_seconds_per_minute"], r["wakeups_per_minute"],
                 r["resident_kib"], r["seconds"]))


if __name__ == "__main__":
    main()
