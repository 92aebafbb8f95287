# Sourced by the tests (and tools/run) that need a Wayland compositor of their own: headless sway
# (with layer shell), headless weston (without), headless KWin (KDE Plasma's), headless mutter
# (GNOME's) or the whole GNOME Shell, in a runtime folder of their own ($runtime, which the caller
# removes), with WAYLAND_DISPLAY, XDG_RUNTIME_DIR and, for sway, SWAYSOCK pointing at it; KWin,
# mutter and GNOME Shell run in a session bus of their own, which their callers reach through
# DBUS_SESSION_BUS_ADDRESS.
# NOTE: sway refuses to run as root; tools/setup makes this user for it.
compositor_user=$(id -un)
[ "$(id -u)" -ne 0 ] || compositor_user=wlab
runtime=$(mktemp -d /tmp/skyfold-wayland.XXXXXX)
chown "$compositor_user:" "$runtime"
chmod 700 "$runtime"

# Runs the command as the compositor's user in a bare environment, its output in the runtime folder.
as_compositor_user() {  # name, environment..., command...
    local log="$runtime/$1.log"
    shift
    local home
    home=$(getent passwd "$compositor_user" | cut -d: -f6)
    local bare=(env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime")
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid="$compositor_user" --regid="$compositor_user" --init-groups \
            "${bare[@]}" "$@" >"$log" 2>&1 &
    else
        "${bare[@]}" "$@" >"$log" 2>&1 &
    fi
    compositor_pid=$!
}

# Waits up to 20 s for the compositor (the command succeeds); says so and fails after that.
compositor_up() {  # name, command...
    local name=$1 deadline=$((SECONDS + 20))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || { echo "FAIL: $name did not start" >&2; return 1; }
        sleep 0.05
    done
}

socket_up() {
    local socket
    socket=$(cd "$runtime" && ls wayland-* 2>/dev/null | grep -v "\.lock$" | head -n 1)
    [ -n "$socket" ] && [ -S "$runtime/$socket" ] && export WAYLAND_DISPLAY=$socket
}

# A headless sway with the given number of 1280x720 monitors (HEADLESS-1, -2, ...).
start_sway() {
    as_compositor_user compositor WLR_BACKENDS=headless WLR_RENDERER=pixman \
        WLR_HEADLESS_OUTPUTS="${1:-1}" WLR_LIBINPUT_NO_DEVICES=1 \
        sway -c "$(dirname "${BASH_SOURCE[0]}")/sway.conf"
    export XDG_RUNTIME_DIR=$runtime
    sway_up() {
        socket_up && SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock) && export SWAYSOCK &&
            swaymsg -t get_version
    }
    compositor_up sway sway_up
}

# A headless weston, which has no layer shell, 1280x720; screenshots only with --debug.
start_weston() {
    as_compositor_user compositor weston --backend=headless-backend.so --use-pixman --debug \
        --socket=wayland-weston --width=1280 --height=720
    export XDG_RUNTIME_DIR=$runtime
    compositor_up weston socket_up
}


# KWin and mutter run inside a session bus of their own, in a process group of their own
# ($compositor_group) so that stop_compositor ends the bus and the compositor with it; the bus's
# address is written to $runtime/bus. The bus also lets this user in (root, when the compositor
# runs as the user that tools/setup makes).
in_session_bus() {  # name, command...
    local name=$1
    shift
    cat >"$runtime/bus.conf" <<CONF
<busconfig>
  <include>/usr/share/dbus-1/session.conf</include>
  <policy context="default"><allow user="$(id -un)"/></policy>
</busconfig>
CONF
    as_compositor_user "$name" setsid dbus-run-session --config-file="$runtime/bus.conf" -- sh -c \
        'echo "$DBUS_SESSION_BUS_ADDRESS" >"$XDG_RUNTIME_DIR/bus"; exec "$@"' sh "$@"
    compositor_group=$compositor_pid
}
session_bus_up() {
    [ -s "$runtime/bus" ] && DBUS_SESSION_BUS_ADDRESS=$(cat "$runtime/bus") &&
        export DBUS_SESSION_BUS_ADDRESS
}
stop_compositor() {
    [ -z "${compositor_group:-}" ] || kill -TERM -- "-$compositor_group" 2>/dev/null || true
    compositor_group=
}

# A headless KWin with the given number of 1280x720 outputs (Virtual-0, -1, ...) at the given
# scale (1 when none), and DBUS_SESSION_BUS_ADDRESS set to its session bus.
# NOTE: /usr/bin/kwin_wayland carries a file capability that containers refuse ("Operation not
# permitted"); a plain copy runs, as long as its name still ends in kwin_wayland.
start_kwin() {  # [outputs] [scale]
    cp /usr/bin/kwin_wayland "$runtime/kwin_wayland"
    in_session_bus compositor "$runtime/kwin_wayland" --virtual --width 1280 --height 720 \
        --output-count "${1:-1}" --scale "${2:-1}" --socket wayland-kwin --no-lockscreen \
        --no-global-shortcuts --no-kactivities
    export XDG_RUNTIME_DIR=$runtime
    kwin_up() {
        socket_up && session_bus_up && gdbus call --session --dest org.kde.KWin --object-path / \
            --method org.freedesktop.DBus.Peer.Ping
    }
    compositor_up kwin kwin_up
}

# A headless mutter with a monitor of each given size, side by side (one 1280x720 when none), and
# DBUS_SESSION_BUS_ADDRESS set to its session bus, where it serves org.gnome.Mutter.IdleMonitor.
start_mutter() {  # [WxH...]
    local monitors=() size
    for size in "${@:-1280x720}"; do monitors+=(--virtual-monitor "$size"); done
    in_session_bus compositor mutter --headless --wayland --no-x11 "${monitors[@]}" \
        --wayland-display=wayland-mutter
    export XDG_RUNTIME_DIR=$runtime
    mutter_up() {
        socket_up && session_bus_up && gdbus call --session --dest org.gnome.Mutter.IdleMonitor \
                --object-path /org/gnome/Mutter/IdleMonitor/Core \
                --method org.gnome.Mutter.IdleMonitor.GetIdletime
    }
    compositor_up mutter mutter_up
}

# A system bus of the test's own that every user may use, with DBUS_SYSTEM_BUS_ADDRESS set to it.
start_system_bus() {
    cat >"$runtime/system-bus.conf" <<CONF
<busconfig>
  <type>system</type>
  <listen>unix:path=$runtime/system_bus_socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/><allow own="*"/><allow send_destination="*"/><allow receive_sender="*"/>
  </policy>
</busconfig>
CONF
    dbus-daemon --config-file="$runtime/system-bus.conf" --nofork --nopidfile >/dev/null 2>&1 &
    export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$runtime/system_bus_socket
    compositor_up "the system bus" test -S "$runtime/system_bus_socket"
}

# GNOME Shell 43, headless, with its lock screen and a monitor of each given size side by side,
# in a session bus of its own. It needs logind and GDM on the system bus (start_system_bus, then
# bus_stand_ins.py logind), and /run/systemd/seats, without which it takes logind for absent.
# NOTE: one start in six or so hangs for good (the shell's main thread in g_spawn_async, the child
# deadlocked before its exec): such a start is made again, once.
start_gnome_shell() {  # WxH...
    local monitors=() size try
    for size in "$@"; do monitors+=(--virtual-monitor "$size"); done
    shell_up() {
        socket_up && session_bus_up && grep -q "GNOME Shell started" "$runtime/compositor.log" &&
            gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
                --method org.freedesktop.DBus.NameHasOwner org.gnome.Shell.ScreenShield |
            grep -q true
    }
    for try in 1 2; do
        in_session_bus compositor env XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME \
            XDG_SESSION_DESKTOP=gnome XDG_SESSION_ID=c1 \
            DBUS_SYSTEM_BUS_ADDRESS="$DBUS_SYSTEM_BUS_ADDRESS" gnome-shell --headless --wayland \
            --no-x11 "${monitors[@]}" --wayland-display=wayland-gnome
        export XDG_RUNTIME_DIR=$runtime
        compositor_up "GNOME Shell" shell_up && return 0
        echo "GNOME Shell did not start: starting it again" >&2
        stop_compositor
        rm -f "$runtime"/wayland-* "$runtime/bus"
    done
    return 1
}
