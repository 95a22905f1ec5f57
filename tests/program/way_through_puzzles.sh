#!/usr/bin/env bash
# A new player's way through the puzzles at the screen's size, driven with real touches and keys:
# the start pane turns away to puzzle 1000, which is solved by dragging the limbs of its hint
# steps. Once the petals are thrown the replay button, tapped, plays the solution back (and the
# tap does not open the win pane); the menu button then turns the screen over to the win pane,
# whose "Next puzzle" goes on to puzzle 1001. There a move and its undo offer the hint button,
# whose tap draws the pose to aim for on the board; solved by its hint steps, puzzle 1001's record
# counts the hint. Escape opens the in-game menu, whose "Back to the pond" returns to the front
# end; started again with landscape shown whole, a rotation key turns the screen.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb

alive() {
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended $1: $(cat "$WORK/err.log")"
}
start() {
    start_game
    timeout 20 xdotool search --sync --onlyvisible --name '^Frog Pond$' >/dev/null || fail "no window named Frog Pond"
    xdotool mousemove --sync "$(pane_x 160)" "$(pane_y 240)" || fail "cannot move the pointer"
    sleep 4
}
shot() {
    import -window root "$WORK/$1.png" 2>/dev/null || fail "no screenshot $1"
}
# Pixels of two screenshots that differ by more than the fuzz, within the crop (WxH+X+Y) if
# given.
differing() {
    local crop=()
    [ -n "${4:-}" ] && crop=(-crop "$4")
    compare -metric AE -fuzz "${3:-12%}" "${crop[@]}" "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 | cut -d' ' -f1
}
# A tap: the pointer arrives first, as a finger's touch does.
tap() {
    xdotool mousemove --sync "$(($1 - 3))" "$(($2 - 3))" mousemove --sync "$1" "$2" click 1 || fail "cannot tap $3"
    sleep 0.5
}
wait_saved_record() {
    for _ in $(seq 1 100); do
        [ -n "$(saved "$1")" ] && return 0
        alive "while waiting for the record of $1"
        sleep 0.1
    done
    fail "preferences.xml holds no record of $1: $(cat "$WORK/preferences.xml" 2>/dev/null)"
}
# Half the pixels of the viewport (the letterbox's bars beside it never change).
HALF_VIEW=$(on_view "vw * vh / 2")
# The board (cells -0.5 to 7.5), where the ghost of a hint shows.
BOARD="$(($(board_x 7.5) - $(board_x -0.5)))x$(($(board_y 7.5) - $(board_y -0.5)))+$(board_x -0.5)+$(board_y -0.5)"
start

# Puzzle 1000: its hint steps, one limb each.
solve_by_hints puzzle1000
wait_saved_record puzzle1000
record=$(saved puzzle1000)

# The petals fly and the replay button fades in; tapped, the solved scene wipes away and the
# moves play again, with no win pane.
sleep 4
shot shower
# shellcheck disable=SC2046
tap $(button_point "$(rule replay buttonposition)") "the replay button"
sleep 1.5
shot replaying
alive "after the tap on the replay button"
changed=$(differing shower replaying)
[ "${changed:-0}" -gt $((HALF_VIEW / 8)) ] || fail "the replay button changed only $changed pixels of the screen"
# A tap beside the button would have gone to the petal shower, which opens the win pane.
is_cream "$(pane_x 160)" "$(pane_y 240)" && fail "the tap on the replay button opened the win pane"
sleep 8
alive "during the replay"
[ "$(saved puzzle1000)" = "$record" ] || fail "the replay changed the record to $(saved puzzle1000)"

# The menu button: the win pane, over the won puzzle; "Next puzzle" goes on to puzzle 1001.
shot replayed
tap "$(pane_x 160)" "$(bottom_y 435)" "the menu button"
pane_up
shot wingame
changed=$(differing replayed wingame)
[ "${changed:-0}" -gt "$HALF_VIEW" ] || fail "the win pane changed only $changed pixels of the screen"
tap "$(pane_x 160)" "$(pane_y 280)" "Next puzzle"
pane_gone

# Puzzle 1001: its first move and the undo button offer the hint button; its tap shows the ghost.
mapfile -t STEPS < <(hint_steps puzzle1001)
# shellcheck disable=SC2046
drag_cells $(moved_limb "${STEPS[0]}" "${STEPS[1]}")
tap "$(pane_x 48)" "$(bottom_y 435)" "the undo button"
sleep 1.5
shot unhinted
# shellcheck disable=SC2046
tap $(button_point "$(rule hints buttonposition)") "the hint button"
shot hinted
changed=$(differing unhinted hinted 3% "$BOARD")
[ "${changed:-0}" -gt $((HALF_VIEW / 400)) ] || fail "the hint button changed $changed pixels of the board"
solve_by_hints puzzle1001
wait_saved_record puzzle1001
[ "$(saved currentpuzzle)" = puzzle1002 ] || fail "the next puzzle is not puzzle1002: $(cat "$WORK/preferences.xml")"
hints=$(saved puzzle1001 | cut -d, -f5)
[ "${hints:-0}" -ge 1 ] || fail "the record $(saved puzzle1001) counts no hint"

# Escape: the in-game menu over the won puzzle shows the win pane; Return leaves it for 1002,
# whose in-game menu leads back to the front end.
sleep 3
xdotool key Escape || fail "cannot press Escape"
pane_up
xdotool key Return
pane_gone
xdotool key Escape
pane_up
shot menu
tap "$(pane_x 160)" "$(pane_y 306)" "Back to the pond"
sleep 3
alive "after leaving the puzzle"
shot left
changed=$(differing menu left)
[ "${changed:-0}" -gt "$HALF_VIEW" ] || fail "the in-game menu did not turn away ($changed pixels changed)"
stop_game
[ "$(saved currentpuzzle)" = "" ] || fail "leaving the puzzle did not return to the front end: $(cat "$WORK/preferences.xml")"

# Landscape shown whole, without bars, so that a turned screen holds the same picture: the
# middle of the screen, turned back, is the upright one.
sed -i 's/letterboxmax="[^"]*"/letterboxmax="2"/' "$WORK/data/rules.xml"
start
shot upright
xdotool key 2 || fail "cannot press 2"
sleep 2
shot turned
side=$((SCREEN_W < SCREEN_H ? SCREEN_W * 15 / 16 : SCREEN_H * 15 / 16))
convert "$WORK/upright.png" -gravity center -crop "${side}x${side}+0+0" +repage -rotate -90 "$WORK/upright-c.png"
convert "$WORK/turned.png" -gravity center -crop "${side}x${side}+0+0" +repage "$WORK/turned-c.png"
same=$(differing upright-c turned-c 20%)
[ "${same:-$((side * side))}" -lt $((side * side * 3 / 10)) ] || fail "the turned screen is not the upright one turned ($same pixels differ)"
stop_game
echo "1 passed, 0 failed"
