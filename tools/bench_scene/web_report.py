#!/usr/bin/env python3
"""Summarises tools/bench --web: for each size and note count, the median over the repeats of the
native program's and the page's milliseconds per frame (and their ratio, with the range of the
ratios of the repeats, each page run against the native run right before it), each one's CPU time
and minor page faults a frame (the page's counted over every process of the browser), the page's
madvise calls a frame, its main-thread milliseconds per frame and its time to the first picture,
and the triangles in view a frame (as the native program counts them: both faces of each note in
view); the same for the page in Firefox; with --against, this page beside the other one; then the
targets at 1500 notes, where the first picture's time goes (medians over every run of the page),
and what a minor page fault and a madvise cost on the machine. Writes the tables as Markdown and
prints them.

    web_report.py web_runs.jsonl web_results.md
"""
import json
import statistics
import sys
from collections import defaultdict

MAIN_THREAD_TARGET_MS = 2.0    # at 1500 notes
# The page's frame time over the native program's, at 1500 notes, by width.
FRAME_RATIO_TARGETS = {1280: 1.3, 1920: 1.2}
FAULTS_PER_FRAME_TARGET = 500  # the browser's minor page faults a frame, at 1500 notes: fewer
FIRST_PICTURE_TARGET_MS = 1000.0


def run_key(run):
    """Which row a run belongs to: the program (native, or the page in a browser, this build or
    the --against one), the size and the note count."""
    program = run["platform"]
    if program == "web":
        program = (run.get("browser", "chromium"), bool(run.get("against")))
    return (program, run["width"], run["height"], run["notes"])


def grouped(runs):
    groups = defaultdict(list)
    for run in runs:
        if run["platform"] != "probe":
            groups[run_key(run)].append(run)
    return groups


def median_of(members):
    return {metric: statistics.median(run[metric] for run in members)
            for metric in members[0]
            if isinstance(members[0][metric], (int, float)) and not isinstance(
                members[0][metric], bool) and all(run.get(metric) is not None for run in members)}


def figure(value, form):
    return form % value if value is not None else "—"


def page_table(groups, browser, against):
    """The page in that browser beside the native program: medians, and the ratio's range over
    the repeats (the n-th page run against the n-th native run)."""
    lines = ["| size | notes | native ms/frame | page ms/frame | page/native (range) | "
             "native CPU ms/frame | page CPU ms/frame | native faults/frame | page faults/frame | "
             "page madvise/frame | page main-thread ms/frame | page first ms | triangles in view |",
             "|---|---|---|---|---|---|---|---|---|---|---|---|---|"]
    rows = {}
    for key in sorted(key for key in groups if key[0] == (browser, against)):
        size = key[1:]
        natives, pages = groups.get(("native",) + size), groups[key]
        if not natives:
            continue
        native, page = median_of(natives), median_of(pages)
        ratios = [p["ms_median"] / n["ms_median"] for p, n in zip(pages, natives)]
        ratio = page["ms_median"] / native["ms_median"]
        rows[size] = (ratio, page)
        lines.append("| %dx%d | %d | %.2f | %.2f | %.2f (%.2f–%.2f) | %.1f | %.1f | %.0f | %.0f "
                     "| %s | %.2f | %.0f | %s |" % (
                         size[0], size[1], size[2], native["ms_median"], page["ms_median"], ratio,
                         min(ratios), max(ratios), native["cpu_seconds_per_frame"] * 1000,
                         page["cpu_ms_per_frame"], native["faults_per_frame"],
                         page["faults_per_frame"], figure(page.get("madvise_per_frame"), "%.1f"),
                         page["main_ms_median"], page["first_frame_ms"],
                         figure(native.get("primitives_in_view"), "%.0f")))
    return lines, rows


def against_table(groups):
    """This build of the page beside the --against one, each in the browser it ran in."""
    lines = ["| browser | size | notes | ms/frame (range) | against ms/frame (range) | CPU ms/frame "
             "| against CPU ms/frame | faults/frame | against faults/frame | madvise/frame | "
             "against madvise/frame |", "|---|---|---|---|---|---|---|---|---|---|---|"]
    spread = lambda runs: "%.2f (%.2f–%.2f)" % (
        statistics.median(r["ms_median"] for r in runs), min(r["ms_median"] for r in runs),
        max(r["ms_median"] for r in runs))
    for key in sorted(key for key in groups if key[0] != "native" and not key[0][1]):
        other = groups.get(((key[0][0], True),) + key[1:])
        if not other:
            continue
        ours, theirs = median_of(groups[key]), median_of(other)
        lines.append("| %s | %dx%d | %d | %s | %s | %.1f | %.1f | %.0f | %.0f | %s | %s |" % (
            key[0][0], key[1], key[2], key[3], spread(groups[key]), spread(other),
            ours["cpu_ms_per_frame"], theirs["cpu_ms_per_frame"], ours["faults_per_frame"],
            theirs["faults_per_frame"], figure(ours.get("madvise_per_frame"), "%.1f"),
            figure(theirs.get("madvise_per_frame"), "%.1f")))
    return lines if len(lines) > 2 else []


def verdicts_at_1500(rows):
    verdicts = []
    for (width, height, notes), (ratio, page) in sorted(rows.items()):
        if notes != 1500:
            continue
        target = FRAME_RATIO_TARGETS.get(width)
        verdicts.append(
            "%dx%d, 1500 notes: frame time %.2fx the native program's (target %s), %.0f page "
            "faults a frame in the browser (target under %d: %s), main thread %.2f ms (target "
            "%.0f: %s)" % (width, height, ratio,
                     "%.1fx: %s" % (target, "met" if ratio <= target else "missed")
                     if target else "none",
                     page["faults_per_frame"], FAULTS_PER_FRAME_TARGET,
                     "met" if page["faults_per_frame"] < FAULTS_PER_FRAME_TARGET else "missed",
                     page["main_ms_median"], MAIN_THREAD_TARGET_MS,
                     "met" if page["main_ms_median"] <= MAIN_THREAD_TARGET_MS else "missed"))
    return verdicts


def first_picture(runs):
    pages = [run for run in runs if run["platform"] == "web" and not run.get("against")
             and run.get("browser", "chromium") == "chromium"]
    if not pages:
        return []
    firsts = [run["first_frame_ms"] for run in pages]
    return ["page's first picture: %.0f to %.0f ms after navigation starts (target %.0f: %s)" % (
                min(firsts), max(firsts), FIRST_PICTURE_TARGET_MS,
                "met" if max(firsts) <= FIRST_PICTURE_TARGET_MS else "missed"),
            "on the way, medians of %d page runs: the document read at %.0f ms, parsed with its "
            "scripts run at %.0f, the WebAssembly instantiated at %.0f, the first drawing frame "
            "begun at %.0f and ended at %.0f" % (
                len(pages), *(statistics.median(r[step] for r in pages) for step in (
                    "document_ms", "parsed_ms", "wasm_ms", "first_frame_start_ms",
                    "first_frame_ms")))]


def fault_cost(runs):
    probes = [run for run in runs if run["platform"] == "probe"]
    if not probes:
        return []
    faults = " and ".join("%.2f" % run["minor_fault_us"] for run in probes)
    madvises = " and ".join("%.2f" % run["madvise_80k_us"] for run in probes)
    return ["this machine: a minor page fault costs %s µs, a madvise of 80 KB %s µs (probes "
            "before and after the runs)" % (faults, madvises)]


def main():
    runs_path, table_path = sys.argv[1:3]
    with open(runs_path) as f:
        runs = [json.loads(line) for line in f if line.strip()]
    groups = grouped(runs)
    lines, rows = page_table(groups, "chromium", False)
    firefox, _ = page_table(groups, "firefox", False)
    if len(firefox) > 2:
        lines += ["", "In Firefox ESR:", ""] + firefox
    against = against_table(groups)
    if against:
        lines += ["", "This page beside the --against one:", ""] + against
    verdicts = verdicts_at_1500(rows) + first_picture(runs) + fault_cost(runs)
    text = "\n".join(lines) + "\n\n" + "\n".join("- " + v for v in verdicts) + "\n"
    with open(table_path, "w") as f:
        f.write(text)
    print(text, end="")


if __name__ == "__main__":
    main()
