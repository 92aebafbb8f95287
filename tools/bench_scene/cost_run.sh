#!/usr/bin/env bash
# One size of tools/bench's cost run, on the display and Wine prefix the caller has started: the
# native saver and the Windows one under Wine, paced as in use, with 75, 200 and 1500 notes, and
# xscreensaver's glmatrix, gears and flipflop at their defaults. Each program runs full screen; after
# a warm-up its CPU time (its own process, every thread, from /proc) and its buffer swaps (counted
# by swap_count.so) are read over a measured span and printed as one JSON line.
#   cost_run.sh <swap_count.so> <folder of skyfold.scr> <native skyfold> <warm-up s> <measured s>
set -euo pipefail
counter_library=$1 windows_bin=$2 native_saver=$3 warm_up=$4 measured=$5
hacks=/usr/libexec/xscreensaver
settings_key='HKCU\Software\Quillmark\Skyfold'
count_file=$(mktemp)
ticks_per_second=$(getconf CLK_TCK)
read -r width height < <(xdpyinfo | sed -n 's/ *dimensions: *\([0-9]*\)x\([0-9]*\) .*/\1 \2/p')
trap 'rm -f "$count_file"' EXIT

cpu_ticks() {  # pid: user and system time of the process, all threads, in clock ticks
    awk '{print $14 + $15}' "/proc/$1/stat"
}
swaps() {
    od -An -t u8 "$count_file" | tr -d ' '
}
now_ns() {
    date +%s%N
}

# The process that draws: for Wine, the skyfold.scr process itself, not the wine launcher.
drawing_pid() {  # launcher pid, pattern
    local pid
    for pid in $(pgrep -f "$2"); do
        [ "$pid" != "$1" ] && grep -q "$counter_library" "/proc/$pid/maps" 2>/dev/null &&
            echo "$pid" && return 0
    done
    echo "$1"
}

# Runs the command with the counter, measures, ends it with SIGTERM; prints one JSON line.
measure() {  # program, notes, pattern, command...
    local program=$1 notes=$2 pattern=$3 launcher pid
    shift 3
    : >"$count_file"
    LD_PRELOAD=$counter_library SKYFOLD_SWAP_COUNT=$count_file "$@" </dev/null >/dev/null 2>&1 &
    launcher=$!
    sleep "$warm_up"  # start-up and the first frames are not what a minute of saver costs
    pid=$(drawing_pid "$launcher" "$pattern")
    local ticks0 swaps0 t0 ticks1 swaps1 t1
    ticks0=$(cpu_ticks "$pid") swaps0=$(swaps) t0=$(now_ns)
    sleep "$measured"
    ticks1=$(cpu_ticks "$pid") swaps1=$(swaps) t1=$(now_ns)
    kill -TERM "$pid" "$launcher" 2>/dev/null || true
    wait "$launcher" 2>/dev/null || true
    python3 -c '
import json, sys
program, notes, width, height, ticks, hz, swaps, ns = sys.argv[1:]
seconds = int(ns) / 1e9
print(json.dumps({"mode": "cost", "program": program, "notes": int(notes), "width": int(width),
                  "height": int(height), "seconds": round(seconds, 2),
                  "cpu_seconds_per_minute": round(int(ticks) / int(hz) / seconds * 60, 2),
                  "fps": round(int(swaps) / seconds, 1)}))' \
        "$program" "$notes" "$width" "$height" "$((ticks1 - ticks0))" "$ticks_per_second" \
        "$((swaps1 - swaps0))" "$((t1 - t0))"
}

for notes in 75 200 1500; do
    measure "skyfold native" "$notes" "$native_saver" \
        "$native_saver" --fullscreen --count "$notes" --view-angle front-on --currency australian
    for value in "Number of Notes:$notes" "View Angle:1" "Type of Currency:0"; do
        wine reg add "$settings_key" /v "${value%:*}" /t REG_DWORD /d "${value#*:}" /f \
            </dev/null >/dev/null 2>&1
    done
    measure "skyfold Wine" "$notes" 'skyfold\.scr' \
        bash -c 'cd "$1" && exec wine skyfold.scr /s' - "$windows_bin"
done
for hack in glmatrix gears flipflop; do
    measure "$hack" 0 "$hacks/$hack" "$hacks/$hack" --root
done
