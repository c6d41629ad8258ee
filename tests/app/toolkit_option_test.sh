#!/usr/bin/env bash
# Arguments that the window toolkit knows for itself (-reverse, -style ...)
# are arguments like any other: the program stops at them with its message,
# before it writes a log.
# Usage: toolkit_option_test.sh <path of the built program>
set -uo pipefail

. "$(dirname "$0")/process_test_lib.sh"

# The cases run side by side, each in folders of its own, so that no copy
# meets another's lock.
cases=("-reverse" "-style=Fusion" "-widgetcount" "-platform offscreen")
pids=()
trap 'kill -9 "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
for i in "${!cases[@]}"; do
    mkdir -p "$work/$i/appdata" && cp "$program" "$work/$i/WingharbourClient"
    # shellcheck disable=SC2086 # each case is split into its arguments
    WINGHARBOUR_COMMON_APPDATA="$work/$i/appdata" QT_QPA_PLATFORM=offscreen "$work/$i/WingharbourClient" ${cases[$i]} >"$work/$i/out" 2>&1 &
    pids+=($!)
done
# A started program writes its log at once; the stop waits in its message
# box, which nobody answers here.
for _ in $(seq 30); do
    for i in "${!cases[@]}"; do
        [ -e "$work/$i/WingharbourClient.LOG" ] && fail "'${cases[$i]}' was taken and the program started"
        kill -0 "${pids[$i]}" 2>/dev/null ||
            fail "'${cases[$i]}': the program ended without its message: $(cat "$work/$i/out")"
    done
    sleep 0.05
done
echo "PASS"
