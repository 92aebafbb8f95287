#!/usr/bin/env bash
# The settings dialog (skyfold --config) under real X input: its size and rounded outline, what OK
# writes on a fresh account and after clicks on its buttons and slider (keeping the lines it does
# not own, and a link in the file's place), Cancel and Escape leaving the file byte for byte, the
# background drag, and a settings folder that cannot be written.
source "$(dirname "$0")/x11_lib.sh"
export NO_AT_BRIDGE=1  # the test display has no accessibility bus to complain about

# Control rectangles of the dialog's template, in dialog units: x y width height.
ok="267 103 50 14" cancel="267 117 50 14" euro="227 37 10 8" front_on="227 62 10 8"
# The slider's parts in face pixels: its arrows, a thumb at the low end, the track right of it.
slider_y=188 left_arrow=25 right_arrow=375 low_thumb=42 track_right=300

dialog=
dialog_shown() {
    dialog=$(window_named "Skyfold Settings")
    [ -n "$dialog" ]
}

# Each case has a settings folder of its own.
case_number=0
new_case() {
    case_number=$((case_number + 1))
    export XDG_CONFIG_HOME="$scratch/case$case_number/config"
    settings="$XDG_CONFIG_HOME/Quillmark/Skyfold.conf"
}

# Writes the settings file (printf's format) and keeps a copy to compare with.
given_settings() {
    mkdir -p "$(dirname "$settings")"
    printf "$1" >"$settings"
    cp "$settings" "$scratch/before"
}

# Sets X and Y to the dialog's top-left corner on the screen.
read_position() {
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
}

open_dialog() {
    start_skyfold --config
    wait_for "the settings dialog" dialog_shown
    read_position
}

# Clicks the middle of a control given by its template rectangle (1.5 pixels a unit across,
# 298/183 down), or at face pixels x y.
click_control() {
    xdotool mousemove $((X + ($1 * 2 + $3) * 3 / 4)) $((Y + ($2 * 2 + $4) * 149 / 183)) click 1
}
click_at() {
    xdotool mousemove $((X + $1)) $((Y + $2)) click 1
}

expect_settings() {  # the whole file, as printf's format
    printf "$1" | cmp -s - "$settings" || fail "the settings file holds: $(cat -A "$settings")"
}

expect_unchanged() {
    cmp -s "$scratch/before" "$settings" || fail "$1 changed the file to: $(cat -A "$settings")"
}

# A fresh account: no folder at all. The window is 495x298 with its corners cut away; Enter is OK
# and writes the defaults.
new_case
open_dialog
[ "$WIDTH" -eq 495 ] && [ "$HEIGHT" -eq 298 ] || fail "the dialog is ${WIDTH}x${HEIGHT}"
pointer_window() {
    xdotool mousemove "$1" "$2" getmouselocation --shell | sed -n 's/^WINDOW=//p'
}
root_window=$(pointer_window 0 0)
for corner in "6 6" "490 293"; do
    set -- $corner
    [ "$(pointer_window $((X + $1)) $((Y + $2)))" = "$root_window" ] || fail "$1,$2 is not cut away"
done
[ "$(pointer_window $((X + 20)) $((Y + 20)))" != "$root_window" ] || fail "a corner is cut too deep"
xdotool key Return
expect_quiet_exit 0
expect_settings 'Number of Notes=200\nView Angle=3\nType of Currency=0\n'

# Euro and front on, into a file of the user's own that a link points to: only the settings'
# lines change, the link stays.
new_case
mkdir -p "$(dirname "$settings")" "$scratch/dotfiles"
printf '# by hand\r\nView Angle=2\r\nColour=blue\nNumber of Notes=900' >"$scratch/dotfiles/skyfold"
ln -s "$scratch/dotfiles/skyfold" "$settings"
open_dialog
click_control $euro
click_control $front_on
click_control $ok
expect_quiet_exit 0
[ -L "$settings" ] || fail "the link to the settings file was replaced by a file"
expect_settings \
    '# by hand\r\nView Angle=1\r\nColour=blue\nNumber of Notes=900\nType of Currency=2\n'

# Slider steps: arrows by one, the track by ten, never below 75 ...
new_case
given_settings 'Number of Notes=76\n'
open_dialog
for x in $left_arrow $left_arrow $right_arrow $track_right; do click_at "$x" $slider_y; done
click_control $ok
expect_quiet_exit 0
expect_settings 'Number of Notes=86\nView Angle=3\nType of Currency=0\n'

# ... nor above 1500; a dragged thumb counts where it is let go.
new_case
given_settings 'Number of Notes=75\n'
open_dialog
xdotool mousemove $((X + low_thumb)) $((Y + slider_y)) mousedown 1 mousemove_relative 100 0 \
    mousemove_relative 400 0 mouseup 1
for x in $right_arrow $left_arrow; do click_at "$x" $slider_y; done
click_control $ok
expect_quiet_exit 0
expect_settings 'Number of Notes=1499\nView Angle=3\nType of Currency=0\n'

# Values outside their ranges are written back as they were.
new_case
given_settings 'Number of Notes=4000\nView Angle=7\nType of Currency=-1\n'
open_dialog
click_control $ok
expect_quiet_exit 0
expect_unchanged "OK with odd values"

# Cancel after changes leaves the file byte for byte.
new_case
given_settings 'Type of Currency=1\r\nNumber of Notes=500\r\n'
open_dialog
click_control $euro
click_at $right_arrow $slider_y
click_control $cancel
expect_quiet_exit 0
expect_unchanged "Cancel"

# A press on the background drags the window by exactly the pointer's travel; Escape then closes
# it without saving.
window_at() {
    read_position
    [ "$X" -eq "$1" ] && [ "$Y" -eq "$2" ]
}
open_dialog
start_x=$X start_y=$Y
xdotool mousemove $((X + 110)) $((Y + 60)) mousedown 1
wait_detail='echo "the dialog stands at $X,$Y"'
for step in 1 2; do
    xdotool mousemove_relative -- 30 20
    wait_for "the dialog to follow the pointer" \
        window_at $((start_x + 30 * step)) $((start_y + 20 * step))
done
wait_detail=
xdotool mouseup 1 key Escape
expect_quiet_exit 0
expect_unchanged "Escape"

# A folder that cannot be written: the system's reason in a message, the old file whole, no
# stray file beside it, and exit status 1. Root writes anywhere, so it runs the dialog as nobody,
# from a copy of the programs that nobody may run.
new_case
given_settings 'Number of Notes=300\n# mine\n'
chmod 555 "$(dirname "$settings")"
program=("$skyfold")
if [ "$(id -u)" -eq 0 ]; then
    chmod o+x "$scratch"
    cp "$skyfold" "$skyfold-settings" "$scratch/"
    program=(setpriv --reuid=65534 --regid=65534 --clear-groups "$scratch/skyfold")
fi
HOME="$scratch" "${program[@]}" --config </dev/null >/dev/null 2>"$scratch/stderr" &
saver_pid=$!
wait_for "the settings dialog" dialog_shown
read_position
click_control $euro
click_control $ok
message_shown() {
    message=$(window_named Skyfold)
    [ -n "$message" ]
}
wait_for "the message" message_shown
reason="skyfold: cannot save the settings to .*/Skyfold.conf: Permission denied"
grep -qx "$reason" "$scratch/stderr" || fail "the dialog said: $(cat "$scratch/stderr")"
xdotool mousemove --window "$message" 10 10 key Return
expect_exit 1
expect_unchanged "A failed save"
[ "$(ls -A "$(dirname "$settings")")" = Skyfold.conf ] || fail "a failed save left a file behind"
chmod 755 "$(dirname "$settings")"  # for the clean-up
echo "settings dialog: ok"
