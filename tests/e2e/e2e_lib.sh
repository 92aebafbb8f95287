# Sourced by the end-to-end tests: they run the real skyfold.scr under Wine on the test display
# (set up by tools/test) and drive it with real X input from xdotool.
set -euo pipefail

bin_dir=${1:?usage: $0 <folder of skyfold.scr>}
readonly wait_seconds=20

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits until the command succeeds; fails the test after wait_seconds. A command in wait_detail,
# if set, is run on failure to say what was seen instead.
wait_detail=
wait_for() {
    local what=$1
    shift
    local deadline=$((SECONDS + wait_seconds))
    until "$@" >/dev/null 2>&1; do
        if [ $SECONDS -ge $deadline ]; then
            [ -z "$wait_detail" ] || eval "$wait_detail" >&2
            fail "timed out waiting for $what"
        fi
        sleep 0.05
    done
}

# A registry value's data as "wine reg" prints it; extra arguments such as /reg:64 pick the view.
reg_value() {
    wine reg query "$1" /v "$2" "${@:3}" </dev/null 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

saver_window_shown() {
    xdotool search --onlyvisible --name '^Screen Saver$'
}

# Background programs of a failed test must not outlive it (they would hold CTest's output pipe).
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT

# Processes whose command line matches the pattern and that run in this test's Wine prefix (other
# prefixes, such as a benchmark's, may run savers of their own on the same machine).
prefix_pids() {
    local pid
    for pid in $(pgrep -f "$1"); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            echo "$pid"
    done
    return 0
}

# Starts "skyfold.scr <switch>" in the background; sets saver_pid.
start_saver() {
    # Its output is not the test's: helpers Wine starts from it must not hold CTest's pipe open.
    (cd "$bin_dir" && exec wine skyfold.scr "$@") </dev/null >/dev/null 2>&1 &
    saver_pid=$!
}

# Checked in this shell, which reaps its children: from another process an ended but unreaped
# child would still look alive.
saver_ended() {
    ! kill -0 "$saver_pid" 2>/dev/null
}

# Waits for the saver started last to end and checks its exit status.
expect_exit() {
    local expected=$1 status=0
    wait_for "the saver to end" saver_ended
    wait "$saver_pid" || status=$?
    [ "$status" -eq "$expected" ] || fail "exit status $status, expected $expected"
}

# Starts an Xvfb of 2304x768 on a free display with two monitors of different sizes side by side,
# RandR 1.5 monitors as a desktop sets them: A, 1280x720 at 0,0, and B, 1024x768 at 1280,0, so the
# strip under A lies on no monitor. Sets two_monitor_display; the test's exit ends the server.
start_two_monitor_display() {
    local number
    for number in $(seq 1850 1899); do
        [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
        Xvfb ":$number" -screen 0 2304x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        two_monitor_display=":$number"
        two_monitor_display_up() { DISPLAY=$two_monitor_display xdpyinfo; }
        wait_for "the display $two_monitor_display" two_monitor_display_up
        DISPLAY=$two_monitor_display xrandr --setmonitor A 1280/338x720/190+0+0 screen
        DISPLAY=$two_monitor_display xrandr --setmonitor B 1024/270x768/203+1280+0 none
        return 0
    done
    fail "no free display"
}

# Checks a picture of a full-screen run on that display (tests/e2e/two_skies.py): "banners" (one
# at rest at the bottom right of each monitor) or "all" (also a black strip under A and no note
# across the seam); the offset is the picture's from the screen (1 for Wine's GL child window).
two_skies() {  # picture, banners|all, offset
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/two_skies.py" "$@"
}
