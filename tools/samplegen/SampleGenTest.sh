#!/bin/sh
# Checks of the sample generator, each in fresh temporary folders.
#   SampleGenTest.sh layout|deterministic|foreign-folder <generator> <checker>
set -eu
mode=$1
generator=$2
checker=$3
a=$(mktemp -d)
b=$(mktemp -d)
trap 'rm -rf "$a" "$b"' EXIT

case $mode in
  layout)
    # Every file the catalogue names is there and matches its size and time.
    "$generator" "$a"
    "$checker" "$a"
    ;;
  deterministic)
    # Catalogue sizes and time stamps must not change from run to run, and a
    # second run over an earlier sample must give the same result.
    "$generator" "$a" >/dev/null
    "$generator" "$b" >/dev/null
    "$generator" "$b" >/dev/null
    diff -r "$a" "$b"
    ;;
  foreign-folder)
    # Folders the generator did not make are not wiped.
    mkdir "$a/source"
    echo mine >"$a/source/keep.txt"
    if "$generator" "$a" 2>/dev/null; then
      echo "the generator overwrote a folder it did not make" >&2
      exit 1
    fi
    test -f "$a/source/keep.txt"
    ;;
  *)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac
