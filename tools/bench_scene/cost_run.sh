#!/usr/bin/env bash
# One display of tools/bench's cost run, on the display server the caller has started, paced as in
# use. On X11 (Xvfb, with the Wine prefix and wineserver the caller started on it): the native
# saver and the Windows one under Wine with 75, 200 and 1500 notes (and the native one unpaced,
# with --max-fps 0, as it drew before it was paced), xscreensaver's glmatrix, gears and flipflop at
# their defaults, and, given a number of repeats, the native saver at 200 notes paced and unpaced
# that many times with its allocator thresholds and as many with glibc's defaults, in turns. On
# Wayland (a headless sway): the native saver with 200 and 1500 notes on the one monitor, or on
# each of the given number of monitors (a sky of its own on each). Each
# program runs full screen; after a warm-up its CPU time (its own process, every thread, from
# /proc), its minor page faults, its frames and the display server's CPU time are read over three
# equal parts of a measured span, and the medians of the three are printed as one JSON line (the
# machine is shared: one part caught by another program's burst does not decide). Native programs'
# frames are their buffer swaps, counted by swap_count.so; the Windows saver runs as
# scene_bench.exe's "paced" run (the saver's own window, loop and pacing), which counts its
# presented frames itself, since Wine's swaps of a GL child window do not all pass glXSwapBuffers,
# and says the size it drew at: a size other than the display's fails the run.
# With "watcher" it measures the idle watcher (skyfold --idle, on the sway and session bus the
# caller started) while it waits, over the measured span after a warm-up: CPU seconds and
# wake-ups (context switches of all its threads) a minute, and its resident size at the end.
# With "views" it measures the native saver on X11 with 200 and 1500 notes, paced and unpaced, on
# the monitors the caller has laid out on its Xvfb (one window, a view per monitor), labelled with
# their number.
#   cost_run.sh x11 <Xvfb pid> <native bin folder> <folder of scene_bench.exe> <warm-up s> \
#               <measured s> [<repeats>]
#   cost_run.sh views <Xvfb pid> <native bin folder> <warm-up s> <measured s> <monitors>
#   cost_run.sh wayland <sway pid> <native bin folder> <warm-up s> <measured s> [<monitors>]
#   cost_run.sh watcher <sway pid> <native bin folder> <warm-up s> <measured s>
set -euo pipefail
platform=$1 server_pid=$2 native_bin=$3
shift 3
native_saver=$native_bin/skyfold
counter_library=$native_bin/swap_count.so
defaults_library=$native_bin/malloc_defaults.so
hacks=/usr/libexec/xscreensaver
count_file=$(mktemp)
ticks_per_second=$(getconf CLK_TCK)
trap 'rm -f "$count_file" "$count_file.out" "$count_file.samples"' EXIT

if [ "$platform" = wayland ] || [ "$platform" = watcher ]; then
    warm_up=$1 measured=$2 monitors=${3:-1}
    server=sway
    # The monitor's size as the compositor gives it, so that the rows say what they measured.
    read -r width height < <(swaymsg -t get_outputs -r | python3 -c '
import json, sys
mode = json.load(sys.stdin)[0]["current_mode"]
print(mode["width"], mode["height"])')
elif [ "$platform" = views ]; then
    warm_up=$1 measured=$2 monitors=$3
    server=Xvfb
    read -r width height < <(xdpyinfo | sed -n 's/ *dimensions: *\([0-9]*\)x\([0-9]*\) .*/\1 \2/p')
else
    windows_bin=$1 warm_up=$2 measured=$3 repeats=${4:-0}
    server=Xvfb
    read -r width height < <(xdpyinfo | sed -n 's/ *dimensions: *\([0-9]*\)x\([0-9]*\) .*/\1 \2/p')
fi

# User and system time, in clock ticks, and minor page faults of a process (every thread) as
# "ticks faults".
process_counts() {
    awk '{print $14 + $15, $10}' "/proc/$1/stat"
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

# "ticks faults server-ticks swaps nanoseconds" of the program now.
sample() {  # pid
    echo "$(process_counts "$1") $(process_counts "$server_pid" | cut -d' ' -f1) $(swaps) $(now_ns)"
}

# A sample at the start and the end of each part, a line each.
sample_parts() {  # pid
    local part
    sample "$1"
    for part in $(seq 1 "$parts"); do
        sleep "$part_seconds"
        sample "$1"
    done
}

# The medians over the parts; frames from the samples, or the given rate where the program counts
# its own.
print_run() {  # program, notes, samples file, frames per second or nothing
    python3 -c '
import json, statistics, sys
program, notes, width, height, hz, server, samples, fps = sys.argv[1:]
rows = [[int(x) for x in line.split()] for line in open(samples) if line.strip()]
parts = list(zip(rows, rows[1:]))
seconds = [(b[4] - a[4]) / 1e9 for a, b in parts]
def per_minute(column):
    return statistics.median((b[column] - a[column]) / int(hz) / s * 60
                             for (a, b), s in zip(parts, seconds))
rates = ([float(fps)] * len(parts) if fps
         else [(b[3] - a[3]) / s for (a, b), s in zip(parts, seconds)])
faults = statistics.median((b[1] - a[1]) / s / rate if rate else 0.0
                           for (a, b), s, rate in zip(parts, seconds, rates))
print(json.dumps({"mode": "cost", "program": program, "notes": int(notes), "width": int(width),
                  "height": int(height), "seconds": round(sum(seconds), 2),
                  "cpu_seconds_per_minute": round(per_minute(0), 2),
                  "fps": round(statistics.median(rates), 1), "faults_per_frame": round(faults, 1),
                  "server": server, "server_cpu_seconds_per_minute": round(per_minute(2), 2)}))' \
        "$1" "$2" "$width" "$height" "$ticks_per_second" "$server" "$3" "${4:-}"
}

# A native program with the swap counter (and any other library given in $preload), ended with
# SIGTERM after the measured span.
preload=""
measure_native() {  # program, notes, command...
    local program=$1 notes=$2 pid
    shift 2
    : >"$count_file"
    LD_PRELOAD="$counter_library${preload:+ $preload}" SKYFOLD_SWAP_COUNT=$count_file "$@" \
        </dev/null >/dev/null 2>&1 &
    pid=$!
    sleep "$warm_up"  # start-up and the first frames are not what a minute of saver costs
    sample_parts "$pid" >"$count_file.samples"
    kill -TERM "$pid"
    wait "$pid" || true
    print_run "$program" "$notes" "$count_file.samples"
}

# The Windows saver's paced run, which ends itself some seconds after the measured span (a loaded
# machine stretches the sampling) and prints its frame rate over that time and the size it drew
# at; wine execs the program in the process it was started as.
measure_windows() {  # notes
    local pid drawn
    (cd "$windows_bin" && exec wine scene_bench.exe paced "$1" 0 "$warm_up" "$((measured + 5))") \
        </dev/null >"$count_file.out" 2>/dev/null &
    pid=$!
    sleep "$warm_up"
    sample_parts "$pid" >"$count_file.samples"
    wait "$pid" || true
    drawn=$(sed -n 's/.*"width": \([0-9]*\), "height": \([0-9]*\).*/\1x\2/p' "$count_file.out")
    if [ "$drawn" != "${width}x${height}" ]; then
        echo "cost_run.sh: the Windows saver drew at '$drawn' on a ${width}x${height} display" \
             "(a wineserver started on another display?)" >&2
        exit 1
    fi
    print_run "skyfold Wine" "$1" "$count_file.samples" \
        "$(sed -n 's/.*"fps": \([0-9.]*\).*/\1/p' "$count_file.out")"
}

saver() {  # notes, more options...
    local notes=$1
    shift
    echo "$native_saver" --fullscreen --count "$notes" --view-angle front-on \
        --currency australian "$@"
}

# "ticks switches" of every thread of a process, and its resident KiB, as one line.
watcher_counts() {  # pid
    local ticks switches=0 thread
    ticks=$(process_counts "$1" | cut -d' ' -f1)
    for thread in /proc/"$1"/task/*; do
        switches=$((switches + $(awk '/ctxt_switches/ {n += $2} END {print n}' "$thread/status")))
    done
    echo "$ticks $switches $(awk '/^VmRSS/ {print $2}' "/proc/$1/status")"
}

if [ "$platform" = watcher ]; then
    "$native_saver" --idle --timeout 86400 </dev/null >/dev/null 2>&1 &
    pid=$!
    sleep "$warm_up"
    read -r ticks switches _ < <(watcher_counts "$pid")
    start=$(now_ns)
    sleep "$measured"
    read -r ticks_after switches_after rss < <(watcher_counts "$pid")
    seconds=$(awk "BEGIN {print ($(now_ns) - $start) / 1e9}")
    kill -TERM "$pid"
    wait "$pid" || true
    awk -v t="$((ticks_after - ticks))" -v w="$((switches_after - switches))" -v s="$seconds" \
        -v hz="$ticks_per_second" -v rss="$rss" 'BEGIN {
        printf "{\"mode\": \"watcher\", \"program\": \"skyfold --idle\", \"server\": \"sway\", "
        printf "\"seconds\": %.1f, \"cpu_seconds_per_minute\": %.4f, ", s, t / hz / s * 60
        printf "\"wakeups_per_minute\": %.2f, \"resident_kib\": %d}\n", w / s * 60, rss }'
    exit 0
fi

if [ "$platform" = views ]; then
    label="skyfold native X11, $monitors monitor$([ "$monitors" -eq 1 ] || echo s)"
    for notes in 200 1500; do
        measure_native "$label" "$notes" $(saver "$notes")
        measure_native "$label, unpaced" "$notes" $(saver "$notes" --max-fps 0)
    done
    exit 0
fi

if [ "$platform" = wayland ]; then
    label="skyfold Wayland"
    [ "$monitors" -eq 1 ] || label="$label, $monitors monitors"
    for notes in 200 1500; do
        measure_native "$label" "$notes" $(saver "$notes" --platform wayland)
    done
    exit 0
fi

for notes in 75 200 1500; do
    measure_native "skyfold native" "$notes" $(saver "$notes")
    measure_windows "$notes"
    measure_native "skyfold native unpaced" "$notes" $(saver "$notes" --max-fps 0)
done
for hack in glmatrix gears flipflop; do
    measure_native "$hack" 0 "$hacks/$hack" --root
done
# The allocator's thresholds against glibc's defaults (mallopt made a no-op by a preloaded
# library), in turns, so that a burst of other work falls on both alike.
for repeat in $(seq 1 "$repeats"); do
    for allocator in defaults thresholds; do
        [ "$allocator" = defaults ] && preload=$defaults_library || preload=""
        label="skyfold native, allocator $allocator"
        measure_native "$label" 200 $(saver 200)
        measure_native "$label, unpaced" 200 $(saver 200 --max-fps 0)
    done
done
