#!/usr/bin/env bash
# The idle watcher on X11 (an Xvfb of its own, idle time from MIT-SCREEN-SAVER): the saver comes
# after the timeout, a key ends it while the watcher stays, the next idle period brings it again,
# and the X server going away ends the watcher with 1; and its autostart entry: valid, the
# previous one kept, removed on request.
source "$(dirname "$0")/x11_lib.sh"
start_private_display
export DISPLAY=$private_display
export DBUS_SESSION_BUS_ADDRESS="unix:path=$scratch/no-bus"  # the watcher does without one

start_skyfold --idle --timeout 1 --count 100
saver_shown() { [ -n "$(window_named Skyfold)" ]; }
saver_gone() { ! saver_shown; }
wait_for "the saver" saver_shown
grep -q "MIT-SCREEN-SAVER" "$scratch/stderr" || fail "idle source: $(cat "$scratch/stderr")"
xdotool key space
wait_for "the saver to end" saver_gone
wait_for "the saver again" saver_shown
# The X server going away ends the watcher with 1 and a line saying so.
kill %Xvfb
expect_exit 1
grep -qx "skyfold: the X server went away" "$scratch/stderr" ||
    fail "the watcher's end: $(cat "$scratch/stderr")"

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
