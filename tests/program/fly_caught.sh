#!/usr/bin/env bash
# The win seen by a player: on the first puzzle (puzzle 1000), the fly lands on its resting place
# ahead of the goal (the hands' midpoint, moved the pond's "restdistance" along the way the goal
# faces); the drags of the hint's moves win, and within the win's time the frog's tongue has
# taken the fly from there. A fly there leaves a busy patch, the water alone a smooth one.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb
start_game

PUZZLE="$WORK/data/puzzle/puzzle1000.xml"
GOAL=$(sed -n 's/.*<goal pose="\([0-7]\{8\}\)".*/\1/p' "$PUZZLE")
POND=$(sed -n 's/.*<pond [^>]*template="\([^"]*\)".*/\1/p' "$PUZZLE")
REST=$(sed -n 's/.*<fly [^>]*restdistance="\([^"]*\)".*/\1/p' "$WORK/data/pond/$POND.xml" | head -n 1)
read -r RX RY < <(awk -v g="$GOAL" -v d="${REST:-1}" 'BEGIN {
    for (l = 0; l < 4; ++l) { x[l] = substr(g, 8 - 2 * l, 1); y[l] = substr(g, 7 - 2 * l, 1) }
    hx = x[0] - x[2] + x[1] - x[3]; hy = y[0] - y[2] + y[1] - y[3]; n = sqrt(hx * hx + hy * hy)
    printf "%f %f", (x[0] + x[1]) / 2 + d * hx / n, (y[0] + y[1]) / 2 + d * hy / n }')
FLY_X=$(board_x "$RX") FLY_Y=$(board_y "$RY")
# The grey-level spread (0..255) of the 11x11 patch about the fly's resting place.
fly_patch() {
    import -window root "$WORK/shot.png" 2>/dev/null || { echo 0; return; }
    convert "$WORK/shot.png" -crop "11x11+$((FLY_X - 5))+$((FLY_Y - 5))" -colorspace gray \
        -format '%[fx:int(standard_deviation*255)]' info:
}
# Waits up to 30 s for a pixel's grey level to pass a test (lt, ge) against a value.
wait_pixel() {
    local x="$1" y="$2" test="$3" value="$4" level=""
    for _ in $(seq 1 150); do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early: $(cat "$WORK/err.log")"
        if import -window root "$WORK/shot.png" 2>/dev/null; then
            level=$(convert "$WORK/shot.png" -colorspace gray -format "%[fx:int(p{$x,$y}.r*255)]" info:)
            [ "$level" -"$test" "$value" ] && return 0
        fi
        sleep 0.2
    done
    fail "pixel ($x, $y) never had a grey level $test $value (last $level)"
}
# A first run opens the first puzzle; should the title pane (cream) be up over it, "Play".
sleep 6
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early: $(cat "$WORK/err.log")"
import -window root "$WORK/shot.png" 2>/dev/null
if [ "$(convert "$WORK/shot.png" -colorspace gray -format '%[fx:int(p{30,140}.r*255)]' info:)" -ge 200 ]; then
    xdotool mousemove --sync 160 325 click 1
    wait_pixel 30 140 lt 200
fi
# The fly flies in and lands.
for _ in $(seq 1 100); do
    [ "$(fly_patch)" -ge 11 ] && break
    sleep 0.2
done
# Every move of the hint but the last.
mapfile -t STEPS < <(hint_steps puzzle1000)
LAST=$((${#STEPS[@]} - 1))
for ((s = 1; s < LAST; ++s)); do
    # shellcheck disable=SC2046
    drag_cells $(moved_limb "${STEPS[s - 1]}" "${STEPS[s]}")
done
before=$(fly_patch)
[ "$before" -ge 11 ] || fail "the fly is not resting at its place before the win (spread $before)"
# The winning move, let go at once: the tongue is back in well within 1.5 s.
read -r x0 y0 x1 y1 < <(moved_limb "${STEPS[LAST - 1]}" "${STEPS[LAST]}")
x0=$(board_x "$x0") y0=$(board_y "$y0") x1=$(board_x "$x1") y1=$(board_y "$y1")
xdotool mousemove --sync "$x0" "$y0" mousedown 1 || fail "cannot press"
for i in 1 2 3 4 5 6 7 8; do
    xdotool mousemove --sync $((x0 + (x1 - x0) * i / 8)) $((y0 + (y1 - y0) * i / 8))
    sleep 0.05
done
sleep 0.2
xdotool mouseup 1 || fail "cannot release"
gone=""
for _ in $(seq 1 15); do
    sleep 0.1
    spread=$(fly_patch)
    [ "$spread" -le 8 ] && { gone=yes; break; }
done
[ -n "$gone" ] || fail "the fly is still at its resting place after the win (spread $spread, before $before)"
stop_game
echo "1 passed, 0 failed"
