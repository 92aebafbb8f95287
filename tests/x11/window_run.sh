#!/usr/bin/env bash
# The native program in windows of its own and full screen, under real X input: it draws notes,
# follows a resize, ends with 0 on SIGTERM, SIGINT and SIGHUP, on q and Escape, and when the window
# it draws on is destroyed by another program (quietly); it runs here when WAYLAND_DISPLAY names no
# compositor; a full-screen run ends on input as on Windows. --fps writes the frame rate into the
# lower left corner, which stays free of it without. Full screen over two monitors, a sky on each,
# and a monitor removed during the run is followed.
# Xvfb never waits at a swap, so the clock paces the frames: 200 notes present no more than 65 a
# second (counted by the swap counter preloaded into the run; a busy machine may draw fewer).
source "$(dirname "$0")/x11_lib.sh"

window=
window_shown() {
    window=$(window_named Skyfold)
    [ -n "$window" ]
}

start_window() {
    start_skyfold --window "$@"
    wait_for "the Skyfold window" window_shown
}

# Drawn, then resized: notes outside the first size's area show that the picture follows.
start_window --geometry 320x180
wait_for "notes in the window" shows_notes "$window"
xdotool windowsize "$window" 1280 720
wait_for "notes above the first 320x180" shows_notes "$window" 1280x520+0+0
# The frame-rate text is pure white; lit notes and the half-transparent banner never are, over
# this many pixels.
shows_frame_rate() {
    import -window "$1" -crop 160x48+0+672 "$scratch/corner.png" 2>/dev/null || return 1
    [ "$(convert "$scratch/corner.png" -fill black +opaque white \
        -format '%[fx:int(mean * w * h) >= 100]' info:)" = 1 ]
}
shows_frame_rate "$window" && fail "a frame rate in the corner without --fps"
kill -TERM "$saver_pid"
expect_quiet_exit 0

swap_file="$scratch/swaps"
swaps() {
    od -An -t u8 "$swap_file" 2>/dev/null | tr -d ' '
}
has_swapped() {
    [ "$(swaps)" -gt 0 ]
}
readonly counted_seconds=4 most_frames_per_second=65
LD_PRELOAD="$(dirname "$skyfold")/swap_count.so" SKYFOLD_SWAP_COUNT=$swap_file \
    ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0 start_window --fps --count 200
wait_for "the frame rate in the lower left corner" shows_frame_rate "$window"
wait_for "frames" has_swapped
first=$(swaps) started=$(date +%s%N)
sleep "$counted_seconds"  # the span the swaps are counted over, not a wait for anything
frames=$(($(swaps) - first)) milliseconds=$((($(date +%s%N) - started) / 1000000))
[ $((frames * 1000)) -le $((most_frames_per_second * milliseconds)) ] ||
    fail "$frames frames in $milliseconds ms"
kill -TERM "$saver_pid"
expect_quiet_exit 0

for signal in INT HUP; do
    start_window
    kill -"$signal" "$saver_pid"
    expect_quiet_exit 0
done

# A WAYLAND_DISPLAY left over from another session: the run goes to X11 and says so.
WAYLAND_DISPLAY=wayland-nowhere start_window
kill -TERM "$saver_pid"
expect_exit 0
grep -q "cannot reach the Wayland compositor 'wayland-nowhere': running on X11" "$scratch/stderr" ||
    fail "no word of the Wayland compositor: $(head -c 400 "$scratch/stderr")"

for key in q Escape; do
    start_window
    xdotool mousemove --window "$window" 100 100 key "$key"
    expect_quiet_exit 0
done

# Another program's window that disappears, as the daemon's does when the user comes back.
start_window
host_pid=$saver_pid
mv "$scratch/stderr" "$scratch/host.stderr"
start_skyfold --window-id "$window"
# The guest has its GL context once the driver is loaded into it; it then draws over the host's
# picture, which the host's own frames hide again, so its drawing is no sign to wait on.
guest_has_context() {
    grep -q '_dri\.so' "/proc/$saver_pid/maps"
}
wait_for "the guest's GL context" guest_has_context
kill -TERM "$host_pid"
expect_quiet_exit 0
wait "$host_pid" || fail "the window's own run ended with $?"

# Full screen: 4 pixels of travel are tolerated, the 5th ends the run; so do a key, a click and
# focus going to another program.
other=
fullscreen_shown() {
    window=$(xdotool getwindowfocus 2>/dev/null)
    [ "$window" != "$other" ] && [ "$(xdotool getwindowname "$window" 2>/dev/null)" = Skyfold ]
}
xdotool mousemove 640 360
start_skyfold --fullscreen
wait_for "the full-screen window" fullscreen_shown
xdotool mousemove_relative -- 2 0 mousemove_relative -- 0 2
sleep 1  # a tolerated move has nothing to wait for
kill -0 "$saver_pid" || fail "a 4-pixel move ended the run"
xdotool mousemove_relative -- 1 0
expect_quiet_exit 0
for input in "key space" "click 1"; do
    start_skyfold --fullscreen
    wait_for "the full-screen window" fullscreen_shown
    xdotool $input
    expect_quiet_exit 0
done
start_window
other_pid=$saver_pid other=$window
start_skyfold --fullscreen
wait_for "the full-screen window" fullscreen_shown
xdotool windowfocus "$other"
expect_quiet_exit 0
kill -TERM "$other_pid"
echo "window runs: ok"

# Full screen over two monitors of different sizes: a sky on each, with its banner at rest at its
# bottom right, the strip under the smaller one black and no note across the seam. A monitor
# removed during the run is followed: its part of the screen turns black.
start_two_monitor_display
export DISPLAY=$two_monitor_display
other=
start_skyfold --fullscreen --count 75
wait_for "the full-screen window on two monitors" fullscreen_shown
banners_rest() {
    import -window root "$scratch/two.png" 2>/dev/null && two_skies "$scratch/two.png" banners 0
}
wait_detail='two_skies "$scratch/two.png" banners 0'
wait_for "a banner at rest on each monitor" banners_rest
two_skies "$scratch/two.png" all 0 || fail "not a sky on each monitor"
xrandr --delmonitor B
monitor_b_black() {
    import -window root -crop 1024x768+1280+0 "$scratch/b.png" 2>/dev/null &&
        [ "$(convert "$scratch/b.png" -format '%[fx:maxima]' info:)" = 0 ]
}
wait_detail=
wait_for "monitor B's part of the screen to turn black once B is gone" monitor_b_black
xdotool key space
expect_quiet_exit 0
echo "two monitors: ok"
