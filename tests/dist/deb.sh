#!/usr/bin/env bash
# The Debian package that tools/dist makes: exactly its files, a stripped saver that starts, control
# fields whose Depends name the package of every library the saver links, lintian without errors, a
# manual page that names every option of --help, a settings panel whose three settings the saver
# accepts at every value it offers (and refuses just outside the slider's range), and a desktop
# entry that runs the packaged saver.
#   deb.sh <dist folder> <version>
set -euo pipefail
dist=${1:?usage: $0 <dist folder> <version>}
version=${2:?usage: $0 <dist folder> <version>}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

deb="$dist/skyfold_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "missing $deb"
dpkg-deb -x "$deb" "$work/root"
saver="$work/root/usr/libexec/xscreensaver/skyfold"

# Mode, owner and name (with a link's target) of everything but the folders.
listed=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { $3 = $4 = $5 = ""; print }' | tr -s ' ' | sort)
expected="-rw-r--r-- root/root ./usr/lib/systemd/user/skyfold-idle.service
-rw-r--r-- root/root ./usr/share/applications/screensavers/skyfold.desktop
-rw-r--r-- root/root ./usr/share/doc/skyfold/changelog.gz
-rw-r--r-- root/root ./usr/share/doc/skyfold/copyright
-rw-r--r-- root/root ./usr/share/doc/skyfold/examples/idle-watcher
-rw-r--r-- root/root ./usr/share/doc/skyfold/examples/swayidle-config
-rw-r--r-- root/root ./usr/share/man/man6/skyfold.6.gz
-rw-r--r-- root/root ./usr/share/xscreensaver/config/skyfold.xml
-rwxr-xr-x root/root ./usr/libexec/xscreensaver/skyfold
-rwxr-xr-x root/root ./usr/libexec/xscreensaver/skyfold-settings
lrwxrwxrwx root/root ./usr/bin/skyfold -> ../libexec/xscreensaver/skyfold"
[ "$listed" = "$expected" ] || fail "the package holds:"$'\n'"$listed"
[ -z "$(readelf -S "$saver" | grep -F .symtab)" ] || fail "the saver is not stripped"
"$saver" --help >"$work/help" || fail "the packaged saver's --help ended with $?"
[ "$(head -c 15 "$work/help")" = "usage: skyfold " ] ||
    fail "--help said: $(head -n 2 "$work/help")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package) $(field Version)" = "skyfold $version" ] ||
    fail "control names $(field Package) $(field Version)"
[ "$(field Recommends)" = "xscreensaver, xscreensaver-gl" ] ||
    fail "Recommends: $(field Recommends)"
zcat "$work/root/usr/share/doc/skyfold/changelog.gz" >"$work/changelog"
[ "$(dpkg-parsechangelog -l "$work/changelog" -SVersion)" = "$version" ] ||
    fail "the changelog's latest entry is not $version"
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
for library in $(readelf -d "$saver" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    owner=$(dpkg-query -S "*/$multiarch/$library" | head -n 1 | cut -d: -f1) ||
        fail "no package holds $library"
    [[ ", $(field Depends) " =~ [\ \|]"$owner"[\ ,] ]] ||
        fail "Depends ($(field Depends)) lacks $owner, which holds $library"
done

lintian --fail-on error "$deb" 2>/dev/null || fail "lintian found errors"

# Options as the manual's source writes them: every "-" escaped.
man_source=$(zcat "$work/root/usr/share/man/man6/skyfold.6.gz")
for option in $(grep -o -- '--[a-z-]*' "$work/help" | sort -u); do
    grep -qF -- "${option//-/\\-}" <<<"$man_source" || fail "the manual page lacks $option"
done

# The panel: "accept ARGS" or "refuse ARGS" for each value it can put on the command line.
panel="$work/root/usr/share/xscreensaver/config/skyfold.xml"
/usr/bin/python3 - "$panel" >"$work/panel-args" <<'PYTHON' || fail "the panel is not as expected"
import sys
import xml.etree.ElementTree as ET

saver = ET.parse(sys.argv[1]).getroot()
assert (saver.tag, saver.get("name"), saver.get("gl")) == ("screensaver", "skyfold", "yes")
assert saver.find("command").get("arg") == "--root"
assert saver.findtext("_description").strip()
count = saver.find(".//number[@id='count']")
assert (count.get("type"), count.get("arg")) == ("slider", "--count %")
low, high, default = (int(count.get(key)) for key in ("low", "high", "default"))
assert (low, high, default) == (75, 1500, 200), (low, high, default)
for value in (low, high):
    print("accept --count %d" % value)
for value in (low - 1, high + 1):
    print("refuse --count %d" % value)
# The frame rate: a ceiling whose default (the display's rate) puts nothing on the command line,
# and xscreensaver's usual checkbox.
limit = saver.find(".//number[@id='maxfps']")
assert (limit.get("type"), limit.get("arg"), limit.get("_label")) == \
    ("slider", "--max-fps %", "Frame rate limit")
for value in (limit.get("low"), limit.get("high")):
    print("accept --max-fps " + value)
show = saver.find(".//boolean[@id='showfps']")
assert (show.get("_label"), show.get("arg-set")) == ("Show frame rate", "--fps")
print("accept --fps")
menus = {"view-angle": (["Bottom up", "Front on", "Top down", "Random"], "Random"),
         "currency": (["Australian dollars", "American dollars", "Euros"], "Australian dollars")}
assert len(saver.findall(".//select")) == len(menus)
for menu, (labels, default_label) in menus.items():
    options = saver.findall(".//select[@id='%s']/option" % menu)
    assert [option.get("_label") for option in options] == labels, menu
    # The default puts nothing on the command line, as in every panel of xscreensaver's own.
    assert [option.get("_label") for option in options if not option.get("arg-set")] == \
        [default_label], menu
    for option in options:
        if option.get("arg-set"):
            print("accept " + option.get("arg-set"))
PYTHON
while read -r verdict args; do
    status=0
    # shellcheck disable=SC2086  # the panel's arguments are words
    "$saver" $args --help >/dev/null 2>&1 || status=$?
    case "$verdict:$status" in
        accept:0 | refuse:1) ;;
        *) fail "the saver ended with $status for the panel's '$args'" ;;
    esac
done <"$work/panel-args"

desktop="$work/root/usr/share/applications/screensavers/skyfold.desktop"
exec_line=$(sed -n 's/^Exec=//p' "$desktop" | head -n 1)
[ "${exec_line%% *}" = /usr/libexec/xscreensaver/skyfold ] || fail "Exec=$exec_line"
[ "$(sed -n 's/^TryExec=//p' "$desktop")" = "${exec_line%% *}" ] || fail "TryExec differs from Exec"
# shellcheck disable=SC2086
"$work/root${exec_line%% *}" ${exec_line#* } --help >/dev/null || fail "Exec=$exec_line is refused"
# Its Configure action opens the settings dialog of the same saver.
[ "$(sed -n '/^\[Desktop Action Configure\]/,$ s/^Exec=//p' "$desktop")" = "${exec_line%% *} --config" ] ||
    fail "the Configure action does not run ${exec_line%% *} --config"
echo "deb: ok"
