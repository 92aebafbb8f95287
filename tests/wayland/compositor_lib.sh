# Sourced by the tests (and tools/run) that need a Wayland compositor of their own: headless sway
# (with layer shell) or headless weston (without), in a runtime folder of their own ($runtime,
# which the caller removes), with WAYLAND_DISPLAY, XDG_RUNTIME_DIR and, for sway, SWAYSOCK pointing
# at it.
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

