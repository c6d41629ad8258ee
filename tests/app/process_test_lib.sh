# Shared by the tests that run the built program as a real process.
# Sourced with the program's path as $1; sets program and work (a temporary
# folder removed at exit, together with any program still running as $pid).
# The program's machine-wide folder (working directory and lock) lies in
# $work/appdata, so the tests never touch the real one nor meet a copy that
# runs there.

program=$1
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$work"' EXIT
mkdir "$work/appdata"
export WINGHARBOUR_COMMON_APPDATA="$work/appdata"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
