# Sourced by tools/run and tools/test: a private Wine prefix under build/, an X display (the
# caller's, or a private Xvfb), and one wineserver kept alive for the whole session. SKYFOLD_WINEPREFIX
# chooses another prefix (a second session working beside the first needs its own).
#   skyfold_wine_start [--private-display]   sets DISPLAY, WINEPREFIX and friends (a private
#                                            display is skyfold_xvfb_size, default 1280x720)
#   skyfold_wine_stop                        ends the wineserver and any Xvfb we started
#   skyfold_start_xvfb, skyfold_stop_xvfb    only the private display (for the native program)

skyfold_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
source "$skyfold_root/tools/lib/steps.sh"
source "$skyfold_root/tools/lib/machine.sh"
skyfold_xvfb_pid=""
readonly skyfold_prefix_version=1   # bump when the prefix set-up below changes

skyfold_start_xvfb() {
    local number
    for number in $(seq 91 140); do
        [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
        Xvfb ":${number}" -screen 0 "${skyfold_xvfb_size:-1280x720}x24" -nolisten tcp -noreset \
            >/dev/null 2>&1 &
        skyfold_xvfb_pid=$!
        export DISPLAY=":${number}"
        local tries
        for tries in $(seq 1 100); do
            xdpyinfo >/dev/null 2>&1 && return 0
            kill -0 "$skyfold_xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
    done
    echo "cannot start Xvfb" >&2
    return 1
}

skyfold_reg_add() {
    wine reg add "$@" /f >/dev/null 2>&1
}

# Settings of the test prefix: no waiting for a window manager, no crash dialog, and Windows 98
# (with our password components preferred) for the programs that emulate it.
skyfold_prepare_prefix() {
    local marker="$WINEPREFIX/.skyfold-prefix-v${skyfold_prefix_version}"
    [ -f "$marker" ] && return 0
    skyfold_step "Creating the Wine prefix in $WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    skyfold_reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
    skyfold_reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    local program
    for program in skyfold98.scr password_gate_test98.exe; do
        skyfold_reg_add "HKCU\\Software\\Wine\\AppDefaults\\$program" /v Version /d win98
        skyfold_reg_add "HKCU\\Software\\Wine\\AppDefaults\\$program\\DllOverrides" /v mpr /d native,builtin
    done
    wineserver -w
    touch "$marker"
}

# Where 32-bit programs cannot run but 32-bit Wine is installed, Debian's wine script would still
# pick the 32-bit loader: wine and wineboot then go through a folder of our own, first on PATH,
# that runs the 64-bit loader.
skyfold_wine64_only() {
    skyfold_runs_32bit && return 0
    [ -x /usr/lib/wine/wine ] || return 0
    local shims="$skyfold_root/build/wine64-only" name
    mkdir -p "$shims"
    for name in wine wine-stable; do
        printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
            >"$shims/$name"
        chmod +x "$shims/$name"
    done
    case ":$PATH:" in *":$shims:"*) ;; *) export PATH="$shims:$PATH" ;; esac
    echo "NOTE: 32-bit programs cannot run here: Wine runs through its 64-bit loader only" >&2
}

skyfold_wine_start() {
    skyfold_step "Starting Wine"
    skyfold_wine64_only
    export WINEPREFIX="${SKYFOLD_WINEPREFIX:-$skyfold_root/build/wineprefix}"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$skyfold_root/build"
    if [ "${1:-}" = "--private-display" ] || [ -z "${DISPLAY:-}" ]; then
        skyfold_start_xvfb
    fi
    skyfold_prepare_prefix
    wineserver -p
    # Start Wine's services with every stream detached, so that none inherits a caller's pipe.
    wine cmd /c exit 0 </dev/null >/dev/null 2>&1
}

skyfold_stop_xvfb() {
    if [ -n "$skyfold_xvfb_pid" ]; then
        kill "$skyfold_xvfb_pid" 2>/dev/null || true
        wait "$skyfold_xvfb_pid" 2>/dev/null || true
        skyfold_xvfb_pid=""
    fi
}

skyfold_wine_stop() {
    wineserver -k 2>/dev/null || true
    skyfold_stop_xvfb
}
