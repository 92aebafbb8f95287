#!/usr/bin/env bash
# Runs a Windows test program as on a display scaled to the given DPI (96 is 100 %): Wine reads the
# user's "LogPixels" when a process starts, so the value is set around the run and removed after.
#   at_display_scale.sh <dpi> <program> [arguments...]
set -euo pipefail
dpi=$1
shift
key='HKCU\Control Panel\Desktop'
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f </dev/null >/dev/null 2>&1
trap 'wine reg delete "$key" /v LogPixels /f </dev/null >/dev/null 2>&1' EXIT
"$(dirname "$0")/../../tools/lib/wine_run" "$@"
