# Sourced by tools/run and tools/test: configures and builds one of the project's build trees.
#   skyfold_build native|win64|win32|web [cmake options...]
source "$(dirname "${BASH_SOURCE[0]}")/steps.sh"

skyfold_build() {
    local tree=$1
    shift
    local source_dir build_dir toolchain=() configure=()
    source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    build_dir="$source_dir/build/$tree"
    skyfold_step "Building $tree"
    case "$tree" in
        win64) toolchain=(-DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake") ;;
        win32) toolchain=(-DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-i686.cmake") ;;
        # NOTE: Debian's emcc finds its JavaScript modules only through NODE_PATH when the node on
        # PATH is not Debian's own; the emulator option keeps emcmake from adding a flag that
        # Node 20 refuses.
        web) export NODE_PATH=/usr/share/nodejs
             configure=(emcmake)
             toolchain=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node) ;;
    esac
    "${configure[@]}" cmake -S "$source_dir" -B "$build_dir" -G Ninja "${toolchain[@]}" "$@" >/dev/null
    local status=0
    ninja -C "$build_dir" -j 2 >"$build_dir/ninja.log" 2>&1 || status=$?
    grep -vE '^\[[0-9]+/[0-9]+\]|^ninja: (Entering|no work)' "$build_dir/ninja.log" || true
    return "$status"
}
