#!/usr/bin/env bash
# The Linux program on a compositor without layer shell (headless weston, as GNOME's stands for):
# a full-screen run says so in one line and takes a full-screen window instead, which covers the
# screen with notes; a wallpaper run cannot be had and ends with 1 and one line.
source "$(dirname "$0")/wayland_lib.sh"

start_weston
grid_colours >"$scratch/before"

start_skyfold --fullscreen
wait_for "the screen covered" covers "" "$scratch/before"
wait_for "notes on the screen" shows_notes
[ "$(wc -l <"$scratch/stderr")" -eq 1 ] && grep -q "full screen in a window" "$scratch/stderr" ||
    fail "expected one line on the window: $(head -c 400 "$scratch/stderr")"
kill -TERM "$saver_pid"
expect_exit 0

start_skyfold --background
expect_exit 1
[ "$(wc -l <"$scratch/stderr")" -eq 1 ] && grep -q "layer shell" "$scratch/stderr" ||
    fail "expected one line on the missing layer shell: $(head -c 400 "$scratch/stderr")"
echo "Wayland without layer shell: ok"
