#!/usr/bin/env bash
# The real xscreensaver daemon, run as an unprivileged user (as root it launches nothing), starts
# "GL: skyfold --root" from its programs list: notes appear on the daemon's window, and
# deactivating it leaves no skyfold process behind.
source "$(dirname "$0")/x11_lib.sh"
readonly test_user=skyfoldtest

# As root, the daemon runs as a user of its own; otherwise as whoever runs the tests.
as_user() {
    if [ "$(id -u)" -eq 0 ]; then runuser -u "$test_user" -- "$@"; else "$@"; fi
}
if [ "$(id -u)" -eq 0 ] && ! id "$test_user" >/dev/null 2>&1; then
    useradd --create-home "$test_user"
fi

home=$(mktemp -d)
chmod 755 "$home" "$scratch"
# A display of its own that the daemon's user may open.
start_private_display -ac
xvfb_pid=$!
display=$private_display
cat >"$home/.xscreensaver" <<SETTINGS
mode: one
selected: 0
splash: False
lock: False
fade: False
unfade: False
programs: GL: $skyfold --root
SETTINGS
chown -R "$(as_user id -u)" "$home"
daemon_env=(env HOME="$home" DISPLAY="$display" ASAN_OPTIONS="$ASAN_OPTIONS"
            XDG_CONFIG_HOME="$home/.config")
# Ending its display ends the daemon too.
trap 'as_user "${daemon_env[@]}" xscreensaver-command -exit >/dev/null 2>&1; kill $xvfb_pid
      rm -rf "$home" "$scratch"' EXIT

(cd "$home" && as_user "${daemon_env[@]}" xscreensaver -no-splash -verbose) \
    </dev/null >"$scratch/daemon.log" 2>&1 &
# The daemon's window, once it has started the saver on it.
saver_window() {
    sed -n 's/.*forked ".*skyfold --root" in pid [0-9]* on window \(0x[0-9a-f]*\).*/\1/p' \
        "$scratch/daemon.log" | tail -n 1
}
activated() {
    as_user "${daemon_env[@]}" xscreensaver-command -activate && [ -n "$(saver_window)" ]
}
wait_detail='tail -n 5 "$scratch/daemon.log"'
wait_for "the daemon to start skyfold" activated
DISPLAY=$display wait_for "notes on the daemon's window" shows_notes "$(saver_window)"

as_user "${daemon_env[@]}" xscreensaver-command -deactivate >/dev/null
no_skyfold_left() {
    ! pgrep -f "^$skyfold --root" >/dev/null
}
wait_for "no skyfold process left" no_skyfold_left
echo "xscreensaver: ok"
