#!/usr/bin/env bash
# A new player solves the first puzzle by dragging the frog's limbs along its hint steps: each
# step moves one limb from its knob to the next, the goal pose wins, and the saved
# preferences.xml then holds puzzle 1000's record and names the next puzzle to resume.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb

mapfile -t STEPS < <(hint_steps puzzle1000)
[ "${#STEPS[@]}" -ge 2 ] || fail "puzzle1000 has no hint steps"

start_game
timeout 30 xdotool search --sync --onlyvisible --name '^Frog Pond$' >/dev/null || fail "no window named Frog Pond"
# The first run enters the first puzzle; start-up's burst of changes is saved once it is in play.
for _ in $(seq 1 150); do
    grep -q 'currentpuzzle="puzzle1000"' "$WORK/preferences.xml" 2>/dev/null && break
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early: $(cat "$WORK/err.log")"
    sleep 0.1
done
grep -q 'currentpuzzle="puzzle1000"' "$WORK/preferences.xml" 2>/dev/null || fail "the first puzzle never came into play"
sleep 2

solve_by_hints puzzle1000

# The win's record and the next puzzle are saved 2 to 3 s after the winning move.
for _ in $(seq 1 100); do
    grep -q 'currentpuzzle="puzzle1001"' "$WORK/preferences.xml" && grep -q 'puzzle1000="' "$WORK/preferences.xml" && break
    sleep 0.1
done
MOVES=$((${#STEPS[@]} - 1))
grep -q "puzzle1000=\"$MOVES," "$WORK/preferences.xml" ||
    fail "no record of puzzle1000 in $MOVES moves: $(cat "$WORK/preferences.xml")"
grep -q 'currentpuzzle="puzzle1001"' "$WORK/preferences.xml" ||
    fail "the next puzzle is not the one to resume: $(cat "$WORK/preferences.xml")"
stop_game
echo "1 passed, 0 failed"
