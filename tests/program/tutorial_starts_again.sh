#!/usr/bin/env bash
# A first run: once the first tutorial's finger has moved the left foot, the player opens the menu.
# The tutorial stands still behind it, and nothing of it is drawn over the menu: not the pointer's
# ring where the finger last touched. The player taps "Start again". The frog goes home, the menu stays up with the line empty (the first
# puzzle offers no way back to the pond), and "Resume" turns it away. The tutorial then starts
# again from its first note, so its finger shows the move from home once more, and the player's
# one move wins.
KEEP_TUTORIALS=1
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
# The finger's lift lasts 5 s here instead of under one, time enough to open the menu between the
# move and the last note (which swallows keys and touches until it is tapped away).
sed -i 's/<lift duration="[^"]*"/<lift duration="5"/' "$WORK/data/tutorial/first.xml"
start_xvfb
start_game

timeout 60 xdotool search --sync --onlyvisible --name '^Frog Pond$' >/dev/null || fail "no window named Frog Pond"
wait_cream yes "160 226" 90
tap_away "160 226"
wait_saved_match currenthistory "63624443,63504443"
xdotool key Escape || fail "cannot press Escape"
pane_up
# The finger rises from the foot it put down on (0, 5): the menu's margin there is bare.
import -window root "$WORK/shot.png" || fail "cannot take a screenshot"
convert "$WORK/shot.png" -crop "$(on_view "0.6 * cell")x$(on_view "0.6 * cell")+$(board_x -0.3)+$(board_y 4.7)" \
    +repage -depth 8 -format '%[fx:int(255*minima.r)] %[fx:int(255*minima.g)] %[fx:int(255*minima.b)]' info: |
    awk '{ exit !($1 > 219 && $2 > 212 && $3 > 176) }' || fail "the pointer's ring is drawn over the menu"
xdotool mousemove --sync "$(pane_x 160)" "$(pane_y 306)" click 1 || fail "cannot tap Start again"
sleep 2
is_cream "$(pane_x 40)" "$(pane_y 240)" || fail "the menu went away on Start again"
xdotool mousemove --sync "$(pane_x 160)" "$(pane_y 391)" click 1 || fail "cannot tap Resume"
pane_gone

# Left on its step, the tutorial would hand over at once with the left foot back at home.
wait_cream yes "160 226" 15
tap_away "160 226"
wait_cream yes "18 40" 30
tap_away "18 40"
drag_cells 3 6 2 5
wait_saved_match puzzle1000 "2,*"
stop_game
