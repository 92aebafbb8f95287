#!/usr/bin/env bash
# Resident memory of a long full-screen run: samples the saver's resident set every 10 seconds
# after a 30-second warm-up and reports the first and last samples and the largest swing.
# Sourced environment: tools/lib/wine_env.sh must have been started (tools/bench --memory does).
#   memory_soak.sh <folder of skyfold.scr> <minutes>
set -euo pipefail
bin_dir=$1
minutes=$2
readonly sample_seconds=10 warm_up_seconds=30

(cd "$bin_dir" && exec wine skyfold.scr /s) &
launcher=$!
# The saver of this prefix (another prefix on the machine may be running savers too).
saver_in_prefix() {
    local pid
    # The program itself runs under its Windows path ("Z:\...\skyfold.scr /s"); Wine's start.exe,
    # which launched it, carries the bare name.
    for pid in $(pgrep -f '\\skyfold\.scr /s'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            { echo "$pid"; return 0; }
    done
    return 0
}
saver_pid=""
for _ in $(seq 1 200); do
    saver_pid=$(saver_in_prefix)
    [ -n "$saver_pid" ] && break
    sleep 0.1
done
[ -n "$saver_pid" ] || { echo "the saver did not start" >&2; exit 1; }
sleep "$warm_up_seconds"

samples=()
end=$((SECONDS + minutes * 60))
while [ $SECONDS -lt $end ]; do
    samples+=("$(awk '/^VmRSS:/ {print $2}' "/proc/$saver_pid/status")")
    sleep "$sample_seconds"
done
xdotool mousemove_relative -- 20 20
wait "$launcher" || true

printf '%s\n' "${samples[@]}" | awk -v minutes="$minutes" '
    NR == 1 { first = $1; low = $1; high = $1 }
    { last = $1; if ($1 < low) low = $1; if ($1 > high) high = $1 }
    END { printf "{\"minutes\": %d, \"samples\": %d, \"first_kib\": %d, \"last_kib\": %d, \"swing_kib\": %d}\n",
                 minutes, NR, first, last, high - low }'
