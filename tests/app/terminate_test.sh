#!/usr/bin/env bash
# Asked to end by a signal (logout's SIGTERM, Ctrl+C's SIGINT), the program
# closes as its Close button does: status 0, settings written.
# Usage: terminate_test.sh <path of the built program>
set -uo pipefail

. "$(dirname "$0")/process_test_lib.sh"

for signal in TERM INT HUP; do
    rm -rf "$work/run" && mkdir "$work/run"
    cp "$program" "$work/run/WingharbourClient"
    QT_QPA_PLATFORM=offscreen "$work/run/WingharbourClient" >"$work/out" 2>&1 &
    pid=$!
    for _ in $(seq 200); do
        [ -s "$work/run/WingharbourClient.LOG" ] && break
        sleep 0.05
    done
    [ -s "$work/run/WingharbourClient.LOG" ] || fail "the program did not start its log"
    # The handlers come after the log: wait until the kernel shows the signal caught.
    number=$(kill -l "$signal")
    for _ in $(seq 200); do
        mask=$(awk '/^SigCgt:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
        [ -n "$mask" ] && (( (16#$mask >> (number - 1)) & 1 )) && break
        sleep 0.05
    done
    kill -s "$signal" "$pid"
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$pid" 2>/dev/null && fail "SIG$signal did not end the program"
    wait "$pid"
    status=$?
    pid=""
    [ "$status" -eq 0 ] || fail "SIG$signal: exit status $status"
    # The Welcome keys; the window's layout has a section of its own.
    keys=$(tr -d '\r' <"$work/run/WingharbourClient.ini" 2>/dev/null |
           awk '/^\[/ { section = $0 } section == "[Welcome]" && /=/' | wc -l)
    [ "$keys" = 7 ] || fail "SIG$signal: settings not written (${keys:-no file})"
done
echo "PASS"
