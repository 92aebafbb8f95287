#!/usr/bin/env bash
# One size of tools/bench's cost run, on the display and Wine prefix the caller has started: the
# native saver and the Windows one under Wine, paced as in use, with 75, 200 and 1500 notes (and
# the native one unpaced, with --max-fps 0, as it drew before it was paced), and xscreensaver's
# glmatrix, gears and flipflop at their defaults. Each program runs full screen; after a warm-up
# its CPU time (its own process, every thread, from /proc) and its frames are read over three equal
# parts of a measured span, and the medians of the three are printed as one JSON line (the machine
# is shared: one part caught by another program's burst does not decide). Native programs' frames
# are their buffer swaps, counted by swap_count.so; the Windows saver runs as scene_bench.exe's
# "paced" run (the saver's own window, loop and pacing), which counts its presented frames itself,
# since Wine's swaps of a GL child window do not all pass glXSwapBuffers.
#   cost_run.sh <swap_count.so> <folder of scene_bench.exe> <native skyfold> \
#               <warm-up s> <measured s>
set -euo pipefail
counter_library=$1 windows_bin=$2 native_saver=$3 warm_up=$4 measured=$5
hacks=/usr/libexec/xscreensaver
count_file=$(mktemp)
ticks_per_second=$(getconf CLK_TCK)
read -r width height < <(xdpyinfo | sed -n 's/ *dimensions: *\([0-9]*\)x\([0-9]*\) .*/\1 \2/p')
trap 'rm -f "$count_file" "$count_file.out" "$count_file.samples"' EXIT

cpu_ticks() {  # pid: user and system time of the process, all threads, in clock ticks
    awk '{print $14 + $15}' "/proc/$1/stat"
}
swaps() {
    local count
    count=$(od -An -t u8 "$count_file" 2>/dev/null | tr -d ' ')
    echo "${count:-0}"
}
now_ns() {
    date +%s%N
}

readonly parts=3
part_seconds=$(awk "BEGIN {print $measured / $parts}")

# "ticks swaps nanoseconds" of the process at the start and the end of each part, one line each.
sample_parts() {  # pid
    local part
    echo "$(cpu_ticks "$1") $(swaps) $(now_ns)"
    for part in $(seq 1 "$parts"); do
        sleep "$part_seconds"
        echo "$(cpu_ticks "$1") $(swaps) $(now_ns)"
    done
}

# The medians over the parts; frames from the samples, or the given rate where the program counts
# its own.
print_run() {  # program, notes, samples file, frames per second or nothing
    python3 -c '
import json, statistics, sys
program, notes, width, height, hz, samples, fps = sys.argv[1:]
rows = [[int(x) for x in line.split()] for line in open(samples) if line.strip()]
parts = list(zip(rows, rows[1:]))
seconds = [(b[2] - a[2]) / 1e9 for a, b in parts]
cpu = statistics.median((b[0] - a[0]) / int(hz) / s * 60 for (a, b), s in zip(parts, seconds))
frames = float(fps) if fps else statistics.median(
    (b[1] - a[1]) / s for (a, b), s in zip(parts, seconds))
print(json.dumps({"mode": "cost", "program": program, "notes": int(notes), "width": int(width),
                  "height": int(height), "seconds": round(sum(seconds), 2),
                  "cpu_seconds_per_minute": round(cpu, 2), "fps": round(frames, 1)}))' \
        "$1" "$2" "$width" "$height" "$ticks_per_second" "$3" "${4:-}"
}

# A native program with the swap counter, ended with SIGTERM after the measured span.
measure_native() {  # program, notes, command...
    local program=$1 notes=$2 pid
    shift 2
    : >"$count_file"
    LD_PRELOAD=$counter_library SKYFOLD_SWAP_COUNT=$count_file "$@" </dev/null >/dev/null 2>&1 &
    pid=$!
    sleep "$warm_up"  # start-up and the first frames are not what a minute of saver costs
    sample_parts "$pid" >"$count_file.samples"
    kill -TERM "$pid"
    wait "$pid" || true
    print_run "$program" "$notes" "$count_file.samples"
}

# The Windows saver's paced run, which ends itself some seconds after the measured span (a loaded
# machine stretches the sampling) and prints its frame rate over that time; wine execs the program
# in the process it was started as.
measure_windows() {  # notes
    local pid
    (cd "$windows_bin" && exec wine scene_bench.exe paced "$1" 0 "$warm_up" "$((measured + 5))") \
        </dev/null >"$count_file.out" 2>/dev/null &
    pid=$!
    sleep "$warm_up"
    sample_parts "$pid" >"$count_file.samples"
    wait "$pid" || true
    print_run "skyfold Wine" "$1" "$count_file.samples" \
        "$(sed -n 's/.*"fps": \([0-9.]*\).*/\1/p' "$count_file.out")"
}

for notes in 75 200 1500; do
    measure_native "skyfold native" "$notes" \
        "$native_saver" --fullscreen --count "$notes" --view-angle front-on --currency australian
    measure_windows "$notes"
    measure_native "skyfold native unpaced" "$notes" "$native_saver" --fullscreen \
        --count "$notes" --view-angle front-on --currency australian --max-fps 0
done
for hack in glmatrix gears flipflop; do
    measure_native "$hack" 0 "$hacks/$hack" --root
done
