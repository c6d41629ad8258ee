# Shared by the tests that run the built program as a real process.
# Sourced with the program's path and its lock file as $1 and $2; sets
# program, lock and work (a temporary folder removed at exit, together with
# any program still running as $pid).

program=$1
lock=$2
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The lock is machine-wide: a copy already running elsewhere would make the
# test meaningless.
if command -v flock >/dev/null && [ -e "$lock" ] && ! flock -n "$lock" true; then
    echo "SKIP: another copy holds $lock" >&2
    exit 77
fi
