#!/usr/bin/env bash
# A full-screen run on a display scaled to 200 %: the saver and its picture cover the screen's real
# pixels (a DPI-unaware program would get a quarter of them, stretched by the system), and a key
# still ends it with 0.
source "$(dirname "$0")/e2e_lib.sh"
desktop_key='HKCU\Control Panel\Desktop'
wine reg add "$desktop_key" /v LogPixels /t REG_DWORD /d 192 /f </dev/null >/dev/null 2>&1
trap 'kill $(jobs -p) 2>/dev/null || true
      wine reg delete "$desktop_key" /v LogPixels /f </dev/null >/dev/null 2>&1' EXIT

screen=$(xdpyinfo | sed -n 's/^ *dimensions: *\([0-9]*x[0-9]*\) pixels.*/\1/p')
# Wine gives the saver window and the OpenGL child window X windows of their own.
covers_the_screen() {
    local windows
    windows=$(xwininfo -root -tree)
    grep -qE "\"Screen Saver\": \(.*\)  ${screen}\+" <<<"$windows" &&
        grep -qE "\(has no name\): \(\)  ${screen}\+" <<<"$windows"
}

xdotool mousemove 640 360
start_saver /s
wait_for "the saver window" saver_window_shown
wait_for "the saver and its picture to cover all $screen pixels" covers_the_screen
xdotool key space
expect_exit 0
echo "full screen at 200 %: ok"
