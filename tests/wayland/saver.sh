#!/usr/bin/env bash
# The Linux program on a headless sway with two monitors, as a user's saver and wallpaper: a
# full-screen run covers both with notes and a monitor plugged in meanwhile; a key, a button and
# 5 pixels of pointer travel end it with 0, 4 pixels do not, nor does a key a wallpaper run, whose
# surfaces take no input at all; each monitor shows a sky of its own; SIGTERM
# ends a run with 0; a second full-screen saver on the display ends at once; swayidle starts the
# saver after its timeout and a second idle period starts no second one; and the settings dialog
# draws its face there with the desktop at its corners, follows a drag by the face and saves on OK.
source "$(dirname "$0")/wayland_lib.sh"

start_sway 2
for monitor in HEADLESS-1 HEADLESS-2; do grid_colours "$monitor" >"$scratch/$monitor.before"; done

# Both monitors, then a third plugged in while it runs; a second saver leaves at once.
start_skyfold --fullscreen
for monitor in HEADLESS-1 HEADLESS-2; do
    wait_for "$monitor covered" covers "$monitor" "$scratch/$monitor.before"
    wait_for "notes on $monitor" shows_notes "$monitor"
done
swaymsg create_output >/dev/null
cp "$scratch/HEADLESS-1.before" "$scratch/HEADLESS-3.before"  # sway's own grey, as on the others
wait_for "HEADLESS-3 covered" covers HEADLESS-3 "$scratch/HEADLESS-3.before"
first_saver=$saver_pid
start_skyfold --fullscreen
expect_quiet_exit 0
kill -0 "$first_saver" || fail "the first saver ended with the second"
saver_pid=$first_saver
kill -TERM "$saver_pid"
expect_exit 0

# Each monitor its own sky: with a run held still (its last frames stay shown), the monitors
# differ far more than two frames of one sky a frame apart would (some 4/1000, against 40).
start_skyfold --fullscreen
for monitor in HEADLESS-1 HEADLESS-2; do wait_for "notes on $monitor" shows_notes "$monitor"; done
wait_for_frames 60
kill -STOP "$saver_pid"
grim -o HEADLESS-1 -t ppm "$scratch/one.ppm"
grim -o HEADLESS-2 -t ppm "$scratch/two.ppm"
kill -KILL "$saver_pid"
wait "$saver_pid" 2>/dev/null || true
# Compared a block at a time, as a note moving a frame's way changes a block's mean little.
apart=$(convert "$scratch/one.ppm" "$scratch/two.ppm" -scale 32x18! -compose difference \
    -composite -colorspace gray -format '%[fx:round(mean * 1000)]' info:)
[ "$apart" -gt 12 ] || fail "the monitors' blocks differ by only $apart/1000 on average"

# Input: each run waits for its first frames, so that it holds the keyboard or the pointer.
start_skyfold --fullscreen
wait_for_frames 2
wtype -s 400 -k x
expect_quiet_exit 0

start_skyfold --fullscreen
wait_for_frames 2
plug_mouse click
expect_quiet_exit 0

# The pointer enters where the cursor is, then travels 1 + 1 + 2 pixels, which are tolerated; once
# the run has drawn a few frames after them, a fifth pixel ends it.
start_skyfold --fullscreen
wait_for_frames 2
plug_mouse move 1 0 move 1 0 move 0 2 mark "$scratch/moved" await "$scratch/go" move 0 1
wait_for "the pointer's first moves" test -e "$scratch/moved"
wait_for_frames 6
kill -0 "$saver_pid" || fail "4 pixels of travel ended the run"
touch "$scratch/go"
expect_quiet_exit 0

# A wallpaper: no input ends it, a signal does. Its surfaces get an empty input region before
# their first commit (from the protocol log), so that the desktop keeps the pointer over them.
WAYLAND_DEBUG=1 start_skyfold --background
wait_for "notes on the background" shows_notes HEADLESS-1
wtype -s 400 -k x
plug_mouse move 10 10 click
wait_for_frames 6
kill -0 "$saver_pid" || fail "input ended a wallpaper run"
kill -TERM "$saver_pid"
expect_exit 0
! grep -v "^\[" "$scratch/stderr" | grep -q . || fail "the wallpaper said: $(grep -v "^\[" "$scratch/stderr")"
python3 - "$scratch/stderr" <<'PY' || fail "a wallpaper surface took input"
import re, sys
empty, regions_added, committed, layers = {}, set(), set(), []
for line in open(sys.argv[1], errors="replace"):
    if "->" not in line:
        continue
    request = re.search(r"(\w+)@(\d+)\.(\w+)\((.*)\)", line)
    if not request:
        continue
    interface, object_id, name, arguments = request.groups()
    if name == "create_region":
        regions_added.discard(re.search(r"wl_region@(\d+)", arguments).group(1))
    elif interface == "wl_region" and name == "add":
        regions_added.add(object_id)
    elif name == "set_input_region" and object_id not in committed:
        empty[object_id] = re.search(r"wl_region@(\d+)", arguments).group(1) not in regions_added
    elif interface == "wl_surface" and name == "commit":
        committed.add(object_id)
    elif name == "get_layer_surface":
        layers.append(re.search(r"wl_surface@(\d+)", arguments).group(1))
sys.exit(0 if len(layers) >= 2 and all(empty.get(surface) for surface in layers) else 1)
PY

# swayidle: the saver comes after the timeout; a 1-pixel move is activity to the compositor but
# not enough to end the saver, so the next idle period starts the command again, and that
# second saver leaves at once, the first still running.
rm -f "$scratch/swaps"
idle_command="LD_PRELOAD=$bin_dir/swap_count.so SKYFOLD_SWAP_COUNT=$scratch/swaps \
    ASAN_OPTIONS=$ASAN_OPTIONS:verify_asan_link_order=0 \"$skyfold\" --fullscreen \
    2>>\"$scratch/idle.err\"; echo \$? >>\"$scratch/idle.ended\""
swayidle timeout 1 "$idle_command" >/dev/null 2>&1 &
saver_running() { pgrep -f -- "^$skyfold --fullscreen" >/dev/null; }
wait_for "swayidle to start the saver" saver_running
wait_for "the saver on HEADLESS-1" covers HEADLESS-1 "$scratch/HEADLESS-1.before"
plug_mouse move 1 0
wait_for "the second idle period's saver to end" test -s "$scratch/idle.ended"
[ "$(cat "$scratch/idle.ended")" = 0 ] || fail "the second saver ended with $(cat "$scratch/idle.ended")"
saver_running || fail "the first saver ended with the second"
kill %swayidle  # no third idle period once the key has ended the first saver
wtype -s 400 -k x
wait_for "the first saver to end" eval '[ "$(wc -l <"$scratch/idle.ended")" -eq 2 ]'
[ ! -s "$scratch/idle.err" ] || fail "the savers said: $(head -c 400 "$scratch/idle.err")"

# The settings dialog with no X server: it floats, unframed, the desktop at its cut corners and the
# face between them; a drag by the face moves it, and a click on OK saves the settings. The mouse is
# plugged in first, so that the dialog has it from its start.
# NOTE: GTK 3 on Wayland looks key bindings up in every key of the keymap but its highest, and
# wtype's keymap holds only the keys it types: Enter alone from wtype never reaches OK.
dialog_at() {  # sets dialog_x, dialog_y, dialog_kind and dialog_border, once sway shows the dialog
    local found
    found=$(swaymsg -t get_tree | jq -r '.. | objects | select(.name? == "Skyfold Settings") |
        "\(.rect.x) \(.rect.y) \(.type) \(.border)"')
    [ -n "$found" ] && read -r dialog_x dialog_y dialog_kind dialog_border <<<"$found"
}
dialog_pixel() {  # x y in the dialog: "R G B"
    grim -g "$((dialog_x + $1)),$((dialog_y + $2)) 1x1" -t ppm - | tail -c 3 | od -An -t u1 | xargs
}
desktop=$(head -n 1 "$scratch/HEADLESS-1.before")
settings="$XDG_CONFIG_HOME/Quillmark/Skyfold.conf"
"$pointer" mark "$scratch/dialog.mouse" await "$scratch/dialog.drag" press \
    glide 1 1 "$scratch/dialog.moved" release mark "$scratch/dialog.dropped" \
    await "$scratch/dialog.ok" click &
wait_for "the dialog's mouse" test -e "$scratch/dialog.mouse"
NO_AT_BRIDGE=1 start_skyfold --config
# Its first frames may come before its face: it is drawn once a note of the face's picture shows,
# its brightest channel over a fifth above its darkest, unlike any grey of the desktop or the theme.
dialog_drawn() {
    dialog_at && [ "$dialog_kind $dialog_border" = "floating_con csd" ] || return 1
    channels=$(dialog_pixel 110 60 | tr ' ' '\n' | sort -n | xargs)
    [ $((${channels##* } - ${channels%% *})) -gt 51 ]
}
wait_detail='echo "the dialog: ${dialog_kind:-none}, border ${dialog_border:-}, face ${channels:-}"'
wait_for "the settings dialog, floating, unframed and drawn" dialog_drawn
wait_detail=
for corner in "1 1" "493 296"; do
    [ "$(dialog_pixel $corner)" = "$desktop" ] || fail "$corner shows $(dialog_pixel $corner)"
done
start_x=$dialog_x start_y=$dialog_y
swaymsg seat - cursor set $((dialog_x + 110)) $((dialog_y + 60)) >/dev/null
touch "$scratch/dialog.drag"
dialog_moved() { dialog_at && [ "$dialog_x $dialog_y" != "$start_x $start_y" ]; }
wait_for "the dialog to follow the drag" dialog_moved
touch "$scratch/dialog.moved"
wait_for "the drop" test -e "$scratch/dialog.dropped"
dialog_at
swaymsg seat - cursor set $((dialog_x + 438)) $((dialog_y + 179)) >/dev/null  # OK's middle
touch "$scratch/dialog.ok"
expect_quiet_exit 0
printf 'Number of Notes=200\nView Angle=3\nType of Currency=0\n' | cmp -s - "$settings" ||
    fail "OK saved: $(cat -A "$settings")"
echo "Wayland saver: ok"
