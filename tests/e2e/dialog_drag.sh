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

# The artwork at the upper left is background: no control lies there.
xdotool mousemove $((start_x + 110)) $((start_y + 60)) mousedown 1
xdotool mousemove_relative -- 30 20
xdotool mousemove_relative -- 30 20
xdotool mouseup 1

moved() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "$X" -eq $((start_x + 60)) ] && [ "$Y" -eq $((start_y + 40)) ]
}
wait_for "the dialog to follow the mouse" moved
xdotool key Escape
expect_exit 1
echo "dialog drag: ok"
