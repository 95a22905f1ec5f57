#!/usr/bin/env bash
# The win seen by a player: on the first puzzle ("First hop", puzzle 1000), the fly lands on its
# resting place a cell ahead of the goal; three drags of the hint's moves win, and within the
# win's time the frog's tongue has taken the fly from there. On this 320x480 screen board cell
# (x, y) lies at pixel (36 + 35.5 x, 116 + 35.5 y) and the fly rests at (216, 236); a fly there
# leaves a busy patch, the water alone a smooth one.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb
"$GAME" >"$WORK/out.log" 2>"$WORK/err.log" &
GAME_PID=$!

# The grey-level spread (0..255) of the 11x11 patch about the fly's resting place.
fly_patch() {
    import -window root "$WORK/shot.png" 2>/dev/null || { echo 0; return; }
    convert "$WORK/shot.png" -crop 11x11+211+231 -colorspace gray -format '%[fx:int(standard_deviation*255)]' info:
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
# Drags a limb from one pixel to another in small steps and lets go.
drag() {
    xdotool mousemove --sync "$1" "$2" mousedown 1 || fail "cannot press"
    for i in 1 2 3 4 5 6 7 8; do
        xdotool mousemove --sync $(($1 + ($3 - $1) * i / 8)) $(($2 + ($4 - $2) * i / 8))
        sleep 0.05
    done
    sleep 0.2
    xdotool mouseup 1 || fail "cannot release"
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
# The hint's first two moves: right hand (4,4) to (5,4), left foot (2,6) to (1,5).
drag 178 258 213 258
sleep 1.5
drag 107 329 71 293
sleep 1.5
before=$(fly_patch)
[ "$before" -ge 11 ] || fail "the fly is not resting at its place before the win (spread $before)"
# The winning move: right foot (3,6) to (3,5). The tongue is back in well within 1.5 s.
drag 142 329 142 293
gone=""
for _ in $(seq 1 15); do
    sleep 0.1
    spread=$(fly_patch)
    [ "$spread" -le 8 ] && { gone=yes; break; }
done
[ -n "$gone" ] || fail "the fly is still at its resting place after the win (spread $spread, before $before)"
stop_game
echo "1 passed, 0 failed"
