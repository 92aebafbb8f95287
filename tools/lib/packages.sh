# Sourced by tools/dist: the source archive a distribution builds from, and the Arch Linux and
# Fedora packages built from it, by makepkg and rpmbuild, with no network where the machine allows
# (as root: a network namespace of their own), and without the build's dependencies installed
# (--nodeps: neither distribution's repositories can be reached here).
#   skyfold_source_archive <dist folder> <version>   (skyfold-<version>.tar.gz, PKGBUILD and spec)
#   skyfold_arch_package <dist folder> <stage folder> <version>
#   skyfold_fedora_package <dist folder> <stage folder> <version>

skyfold_packages_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Every file of the tree that git does not ignore, as it is now, under skyfold-<version>/, dated by
# the last commit so that the same sources make the same archive; with the PKGBUILD and spec that
# build it.
skyfold_source_archive() {
    local out=$1 version=$2 root=$skyfold_packages_root archive stamp
    skyfold_step "Making the source archive"
    archive="$out/skyfold-$version.tar.gz"
    stamp=$(git -C "$root" log -1 --format=%ct)
    git -C "$root" ls-files -z --cached --others --exclude-standard |
        (cd "$root" && while IFS= read -r -d '' file; do
            [ ! -e "$file" ] || printf '%s\0' "$file"   # a file deleted but not yet committed
        done) | LC_ALL=C sort -z |
        tar -C "$root" --null --files-from=- --mtime="@$stamp" --owner=0 --group=0 \
            --numeric-owner --transform="flags=rh;s,^,skyfold-$version/," -cf - |
        gzip -9n >"$archive"
    sed -e "s/@VERSION@/$version/" -e "s/@SHA256@/$(sha256sum "$archive" | cut -d' ' -f1)/" \
        "$root/tools/release/arch/PKGBUILD" >"$out/PKGBUILD"
    sed "s/@VERSION@/$version/" "$root/tools/release/fedora/skyfold.spec" >"$out/skyfold.spec"
}

# Runs a packaging tool in a fresh folder, with no network where that can be had; its output goes
# to a log shown only if it fails.
skyfold_package_build() {  # folder, command...
    local folder=$1 offline=()
    shift
    if [ "$(id -u)" -eq 0 ] && unshare --net true 2>/dev/null; then
        offline=(unshare --net)
    fi
    (cd "$folder" && "${offline[@]}" "$@") >"$folder.log" 2>&1 || {
        local status=$?
        tail -n 40 "$folder.log" >&2
        return "$status"
    }
}

skyfold_arch_package() {
    local out=$1 work="$2/arch" version=$3 as_user=()
    skyfold_step "Building the Arch Linux package"
    rm -rf "$work"
    mkdir -p "$work"
    cp "$out/PKGBUILD" "$out/skyfold-$version.tar.gz" "$work/"
    # makepkg refuses root: as root it builds as the user the Wayland tests run sway as.
    if [ "$(id -u)" -eq 0 ]; then
        chown -R wlab "$work"
        as_user=(runuser -u wlab --)
    fi
    # Debian's makepkg.conf sets no compiler flags, no parallel build and another package format:
    # Arch's own, and the two jobs that suit this machine.
    local flags="-march=x86-64 -mtune=generic -O2 -pipe -fno-plt -fexceptions"
    flags+=" -Wp,-D_FORTIFY_SOURCE=3 -Wformat -Werror=format-security -fstack-clash-protection"
    flags+=" -fcf-protection"
    skyfold_package_build "$work" "${as_user[@]}" env PKGEXT=.pkg.tar.zst MAKEFLAGS=-j2 \
        CFLAGS="$flags" CXXFLAGS="$flags -Wp,-D_GLIBCXX_ASSERTIONS" \
        LDFLAGS="-Wl,-O1,--sort-common,--as-needed,-z,relro,-z,now" makepkg --nodeps --noconfirm
    cp "$work/skyfold-$version-1-x86_64.pkg.tar.zst" "$out/"
}

skyfold_fedora_package() {
    local out=$1 work="$2/rpm" version=$3
    skyfold_step "Building the Fedora package"
    rm -rf "$work"
    mkdir -p "$work/SOURCES"
    cp "$out/skyfold-$version.tar.gz" "$work/SOURCES/"
    skyfold_package_build "$work" rpmbuild -bb --nodeps --define "_topdir $work" "$out/skyfold.spec"
    cp "$work/RPMS/x86_64/skyfold-$version-1.x86_64.rpm" "$out/"
}
