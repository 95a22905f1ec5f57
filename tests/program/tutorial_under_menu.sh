#!/usr/bin/env bash
# A player opens the in-game menu (Escape) while the first tutorial's finger shows a move: the
# menu covers the tutorial, which stands still behind it; Return turns the menu away, and so does
# a tap on "Resume" the second time. The tutorial then goes on where it was: the finger's move
# lands, and the last pane hands over to the player, who solves the puzzle.
KEEP_TUTORIALS=1
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb
start_game

DEMO_MOVE="63624443,63504443"
# Escape opens the menu once the screen has finished turning (a turn in progress ignores it, and
# the menu, once up, takes Escape as nothing): a few presses over two seconds, then the menu's
# panel must fill the middle of the screen.
open_menu() {
    for _ in 1 2 3 4 5; do
        xdotool key Escape || fail "cannot press Escape"
        sleep 0.4
    done
    wait_cream yes "160 240" 5
}
# While the menu is up nothing of the tutorial's top pane is drawn over the backdrop above it,
# and the finger's move is not made: watched for as long as the finger takes from its first note
# to lifting off the foot, and the save after it (2 to 3 s), so that a tutorial going on behind
# the menu would have saved its move.
MOVE_SECONDS=$(sed -n '/<point /,/<lift /s/.*duration="\([0-9.]*\)".*/\1/p' "$WORK/data/tutorial/first.xml" |
    awk '{ s += $1 } END { print int(s + 3.5) }')
[ "${MOVE_SECONDS:-0}" -gt 3 ] || fail "no step durations from the point to the lift in the first tutorial"
check_menu_holds() {
    sleep 0.5
    is_cream 160 30 && fail "a tutorial pane is drawn over the menu ($1)"
    sleep "$MOVE_SECONDS"
    [ "$(saved currenthistory)" != "$DEMO_MOVE" ] || fail "the finger's move went on behind the menu ($1)"
    is_cream 160 30 && fail "a tutorial pane came up over the menu ($1)"
}

WINDOW=$(timeout 60 xdotool search --sync --onlyvisible --name '^Frog Pond$' | head -n 1)
[ -n "$WINDOW" ] || fail "no window named Frog Pond"
# The welcome pane, sampled between its title and its text (which stands in its middle).
wait_cream yes "160 226" 90
tap_away "160 226"
# The finger is on its way to the left foot: the menu.
open_menu
check_menu_holds first
xdotool key Return || fail "cannot press Return"
wait_cream no "160 240" 5
# Again, and this time "Resume" is tapped.
open_menu
check_menu_holds second
xdotool mousemove --sync 157 388 mousemove --sync 160 391 click 1 || fail "cannot tap Resume"

# The tutorial goes on: the finger's move lands, and the last pane hands over.
wait_saved_match currenthistory "$DEMO_MOVE"
wait_cream yes "18 40" 30
tap_away "18 40"
drag_cells 3 6 2 5
wait_saved_match puzzle1000 "2,*"
stop_game
