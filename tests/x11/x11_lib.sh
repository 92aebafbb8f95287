# Sourced by the X11 tests: they run the native skyfold (built with AddressSanitizer and UBSan) on
# the test display and drive it with real X input. Shares the end-to-end helpers of the Windows
# tests (fail, wait_for, expect_exit on saver_pid).
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_lib.sh"
skyfold="$(cd "$bin_dir" && pwd)/skyfold"
# NOTE: the GL driver is unloaded when the display closes, so LeakSanitizer cannot name the
# driver's own allocations and reports them as leaks; memory errors and UB still end the run.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
unset WAYLAND_DISPLAY  # these runs are X11's, whatever session the tests run in
scratch=$(mktemp -d)
# Settings of the test's own, never the developer's.
export XDG_CONFIG_HOME="$scratch/config"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$scratch"' EXIT

# Starts skyfold with the arguments in the background, its stderr in $scratch/stderr; sets
# saver_pid.
start_skyfold() {
    "$skyfold" "$@" </dev/null >/dev/null 2>"$scratch/stderr" &
    saver_pid=$!
}

# The id of the visible window of that name, or nothing.
window_named() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

# True when the window's picture (or the part given as WxH+X+Y) holds at least 0.5 % of strongly
# coloured pixels (brightest channel minus darkest above 20 %): the notes, not a black or grey
# background. Channel arithmetic, not -fx, which takes seconds a picture on a busy machine.
shows_notes() {
    local window=$1 crop=${2:-}
    import -window "$window" ${crop:+-crop "$crop"} "$scratch/shot.png" 2>/dev/null || return 1
    # Chroma (the spread between the strongest and weakest channel) above a fifth.
    [ "$(convert "$scratch/shot.png" -colorspace HCL -channel G -separate +channel \
        -threshold 20% -format '%[fx:mean > 0.005]' info:)" = 1 ]
}

# Starts an Xvfb of its own on a free display with the extra arguments; sets private_display.
start_private_display() {
    local number
    for number in $(seq 1900 1999); do
        [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
        Xvfb ":$number" -screen 0 1280x720x24 -nolisten tcp -noreset "$@" >/dev/null 2>&1 &
        private_display=":$number"
        private_display_up() { DISPLAY=$private_display xdpyinfo; }
        wait_for "the display $private_display" private_display_up
        return 0
    done
    fail "no free display"
}

# Waits for the run started last to end and checks that it printed nothing (no X error).
expect_quiet_exit() {
    expect_exit "$1"
    [ ! -s "$scratch/stderr" ] || fail "unexpected output: $(head -c 400 "$scratch/stderr")"
}
