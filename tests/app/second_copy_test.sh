#!/usr/bin/env bash
# A second copy of the program, started while a first one runs, must tell the
# user in a message box and end with status 0, without a log or settings file.
# A lock file that is not a regular file stops the program with status 1.
# Usage: second_copy_test.sh <path of the built program>
set -uo pipefail

. "$(dirname "$0")/process_test_lib.sh"
first=""
trap '[ -n "$first" ] && kill "$first" 2>/dev/null && wait "$first" 2>/dev/null; rm -rf "$work"' EXIT

mkdir "$work/first" "$work/second"
cp "$program" "$work/first/WingharbourClient"
cp "$program" "$work/second/WingharbourClient"

QT_QPA_PLATFORM=offscreen "$work/first/WingharbourClient" >"$work/first.out" 2>&1 &
first=$!
for _ in $(seq 200); do
    [ -s "$work/first/WingharbourClient.LOG" ] && break
    sleep 0.05
done
[ -s "$work/first/WingharbourClient.LOG" ] || fail "the first copy did not start its log"
first_log=$(cat "$work/first/WingharbourClient.LOG")

# Starts $1 on a virtual display, answers its message box (modal; found by
# its title) with Return and sets result: "nobox", "hung" or "exit <status>".
answer_box() {
    rm -f "$work/result"
    "$(dirname "$0")/with_display.sh" bash -c '
    QT_QPA_PLATFORM=xcb "$1" >"$2/second.out" 2>&1 &
    pid=$!
    win=""
    for _ in $(seq 200); do
        win=$(xdotool search --onlyvisible --name "^Wingharbourclient$" 2>/dev/null | head -1)
        [ -n "$win" ] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    if [ -z "$win" ]; then
        kill "$pid" 2>/dev/null
        echo "nobox" >"$2/result"
        exit 0
    fi
    # A key that comes before the box takes the focus is lost: Return again
    # until the program ends.
    for _ in $(seq 40); do
        xdotool windowfocus --sync "$win" key Return 2>/dev/null
        for _ in 1 2 3 4 5; do
            kill -0 "$pid" 2>/dev/null || break 2
            sleep 0.05
        done
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        echo "hung" >"$2/result"
        exit 0
    fi
    wait "$pid"
    echo "exit $?" >"$2/result"
' _ "$1" "$work" || fail "the virtual display failed"
    result=$(cat "$work/result" 2>/dev/null)
}

lock="$work/appdata/Wingharbour/WingharbourClient.lock"
[ -f "$lock" ] || fail "the first copy holds no lock file in its working directory"

answer_box "$work/second/WingharbourClient"
case "$result" in
    nobox) fail "the second copy showed no message box: $(cat "$work/second.out")" ;;
    hung) fail "the second copy did not end after its box was answered: $(cat "$work/second.out")" ;;
    "exit 0") ;;
    *) fail "the second copy ended with '$result'" ;;
esac
[ -e "$work/second/WingharbourClient.LOG" ] && fail "the second copy created a log"
[ -e "$work/second/WingharbourClient.ini" ] && fail "the second copy created settings"
kill -0 "$first" 2>/dev/null || fail "the first copy did not survive"
[ "$(cat "$work/first/WingharbourClient.LOG")" = "$first_log" ] || fail "the first copy's log changed"

# A lock file that cannot be opened (here a FIFO another user planted) is
# an error, not an unguarded start: a box, status 1, no log.
kill "$first" && wait "$first" 2>/dev/null
first=""
rm -f "$lock" && mkfifo "$lock"
rm -f "$work/second/WingharbourClient.LOG" "$work/second/WingharbourClient.ini"
answer_box "$work/second/WingharbourClient"
[ "$result" = "exit 1" ] || fail "with a FIFO as lock file the program ended with '$result': $(cat "$work/second.out")"
[ -e "$work/second/WingharbourClient.LOG" ] && fail "with a FIFO as lock file the program created a log"
echo "PASS"
