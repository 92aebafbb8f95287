# Sourced by tools/setup, tools/test and the Wine helpers: what this machine can run.
#   skyfold_runs_32bit   succeeds where the kernel runs 32-bit x86 programs
# NOTE: some machines of this project's kind run a kernel without IA-32 emulation. There Debian's
# wine script still prefers the 32-bit loader once wine32:i386 is installed, and every Wine call
# ends with "Exec format error" (126); only the 64-bit loader works.

# A complete i386 ELF program of 96 bytes that only calls exit(7): whether it runs is a fact of
# the kernel, whatever apt could or could not install.
skyfold_i386_exit7='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x07\x00\x00\x00\xcd\x80'
skyfold_i386_exit_status=7

skyfold_runs_32bit() {
    local program status=0
    # In the tree's build folder rather than /tmp, which some machines mount noexec.
    local folder
    folder="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build"
    mkdir -p "$folder" && program=$(mktemp "$folder/i386-probe.XXXXXX") || return 1
    printf "$skyfold_i386_exit7" >"$program"
    chmod +x "$program"
    "$program" 2>/dev/null || status=$?
    rm -f "$program"
    [ "$status" -eq "$skyfold_i386_exit_status" ]
}
