#!/usr/bin/env bash
# The Windows saver on two monitors of different sizes (one Xvfb with RandR 1.5 monitors, which
# Wine reads through Xinerama once told not to use RandR): a sky on each monitor, with its banner
# at rest at its bottom right, the strip under the smaller one black and no note across the seam;
# a key ends the run with 0. Wine reads the monitors when its server starts, so the test runs a
# server of its own on that display and starts the suite's again on the suite's display at the end.
source "$(dirname "$0")/e2e_lib.sh"
settings_key='HKCU\Software\Quillmark\Skyfold'
driver_key='HKCU\Software\Wine\X11 Driver'
suite_display=$DISPLAY

# Ends the prefix's server and starts one on the display, with every stream of Wine's services
# detached from the test's.
serve_wine_on() {
    wineserver -k 2>/dev/null || true
    wineserver -w
    DISPLAY=$1 wineserver -p </dev/null >/dev/null 2>&1
    DISPLAY=$1 wine cmd /c exit 0 </dev/null >/dev/null 2>&1
}
# The prefix as the suite had it; ending the server ends any Wine program of this test.
restore() {
    wine reg delete "$settings_key" /f </dev/null >/dev/null 2>&1
    wine reg delete "$driver_key" /v UseXRandR /f </dev/null >/dev/null 2>&1
    serve_wine_on "$suite_display"
    kill $(jobs -p) 2>/dev/null || true
}
trap restore EXIT

# Few notes, so that the first seconds leave the banners clear of them.
wine reg add "$settings_key" /v "Number of Notes" /t REG_DWORD /d 75 /f </dev/null >/dev/null 2>&1
wine reg add "$driver_key" /v UseXRandR /d N /f </dev/null >/dev/null 2>&1
start_two_monitor_display
serve_wine_on "$two_monitor_display"
export DISPLAY=$two_monitor_display

xdotool mousemove 640 360
start_saver /s
wait_for "the saver window" saver_window_shown
# Wine's GL child window of the saver's size: the root's picture shows nothing of GL's.
picture=$(mktemp --suffix .png)
gl_child=
gl_child_shown() {
    gl_child=$(xwininfo -root -tree |
        sed -n 's/^ *\(0x[0-9a-f]*\) (has no name): ()  2304x768+.*/\1/p' | head -n 1)
    [ -n "$gl_child" ]
}
wait_for "the saver's GL window" gl_child_shown
banners_rest() {
    import -window "$gl_child" "$picture" 2>/dev/null && two_skies "$picture" banners 1
}
wait_detail='two_skies "$picture" banners 1'
wait_for "a banner at rest on each monitor" banners_rest
two_skies "$picture" all 1 || fail "not a sky on each monitor"
rm -f "$picture"
xdotool key space
expect_exit 0
echo "two monitors under Wine: ok"
