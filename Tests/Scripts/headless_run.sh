#!/bin/bash
# The game run headless in an empty home: settings written with their defaults, saves folder
# made, no error log; other INI content kept and out-of-range volumes clamped.
. "$(dirname "$0")/common.sh"
game=$1
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

"$game" --headless --frames 60 || fail "first run exited with $?"
[ -f "$save/Game.ini" ] || fail "no Game.ini"
expect_line "$save/Game.ini" "FullScreen=1"
expect_line "$save/Game.ini" "SfxVolume=10"
expect_line "$save/Game.ini" "MusicVolume=8"
[ -d "$save/Saves" ] || fail "no Saves folder"
[ -z "$(ls -A "$save/Saves")" ] || fail "Saves folder not empty"
[ ! -e "$save/Error.log" ] || fail "Error.log left behind"

cat > "$save/Game.ini" <<'INI'
; written by hand
[RENDERER]
FullScreen=0
Vsync=1

[AUDIO]
SfxVolume=25
MusicVolume=-3
Device=default

[Mods]
Enabled=yes
INI
printf 'old failure\r\n' > "$save/Error.log"
"$game" --headless --frames 5 --seed 7 --fixed-step 0.02 || fail "second run exited with $?"
for line in "; written by hand" "FullScreen=0" "Vsync=1" "SfxVolume=10" "MusicVolume=0" \
            "Device=default" "[Mods]" "Enabled=yes"; do
  expect_line "$save/Game.ini" "$line"
done
[ ! -e "$save/Error.log" ] || fail "an error-free run kept the old Error.log"

# A command-line display mode holds for that run only.
"$game" --headless --frames 3 --fullscreen || fail "third run exited with $?"
expect_line "$save/Game.ini" "FullScreen=0"
echo "ok"
