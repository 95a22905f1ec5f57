#!/usr/bin/env bash
# The settings beside the in-game menu: on a first run puzzle 1000 is in play, Escape turns the
# screen over to the menu, its link "Settings" pans the pane to them, and dragging the music
# slider's knob to the left end turns the music off, which the saved preferences.xml shows
# ("musicvolume" 0) while the sound volume stays as it was. Coordinates are those of the 320x480
# screen with the menu centred on it.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb
start_game_until_drawn
xdotool mousemove --sync 160 240 || fail "cannot move the pointer"

# The volumes a new player starts with, once the start-up's save has written them.
wait_saved musicvolume 0.800000
sound="$(saved soundvolume)"
[ -n "$sound" ] || fail "no soundvolume in preferences.xml"

# The menu turns in; its link "Settings", held until the cursor has shown the press marker (a
# link fires only then); the pane eases over in 0.6 s.
xdotool key Escape || fail "cannot press Escape"
sleep 2.5
xdotool mousemove --sync 130 347 mousedown 1 || fail "cannot press Settings"
sleep 0.2
xdotool mouseup 1 || fail "cannot release Settings"
sleep 1.5
import -window root -crop 160x30+120+186 "$WORK/before.png" || fail "no screenshot"

# The music knob, at 0.8 of its track, dragged past the left end.
xdotool mousemove --sync 224 201 mousedown 1 || fail "cannot press the knob"
for x in 214 200 180 160 140 120 100 80; do
    xdotool mousemove --sync "$x" 202 || fail "cannot drag"
    sleep 0.05
done
xdotool mouseup 1 || fail "cannot release"
sleep 0.3
import -window root -crop 160x30+120+186 "$WORK/after.png" || fail "no screenshot"
changed=$(compare -metric AE "$WORK/before.png" "$WORK/after.png" null: 2>&1 | cut -d' ' -f1)
[ "${changed%.*}" -gt 100 ] 2>/dev/null || fail "the music slider looks the same after the drag ($changed pixels differ)"

wait_saved musicvolume 0.000000
[ "$(saved soundvolume)" = "$sound" ] || fail "soundvolume changed to $(saved soundvolume)"
stop_game
