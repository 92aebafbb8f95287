#!/usr/bin/env bash
# The installer on a 32-bit Windows (a 32-bit Wine prefix of its own, made on first use in the
# build folder): it puts the x86 saver into the system folder, makes it the current saver when
# asked, and its silent uninstaller takes everything away again.
#   install_32bit.sh <bin folder> <dist folder> <version>
dist=${2:?usage: $0 <bin folder> <dist folder> <version>}
version=${3:?usage: $0 <bin folder> <dist folder> <version>}
source "$(dirname "$0")/../e2e/e2e_lib.sh"

export WINEPREFIX="$bin_dir/../wineprefix-win32" WINEARCH=win32
trap 'wineserver -k 2>/dev/null || true' EXIT

if [ ! -f "$WINEPREFIX/.skyfold-win32-prefix" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.skyfold-win32-prefix"
fi

installed="$WINEPREFIX/drive_c/windows/system32/skyfold.scr"
uninstaller="$WINEPREFIX/drive_c/Program Files/Skyfold/uninstall.exe"
rm -f "$installed"

wine "$dist/skyfold-$version-setup.exe" /S /CURRENT </dev/null >/dev/null 2>&1
installed_completely() { [ -f "$installed" ] && [ -f "$uninstaller" ]; }
wait_for "the installer to finish" installed_completely
[ "$(x86_64-w64-mingw32-objdump -f "$installed" | sed -n 's/.*file format //p')" = pei-i386 ] ||
    fail "the installed saver is not the x86 one"
unzip -p "$dist/skyfold-$version-x86.zip" skyfold.scr | cmp -s - "$installed" ||
    fail "the installed saver differs from the x86 release"
[ "$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)" = 'C:\windows\System32\skyfold.scr' ] ||
    fail "not made the current saver"

wine "$uninstaller" /S </dev/null >/dev/null 2>&1
removed() { [ ! -e "$installed" ] && [ ! -e "$uninstaller" ]; }
wait_for "the uninstaller to finish" removed
[ -z "$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)" ] || fail "still the current saver"
echo "install on 32-bit Windows: ok"
