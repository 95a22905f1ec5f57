#!/usr/bin/env bash
# A player who solved the first puzzle left the second half-played, its right hand moved to
# (0, 3). The next start comes back to the second puzzle, whose tutorial shows its moves from the
# home pose it was written for: the frog starts there again, the finger's move of the right hand
# to (2, 3) lands from home, and the first puzzle's result and the unlocked puzzles stay.
KEEP_TUTORIALS=1
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb

HOME_POSE=63625150
RECORD="3,1.000000,5.0,0,0"
echo "<preferences currentpuzzle=\"puzzle1001\" currenthistory=\"$HOME_POSE,63623050\"" \
    "puzzle1000=\"$RECORD\" unlocked=\"1002\"/>" >"$WORK/preferences.xml"
start_game
timeout 60 xdotool search --sync --onlyvisible --name '^Frog Pond$' >/dev/null || fail "no window named Frog Pond"

# Played over the saved pose, the finger would find no hand at (1, 5), and its swipes would take
# the player's own move back and make it again.
wait_saved_match currenthistory "$HOME_POSE,63623250"
[ "$(saved currentpuzzle)" = puzzle1001 ] || fail "the puzzle in play is \"$(saved currentpuzzle)\""
[ "$(saved puzzle1000)" = "$RECORD" ] || fail "the first puzzle's result became \"$(saved puzzle1000)\""
[ "$(saved unlocked)" -ge 1002 ] || fail "unlocked fell to \"$(saved unlocked)\""
stop_game
