#!/usr/bin/env bash
# The installer under Wine (a 64-bit system), silently, as an administrator's script would run it:
# the x64 saver lands in the 64-bit system folder where the Screen Saver settings look, becomes the
# current saver only when asked, runs full screen and in a preview from there, and the silent
# uninstaller takes away its files and registry entries (the user's settings only when asked).
#   install.sh <folder of preview_host.exe> <dist folder> <version>
dist=${2:?usage: $0 <bin folder> <dist folder> <version>}
version=${3:?usage: $0 <bin folder> <dist folder> <version>}
source "$(dirname "$0")/../e2e/e2e_lib.sh"

drive_c="$WINEPREFIX/drive_c"
installed="$drive_c/windows/system32/skyfold.scr"
install_dir="$drive_c/Program Files/Skyfold"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Skyfold'
desktop_key='HKCU\Control Panel\Desktop'
settings_key='HKCU\Software\Quillmark\Skyfold'

# Registry access in the 64-bit view, the one the installer writes on a 64-bit system.
reg_value64() {
    reg_value "$@" /reg:64
}
reg_key_exists() {
    wine reg query "$1" /reg:64 </dev/null >/dev/null 2>&1
}
reg_set() {
    wine reg add "$@" /reg:64 /f </dev/null >/dev/null 2>&1
}
reg_delete() {
    wine reg delete "$@" /reg:64 /f </dev/null >/dev/null 2>&1 || true
}
run_quietly() {
    wine "$@" </dev/null >/dev/null 2>&1
}

installed_completely() {
    [ -f "$installed" ] && [ -f "$install_dir/uninstall.exe" ] &&
        [ "$(reg_value64 "$uninstall_key" DisplayVersion)" = "$version" ]
}
removed_completely() {
    [ ! -e "$installed" ] && [ ! -e "$install_dir" ] && ! reg_key_exists "$uninstall_key"
}
uninstall_silently() {
    run_quietly "C:\\Program Files\\Skyfold\\uninstall.exe" /S "$@"
    wait_for "the uninstaller to remove Skyfold" removed_completely
}

# A clean system whose user already has a saver and Skyfold settings.
reg_delete "$uninstall_key"
rm -f "$installed" "$drive_c/windows/syswow64/skyfold.scr"
rm -rf "$install_dir"
reg_set "$desktop_key" /v SCRNSAVE.EXE /d 'C:\windows\system32\other.scr'
reg_set "$settings_key" /v 'Number of Notes' /t REG_DWORD /d 300
trap 'kill $(jobs -p) 2>/dev/null || true; reg_delete "$desktop_key" /v SCRNSAVE.EXE; reg_delete "$settings_key"' EXIT

# 1. Silent install: the 64-bit saver in the 64-bit system folder, an Add/Remove Programs entry,
#    and the user's current saver left alone.
run_quietly "$dist/skyfold-$version-setup.exe" /S
wait_for "the installer to finish" installed_completely
[ "$(x86_64-w64-mingw32-objdump -f "$installed" | sed -n 's/.*file format //p')" = pei-x86-64 ] ||
    fail "the installed saver is not the x64 one"
unzip -p "$dist/skyfold-$version-x64.zip" skyfold.scr | cmp -s - "$installed" ||
    fail "the installed saver differs from the x64 release"
[ ! -e "$drive_c/windows/syswow64/skyfold.scr" ] || fail "a saver landed in the 32-bit folder"
[ -f "$install_dir/README.txt" ] && [ -f "$install_dir/LICENSE.txt" ] || fail "no README or licence"
[ "$(reg_value64 "$uninstall_key" DisplayName)" = "Skyfold screen saver" ] || fail "no display name"
[ "$(reg_value64 "$uninstall_key" QuietUninstallString)" = '"C:\Program Files\Skyfold\uninstall.exe" /S' ] ||
    fail "quiet uninstall string: $(reg_value64 "$uninstall_key" QuietUninstallString)"
estimated_kb=$(($(reg_value64 "$uninstall_key" EstimatedSize)))
[ "$estimated_kb" -ge $(($(stat -c %s "$installed") / 1024)) ] || fail "estimated size $estimated_kb KB"
[ "$(reg_value64 "$desktop_key" SCRNSAVE.EXE)" = 'C:\windows\system32\other.scr' ] ||
    fail "a silent install without /CURRENT changed the current saver"

# 2. Silent uninstall keeps the user's settings unless asked.
uninstall_silently
[ "$(reg_value64 "$settings_key" 'Number of Notes')" = 0x12c ] || fail "the settings went"
[ "$(reg_value64 "$desktop_key" SCRNSAVE.EXE)" = 'C:\windows\system32\other.scr' ] ||
    fail "the uninstaller removed another saver's choice"

# 3. Silent install asked to make Skyfold the current saver.
run_quietly "$dist/skyfold-$version-setup.exe" /S /CURRENT
wait_for "the installer to finish" installed_completely
saver=$(reg_value64 "$desktop_key" SCRNSAVE.EXE)
[ "$saver" = 'C:\windows\System32\skyfold.scr' ] || fail "current saver: $saver"
[ "$(reg_value64 "$desktop_key" ScreenSaveActive)" = 1 ] || fail "saver not active"

# 4. The saver the system keeps runs full screen and ends on a key ... (through Wine's 64-bit
#    loader: for the default one, a 32-bit program, "C:\windows\System32" is the 32-bit folder).
wine64_loader=$(command -v wine64 || echo /usr/lib/wine/wine64)
xdotool mousemove 640 360
(exec "$wine64_loader" "$saver" /s) </dev/null >/dev/null 2>&1 &
saver_pid=$!
wait_for "the installed saver's window" saver_window_shown
xdotool key space
expect_exit 0

# ... and previews in the settings page's monitor, started by the path the system keeps.
output=$(mktemp)
(cd "$bin_dir" && exec wine preview_host.exe "$saver" 2) </dev/null >"$output" 2>&1 ||
    fail "preview host: $(cat "$output")"
grep -q "saver exit code 0" "$output" || fail "preview: $(cat "$output")"
rm -f "$output"

# 5. Silent uninstall asked to remove the settings: nothing of Skyfold is left.
uninstall_silently /REMOVESETTINGS
[ -z "$(reg_value64 "$desktop_key" SCRNSAVE.EXE)" ] || fail "the current saver still names Skyfold"
! reg_key_exists "$settings_key" || fail "the settings stayed"
! reg_key_exists 'HKCU\Software\Quillmark' || fail "an empty Quillmark key stayed"
echo "install and uninstall: ok"
