#!/usr/bin/env bash
# A first run: the first puzzle opens with its tutorial's pane over the board; a tap goes on, the
# finger shows a move (which lands), and a last pane hands over. The player makes the second move
# and wins; once the petals are thrown the replay button plays the solution back, and the game
# ends on the goal with the win kept.
KEEP_TUTORIALS=1
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb
start_game

WINDOW=$(timeout 60 xdotool search --sync --onlyvisible --name '^Frog Pond$' | head -n 1)
[ -n "$WINDOW" ] || fail "no window named Frog Pond"
# The welcome pane covers the middle of the board; its text stands in its middle, so the panel is
# sampled just above the middle, between the title and the text.
wait_cream yes "160 226" 90
tap_away "160 226"
# The finger moves the left foot from (2, 6) to (0, 5): the move lands and is saved.
wait_saved_match currenthistory "63624443,63504443"
# The last pane, at the top, hands over; a tap ends the tutorial.
wait_cream yes "18 40" 30
tap_away "18 40"

# The player moves the right foot from (3, 6) to (2, 5), held there until it lands: the win.
drag_cells 3 6 2 5
wait_saved_match puzzle1000 "2,*"
[ "$(saved currentpuzzle)" = puzzle1001 ] || fail "the win names \"$(saved currentpuzzle)\" next"

# The replay button comes with the thrown petals; pressed, the solution plays back.
sleep 5
import -window root "$WORK/before.png" || fail "cannot take a screenshot"
# shellcheck disable=SC2046
xdotool mousemove --sync $(button_point "$(rule replay buttonposition)") click 1 || fail "cannot press the replay button"
sleep 2
import -window root "$WORK/during.png" || fail "cannot take a screenshot"
[ "$(compare -metric AE "$WORK/before.png" "$WORK/during.png" null: 2>&1)" != 0 ] ||
    fail "the screen did not change when the replay button was pressed"
# The press went to the replay, not to the petal shower beneath it (which opens the win pane).
is_cream 160 240 && fail "the press on the replay button opened the win pane"
# The replay rewinds to home and walks back to the goal: the win and the next puzzle stay.
sleep 8
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during the replay: $(cat "$WORK/err.log")"
case "$(saved puzzle1000)" in 2,*) ;; *) fail "the record changed: $(saved puzzle1000)" ;; esac
stop_game
