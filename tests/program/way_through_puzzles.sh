#!/usr/bin/env bash
# A new player's way through the puzzles, driven with real touches and keys: the start pane turns
# away to puzzle 1000, which is solved by dragging the limbs of its hint steps; a tap on the
# petal shower turns the screen over to the win pane; Return goes on to puzzle 1001, solved the
# same way, whose record then stands in preferences.xml. Escape opens the in-game menu, whose
# "Back to the pond" returns to the front end; a rotation key then turns the screen.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb

# Landscape shows the board whole without bars, so that a turned screen holds the same picture.
sed -i 's/letterboxmax="[^"]*"/letterboxmax="2"/' "$WORK/data/rules.xml"
"$GAME" >"$WORK/out.log" 2>"$WORK/err.log" &
GAME_PID=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Frog Pond$' >/dev/null || fail "no window named Frog Pond"
xdotool mousemove --sync 160 240 || fail "cannot move the pointer"
sleep 4

alive() {
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended $1: $(cat "$WORK/err.log")"
}
shot() {
    import -window root "$WORK/$1.png" 2>/dev/null || fail "no screenshot $1"
}
# Pixels of two screenshots that differ by more than the fuzz.
differing() {
    compare -metric AE -fuzz "${3:-12%}" "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 | cut -d' ' -f1
}
wait_saved_record() {
    for _ in $(seq 1 100); do
        [ -n "$(saved "$1")" ] && return 0
        alive "while waiting for the record of $1"
        sleep 0.1
    done
    fail "preferences.xml holds no record of $1: $(cat "$WORK/preferences.xml" 2>/dev/null)"
}

# Puzzle 1000: its hint steps, one limb each.
solve_by_hints puzzle1000
wait_saved_record puzzle1000
sleep 3 # the petals fly
shot shower
xdotool mousemove --sync 160 240 click 1 || fail "cannot tap the petals"
sleep 2
shot wingame
alive "after the tap on the petals"
changed=$(differing shower wingame)
[ "${changed:-0}" -gt 76800 ] || fail "the win pane changed only $changed pixels of the screen"

xdotool key Return || fail "cannot press Return"
sleep 2
alive "after Return"
# Puzzle 1001.
solve_by_hints puzzle1001
wait_saved_record puzzle1001
[ "$(saved currentpuzzle)" = puzzle1002 ] || fail "the next puzzle is not puzzle1002: $(cat "$WORK/preferences.xml")"

# Escape: the in-game menu over the won puzzle shows the win pane; Return leaves it for 1002,
# whose in-game menu leads back to the front end.
sleep 3
xdotool key Escape || fail "cannot press Escape"
sleep 2
xdotool key Return
sleep 2
xdotool key Escape
sleep 2
shot menu
xdotool mousemove --sync 160 298 click 1 || fail "cannot tap Back to the pond"
sleep 2
alive "after leaving the puzzle"
shot left
changed=$(differing menu left)
[ "${changed:-0}" -gt 76800 ] || fail "the in-game menu did not turn away ($changed pixels changed)"

shot upright
xdotool key 2 || fail "cannot press 2"
sleep 2
shot turned
convert "$WORK/upright.png" -gravity center -crop 300x300+0+0 +repage -rotate -90 "$WORK/upright-c.png"
convert "$WORK/turned.png" -gravity center -crop 300x300+0+0 +repage "$WORK/turned-c.png"
same=$(differing upright-c turned-c 20%)
[ "${same:-90000}" -lt 27000 ] || fail "the turned screen is not the upright one turned ($same pixels differ)"

stop_game
[ "$(saved currentpuzzle)" = "" ] || fail "leaving the puzzle did not return to the front end: $(cat "$WORK/preferences.xml")"
echo "1 passed, 0 failed"
