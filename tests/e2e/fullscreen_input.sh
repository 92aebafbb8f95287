#!/usr/bin/env bash
# A full-screen run under real X input: a 4-pixel move is tolerated, a 5th pixel ends it with 0;
# a key press and a mouse click end it too.
source "$(dirname "$0")/e2e_lib.sh"

xdotool mousemove 640 360
start_saver /s
wait_for "the saver window" saver_window_shown
xdotool mousemove_relative -- 2 0
xdotool mousemove_relative -- 0 2
# A tolerated move has nothing to wait for; give the saver a moment to prove it keeps running.
sleep 1
kill -0 "$saver_pid" || fail "a 4-pixel move ended the run"
xdotool mousemove_relative -- 1 0
expect_exit 0

for input in "key space" "click 1" "click 3"; do
    start_saver /s
    wait_for "the saver window" saver_window_shown
    xdotool $input
    expect_exit 0
done
echo "full-screen input: ok"
