#!/usr/bin/env bash
# A new player solves the first puzzle by dragging the frog's limbs along its hint steps: each
# step moves one limb from its knob to the next, the goal pose wins, and the saved
# preferences.xml then holds puzzle 1000's record and names the next puzzle to resume.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb

PUZZLE="$WORK/data/puzzle/puzzle1000.xml"
[ -f "$PUZZLE" ] || fail "no puzzle1000.xml in the data folder"
mapfile -t STEPS < <(sed -n 's/.*<step pose="\([0-7]\{8\}\)".*/\1/p' "$PUZZLE")
[ "${#STEPS[@]}" -ge 2 ] || fail "puzzle1000 has no hint steps"

# Board cells to screen pixels: the critical view (x, y, w, h in cells) fills the 320 pixel width
# and is centred vertically on the 480 pixel screen.
IFS=, read -r VX VY VW VH < <(sed -n 's/.*criticalview="\([^"]*\)".*/\1/p' "$WORK/data/rules.xml")
screen_x() { echo $(((($1 - VX) * 2 + 1) * 320 / (2 * VW))); }
screen_y() { echo $(((480 - 320 * VH / VW) / 2 + (($1 - VY) * 2 + 1) * 320 / (2 * VW))); }
# The cell of limb (0 left hand .. 3 right foot) in a pose text: each limb is a "yx" digit pair,
# limb 0 last.
limb_x() { echo "${1:$((7 - 2 * $2)):1}"; }
limb_y() { echo "${1:$((6 - 2 * $2)):1}"; }

"$GAME" >"$WORK/out.log" 2>"$WORK/err.log" &
GAME_PID=$!
timeout 30 xdotool search --sync --onlyvisible --name '^Frog Pond$' >/dev/null || fail "no window named Frog Pond"
# The first run enters the first puzzle; start-up's burst of changes is saved once it is in play.
for _ in $(seq 1 150); do
    grep -q 'currentpuzzle="puzzle1000"' "$WORK/preferences.xml" 2>/dev/null && break
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early: $(cat "$WORK/err.log")"
    sleep 0.1
done
grep -q 'currentpuzzle="puzzle1000"' "$WORK/preferences.xml" 2>/dev/null || fail "the first puzzle never came into play"
sleep 2

# One drag: press on the limb's knob, move over in small steps, let go on the next knob.
drag() {
    local x0 y0 x1 y1 i
    x0=$(screen_x "$1") y0=$(screen_y "$2") x1=$(screen_x "$3") y1=$(screen_y "$4")
    xdotool mousemove --sync "$x0" "$y0" || fail "cannot move the pointer"
    sleep 0.2
    xdotool mousedown 1 || fail "cannot press"
    for i in 1 2 3 4 5 6 7 8; do
        xdotool mousemove --sync $((x0 + (x1 - x0) * i / 8)) $((y0 + (y1 - y0) * i / 8)) || fail "cannot drag"
        sleep 0.05
    done
    sleep 0.3
    xdotool mouseup 1 || fail "cannot release"
    sleep 1.5
}

for ((s = 1; s < ${#STEPS[@]}; ++s)); do
    from="${STEPS[s - 1]}" to="${STEPS[s]}" moved=0
    for limb in 0 1 2 3; do
        if [ "$(limb_x "$from" $limb)$(limb_y "$from" $limb)" != "$(limb_x "$to" $limb)$(limb_y "$to" $limb)" ]; then
            drag "$(limb_x "$from" $limb)" "$(limb_y "$from" $limb)" "$(limb_x "$to" $limb)" "$(limb_y "$to" $limb)"
            moved=$((moved + 1))
        fi
    done
    [ "$moved" -eq 1 ] || fail "hint step $from -> $to moves $moved limbs"
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during the moves: $(cat "$WORK/err.log")"
done

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
