#!/usr/bin/env bash
# Bad input to the native program: bad options and values, no display (for a run and for the
# settings dialog), a display without GLX, a window that does not exist and a wallpaper run without
# Wayland each end with 1 after one line saying why; hostile settings files (binary bytes, an endless line, huge numbers, a pipe,
# a folder, no read permission) never stop it from running.
source "$(dirname "$0")/x11_lib.sh"

# Runs skyfold with the arguments; its status in $status, stdout and stderr in $out and $err.
run() {
    status=0
    "$skyfold" "$@" </dev/null >"$scratch/out" 2>"$scratch/err" || status=$?
    out=$(cat "$scratch/out")
    err=$(cat "$scratch/err")
}

expect_refusal() {  # first line of stderr, then the arguments
    local line=$1
    shift
    run "$@"
    [ "$status" -eq 1 ] || fail "'$*' ended with $status"
    [ "$(head -n 1 <<<"$err")" = "$line" ] || fail "'$*' said: $err"
}

# Options are read before the display is opened: without one, the option is still what is wrong.
for bad in "--count abc" "--currency yen" "--window-id x" "--geometry huge" "--bogus" "--count" \
           "--max-fps 1001" "--fps=3" "--platform mir"; do
    DISPLAY= run $bad
    [ "$status" -eq 1 ] || fail "'$bad' ended with $status"
    [ -z "$out" ] || fail "'$bad' wrote to stdout"
    grep -q '^skyfold: ' <<<"$(head -n 1 <<<"$err")" || fail "'$bad' said: $err"
    grep -q 'cannot open' <<<"$err" && fail "'$bad' tried the display: $err"
    [ "$(sed -n 2p <<<"$err" | cut -c1-15)" = "usage: skyfold " ] || fail "'$bad' gave no usage"
done
run --help
[ "$status" -eq 0 ] && grep -q -- '--view-angle' <<<"$out" && [ -z "$err" ] || fail "--help: $status $err"

DISPLAY= expect_refusal "skyfold: cannot open a display: DISPLAY is not set" --window
DISPLAY=:1999 expect_refusal "skyfold: cannot open display ':1999'" --window
DISPLAY=:1999 expect_refusal "skyfold: cannot open display ':1999'" --config
DISPLAY= expect_refusal \
    "skyfold: cannot open a display: neither WAYLAND_DISPLAY nor DISPLAY is set" --config
WAYLAND_DISPLAY=nowhere DISPLAY=:1999 expect_refusal \
    "skyfold: cannot open Wayland display 'nowhere', nor display ':1999'" --config
expect_refusal "skyfold: there is no window 0x3fffff0 on this display" --window-id 0x3fffff0
expect_refusal "skyfold: --background is for Wayland desktops, and WAYLAND_DISPLAY is not set" \
    --background

# A display without GLX: the Windows build's texts for the step that fails.
start_private_display -extension GLX
DISPLAY=$private_display expect_refusal \
    "skyfold: Error Creating Window: Sorry dude. Can't get a pixel format." --window
DISPLAY=$private_display expect_refusal \
    "skyfold: Error Creating Window: Sorry dude. Can't set the pixel format." --root

# Hostile settings files: the saver still comes up, draws its notes and ends cleanly.
settings="$XDG_CONFIG_HOME/Quillmark/Skyfold.conf"
mkdir -p "$(dirname "$settings")"
notes_shown() {
    local window
    window=$(window_named Skyfold)
    [ -n "$window" ] && shows_notes "$window"
}
runs_with_settings() {  # what the settings file is
    start_skyfold --window --geometry 320x180
    wait_for "notes drawn with $1" notes_shown
    kill -TERM "$saver_pid"
    expect_quiet_exit 0
}
head -c 200000 /dev/urandom >"$settings"
runs_with_settings "binary bytes"
{ printf 'Number of Notes='; head -c 5000000 /dev/zero | tr '\0' 9; } >"$settings"
runs_with_settings "an endless line"
printf 'Number of Notes=99999999999999999999\nView Angle=-99999999999\nType of Currency=1x\n' >"$settings"
runs_with_settings "huge numbers"
rm -f "$settings" && mkfifo "$settings"
runs_with_settings "a pipe"
rm -f "$settings" && mkdir "$settings"
runs_with_settings "a folder"
rmdir "$settings" && echo 'Number of Notes=80' >"$settings" && chmod 000 "$settings"
if [ "$(id -u)" -ne 0 ]; then runs_with_settings "an unreadable file"; fi  # root reads anything
echo "bad input: ok"
