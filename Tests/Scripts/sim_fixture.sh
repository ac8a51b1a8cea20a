#!/bin/bash
# Runs a mission script and compares what it prints with the expected output beside it
# (<name>.out; <name>.err and <name>.status when the script is meant to fail).
set -u
sim=$1
script=$2
base=${script%.sim}
work=$(mktemp -d "${TMPDIR:-/tmp}/calvora-sim-XXXXXX")
trap 'rm -rf "$work"' EXIT
# Run in a copy of the fixture folder, so files a script writes stay out of the source tree.
mkdir "$work/run"
cp -r "$(dirname "$script")"/. "$work/run/"
# The shipped English texts, for scripts that show what the player reads.
cp "$(dirname "$0")/../../Data/Languages/English/Language.txt" "$work/run/english.lang"
cd "$work/run"
"$sim" "$(basename "$script")" > "$work/out" 2> "$work/err"
status=$?
expected_status=0
[ -f "$base.status" ] && expected_status=$(cat "$base.status")
ok=1
[ "$status" -eq "$expected_status" ] || { echo "exit status $status, expected $expected_status"; ok=0; }
diff -u "$base.out" "$work/out" || ok=0
if [ -f "$base.err" ]; then diff -u "$base.err" "$work/err" || ok=0
elif [ -s "$work/err" ]; then echo "unexpected standard error:"; cat "$work/err"; ok=0; fi
[ $ok -eq 1 ] && echo "ok"
[ $ok -eq 1 ]
