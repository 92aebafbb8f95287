#!/usr/bin/env bash
# The idle watcher on X11 (an Xvfb of its own, idle time from SYNC IDLETIME): while a player resets
# the server's idle time (xset s reset) no saver comes, and the waiting watcher does not wake; the
# saver comes after the timeout, a key ends it while the watcher stays, and the next idle period
# brings it again, three times over; the server's own screen saver ends it; a WAYLAND_DISPLAY that
# names no compositor leaves the watcher on X11 with a line; the X server going away ends the
# watcher with 1 and its saver with it. And its autostart entry: valid, the previous one kept,
# removed on request.
source "$(dirname "$0")/x11_lib.sh"
start_private_display
export DISPLAY=$private_display
export DBUS_SESSION_BUS_ADDRESS="unix:path=$scratch/no-bus"  # the watcher does without one
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$scratch/no-bus"

WAYLAND_DISPLAY=wayland-nowhere start_skyfold --idle --timeout 3 --count 100
watcher_pid=$saver_pid
saver_shown() { [ -n "$(window_named Skyfold)" ]; }
saver_gone() { ! saver_shown; }
said() { grep -q "$1" "$scratch/stderr"; }
wait_for "the watcher's start" said "SYNC IDLETIME"
said "cannot reach the Wayland compositor 'wayland-nowhere': running on X11" ||
    fail "no line on the stale WAYLAND_DISPLAY: $(cat "$scratch/stderr")"
wakeups() {  # of the watcher's main thread
    awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$watcher_pid/task/$watcher_pid/status"
}
before=$(wakeups)
for second in $(seq 10); do
    xset s reset
    sleep 1
done
! saver_shown || fail "the saver came while the idle time was reset"
[ "$(wakeups)" -eq "$before" ] || fail "the waiting watcher woke $(($(wakeups) - before)) times"
kill -TERM "$watcher_pid"
expect_exit 0

start_skyfold --idle --timeout 1 --count 100
watcher_pid=$saver_pid
for time in 1 2 3; do
    wait_for "the saver ($time)" saver_shown
    xdotool key space
    wait_for "the saver to end ($time)" saver_gone
done
wait_for "the saver" saver_shown
xset s activate
wait_for "the saver to end under the server's screen saver" saver_gone
xdotool key space
wait_for "the saver again" saver_shown
saver=$(pgrep -P "$watcher_pid")
# The X server going away ends the watcher with 1 and a line saying so.
kill %Xvfb
expect_exit 1
grep -qx "skyfold: the X server went away" "$scratch/stderr" ||
    fail "the watcher's end: $(cat "$scratch/stderr")"
! kill -0 "$saver" 2>/dev/null || fail "the saver outlived the X server"

entry="$XDG_CONFIG_HOME/autostart/skyfold.desktop"
"$skyfold" --install-autostart --timeout 600 --currency euro >/dev/null
desktop-file-validate "$entry" || fail "invalid entry: $(cat "$entry")"
grep -qx "Exec=$skyfold --idle --timeout 600 --currency euro" "$entry" ||
    fail "the entry runs: $(grep Exec "$entry")"
"$skyfold" --install-autostart >/dev/null
grep -q -- "--timeout 600" "$entry.bak" || fail "the previous entry was not kept"
"$skyfold" --remove-autostart
[ ! -e "$entry" ] || fail "the entry is still there"
echo "X11 idle watcher: ok"
