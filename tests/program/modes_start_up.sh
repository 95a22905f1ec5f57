#!/usr/bin/env bash
# The start-up sequence seen from outside, through the preferences.xml the game leaves behind:
# a first run enters the front end and then the first puzzle, which stays in play at SIGTERM and
# is kept for the next start; a player with a result for the first puzzle who left from the front
# end starts there and stays there, the front end drawing every frame until the end.
source "$(dirname "$0")/common.bash"
copy_game
start_xvfb

start_game_until_drawn
stop_game
grep -q 'currentpuzzle="puzzle1000"' "$WORK/preferences.xml" ||
    fail "a first run did not keep the first puzzle in play: $(cat "$WORK/preferences.xml")"

# Left from the front end last time, with a result for the first puzzle: "currentpuzzle" is
# present and empty. (Without that result an empty one counts as absent: the first puzzle again.)
# The first run's empty record of the puzzle makes way for the result.
sed -i 's/currentpuzzle="[^"]*"/currentpuzzle=""/; s/ puzzle1000="[^"]*"//;
        s/<preferences/<preferences puzzle1000="3,1.000000,20.000000,0,0"/' "$WORK/preferences.xml"
start_game_until_drawn
sleep 1
import -window root "$WORK/later.png" 2>/dev/null
pixel=$(convert "$WORK/later.png" -format '%[hex:p{10,10}]' info: 2>/dev/null | tr 'A-F' 'a-f')
[ "${pixel:0:6}" = "$CLEAR_HEX" ] || fail "the front end stopped drawing: pixel is #${pixel:0:6}"
stop_game
grep -q 'currentpuzzle=""' "$WORK/preferences.xml" ||
    fail "the front end did not stay the starting mode: $(cat "$WORK/preferences.xml")"
grep -q 'currenthistory=""' "$WORK/preferences.xml" ||
    fail "leaving from the front end kept a history: $(cat "$WORK/preferences.xml")"
echo "1 passed, 0 failed"
