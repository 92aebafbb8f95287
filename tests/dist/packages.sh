#!/usr/bin/env bash
# The Arch Linux and Fedora packages that tools/dist makes, beside the Debian one: each installs
# into a scratch root with its distribution's own tool; the three carry the same files with the
# same modes, each in its distribution's folders, the same text in each (the folders apart) and the
# same program, which starts from each root; and rpmlint, with Fedora's settings, finds no error in
# the Fedora package or skyfold.spec and no warning skyfold.spec does not explain.
#   packages.sh <dist folder> <version>
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

deb="$dist/skyfold_${version}_$(dpkg --print-architecture).deb"
arch="$dist/skyfold-$version-1-x86_64.pkg.tar.zst"
rpm="$dist/skyfold-$version-1.x86_64.rpm"
for package in "$deb" "$arch" "$rpm"; do
    [ -f "$package" ] || fail "missing $package"
done

# pacman and rpm install into another root only as root (rpm through chroot): anyone else is root
# in a user namespace of their own. Neither runs the package's scripts or asks for its
# dependencies (pacman's --nodeps twice: versions and names).
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(unshare --map-root-user)
mkdir -p "$work/arch" "$work/arch-db" "$work/fedora"
dpkg-deb -x "$deb" "$work/debian"
"${as_root[@]}" pacman -U --root "$work/arch" --dbpath "$work/arch-db" --nodeps --nodeps \
    --noscriptlet --noconfirm "$arch" >"$work/pacman.log" 2>&1 ||
    fail "pacman -U: $(tail -n 3 "$work/pacman.log")"
"${as_root[@]}" rpm -i --root "$work/fedora" --dbpath /rpmdb --nodeps --noscripts "$rpm" \
    >"$work/rpm.log" 2>&1 || fail "rpm -i: $(tail -n 3 "$work/rpm.log")"

# Each distribution's own: Arch keeps xscreensaver's display modes in lib/, Debian the licence in
# its copyright file beside its changelog, rpm a link per program under lib/.build-id.
hack_dir() {
    case $1 in arch) echo /usr/lib/xscreensaver ;; *) echo /usr/libexec/xscreensaver ;; esac
}
files() {  # distribution: mode and path of each file and link, in Debian's folders
    (cd "$work/$1" && find usr ! -type d -printf '%M %p\n') |
        sed -e 's, usr/, /usr/,' -e "s,$(hack_dir "$1")/,/usr/libexec/xscreensaver/," |
        grep -vE ' /usr/lib/\.build-id/| /usr/share/licenses/skyfold/LICENSE$' |
        grep -vE ' /usr/share/doc/skyfold/(copyright|changelog\.gz)$' |
        LC_ALL=C sort
}
expected=$(files debian)
for distribution in arch fedora; do
    [ "$(files $distribution)" = "$expected" ] || fail "the $distribution package holds:"$'\n'"$(
        files $distribution)"$'\n'"the Debian one:"$'\n'"$expected"
    cmp -s "$work/$distribution/usr/share/licenses/skyfold/LICENSE" "$root/LICENSE" ||
        fail "the $distribution package's licence differs from LICENSE"
done

# The same text in each, but for the folders; the desktop entry names the saver where it is.
for distribution in arch fedora; do
    folder=$(hack_dir $distribution)
    while read -r mode file; do
        [[ $mode == -rw-* ]] || continue  # the programs (below) and the link
        ours=$(zcat -f "$work/$distribution${file/\/usr\/libexec\/xscreensaver/$folder}" |
            sed "s,$folder,/usr/libexec/xscreensaver,g")
        [ "$ours" = "$(zcat -f "$work/debian$file")" ] ||
            fail "$file differs in the $distribution package"
    done <<<"$expected"
    entry="$work/$distribution/usr/share/applications/screensavers/skyfold.desktop"
    saver=$(sed -n 's/^TryExec=//p' "$entry")
    [ -x "$work/$distribution$saver" ] || fail "the $distribution desktop entry runs $saver: none"
done

# The same program: the saver on the PATH of each root starts and tells the same options.
"$work/debian/usr/bin/skyfold" --help >"$work/help" ||
    fail "the Debian saver's --help ended with $?"
for distribution in arch fedora; do
    "$work/$distribution/usr/bin/skyfold" --help | cmp -s - "$work/help" ||
        fail "the $distribution saver's --help differs from the Debian one's"
done

rpmlint -c "$root/tools/release/fedora/rpmlint.toml" "$rpm" "$dist/skyfold.spec" \
    >"$work/rpmlint" ||
    fail "rpmlint found errors:"$'\n'"$(grep ': E: ' "$work/rpmlint")"
for warning in $(sed -n 's/.*: W: \([^ ]*\).*/\1/p' "$work/rpmlint" | sort -u); do
    grep -q "^# .*$warning" "$dist/skyfold.spec" || fail "skyfold.spec does not explain $warning"
done
echo "packages: ok"
