#!/usr/bin/env bash
# The Windows saver under Wine and the native X11 program, both full screen with the same settings
# and both recorded by apitrace: they make the same OpenGL calls, in the same order, from creation
# through every frame to the teardown.
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

xdotool mousemove 640 360
(cd "$bin_dir" && exec apitrace trace -o "$traces/windows.trace" wine skyfold.scr /s) \
    </dev/null >/dev/null 2>&1 &
saver_pid=$!
wait_for "the saver window" saver_window_shown
wait_for "frames of the Windows saver" trace_has_frames "$traces/windows.trace"
xdotool key space
expect_exit 0

apitrace trace -o "$traces/native.trace" "$native" --fullscreen --view-angle front-on \
    </dev/null >/dev/null 2>&1 &
saver_pid=$!
wait_for "the native full-screen window" native_has_focus
wait_for "frames of the native program" trace_has_frames "$traces/native.trace"
xdotool key space
expect_exit 0

for run in windows native; do
    apitrace dump --call-nos=no "$traces/$run.trace" >"$traces/$run.dump" 2>/dev/null
done
/usr/bin/python3 "$(dirname "$0")/compare_gl_calls.py" "$traces/windows.dump" "$traces/native.dump" ||
    fail "the two programs' OpenGL calls differ"
