#!/usr/bin/env bash
# The hint button as a player meets it in puzzle 1000: a move and its undo offer the button, a
# press on it draws the ghost of the pose to aim for on the board, and the puzzle, then solved by
# its hint steps, keeps the hint used in its record.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb
export SDL_AUDIODRIVER=dummy

start_game
sleep 6
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early: $(cat "$WORK/err.log")"

# A tap: the pointer arrives first, as a finger's touch does.
tap() {
    xdotool mousemove --sync "$(($1 - 3))" "$(($2 - 3))" mousemove --sync "$1" "$2" click 1
    sleep 0.5
}
# Pixels that differ between two screenshots inside the board (cells 0..6 across, 1..7 down).
board_change() {
    compare -metric AE -fuzz 3% -crop 250x250+30+130 "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

tap 160 325 # "Play" on the title pane
sleep 2
# The first hint move is made and taken back by a swipe to the left: one undo offers the button.
mapfile -t STEPS < <(hint_steps puzzle1000)
# shellcheck disable=SC2046
drag_cells $(moved_limb "${STEPS[0]}" "${STEPS[1]}")
xdotool mousemove --sync 290 440 mousedown 1
for x in 260 220 180 140 100; do xdotool mousemove --sync "$x" 440; done
xdotool mouseup 1
sleep 1.5
import -window root "$WORK/before.png"
# shellcheck disable=SC2046
tap $(button_point "$(rule hints buttonposition)") # the button
import -window root "$WORK/after.png"
changed=$(board_change "$WORK/before.png" "$WORK/after.png")
[ "${changed:-0}" -gt 200 ] || fail "the hint button changed $changed pixels of the board"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended: $(cat "$WORK/err.log")"

# The hint steps of puzzle 1000.
solve_by_hints puzzle1000
for _ in $(seq 1 50); do
    grep -q 'puzzle1000="' "$WORK/preferences.xml" 2>/dev/null && break
    sleep 0.2
done
record=$(sed -n 's/.*puzzle1000="\([^"]*\)".*/\1/p' "$WORK/preferences.xml" | head -n 1)
[ -n "$record" ] || fail "no record of puzzle1000: $(cat "$WORK/preferences.xml")"
hints=$(echo "$record" | cut -d, -f5)
[ "${hints:-0}" -ge 1 ] || fail "the record $record counts no hint"
stop_game
echo "1 passed, 0 failed"
