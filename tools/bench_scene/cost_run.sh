#!/usr/bin/env bash
# One size of tools/bench's cost run, on the display and Wine prefix the caller has started: the
# native saver and the Windows one under Wine, paced as in use, with 75, 200 and 1500 notes, and
# xscreensaver's glmatrix, gears and flipflop at their defaults. Each program runs full screen;
# after a warm-up its CPU time (its own process, every thread, from /proc) and its frames are read
# over a measured span and printed as one JSON line. Native programs' frames are their buffer swaps,
# counted by swap_count.so; the Windows saver runs as scene_bench.exe's "paced" run (the saver's own
# window, loop and pacing), which counts its presented frames itself, since Wine's swaps of a GL
# child window do not all pass glXSwapBuffers.
#   cost_run.sh <swap_count.so> <folder of scene_bench.exe> <native skyfold> \
#               <warm-up s> <measured s>
set -euo pipefail
counter_library=$1 windows_bin=$2 native_saver=$3 warm_up=$4 measured=$5
hacks=/usr/libexec/xscreensaver
count_file=$(mktemp)
ticks_per_second=$(getconf CLK_TCK)
read -r width height < <(xdpyinfo | sed -n 's/ *dimensions: *\([0-9]*\)x\([0-9]*\) .*/\1 \2/p')
trap 'rm -f "$count_file" "$count_file.out"' EXIT

cpu_ticks() {  # pid: user and system time of the process, all threads, in clock ticks
    awk '{print $14 + $15}' "/proc/$1/stat"
}
swaps() {
    od -An -t u8 "$count_file" | tr -d ' '
}
now_ns() {
    date +%s%N
}

print_run() {  # program, notes, CPU ticks, frames per second, nanoseconds
    python3 -c '
import json, sys
program, notes, width, height, ticks, hz, fps, ns = sys.argv[1:]
seconds = int(ns) / 1e9
print(json.dumps({"mode": "cost", "program": program, "notes": int(notes), "width": int(width),
                  "height": int(height), "seconds": round(seconds, 2),
                  "cpu_seconds_per_minute": round(int(ticks) / int(hz) / seconds * 60, 2),
                  "fps": round(float(fps), 1)}))' \
        "$1" "$2" "$width" "$height" "$3" "$ticks_per_second" "$4" "$5"
}

# A native program with the swap counter, ended with SIGTERM after the measured span.
measure_native() {  # program, notes, command...
    local program=$1 notes=$2 pid ticks0 swaps0 t0 ticks1 swaps1 t1
    shift 2
    : >"$count_file"
    LD_PRELOAD=$counter_library SKYFOLD_SWAP_COUNT=$count_file "$@" </dev/null >/dev/null 2>&1 &
    pid=$!
    sleep "$warm_up"  # start-up and the first frames are not what a minute of saver costs
    ticks0=$(cpu_ticks "$pid") swaps0=$(swaps) t0=$(now_ns)
    sleep "$measured"
    ticks1=$(cpu_ticks "$pid") swaps1=$(swaps) t1=$(now_ns)
    kill -TERM "$pid"
    wait "$pid" || true
    print_run "$program" "$notes" "$((ticks1 - ticks0))" \
        "$(python3 -c "print($((swaps1 - swaps0)) / ($((t1 - t0)) / 1e9))")" "$((t1 - t0))"
}

# The Windows saver's paced run, which ends itself and prints its frame rate; wine execs the
# program in the process it was started as.
measure_windows() {  # notes
    local pid ticks0 t0 ticks1 t1
    (cd "$windows_bin" && exec wine scene_bench.exe paced "$1" 0 "$warm_up" "$measured") \
        </dev/null >"$count_file.out" 2>/dev/null &
    pid=$!
    sleep "$warm_up"
    ticks0=$(cpu_ticks "$pid") t0=$(now_ns)
    sleep "$measured"
    ticks1=$(cpu_ticks "$pid") t1=$(now_ns)
    wait "$pid" || true
    print_run "skyfold Wine" "$1" "$((ticks1 - ticks0))" \
        "$(sed -n 's/.*"fps": \([0-9.]*\).*/\1/p' "$count_file.out")" "$((t1 - t0))"
}

for notes in 75 200 1500; do
    measure_native "skyfold native" "$notes" \
        "$native_saver" --fullscreen --count "$notes" --view-angle front-on --currency australian
    measure_windows "$notes"
done
for hack in glmatrix gears flipflop; do
    measure_native "$hack" 0 "$hacks/$hack" --root
done
