# Sourced by tools/dist: builds the Debian package of the Linux program (X11 and Wayland) from the
# release-native tree's install (cmake --install, which lays out the program and its files) and
# what Debian adds from tools/release/linux/ (control, changelog, and the copyright header, each
# with @VERSION@ where the version goes).
#   skyfold_deb <dist folder> <stage folder> <version>

skyfold_deb() {
    local out=$1 stage=$2 version=$3
    local source_dir linux package arch depends
    source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    linux="$source_dir/tools/release/linux"
    package="$stage/deb"
    arch=$(dpkg --print-architecture)

    skyfold_build release-native -DCMAKE_BUILD_TYPE=Release -DSKYFOLD_SANITIZE=OFF \
        -DSKYFOLD_NATIVE_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr \
        -DSKYFOLD_XSCREENSAVER_HACK_DIR=libexec/xscreensaver \
        -DSKYFOLD_XSCREENSAVER_CONFIG_DIR=share/xscreensaver/config
    skyfold_step "Making the Debian package"
    rm -rf "$package"
    DESTDIR="$package" cmake --install "$source_dir/build/release-native" >/dev/null
    mkdir "$package/DEBIAN"
    # As Debian strips a program: no symbols, no compiler notes.
    strip --remove-section=.comment --remove-section=.note "$package/usr/libexec/xscreensaver/skyfold" \
        "$package/usr/libexec/xscreensaver/skyfold-settings"
    # Debian keeps manual pages compressed, and the licence in the copyright file below.
    gzip -9n "$package/usr/share/man/man6/skyfold.6"
    rm -r "$package/usr/share/licenses"

    with_version() { sed "s/@VERSION@/$version/g" "$linux/$1"; }
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
