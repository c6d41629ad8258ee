#!/usr/bin/env bash
# Starts the program on the virtual display with_display.sh gives, clicks Next
# once the window is up, waits until <file> exists (the load's result), and
# ends the program with SIGTERM, which closes it as Close does.
# Prints "loaded", "nowindow", "notloaded", "errorbox" or "exit <status>".
# Usage: with_display.sh press_next.sh <program> <file>
set -uo pipefail
program=$1
file=$2
QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
pid=$!
trap 'kill -9 "$pid" 2>/dev/null' EXIT
window=
for _ in $(seq 200); do
    window=$(xdotool search --onlyvisible --name '^Project Wingharbour$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
done
[ -n "$window" ] || { echo nowindow; exit 0; }
eval "$(xdotool getwindowgeometry --shell "$window")"
# The bottom bar (32 px) sits above the 20-pixel status panel; its 75x25
# buttons are anchored to the right: Back, Next, Close. A click that comes
# before the window takes input is lost: click again until the load ends
# (Next is disabled on the page the load leads to).
for _ in $(seq 20); do
    xdotool mousemove --window "$window" $((WIDTH - 6 - 75 - 6 - 37)) $((HEIGHT - 20 - 32 + 3 + 12)) click 1
    for _ in $(seq 20); do
        [ -e "$file" ] && break 2
        sleep 0.05
    done
done
[ -e "$file" ] || { echo notloaded; exit 0; }
sleep 1
if [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" -ne 1 ]; then
    echo errorbox
    exit 0
fi
kill -TERM "$pid"
wait "$pid"
echo "exit $?"
