#!/bin/bash
# The command line: help and version succeed; unknown flags and bad values fail with status 2
# and one clear line; without a display the game says so and points to --headless.
. "$(dirname "$0")/common.sh"
game=$1

"$game" --help > "$work/out" || fail "--help failed"
grep -q -- "--headless" "$work/out" || fail "--help does not list --headless"
"$game" --version | grep -qE '^calvora [0-9]+\.[0-9]+\.[0-9]+$' || fail "--version"

for args in "--bogus" "--frames" "--frames 0" "--frames x" "--frames=-3" "--fixed-step 0" \
            "--fixed-step nan" "--fixed-step 2" "--seed -1" "--seed 4294967296" "--headless=1" \
            "extra"; do
  set +e
  # shellcheck disable=SC2086
  "$game" $args > "$work/out" 2> "$work/err"
  status=$?
  set -e
  [ $status -eq 2 ] || fail "'$args' exited with $status, not 2"
  [ "$(wc -l < "$work/err")" -eq 1 ] || fail "'$args' did not print one line: $(cat "$work/err")"
  [ ! -s "$work/out" ] || fail "'$args' printed on standard output"
done
[ ! -e "$save" ] || fail "a refused command line touched the save folder"

set +e
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$game" --frames 5 2> "$work/err"
status=$?
set -e
[ $status -ne 0 ] || fail "a run without a display reported success"
[ "$(wc -l < "$work/err")" -eq 1 ] || fail "no-display message is not one line: $(cat "$work/err")"
grep -q -- "--headless" "$work/err" || fail "no-display message does not point to --headless"

# A display that turns the game away is a failure too, not a run without a window.
set +e
env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:197 "$game" --frames 5 2> "$work/err"
status=$?
set -e
[ $status -ne 0 ] || fail "a run on a display that refused it reported success"
grep -q "Failed to open the display" "$work/err" || fail "no message for a refused display: $(cat "$work/err")"
echo "ok"
