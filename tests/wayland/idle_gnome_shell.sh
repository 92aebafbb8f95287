#!/usr/bin/env bash
# The idle watcher under the real GNOME Shell 43 (headless, two monitors, its lock screen; logind
# and GDM stand-ins on a system bus of the test's own), following GNOME's own lock settings (at
# their defaults: lock at every return): it never owns org.freedesktop.ScreenSaver there, which
# the settings daemon's proxy takes though it comes later; GNOME's own lock over the saver ends
# the saver, so that after the unlock no second key is needed; a key locks the session through
# org.gnome.ScreenSaver (which tells ActiveChanged(true)), and the saver leaves only once the lock
# shows.
source "$(dirname "$0")/wayland_lib.sh"
stand_ins=(/usr/bin/python3 "$tests/bus_stand_ins.py")
[ -d /run/systemd/seats ] || mkdir -p /run/systemd/seats ||
    fail "GNOME Shell offers its lock screen only where /run/systemd/seats exists"

start_system_bus
"${stand_ins[@]}" logind "$scratch" 3 &
logind_pid=$!
wait_for "the stand-ins for logind and GDM" test -e "$scratch/logind"
start_gnome_shell 1280x720 1024x768 || fail "GNOME Shell did not start, twice"
gdbus call --session --dest org.gnome.Shell --object-path /org/gnome/Shell --method \
    org.freedesktop.DBus.Properties.Set org.gnome.Shell OverviewActive '<false>' >/dev/null
"${stand_ins[@]}" keyboard "$scratch" &
keyboard_pid=$!
"${stand_ins[@]}" shield "$scratch" &
wait_for "the keyboard" test -e "$scratch/keyboard"
wait_for "the shield's listener" test -e "$scratch/shield"
screensaver() {  # GNOME Shell's org.gnome.ScreenSaver
    gdbus call --session --dest org.gnome.ScreenSaver --object-path /org/gnome/ScreenSaver \
        --method "org.gnome.ScreenSaver.$1"
}

XDG_CURRENT_DESKTOP=GNOME start_skyfold --idle --timeout 3 --count 100
watcher_pid=$saver_pid
echo "$watcher_pid" >"$scratch/watcher"
saver() { pgrep -P "$watcher_pid"; }
said() { grep -q "$1" "$scratch/stderr"; }
wait_for "the saver" saver
said "the session is locked at every return from the saver (GNOME's automatic screen lock," ||
    fail "the locking line: $(grep '^skyfold' "$scratch/stderr")"
/usr/libexec/gsd-screensaver-proxy >/dev/null 2>&1 &
proxy_pid=$!
owner() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.GetConnectionUnixProcessID org.freedesktop.ScreenSaver
}
wait_for "the proxy's org.freedesktop.ScreenSaver" eval '[ "$(owner)" = "(uint32 $proxy_pid,)" ]'

# GNOME locks by itself (as at its own idle time): the saver ends under the lock, and is gone
# after the unlock.
wait_for_frames 3
screensaver Lock >/dev/null
wait_for "the saver to end under GNOME's lock" test -e "$scratch/saver-gone"
kill -USR2 "$logind_pid"  # logind's Unlock
wait_for "the unlock" eval '[ "$(screensaver GetActive)" = "(false,)" ]'
rm "$scratch/locked" "$scratch/saver-gone"

# A key locks the session through GNOME's lock, and the saver goes only once that shows.
wait_for "the saver again" saver
wait_for_frames 3
kill -USR1 "$keyboard_pid"
wait_for "the saver to end" test -e "$scratch/saver-gone"
[ "$(cat "$scratch/saver-gone")" = true ] || fail "the saver left before GNOME's lock showed"
test -e "$scratch/locked" || fail "GNOME Shell did not tell of its lock"
! test -e "$scratch/lock-asked" || fail "the lock went to logind, not to GNOME Shell"
kill -TERM "$watcher_pid"
saver_pid=$watcher_pid
expect_exit 0
kill "$proxy_pid"
echo "idle watcher under GNOME Shell: ok"
