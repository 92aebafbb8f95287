#!/usr/bin/env bash
# The real xscreensaver daemon, run as an unprivileged user (as root it launches nothing), after
# "skyfold --install-xscreensaver" has put "GL: skyfold --root" into that user's ~/.xscreensaver:
# the daemon finds skyfold on its PATH and starts it, notes appear on its window, and deactivating
# it leaves no skyfold process behind. The install refuses an unreadable file, makes a missing one,
# only adds one line to a file with other programs and changes nothing the second time.
# Given the Debian package, it runs the packaged saver, unpacked, and then a programs line with
# the panel's "--count 75 --currency euro" as well, recorded by apitrace: 75 Euro notes a frame.
#   xscreensaver.sh <folder of skyfold> | <skyfold_VERSION_ARCH.deb>
set -euo pipefail
if [[ ${1:-} == *.deb ]]; then
    package=$1
    unpacked=$(mktemp -d)
    chmod 755 "$unpacked"
    dpkg-deb -x "$package" "$unpacked"
    set -- "$unpacked/usr/libexec/xscreensaver"
fi
source "$(dirname "$0")/x11_lib.sh"
readonly test_user=skyfoldtest
skyfold=$(readlink -f "$skyfold")

# As root, the daemon runs as a user of its own; otherwise as whoever runs the tests.
as_user() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u "$test_user" -- "$@"; else "$@"; fi
}
if [ "$(id -u)" -eq 0 ] && ! id "$test_user" >/dev/null 2>&1; then
    useradd --create-home "$test_user"
fi

home=$(mktemp -d)
chmod 755 "$home" "$scratch"
chown "$(as_user id -u)" "$home"
# The daemon is asked to exit, and ending its display (a background job) ends it in any case.
cleanup() {
    [ -z "${display:-}" ] ||
        as_user "${daemon_env[@]}" xscreensaver-command -exit >/dev/null 2>&1 || true
    kill $(jobs -p) 2>/dev/null || true
    rm -rf "$home" "$scratch" ${unpacked:+"$unpacked"}
}
trap cleanup EXIT
settings="$home/.xscreensaver"
install_entry() {
    status=0
    as_user env HOME="$home" ASAN_OPTIONS="$ASAN_OPTIONS" "$skyfold" --install-xscreensaver \
        </dev/null >"$scratch/out" 2>"$scratch/err" || status=$?
}

as_user sh -c 'echo "mode: one" >"$1" && chmod 000 "$1"' sh "$settings"
install_entry
[ "$status" -eq 1 ] && grep -q "^skyfold: cannot read $settings: " "$scratch/err" ||
    fail "an unreadable file: status $status, $(cat "$scratch/err")"
[ "$(stat -c %a "$settings")" = 0 ] && [ ! -e "$settings.bak" ] ||
    fail "the unreadable file changed"
rm -f "$settings"
install_entry
[ "$status" -eq 0 ] && grep -q '^[[:blank:]]*GL:[[:blank:]]*skyfold --root' "$settings" ||
    fail "no file: status $status"

# Settings that start a saver at once: the user's programs come first, so number 1 is skyfold.
as_user tee "$settings" >"$scratch/before" <<'SETTINGS'
mode:		one
selected:	1
splash:		False
lock:		False
fade:		False
unfade:		False

programs:								      \
-  GL: 				gears --root				    \n\

SETTINGS
install_entry
[ "$status" -eq 0 ] || fail "a file with other programs: $status $(cat "$scratch/err")"
cmp -s "$scratch/before" "$settings.bak" || fail "the backup is not the previous file"
diff "$scratch/before" "$settings" >"$scratch/diff" || true
[ "$(grep -c '^[<>]' "$scratch/diff")" = 1 ] &&
    grep -q '^>[[:blank:]]*GL:[[:blank:]]*skyfold --root' "$scratch/diff" ||
    fail "the install changed more than one line:"$'\n'"$(cat "$scratch/diff")"
cp "$settings" "$scratch/installed"
install_entry
[ "$status" -eq 0 ] && cmp -s "$scratch/installed" "$settings" || fail "the second install: $status"

# A display of its own that the daemon's user may open; the saver under test on the daemon's PATH.
start_private_display -ac
daemon_env=(env HOME="$home" DISPLAY="$private_display" ASAN_OPTIONS="$ASAN_OPTIONS"
            XDG_CONFIG_HOME="$home/.config" PATH="$(dirname "$skyfold"):$PATH")
display=$private_display

(cd "$home" && as_user "${daemon_env[@]}" xscreensaver -no-splash -verbose) \
    </dev/null >"$scratch/daemon.log" 2>&1 &
# The daemon's window, once it has started the command with these words on it.
saver_window() {
    sed -n "s/.*forked \"[^\"]*$1[^\"]*\" in pid [0-9]* on window \(0x[0-9a-f]*\).*/\1/p" \
        "$scratch/daemon.log" | tail -n 1
}
# The processes of the saver under test: the daemon starts it by name, so they go by its file.
saver_running() {
    local exe
    for exe in /proc/[0-9]*/exe; do
        [ "$(readlink "$exe" 2>/dev/null)" != "$skyfold" ] || return 0
    done
    return 1
}
# Asks until the command shows in the log; once active, the daemon answers "already active".
activated() {  # words of the command
    [ -n "$(saver_window "$1")" ] ||
        { as_user "${daemon_env[@]}" xscreensaver-command -activate; false; }
}
no_skyfold_left() {
    ! saver_running
}
wait_detail='tail -n 5 "$scratch/daemon.log"'
wait_for "the daemon to start skyfold" activated "skyfold --root"
wait_for "the saver under test to run" saver_running
DISPLAY=$display wait_for "notes on the daemon's window" shows_notes \
    "$(saver_window "skyfold --root")"
as_user "${daemon_env[@]}" xscreensaver-command -deactivate >/dev/null
wait_for "no skyfold process left" no_skyfold_left
[ -n "${package:-}" ] || { echo "xscreensaver: ok"; exit 0; }

# The panel's choices as it writes them into the programs line, run under apitrace; the daemon
# reads the changed file on its next activation.
trace="$home/panel.trace"
panel_options="--count 75 --currency euro"
as_user sed -i "s|skyfold --root|apitrace trace -o $trace skyfold --root $panel_options|" \
    "$settings"
trace_has_frames() {
    [ "$(stat -c %s "$trace" 2>/dev/null || echo 0)" -gt 4000000 ]
}
wait_for "the daemon to start the panel's command" activated "$panel_options"
wait_for "frames in the trace" trace_has_frames
as_user "${daemon_env[@]}" xscreensaver-command -deactivate >/dev/null
wait_for "no skyfold process left" no_skyfold_left
apitrace dump --call-nos=no "$trace" 2>/dev/null >"$scratch/panel.dump"
/usr/bin/python3 - "$scratch/panel.dump" <<'PYTHON' || fail "the panel's options did not reach it"
import re
import sys

# Lists 1 to 10 draw the notes; as they are compiled, their vertices lie at +-height/2 in z.
note_lists, heights, frames, current, compiling = range(1, 11), set(), [], None, None
for line in open(sys.argv[1], errors="replace"):
    if line.startswith("glNewList("):
        compiling = int(re.search(r"list = (\d+)", line).group(1))
    elif line.startswith("glEndList("):
        compiling = None
    elif compiling in note_lists and line.startswith("glVertex3f("):
        heights.add(abs(float(re.search(r"z = ([-0-9.e+]+)", line).group(1))))
    elif line.startswith("glXSwapBuffers"):
        if current is not None:
            frames.append(current)
        current = 0
    elif current is not None and line.startswith("glCallList("):
        current += int(re.search(r"list = (\d+)", line).group(1)) in note_lists
# Dollar notes share one height; the five Euro notes grow with their value.
print("%d frames, notes a frame %s, %d note heights" % (len(frames), sorted(set(frames)),
                                                       len(heights)))
sys.exit(0 if len(frames) >= 10 and set(frames) == {75} and len(heights) == 5 else 1)
PYTHON
echo "xscreensaver: ok"
