#!/usr/bin/env bash
# The settings dialog under real X input: pressing the left button on its painted background and
# dragging moves the whole window; Escape then closes it with 1.
source "$(dirname "$0")/e2e_lib.sh"

dialog_window() {
    xdotool search --onlyvisible --classname 'skyfold.scr' | head -n 1
}

dialog_shown() {
    [ -n "$(dialog_window)" ]
}

start_saver /c
wait_for "the dialog" dialog_shown
window=$(dialog_window)
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -eq 495 ] && [ "$HEIGHT" -eq 298 ] || fail "dialog is ${WIDTH}x${HEIGHT}"
start_x=$X start_y=$Y

# The dialog's offset from where it opened, in dx and dy.
read_offset() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    dx=$((X - start_x)) dy=$((Y - start_y))
}

dialog_moved() {
    read_offset
    [ "$dx" -ne 0 ] || [ "$dy" -ne 0 ]
}

# The dialog takes the press as a caption press through a posted message, so the platform's move
# begins a moment after the press and pointer travel before that moment is not counted. Like a
# hand, nudge the pointer sideways until the window takes hold; only x is nudged, so from then on
# the window's y offset equals the pointer's y travel exactly.
nudged=0
take_hold() {
    dialog_moved && return 0
    if [ $nudged -lt 100 ]; then
        xdotool mousemove_relative -- 1 0
        nudged=$((nudged + 1))
    fi
    return 1
}

# Moves the pointer by (x, y) and waits until the window's y offset is the given total. Motion is
# handled in order, so by then every nudge before it has been handled too.
y_at() {
    read_offset
    [ "$dy" -eq "$1" ]
}
drag_by() {
    xdotool mousemove_relative -- "$1" "$2"
    wait_detail='echo "the dialog stands at +$dx,+$dy"'
    wait_for "the dialog to follow the mouse to y +$3" y_at "$3"
    wait_detail=
}

# The artwork at the upper left is background: no control lies there.
xdotool mousemove $((start_x + 110)) $((start_y + 60)) mousedown 1
wait_for "the dialog to take hold of the pointer" take_hold
drag_by 30 20 20
[ "$dx" -gt 30 ] && [ "$dx" -le $((30 + nudged)) ] ||
    fail "after $nudged one-pixel nudges and 30 more the dialog moved by $dx in x"
held_dx=$dx
drag_by 30 20 40
[ "$dx" -eq $((held_dx + 30)) ] || fail "the dialog moved by $((dx - held_dx)) in x, not 30"
xdotool mouseup 1
xdotool key Escape
expect_exit 1
echo "dialog drag: ok"
