#!/usr/bin/env bash
# The release archives made by tools/dist: each holds exactly the saver of its architecture, the
# user's README and the licence, as Windows text files; the installer is there beside them. The
# web archive holds the one-file page, the wallpaper hosts' files naming it and its preview, that
# preview picture, and its own README and the licence, as the Windows archives have them.
#   archives.sh <dist folder> <version>
set -euo pipefail
dist=${1:?usage: $0 <dist folder> <version>}
version=${2:?usage: $0 <dist folder> <version>}
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

declare -A machines=([x64]=pei-x86-64 [x86]=pei-i386)
for arch in x64 x86; do
    zip="$dist/skyfold-$version-$arch.zip"
    [ -f "$zip" ] || fail "missing $zip"
    listed=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
    [ "$listed" = "LICENSE.txt README.txt skyfold.scr " ] || fail "$arch archive holds: $listed"

    mkdir "$work/$arch"
    unzip -q "$zip" -d "$work/$arch"
    format=$(x86_64-w64-mingw32-objdump -f "$work/$arch/skyfold.scr" 2>/dev/null | sed -n 's/.*file format //p')
    [ "$format" = "${machines[$arch]}" ] || fail "$arch archive's saver is $format"
    x86_64-w64-mingw32-objdump -h "$work/$arch/skyfold.scr" | grep -q ' \.rsrc ' ||
        fail "$arch saver has no resources"

    grep -q "^SKYFOLD SCREEN SAVER $version"$'\r'"$" "$work/$arch/README.txt" ||
        fail "$arch README does not name version $version"
    ! grep -q '@[A-Z]*@' "$work/$arch/README.txt" || fail "$arch README has unfilled fields"
    [ "$(grep -c $'\r$' "$work/$arch/README.txt")" = "$(wc -l <"$work/$arch/README.txt")" ] ||
        fail "$arch README is not CRLF text"
    cmp -s <(tr -d '\r' <"$work/$arch/LICENSE.txt") "$root/LICENSE" ||
        fail "$arch LICENSE.txt differs from LICENSE"
done
cmp -s "$work/x64/README.txt" "$work/x86/README.txt" || fail "the two READMEs differ"
[ -s "$dist/skyfold-$version-setup.exe" ] || fail "missing the installer"

zip="$dist/skyfold-$version-web.zip"
[ -f "$zip" ] || fail "missing $zip"
listed=$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')
web_files="LICENSE.txt LivelyInfo.json LivelyProperties.json README.txt preview.png project.json"
[ "$listed" = "$web_files skyfold.html " ] || fail "web archive holds: $listed"
mkdir "$work/web"
unzip -q "$zip" -d "$work/web"
grep -q "^SKYFOLD FOR THE BROWSER $version"$'\r'"$" "$work/web/README.txt" ||
    fail "the web README does not name version $version"
! grep -q '@[A-Z]*@' "$work/web/README.txt" || fail "the web README has unfilled fields"
cmp -s "$work/web/LICENSE.txt" "$work/x64/LICENSE.txt" || fail "the web archive's licence differs"
# One file: nothing fetched from beside it or from the network.
! grep -Pq '(src|href)="(?!data:|#)' "$work/web/skyfold.html" || fail "the page loads other files"
! grep -q 'https\?://' "$work/web/skyfold.html" || fail "the page names a web address"
grep -q 'id="canvas"' "$work/web/skyfold.html" || fail "the page has no canvas"
/usr/bin/python3 - "$work/web" <<'CHECK' || fail "the hosts' files do not name the page and preview"
import json, sys
folder = sys.argv[1]
lively = json.load(open(f'{folder}/LivelyInfo.json', encoding='utf-8-sig'))
engine = json.load(open(f'{folder}/project.json', encoding='utf-8-sig'))
json.load(open(f'{folder}/LivelyProperties.json', encoding='utf-8-sig'))
assert lively['FileName'] == 'skyfold.html' and lively['Thumbnail'] == 'preview.png'
assert engine['file'] == 'skyfold.html' and engine['preview'] == 'preview.png'
CHECK
[ "$(identify -format '%m %wx%h' "$work/web/preview.png")" = "PNG 640x360" ] ||
    fail "the web preview is not a 640x360 PNG"
echo "archives: ok"
