# Sourced first by tools/setup, tools/run, tools/test and tools/dist (and by the helpers they
# share): strict mode, and a command that fails ends the script with one line naming the step it belonged
# to, the command and why, and with the command's status. No step ends silently, whatever the
# command printed (or, like Wine under >/dev/null, did not).
#   skyfold_step TEXT   says "TEXT ..." and names the step in a failure line until the next one
[ -z "${skyfold_steps_loaded:-}" ] || return 0
skyfold_steps_loaded=1
set -eEuo pipefail
skyfold_step_text=""

skyfold_step() {
    skyfold_step_text=$1
    echo "$1 ..."
}

# Why a status ended a command, in words.
skyfold_status_words() {
    local status=$1
    if [ "$status" -eq 126 ]; then
        echo "could not be executed (status 126: not executable, or a program this machine cannot" \
             "run, such as a 32-bit one)"
    elif [ "$status" -eq 127 ]; then
        echo "was not found (status 127)"
    elif [ "$status" -gt 128 ] && [ "$status" -lt 160 ]; then
        echo "was killed by SIG$(kill -l "$status") (status $status)"
    else
        echo "ended with status $status"
    fi
}

# The ERR trap: acts only where errexit would end the shell (not in a command substitution, whose
# status its caller judges), and speaks only in the script's own shell, so that a failing subshell
# gives one line, from the shell that ran it.
skyfold_step_failed() {
    local status=$1 command=$2
    [[ $- == *e* ]] || return 0
    if [ "$BASH_SUBSHELL" -eq 0 ]; then
        local where="$(basename "${BASH_SOURCE[1]:-$0}"):${BASH_LINENO[0]}" caller
        for caller in "${FUNCNAME[@]:1}"; do
            [[ $caller == main || $caller == source ]] || where+=" in $caller"
        done
        echo "tools/$(basename "$0")${skyfold_step_text:+": $skyfold_step_text"} failed:" \
             "'${command:0:160}' $(skyfold_status_words "$status") [$where]" >&2
    fi
    exit "$status"
}
trap 'skyfold_step_failed $? "$BASH_COMMAND"' ERR
