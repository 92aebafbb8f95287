#!/usr/bin/env bash
# The idle watcher on a headless sway with two monitors (idle time from org_kde_kwin_idle), with
# a session bus and a stand-in logind of its own: a Wayland idle inhibitor holds the saver back
# and its end lets it come, covering both monitors; a second watcher leaves at once; a key ends
# the saver and the watcher brings it again at the next idle period, also after a saver killed
# outright; a D-Bus Inhibit (ended by UnInhibit, or by its caller leaving the bus) and logind's
# idle block each hold it back, and their end lets it come; SIGTERM ends watcher and saver with 0.
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

# Each request holds the saver back, and its end lets it come: the key that ends the saver comes
# once the request is in force.
held_back() {  # what, command true once the hold is over
    local what=$1
    shift
    wtype -s 400 -k x
    wait_for "the saver to end" no_saver
    wait_for "the end of $what" "$@"
    no_saver || fail "the saver came during $what"
    wait_for "the saver after $what" saver
}
"${stand_ins[@]}" hold "$scratch" "$holds" uninhibit &
player_pid=$!
wait_for "an Inhibit" test -e "$scratch/held"
held_back "the Inhibit" test -e "$scratch/released"
kill "$player_pid"
rm "$scratch/held"
"${stand_ins[@]}" hold "$scratch" "$holds" exit &
player_pid=$!
wait_for "an Inhibit" test -e "$scratch/held"
held_back "the Inhibit of a caller that leaves" eval '! kill -0 $player_pid'

kill -USR1 "$logind_pid"
wait_for "logind's idle block" test -e "$scratch/blocked"
held_back "logind's idle block" test -e "$scratch/unblocked"

last=$(saver)
kill -TERM "$watcher_pid"
saver_pid=$watcher_pid
expect_exit 0
! kill -0 "$last" 2>/dev/null || fail "the saver outlived the watcher"
echo "Wayland idle watcher: ok"
