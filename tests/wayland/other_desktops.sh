#!/usr/bin/env bash
# The Linux program on other desktops' compositors. Without layer shell (headless weston, and
# GNOME's mutter with two monitors) a full-screen run says so in one line and takes a full-screen
# window on each monitor, at that monitor's size, instead; a wallpaper run cannot be had and ends
# with 1 and one line. On KDE's KWin at scale 1.5 it draws at the monitors' real pixel size.
source "$(dirname "$0")/wayland_lib.sh"

# The protocol log of the last run: what it asked the compositor for.
requests() {  # pattern
    grep -E -- "-> .*$1" "$scratch/stderr" | sed 's/^[^>]*> //'
}
next_compositor() {
    stop_compositor
    [ -z "${compositor_pid:-}" ] || kill "$compositor_pid" 2>/dev/null || true
    wait "$compositor_pid" 2>/dev/null || true
    rm -f "$runtime"/wayland-*
    unset WAYLAND_DISPLAY
}

start_weston
grid_colours >"$scratch/before"

start_skyfold --fullscreen
wait_for "the screen covered" covers "" "$scratch/before"
wait_for "notes on the screen" shows_notes
[ "$(wc -l <"$scratch/stderr")" -eq 1 ] && grep -q "a full-screen window on each monitor" "$scratch/stderr" ||
    fail "expected one line on the windows: $(head -c 400 "$scratch/stderr")"
kill -TERM "$saver_pid"
expect_exit 0

start_skyfold --background
expect_exit 1
[ "$(wc -l <"$scratch/stderr")" -eq 1 ] && grep -q "layer shell" "$scratch/stderr" ||
    fail "expected one line on the missing layer shell: $(head -c 400 "$scratch/stderr")"

next_compositor
start_mutter 1280x720 1024x768
WAYLAND_DEBUG=1 start_skyfold --fullscreen
wait_for_frames 10
kill -TERM "$saver_pid"
expect_exit 0
[ "$(requests 'set_fullscreen\(wl_output@' | sort -u | wc -l)" -eq 2 ] ||
    fail "full screen on: $(requests set_fullscreen | xargs)"
for size in "1280, 720" "1024, 768"; do
    requests "create_buffer\(.*, $size," | grep -q . || fail "no $size buffer on mutter"
done

next_compositor
start_kwin 2 1.5
WAYLAND_DEBUG=1 start_skyfold --fullscreen
wait_for_frames 10
kill -TERM "$saver_pid"
expect_exit 0
[ "$(requests 'create_buffer\(.*, 1920, 1080,' | wc -l)" -ge 2 ] &&
    ! requests 'create_buffer\(.*, 2560, 1440,' | grep -q . ||
    fail "buffers on KWin at 1.5: $(requests create_buffer | xargs)"
echo "Wayland on other desktops: ok"
