#!/usr/bin/env bash
# Arguments that the window toolkit knows for itself (-reverse, -style ...)
# are arguments like any other: the program stops at them with its message,
# before it writes a log.
# Usage: toolkit_option_test.sh <path of the built program>
set -uo pipefail

. "$(dirname "$0")/process_test_lib.sh"

cp "$program" "$work/WingharbourClient"
for args in "-reverse" "-style=Fusion" "-widgetcount" "-platform offscreen"; do
    rm -f "$work/WingharbourClient.LOG"
    # shellcheck disable=SC2086 # each case is split into its arguments
    QT_QPA_PLATFORM=offscreen "$work/WingharbourClient" $args >"$work/out" 2>&1 &
    pid=$!
    # A started program writes its log at once; the stop waits in its
    # message box, which nobody answers here.
    for _ in $(seq 30); do
        [ -e "$work/WingharbourClient.LOG" ] && fail "'$args' was taken and the program started"
        kill -0 "$pid" 2>/dev/null || fail "'$args': the program ended without its message: $(cat "$work/out")"
        sleep 0.05
    done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    pid=""
done
echo "PASS"
