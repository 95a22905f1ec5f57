#!/usr/bin/env bash
# A minute in the moonlit pond, whose layers use every kind (planes with the effect link, the
# board, particles, petals, rays, the play buttons' text and a button), under the sanitizers: the
# scene keeps moving, a finger passes through it, and the game ends cleanly with nothing reported
# on standard error.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb

# The first puzzle of a first run plays in the moonlit pond.
sed -i 's/template="[^"]*"/template="night"/' "$WORK/data/puzzle/puzzle1000.xml"
start_game
sleep 6
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early: $(cat "$WORK/err.log")"
xdotool mousemove --sync 157 322 mousemove --sync 160 325 click 1 # "Play" on the title pane

# Shots a few seconds apart, a finger wandering over the pond between them.
shots=0
for second in $(seq 5 5 60); do
    for x in 40 120 200 280; do
        xdotool mousemove --sync "$x" $((60 + second * 6))
        sleep 1
    done
    sleep 1
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after about $second s: $(cat "$WORK/err.log")"
    import -window root "$WORK/shot$second.png" 2>/dev/null && shots=$((shots + 1))
done
[ "$shots" -ge 10 ] || fail "only $shots screenshots could be taken"

# The pond covers the screen (no clear colour in a corner) and moves: rays, fireflies and water
# drift between the first and the last shot.
corner=$(convert "$WORK/shot60.png" -format '%[hex:p{2,2}]' info: 2>/dev/null | tr 'A-F' 'a-f')
clear=$(grep -o 'clearcolour="#[0-9a-fA-F]*"' "$WORK/data/rules.xml" | cut -d'#' -f2 | cut -c1-6 | tr 'A-F' 'a-f')
[ "${corner:0:6}" != "$clear" ] || fail "the corner shows the clear colour: no pond drawn"
changed=$(compare -metric AE -fuzz 2% "$WORK/shot5.png" "$WORK/shot60.png" null: 2>&1 | cut -d' ' -f1)
[ "${changed%.*}" -gt 1000 ] || fail "the scene hardly changed in a minute ($changed pixels)"

stop_game
if grep -E 'ERROR: AddressSanitizer|runtime error|no layer kind|frogpond: ' "$WORK/err.log" >&2; then
    fail "the run reported the lines above"
fi
echo "1 passed, 0 failed"
