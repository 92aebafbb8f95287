#!/usr/bin/env python3
"""Summarises tools/bench --web: for each size and note count, the median over the repeats of the
native program's and the page's milliseconds per frame (and their ratio), each one's CPU time and
minor page faults a frame (the page's counted over every process of the browser), the page's
main-thread milliseconds per frame and its time to the first picture, and the triangles in view a
frame (as the native program counts them: both faces of each note in view); then the targets at 1500
notes, and where the first picture's time goes (medians over every run of the page). Writes the
table as Markdown and prints it.

    web_report.py web_runs.jsonl web_results.md
"""
import json
import statistics
import sys
from collections import defaultdict

MAIN_THREAD_TARGET_MS = 2.0    # at 1500 notes
FRAME_RATIO_TARGET = 1.2       # the page's frame time over the native program's, at 1500 notes
FAULTS_PER_FRAME_TARGET = 1000  # the browser's minor page faults a frame, at 1500 notes: fewer
FIRST_PICTURE_TARGET_MS = 1000.0


def medians(runs):
    groups = defaultdict(list)
    for run in runs:
        groups[(run["platform"], run["width"], run["height"], run["notes"])].append(run)
    return {key: {metric: statistics.median(run[metric] for run in members)
                  for metric in members[0] if isinstance(members[0][metric], (int, float))}
            for key, members in groups.items()}


def main():
    runs_path, table_path = sys.argv[1:3]
    with open(runs_path) as f:
        runs = [json.loads(line) for line in f if line.strip()]
    results = medians(runs)
    lines = ["| size | notes | native ms/frame | page ms/frame | page/native | "
             "native CPU ms/frame | page CPU ms/frame | native faults/frame | "
             "page faults/frame | page main-thread ms/frame | page first ms | triangles in view |",
             "|---|---|---|---|---|---|---|---|---|---|---|---|"]
    verdicts = []
    for (width, height, notes) in sorted({key[1:] for key in results}):
        native = results.get(("native", width, height, notes))
        page = results.get(("web", width, height, notes))
        if not native or not page:
            continue
        ratio = page["ms_median"] / native["ms_median"]
        lines.append("| %dx%d | %d | %.2f | %.2f | %.2f | %.1f | %.1f | %.0f | %.0f | %.2f | %.0f "
                     "| %s |" % (width, height, notes, native["ms_median"], page["ms_median"], ratio,
                        native["cpu_seconds_per_frame"] * 1000, page["cpu_ms_per_frame"],
                        native["faults_per_frame"], page["faults_per_frame"],
                        page["main_ms_median"], page["first_frame_ms"],
                        "%.0f" % native["primitives_in_view"] if "primitives_in_view" in native
                        else "—"))
        if notes == 1500:
            verdicts.append(
                "%dx%d, 1500 notes: frame time %.2fx the native program's (target %.1fx: %s), "
                "%.0f page faults a frame in the browser (target under %d: %s), main thread "
                "%.2f ms (target %.0f: %s)" % (
                    width, height, ratio, FRAME_RATIO_TARGET,
                    "met" if ratio <= FRAME_RATIO_TARGET else "missed",
                    page["faults_per_frame"], FAULTS_PER_FRAME_TARGET,
                    "met" if page["faults_per_frame"] < FAULTS_PER_FRAME_TARGET else "missed",
                    page["main_ms_median"], MAIN_THREAD_TARGET_MS,
                    "met" if page["main_ms_median"] <= MAIN_THREAD_TARGET_MS else "missed"))
    firsts = [r["first_frame_ms"] for key, r in results.items() if key[0] == "web"]
    if firsts:
        verdicts.append("page's first picture: %.0f to %.0f ms after navigation starts (target %.0f: "
                        "%s)" % (min(firsts), max(firsts), FIRST_PICTURE_TARGET_MS,
                                 "met" if max(firsts) <= FIRST_PICTURE_TARGET_MS else "missed"))
        pages = [run for run in runs if run["platform"] == "web"]
        verdicts.append("on the way, medians of %d page runs: the document read at %.0f ms, parsed "
                        "with its scripts run at %.0f, the WebAssembly instantiated at %.0f, the "
                        "first drawing frame begun at %.0f and ended at %.0f" % (
                            len(pages), *(statistics.median(r[step] for r in pages) for step in (
                                "document_ms", "parsed_ms", "wasm_ms", "first_frame_start_ms",
                                "first_frame_ms"))))
    text = "\n".join(lines) + "\n\n" + "\n".join("- " + v for v in verdicts) + "\n"
    with open(table_path, "w") as f:
        f.write(text)
    print(text, end="")


if __name__ == "__main__":
    main()
