# Sourced by tools/run and tools/test: configures and builds one of the project's build trees.
#   skyfold_build native|win64|win32 [cmake options...]

skyfold_build() {
    local tree=$1
    shift
    local source_dir build_dir toolchain=()
    source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
    build_dir="$source_dir/build/$tree"
    case "$tree" in
        win64) toolchain=(-DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake") ;;
        win32) toolchain=(-DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-i686.cmake") ;;
    esac
    cmake -S "$source_dir" -B "$build_dir" -G Ninja "${toolchain[@]}" "$@" >/dev/null
    local status=0
    ninja -C "$build_dir" -j 2 >"$build_dir/ninja.log" 2>&1 || status=$?
    grep -vE '^\[[0-9]+/[0-9]+\]|^ninja: (Entering|no work)' "$build_dir/ninja.log" || true
    return "$status"
}
