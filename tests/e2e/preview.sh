#!/usr/bin/env bash
# A preview run in a stand-in for the settings page's monitor: the saver draws into its own
# 152x112 child and ends with 0 when the host destroys its window. If the host dies without
# destroying anything, the orphaned preview must end as well.
source "$(dirname "$0")/e2e_lib.sh"
shots=$(mktemp -d)
trap 'rm -rf "$shots"; kill $(jobs -p) 2>/dev/null || true; kill $(prefix_pids "skyfold\.scr /p") 2>/dev/null || true' EXIT

# Wine keeps an OpenGL child window off screen in an X window of its own, of the child's size.
preview_child() {
    xwininfo -root -tree | grep -E '\(has no name\): \(\)  152x112\+' | head -n 1 | awk '{print $1}'
}

preview_child_shown() {
    [ -n "$(preview_child)" ]
}

output="$shots/host.out"
(cd "$bin_dir" && exec wine preview_host.exe skyfold.scr 4) </dev/null >"$output" 2>&1 &
host_pid=$!
wait_for "the preview child window" preview_child_shown
child=$(preview_child)
# The scene clears its picture to black between the notes; the host's own background is grey,
# so black pixels in the child's window mean the saver drew there.
drawn_into_child() {
    import -window "$child" "$shots/preview.png" &&
        [ "$(convert "$shots/preview.png" -fill white +opaque black -format '%[fx:minima]' info:)" = 0 ]
}
wait_for "a drawn preview" drawn_into_child
status=0
wait "$host_pid" || status=$?
grep -q "saver exit code 0" "$output" || fail "$(cat "$output")"
[ "$status" -eq 0 ] || fail "preview host ended with $status"

(cd "$bin_dir" && exec wine preview_host.exe skyfold.scr 2 --abandon) </dev/null >"$output" 2>&1 ||
    true
orphan_gone() {
    [ -z "$(prefix_pids 'skyfold\.scr /p')" ]
}
wait_for "the orphaned preview to end" orphan_gone
echo "preview: ok"
