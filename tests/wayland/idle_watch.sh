#!/usr/bin/env bash
# The idle watcher on a headless sway with two monitors (idle time from org_kde_kwin_idle), with
# a session bus and a stand-in logind of its own: a Wayland idle inhibitor holds the saver back
# and its end lets it come, covering both monitors; a second watcher leaves at once; a key ends
# the saver and the watcher brings it again at the next idle period, also after a saver killed
# outright; a D-Bus Inhibit (ended by UnInhibit, or by its caller leaving the bus), logind's idle
# block and KDE Plasma's power manager coming after the watcher each hold it back, and their end
# lets it come; a caller's requests are bounded; SIGTERM ends watcher and saver with 0. Then, with
# locking on: the key asks logind's locker and the saver stays until the lock is there, or 2 s
# when none answers; the session locking by itself ends the saver; the session is locked before
# it sleeps; SIGKILL of the watcher ends its saver. With --lock-after 30 an early return does not
# lock, and a keeper whose holds cannot be read is named.
source "$(dirname "$0")/wayland_lib.sh"
stand_ins=(/usr/bin/python3 "$tests/bus_stand_ins.py")  # Debian's, which has GLib's bindings
holds=3  # seconds each request holds the saver back, longer than the timeout

private_bus() {  # file for the address
    dbus-daemon --session --nofork --print-address=3 3>"$1" 2>/dev/null &
    wait_for "a bus" test -s "$1"
}
private_bus "$scratch/session.bus"
export DBUS_SESSION_BUS_ADDRESS=$(cat "$scratch/session.bus")
private_bus "$scratch/system.bus"
export DBUS_SYSTEM_BUS_ADDRESS=$(cat "$scratch/system.bus")
"${stand_ins[@]}" logind "$scratch" "$holds" &
logind_pid=$!
wait_for "the stand-in logind" test -e "$scratch/logind"

start_sway 2
for monitor in HEADLESS-1 HEADLESS-2; do grid_colours "$monitor" >"$scratch/$monitor.before"; done
# The watcher starts while a player holds an idle inhibitor, which holds the saver back; then the
# saver covers both monitors.
# NOTE: sway 1.7 tells no input to an idle client while an inhibitor is in force, nor idle again
# to one it last told idle; so the inhibitor comes first here, not in the middle of a run.
"$bin_dir/idle_inhibitor" "$scratch/inhibiting" "$holds" &
inhibitor_pid=$!
wait_for "the idle inhibitor" test -e "$scratch/inhibiting"
start_skyfold --idle --timeout 1 --count 100
watcher_pid=$saver_pid
echo "$watcher_pid" >"$scratch/watcher"
saver() { pgrep -P "$watcher_pid"; }
no_saver() { ! saver >/dev/null; }
wait_for "the end of the idle inhibitor" eval '! kill -0 $inhibitor_pid'
no_saver || fail "the saver came during the idle inhibitor"
for monitor in HEADLESS-1 HEADLESS-2; do
    wait_for "$monitor covered" covers "$monitor" "$scratch/$monitor.before"
done
grep -q "org_kde_kwin_idle" "$scratch/stderr" || fail "idle source: $(cat "$scratch/stderr")"
"$skyfold" --idle 2>"$scratch/second.err" || fail "a second watcher ended with $?"
grep -q "already runs" "$scratch/second.err" || fail "second watcher: $(cat "$scratch/second.err")"

# A key ends the saver, the next idle period brings it again; so it does after a SIGKILL.
first=$(saver)
wtype -s 400 -k x
wait_for "the saver to end" eval '[ "$(saver)" != "$first" ]'
wait_for "the saver again" saver
kill -KILL "$(saver)"
wait_for "the killed saver gone" no_saver
wtype -s 400 -k x
wait_for "a saver after the killed one" saver

# Each hold keeps the saver back, and its end lets it come: the key that ends the saver comes once
# the hold is in force, and the stand-in notes at the hold's end whether a saver showed.
held_back() {  # what, the file that the stand-in writes at the hold's end
    wait_for_frames 3  # the saver is on screen, and has the keyboard
    wtype -s 400 -k x
    wait_for "the saver to end" no_saver
    wait_for "the end of $1" test -s "$2"
    [ "$(cat "$2")" = "without saver" ] || fail "the saver came during $1"
    rm "$2"
    wait_for "the saver after $1" saver
}
"${stand_ins[@]}" hold "$scratch" "$holds" uninhibit &
player_pid=$!
wait_for "an Inhibit" test -e "$scratch/held"
held_back "the Inhibit" "$scratch/released"
kill "$player_pid"
rm "$scratch/held"
"${stand_ins[@]}" hold "$scratch" "$holds" exit &
wait_for "an Inhibit" test -e "$scratch/held"
held_back "the Inhibit of a caller that leaves" "$scratch/released"

kill -USR1 "$logind_pid"
wait_for "logind's idle block" test -e "$scratch/blocked"
held_back "logind's idle block" "$scratch/unblocked"

"${stand_ins[@]}" flood "$scratch"
grep -qx "64 org.freedesktop.DBus.Error.LimitsExceeded" "$scratch/refused" ||
    fail "the flood of requests: $(cat "$scratch/refused")"

# KDE Plasma's power manager comes: the watcher gives org.freedesktop.ScreenSaver up to it (only
# then does it hold) and follows its holds.
rm "$scratch/held"
"${stand_ins[@]}" desktop "$scratch" "$holds" plasma &
plasma_pid=$!
wait_for "Plasma's hold" test -e "$scratch/held"
held_back "Plasma's hold" "$scratch/released"
kill "$plasma_pid"

last=$(saver)
kill -TERM "$watcher_pid"
saver_pid=$watcher_pid
expect_exit 0
! kill -0 "$last" 2>/dev/null || fail "the saver outlived the watcher"

# Locking on return, through logind here: the saver is still there when the lock comes 0.8 s after
# the key, and leaves then; the locked session starts no saver until it is unlocked.
shown_saver() {  # waits for the saver to come and draw
    wait_for "the saver" saver
    wait_for_frames 3
}
ended() {  # PID: gone, or a zombie that nobody reaps
    ! kill -0 "$1" 2>/dev/null || grep -q '^[0-9]* ([^)]*) Z' "/proc/$1/stat"
}
said() { grep -q "$1" "$scratch/stderr"; }
start_skyfold --idle --timeout 1 --lock-after 0 --count 100
watcher_pid=$saver_pid
echo "$watcher_pid" >"$scratch/watcher"
shown_saver
said "the session is locked at every return from the saver (--lock-after 0)" ||
    fail "the locking line: $(grep '^skyfold' "$scratch/stderr")"
wtype -s 400 -k x
wait_for "the locker's answer" test -e "$scratch/confirmed"
[ "$(cat "$scratch/confirmed")" = "with saver" ] || fail "the saver left before the lock came"
wait_for "the saver to end" no_saver
kill -USR2 "$logind_pid"  # unlocks
# With no locker that answers, the saver goes 2 s after the key, and the watcher says so.
touch "$scratch/silent"
shown_saver
rm "$scratch/lock-asked"
last=$(saver)
wtype -s 400 -k x
wait_for "the saver to end" ended "$last"
test -e "$scratch/lock-asked" || fail "no lock was asked"
said "no locker answered" || fail "no line on the missing lock"
rm "$scratch/silent"
# The session locking by itself ends the saver; the unlock lets the next one come.
shown_saver
kill -USR2 "$logind_pid"
wait_for "the saver to end under the lock" no_saver
kill -USR2 "$logind_pid"
shown_saver
# Before the machine sleeps, the lock comes first.
kill -HUP "$logind_pid"
wait_for "the sleep" test -e "$scratch/delay-released"
[ "$(cat "$scratch/delay-released")" = locked ] || fail "the machine slept unlocked"
kill -USR2 "$logind_pid"
shown_saver
last=$(saver)
kill -KILL "$watcher_pid"
wait_for "the saver to die with its watcher" ended "$last"

# A keeper whose holds cannot be read is named; with --lock-after 30 an early return ends the
# saver without a lock.
"${stand_ins[@]}" keeper "$scratch" &
wait_for "the keeper" test -e "$scratch/keeping"
rm -f "$scratch/lock-asked"
start_skyfold --idle --timeout 1 --lock-after 30 --count 100
watcher_pid=$saver_pid
wait_for "the keeper named" said "python3 keeps org.freedesktop.ScreenSaver, and its holds cannot"
shown_saver
wtype -s 400 -k x
wait_for "the saver to end" no_saver
! test -e "$scratch/lock-asked" || fail "an early return locked"
kill -TERM "$watcher_pid"
saver_pid=$watcher_pid
expect_exit 0
echo "Wayland idle watcher: ok"
