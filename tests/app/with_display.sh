#!/usr/bin/env bash
# Runs the command given on a virtual display of its own and exits with its
# status. Unlike xvfb-run -a, the server picks a free display itself and names
# it once it takes clients, and it never resets: a server resets when its last
# client leaves (here each xdotool search), and a program that connects just
# then finds no display.
# Usage: with_display.sh <command> [<argument>...]
set -uo pipefail
dir=$(mktemp -d)
mkfifo "$dir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$dir"' EXIT
# The read ends at the number, or empty when the server ends first.
read -r number <"$dir/display"
if [ -z "${number:-}" ]; then
    echo "the virtual display did not start: $(cat "$dir/log")" >&2
    exit 125
fi
DISPLAY=":$number" "$@"
