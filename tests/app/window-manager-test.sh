#!/bin/bash
# scripts/run hands Vidkiln's windows to a window manager only when the
# display has one: on a bare display nothing would ever take a minimised
# window back, so Wine keeps the windows itself there.
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/wine-env.sh"
dir=$(mktemp -d)
trap 'kill "$(cat "$dir/xvfb.pid" 2>/dev/null)" 2>/dev/null || true; rm -rf "$dir"' EXIT
wine_env_start_display "$dir"
display=:$(cat "$dir/display")
failures=0
expect() {
    local wanted=$1 what=$2 found=no
    wine_env_window_manager "$display" && found=yes
    if [ "$found" != "$wanted" ]; then
        echo "FAIL: $what: window manager $found, expected $wanted"
        failures=$((failures + 1))
    fi
}
announce() {
    DISPLAY=$display xprop -root -f _NET_SUPPORTING_WM_CHECK 32x -set _NET_SUPPORTING_WM_CHECK "$1"
}

expect no "a bare display"
root=$(DISPLAY=$display xwininfo -root | grep -o 'Window id: 0x[0-9a-fA-F]*' | grep -o '0x[0-9a-fA-F]*')
# A window id that no window has: the manager that set it has ended.
announce 0x7ffff00
expect no "a window manager that has ended"
# The root window stands in for a manager's check window: it names itself.
announce "$root"
expect yes "a window manager that announces itself"
exit $((failures > 0))
