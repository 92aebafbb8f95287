# Sourced by tools/dist: builds the Debian package of the Linux program (X11 and Wayland) from the release-native tree
# and the sources in tools/release/linux/ (panel, desktop entry, the idle watcher's user unit and
# examples, manual page, control, changelog and copyright header, each with @VERSION@ where the
# version goes).
#   skyfold_deb <dist folder> <stage folder> <version>

skyfold_deb() {
    local out=$1 stage=$2 version=$3
    local source_dir linux package arch depends
    source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    linux="$source_dir/tools/release/linux"
    package="$stage/deb"
    arch=$(dpkg --print-architecture)

    echo "Building the native release and the Debian package ..."
    skyfold_build release-native -DCMAKE_BUILD_TYPE=Release -DSKYFOLD_SANITIZE=OFF \
        -DSKYFOLD_NATIVE_TESTS=OFF
    rm -rf "$package"
    install -d "$package/DEBIAN" "$package/usr/bin" "$package/usr/libexec/xscreensaver" \
        "$package/usr/share/xscreensaver/config" "$package/usr/share/applications/screensavers" \
        "$package/usr/share/man/man6" "$package/usr/share/doc/skyfold/examples" \
        "$package/usr/lib/systemd/user"
    # As Debian strips a program: no symbols, no compiler notes. The settings dialog lives beside
    # the saver, where skyfold --config looks for it.
    local program
    for program in skyfold skyfold-settings; do
        strip --remove-section=.comment --remove-section=.note -o \
            "$package/usr/libexec/xscreensaver/$program" "$source_dir/build/release-native/bin/$program"
        chmod 755 "$package/usr/libexec/xscreensaver/$program"
    done
    # Savers live off the PATH; the command a user types (skyfold --install-xscreensaver) on it.
    ln -s ../libexec/xscreensaver/skyfold "$package/usr/bin/skyfold"
    install -m 644 "$linux/skyfold.xml" "$package/usr/share/xscreensaver/config/"
    install -m 644 "$linux/skyfold.desktop" "$package/usr/share/applications/screensavers/"
    install -m 644 "$linux/swayidle-config" "$linux/idle-watcher" \
        "$package/usr/share/doc/skyfold/examples/"
    install -m 644 "$linux/skyfold-idle.service" "$package/usr/lib/systemd/user/"

    with_version() { sed "s/@VERSION@/$version/g" "$linux/$1"; }
    with_version skyfold.6 | gzip -9n >"$package/usr/share/man/man6/skyfold.6.gz"
    # A package without a Debian revision is native: its one changelog is changelog.gz.
    with_version changelog >"$stage/changelog"
    gzip -9n <"$stage/changelog" >"$package/usr/share/doc/skyfold/changelog.gz"
    # The licence's terms, after its title and copyright lines, as the text of the Expat licence
    # paragraph that ends the template.
    {
        sed "s/@COPYRIGHT@/$(sed -n 's/^Copyright (c) //p' "$source_dir/LICENSE")/" \
            "$linux/copyright"
        sed '1,/^Copyright/d' "$source_dir/LICENSE" | sed '1{/^$/d}; s/^$/./; s/^/ /'
    } >"$package/usr/share/doc/skyfold/copyright"
    chmod -R u=rwX,go=rX "$package"
    (cd "$package" && find usr -type f | LC_ALL=C sort | xargs md5sum) >"$package/DEBIAN/md5sums"

    # dpkg-shlibdeps wants to be run from a source tree: an empty control file stands for one.
    mkdir -p "$stage/debian"
    : >"$stage/debian/control"
    depends=$(cd "$stage" && dpkg-shlibdeps -O "$package/usr/libexec/xscreensaver/skyfold" \
        "$package/usr/libexec/xscreensaver/skyfold-settings" |
        sed -n 's/^shlibs:Depends=//p')
    [ -n "$depends" ] || { echo "dpkg-shlibdeps found no libraries" >&2; return 1; }
    with_version control | sed -e "s/@ARCHITECTURE@/$arch/" -e "s/@DEPENDS@/$depends/" \
        -e "s/@INSTALLED_SIZE@/$(du -sk --exclude=DEBIAN "$package" | cut -f1)/" \
        >"$package/DEBIAN/control"
    chmod 644 "$package/DEBIAN/control" "$package/DEBIAN/md5sums"

    # The changelog's date stamps the files, so that the same sources make the same package.
    local stamp
    stamp=$(dpkg-parsechangelog -l "$stage/changelog" -STimestamp)
    find "$package" -exec touch --no-dereference --date="@$stamp" {} +
    SOURCE_DATE_EPOCH=$stamp dpkg-deb --root-owner-group --build "$package" \
        "$out/skyfold_${version}_${arch}.deb" >/dev/null
}
