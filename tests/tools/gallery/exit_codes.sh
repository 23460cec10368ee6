#!/bin/sh
# The program's exit codes: 0 passed, 1 an expectation failed (the line is reported), 2 the
# script or the command line is in error; --help and --version exit 0.
gallery=$1
dir=$2
fail() { echo "FAIL: $*"; exit 1; }
out=$("$gallery" --headless --script "$dir/failing.txt" 2>&1); rc=$?
[ $rc -eq 1 ] || fail "failing script exited $rc"
echo "$out" | grep -q "failing.txt:2: expect Ed_ip_address 10.10.10.10" || fail "no line in: $out"
"$gallery" --headless --script "$dir/malformed.txt" 2>/dev/null; rc=$?
[ $rc -eq 2 ] || fail "malformed script exited $rc"
"$gallery" --headless --script "$dir/does-not-exist.txt" 2>/dev/null; rc=$?
[ $rc -eq 2 ] || fail "missing script exited $rc"
"$gallery" --headless --screen 12 2>/dev/null; rc=$?
[ $rc -eq 2 ] || fail "bad --screen exited $rc"
"$gallery" --help | grep -q -- "--script FILE" || fail "--help"
"$gallery" --version | grep -q "velmor-gallery" || fail "--version"
echo ok
