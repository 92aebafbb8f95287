#!/usr/bin/env bash
# The Windows saver under Wine and the native program on X11 and on Wayland (a headless sway of its
# own, its one monitor as large as the X display), all full screen with the same settings and
# recorded by apitrace: they make the same OpenGL calls, in the same order, from creation through
# every frame to the teardown.
#   same_gl_calls.sh <folder of skyfold.scr> <native skyfold, built without sanitizers>
source "$(dirname "$0")/e2e_lib.sh"
native=${2:?usage: $0 <folder of skyfold.scr> <native skyfold>}
traces=$(mktemp -d)
settings_key='HKCU\Software\Quillmark\Skyfold'
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$traces"
      wine reg delete "$settings_key" /f </dev/null >/dev/null 2>&1' EXIT

# Front on keeps the camera still; the note count and currency are the defaults.
for value in "Number of Notes:200" "View Angle:1" "Type of Currency:0"; do
    wine reg add "$settings_key" /v "${value%:*}" /t REG_DWORD /d "${value#*:}" /f \
        </dev/null >/dev/null 2>&1
done
export XDG_CONFIG_HOME=$traces

# A few hundred frames are in the trace once it has grown past the textures.
trace_has_frames() {
    [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" -gt 4000000 ]
}
native_has_focus() {
    [ "$(xdotool getwindowname "$(xdotool getwindowfocus)" 2>/dev/null)" = Skyfold ]
}

# Records a full-screen run: starts the command under apitrace (of the window system's GL API),
# waits until the run is up (the check) and has drawn its frames, then ends it with a key as a user
# would.
gl_api=gl
press_key() { xdotool key space; }
record() {  # name, check, command...
    local name=$1 check=$2
    shift 2
    apitrace trace --api "$gl_api" -o "$traces/$name.trace" "$@" </dev/null >/dev/null 2>&1 &
    saver_pid=$!
    wait_for "the $name run" "$check"
    wait_for "frames of the $name run" trace_has_frames "$traces/$name.trace"
    press_key
    expect_exit 0
}

xdotool mousemove 640 360
record windows saver_window_shown wine "$bin_dir/skyfold.scr" /s
record native native_has_focus "$native" --fullscreen --view-angle front-on --platform x11

# On Wayland, in a subshell: the compositor and its settings stay there.
(
    source "$(dirname "$0")/../wayland/compositor_lib.sh"
    trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null; rm -rf "$runtime"' EXIT
    unset DISPLAY
    start_sway 1
    gl_api=egl
    press_key() { wtype -s 400 -k space; }
    trace_started() { [ -e "$traces/wayland.trace" ]; }
    record wayland trace_started "$native" --fullscreen --view-angle front-on
) || exit 1

for run in windows native wayland; do
    apitrace dump --call-nos=no "$traces/$run.trace" >"$traces/$run.dump" 2>/dev/null
done
/usr/bin/python3 "$(dirname "$0")/compare_gl_calls.py" "$traces/windows.dump" "$traces/native.dump" ||
    fail "the two programs' OpenGL calls differ"
/usr/bin/python3 "$(dirname "$0")/compare_gl_calls.py" "$traces/native.dump" "$traces/wayland.dump" ||
    fail "the native program's OpenGL calls on X11 and Wayland differ"
