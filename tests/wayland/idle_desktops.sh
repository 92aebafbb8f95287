#!/usr/bin/env bash
# The idle watcher on KDE Plasma's KWin (idle time from ext-idle-notify-v1) or GNOME's mutter
# (from org.gnome.Mutter.IdleMonitor on the session bus), headless, two monitors each, with a
# stand-in for the desktop's keeper of org.freedesktop.ScreenSaver's requests (Plasma's power
# manager, GNOME's session manager): while it holds a request no saver comes, after it the saver
# comes, read from the protocol log (neither compositor offers screenshots), on mutter on both
# monitors; there a key ends it and the next idle period brings it again; the compositor going
# away ends the watcher with 1.
#   idle_desktops.sh <folder of skyfold> kwin|mutter
source "$(dirname "$0")/wayland_lib.sh"
case ${2:?kwin or mutter} in
    kwin) start_kwin 2
          desktop=plasma
          source_name=ext-idle-notify-v1
          saver_request='zwlr_layer_shell_v1@[0-9]+\.get_layer_surface\(' ;;
    mutter) start_mutter 1280x720 1024x768
            desktop=gnome
            source_name=org.gnome.Mutter.IdleMonitor
            saver_request='xdg_toplevel@[0-9]+\.set_fullscreen\(' ;;
esac

/usr/bin/python3 "$tests/bus_stand_ins.py" desktop "$scratch" 4 "$desktop" &
wait_for "the desktop's request" test -e "$scratch/held"

# The watcher's and the saver's requests, in the protocol log on their stderr.
export WAYLAND_DEBUG=1
start_skyfold --idle --timeout 2 --count 100
watcher_pid=$saver_pid
echo "$watcher_pid" >"$scratch/watcher"
saver_shown() { grep -qE -- "-> $saver_request" "$scratch/stderr"; }
wait_for "the end of the desktop's request" test -s "$scratch/released"
[ "$(cat "$scratch/released")" = "without saver" ] ||
    fail "the saver came during the desktop's request"
wait_for "the saver" saver_shown
grep -q "skyfold: the saver comes after 2 s without input (idle time from $source_name)" \
    "$scratch/stderr" || fail "idle source: $(grep '^skyfold' "$scratch/stderr")"
# On mutter the saver takes a full-screen window on each monitor; a key (through its remote
# desktop service) ends it, and the next idle period brings it again.
if [ "$2" = mutter ]; then
    on_both_monitors() {
        [ "$(grep -oE -- "-> $saver_request"'wl_output@[0-9]+' "$scratch/stderr" | sort -u |
            wc -l)" -ge 2 ]
    }
    wait_for "the saver on both monitors" on_both_monitors
    /usr/bin/python3 "$tests/bus_stand_ins.py" keyboard "$scratch" &
    keyboard_pid=$!
    wait_for "mutter's keyboard" test -e "$scratch/keyboard"
    first=$(pgrep -P "$watcher_pid") || fail "the saver is not the watcher's child"
    # NOTE: the seat gains its keyboard with the first key, which reaches no window: the saver
    # takes the keyboard then, and the second key is the saver's.
    kill -USR1 "$keyboard_pid"
    keyboard_entered() { grep -qE "wl_keyboard@[0-9]+\.enter\(" "$scratch/stderr"; }
    wait_for "the saver's keyboard" keyboard_entered
    kill -USR1 "$keyboard_pid"
    wait_for "the saver to end" eval '[ "$(pgrep -P "$watcher_pid")" != "$first" ]'
    wait_for "the saver again" pgrep -P "$watcher_pid"
fi

# The session going away ends the watcher with 1 and a line saying so.
stop_compositor
expect_exit 1
grep -qE "^skyfold: (the Wayland compositor|the session bus|GNOME's idle monitor) went away$" \
    "$scratch/stderr" || fail "the watcher's end: $(grep '^skyfold' "$scratch/stderr")"
echo "idle watcher on $2: ok"
