# Sourced by the Wayland tests: a compositor of the test's own (headless sway, or weston), the
# program (built with AddressSanitizer and UBSan) pointed at it with no X server in sight, and ways
# to look at what each monitor shows and to drive it. Shares the end-to-end helpers of the other
# tests (fail, wait_for, expect_exit on saver_pid).
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_lib.sh"
tests=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
skyfold="$(cd "$bin_dir" && pwd)/skyfold"
pointer="$(cd "$bin_dir" && pwd)/wayland_pointer"
# NOTE: the GL driver is unloaded at the end, so LeakSanitizer cannot name its allocations.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
scratch=$(mktemp -d)
export XDG_CONFIG_HOME="$scratch/config"  # settings of the test's own
unset DISPLAY                            # on Wayland the program needs no X server
source "$tests/compositor_lib.sh"
trap 'stop_compositor; kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null
      rm -rf "$scratch" "$runtime"' EXIT

# Starts skyfold with the arguments in the background, its stderr in $scratch/stderr and its
# buffer swaps counted in $scratch/swaps; sets saver_pid.
start_skyfold() {
    rm -f "$scratch/swaps"
    LD_PRELOAD="$bin_dir/swap_count.so" SKYFOLD_SWAP_COUNT="$scratch/swaps" \
        ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0 \
        "$skyfold" "$@" </dev/null >/dev/null 2>"$scratch/stderr" &
    saver_pid=$!
}

swaps() {
    od -An -t u8 "$scratch/swaps" 2>/dev/null | tr -d ' ' | grep . || echo 0
}

# Waits until the run started last has presented this many more frames: it has read and handled
# everything the compositor sent before that, once they are drawn.
wait_for_frames() {
    local until=$(($(swaps) + $1))
    more_frames() { [ "$(swaps)" -ge "$until" ]; }
    wait_for "$1 more frames" more_frames
}

# Plugs in the test's mouse in the background, waits until the run started last has taken it
# (the run has drawn frames since the seat gained a pointer), then makes it go through the steps
# (see virtual_pointer.c).
mice=0
plug_mouse() {
    mice=$((mice + 1))
    local plugged="$scratch/mouse$mice.plugged" taken="$scratch/mouse$mice.taken"
    "$pointer" mark "$plugged" await "$taken" "$@" &
    wait_for "the mouse" test -e "$plugged"
    wait_for_frames 3
    touch "$taken"
}

# The colours of an 8x6 grid of points over the monitor (sway) or the screen (weston), one
# "R G B" line each.
screenshot() {  # monitor, or nothing for weston's whole screen
    if [ -n "${SWAYSOCK:-}" ]; then
        grim -o "$1" -t ppm -
    else
        (cd "$scratch" && rm -f wayland-screenshot-*.png && weston-screenshooter &&
         convert wayland-screenshot-*.png -alpha off ppm:-)
    fi
}
grid_colours() {
    screenshot "$@" | python3 -c '
import sys
data = sys.stdin.buffer.read()
fields, at = [], 0
while len(fields) < 4:  # P6, width, height, maximum, then one byte of white space
    while data[at:at + 1].isspace(): at += 1
    start = at
    while not data[at:at + 1].isspace(): at += 1
    fields.append(data[start:at])
width, height, pixels = int(fields[1]), int(fields[2]), data[at + 1:]
for row in range(6):
    for column in range(8):
        i = ((height * (2 * row + 1) // 12) * width + width * (2 * column + 1) // 16) * 3
        print("%d %d %d" % tuple(pixels[i:i + 3]))'
}

# True when no point of the grid shows what the monitor showed before the run (the file that
# grid_colours wrote then): the run's surface lies over all of it.
covers() {  # monitor, file of its colours before
    local now
    now=$(grid_colours "$1") || return 1
    [ "$(paste -d '|' "$2" <(echo "$now") | awk -F'|' '$1 == $2' | wc -l)" -eq 0 ]
}

# True when the monitor holds at least 0.5 % of strongly coloured pixels (brightest channel minus
# darkest above 20 %): notes, not a black, grey or blue-grey background.
shows_notes() {
    screenshot "$@" >"$scratch/shot.ppm" || return 1
    [ "$(convert "$scratch/shot.ppm" -colorspace HCL -channel G -separate +channel \
        -threshold 20% -format '%[fx:mean > 0.005]' info:)" = 1 ]
}

# Waits for the run started last to end and checks that it printed nothing.
expect_quiet_exit() {
    expect_exit "$1"
    [ ! -s "$scratch/stderr" ] || fail "unexpected output: $(head -c 400 "$scratch/stderr")"
}
