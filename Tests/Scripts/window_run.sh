#!/bin/bash
# The game in a real window under Xvfb (titled by its language): the client size follows the desktop (85 % in the
# limiting direction, 16 : 10), centred; it quits in order after its frames or when asked to end;
# a second copy exits at once, touching nothing, and raises the first above other windows; the
# display-mode keys reach the game.
. "$(dirname "$0")/common.sh"
game=$1
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy

# -noreset: by default the server resets when its last client leaves, and a copy of the game that
# connects during that reset is turned away; SDL then quietly falls back to its offscreen driver
# and the copy runs without a window. The copies below start right after one another.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3> "$work/display" 2> "$work/xvfb.log" &
xvfb=$!
on_exit "kill $xvfb 2>/dev/null || true"
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(cat "$work/display")"

# Runs its frames and quits in order.
"$game" --windowed --frames 120 || fail "windowed run exited with $?"
expect_line "$save/Game.ini" "FullScreen=1"
[ ! -e "$save/Error.log" ] || fail "Error.log after a clean windowed run"

# A copy that keeps running: its window's place and size.
"$game" --windowed > "$work/first.log" 2>&1 &
first=$!
on_exit "kill $first 2>/dev/null || true"
for _ in $(seq 100); do xwininfo -name Calvora > "$work/geometry" 2>/dev/null && break; sleep 0.1; done
expect_line <(sed 's/^ *//' "$work/geometry") "Absolute upper-left X:  226"
expect_line <(sed 's/^ *//' "$work/geometry") "Absolute upper-left Y:  81"
expect_line <(sed 's/^ *//' "$work/geometry") "Width: 1468"
expect_line <(sed 's/^ *//' "$work/geometry") "Height: 918"

# Another program's window covers the game...
xmessage -geometry 1920x1080+0+0 "cover" 2> /dev/null &
cover=$!
on_exit "kill $cover 2>/dev/null || true"
top_window() { xwininfo -root -children | grep -E '^ +0x' | head -n 1; }
for _ in $(seq 100); do top_window | grep -q xmessage && break; sleep 0.1; done
top_window | grep -q xmessage || fail "the covering window did not appear"

# ...and a second copy brings the game back to the top, then exits without touching any file.
before=$(cat "$save/Game.ini")
start=$(date +%s%N)
"$game" --windowed --frames 1 || fail "second copy exited with $?"
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$elapsed_ms" -lt 3000 ] || fail "second copy took ${elapsed_ms} ms to exit"
for _ in $(seq 50); do top_window | grep -q '"Calvora"' && break; sleep 0.1; done
top_window | grep -q '"Calvora"' || fail "the first copy was not raised: $(top_window)"
[ "$(cat "$save/Game.ini")" = "$before" ] || fail "the second copy changed Game.ini"
[ ! -e "$save/Error.log" ] || fail "the second copy wrote Error.log"
kill -0 $first || fail "the first copy ended"

# F11 and then Alt+Enter, each held for a moment as a player would: two switches, so the run
# ends in a window, and since the player switched, that choice is what gets saved.
xdotool mousemove 600 500
xdotool keydown F11; sleep 0.2; xdotool keyup F11; sleep 0.2
xdotool keydown alt keydown Return; sleep 0.2; xdotool keyup Return keyup alt; sleep 0.2

# Asked to end (as the session does at logout), the first copy shuts down in order.
rm "$save/Game.ini"
kill -TERM $first
for _ in $(seq 100); do kill -0 $first 2>/dev/null || break; sleep 0.1; done
wait $first || fail "the first copy exited with $? after SIGTERM"
[ -f "$save/Game.ini" ] || fail "Game.ini not written at the end of the run"
expect_line "$save/Game.ini" "FullScreen=0"
echo "ok"
