#!/usr/bin/env bash
# Fifty full-screen runs in a row, each ended by real input (key, click or mouse travel): every one
# ends with 0, and no saver process is left behind.
source "$(dirname "$0")/e2e_lib.sh"

inputs=("key space" "click 1" "mousemove_relative -- 9 0" "key Escape" "click 2")
for run in $(seq 1 50); do
    xdotool mousemove 640 360
    start_saver /s
    wait_for "the saver window (run $run)" saver_window_shown
    xdotool ${inputs[$((run % ${#inputs[@]}))]}
    expect_exit 0
done
no_saver_left() {
    [ -z "$(prefix_pids 'skyfold\.scr')" ]
}
wait_for "every saver process to end" no_saver_left
echo "50 starts and stops: ok"
