#!/usr/bin/env bash
# The front end as a player who solved puzzle 1000 and left from the board meets it: the board
# of puzzles with a lily for each puzzle. A tap on puzzle 1001's turns the screen over to its
# information pane, whose Play starts puzzle 1001. Puzzle 1000's lily, solved, blooms and is
# coloured unlike an unsolved one.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb

echo '<preferences currentpuzzle="" currenthistory="" puzzle1000="3,1.000000,5.0,0,0"/>' >"$WORK/preferences.xml"
start_game
timeout 20 xdotool search --sync --onlyvisible --name '^Frog Pond$' >/dev/null || fail "no window named Frog Pond"
xdotool mousemove --sync 160 470 || fail "cannot move the pointer"
sleep 5

alive() {
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended $1: $(cat "$WORK/err.log")"
}
shot() {
    import -window root "$WORK/$1.png" 2>/dev/null || fail "no screenshot $1"
}
differing() {
    compare -metric AE -fuzz 12% "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 | cut -d' ' -f1
}
# The mean colour of a square of 24 pixels about (x, y): "r g b", 0..255 each.
mean() {
    convert "$WORK/$1.png" -crop "24x24+$(($2 - 12))+$(($3 - 12))" +repage -resize 1x1\! -depth 8 txt:- |
        sed -n 's/.*(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' | awk '{printf "%d %d %d\n", $1, $2, $3}'
}

# The board: four lilies a row from (0.7, 0.9) in steps of (2, 1.9) cells; a cell is 35.6
# pixels and the view starts at (-1, -3.25). The board is narrower than the screen, so it settles
# in its middle, 0.2 cells left; the scroll starts unmoved, inside its range, which reaches three
# rows' steps above the first row. That puts the first two lilies near (53, 148) and (124, 148),
# give or take their jitter of a few pixels.
FIRST_X=124 SECOND_X=195 ROW_Y=148
shot board
read -r r g b <<<"$(mean board $FIRST_X $ROW_Y)"
[ "$g" -gt "$b" ] && [ "$g" -gt "$r" ] || fail "no lily pad where puzzle 1001's should be (mean $r $g $b)"
read -r r g b <<<"$(mean board $SECOND_X $ROW_Y)"
[ "$g" -gt "$b" ] && [ "$g" -gt "$r" ] || fail "no lily pad where puzzle 1002's should be (mean $r $g $b)"

# A tap on puzzle 1001's lily: the information pane, on cream paper, covers the board.
xdotool mousemove --sync $FIRST_X $ROW_Y click 1 || fail "cannot tap the lily"
sleep 3
alive "after the tap on a lily"
shot pane
changed=$(differing board pane)
[ "${changed:-0}" -gt 76800 ] || fail "the puzzle pane did not turn up ($changed pixels changed)"
read -r r g b <<<"$(mean pane 160 150)"
[ "$r" -gt 150 ] && [ "$g" -gt 150 ] || fail "no pane in the middle of the screen (mean $r $g $b)"

# Play: the pane turns away from puzzle 1001, which is then the puzzle in play.
xdotool mousemove --sync 160 305 click 1 || fail "cannot tap Play"
sleep 3
alive "after Play"

# Puzzle 1000, solved, blooms warm on the board: far redder than unsolved 1001 beside it.
read -r r1 g1 b1 <<<"$(mean board 40 $ROW_Y)"
read -r r2 g2 b2 <<<"$(mean board $FIRST_X $ROW_Y)"
[ $((r1 - r2)) -gt 40 ] || fail "puzzle 1000's lily ($r1 $g1 $b1) looks like an unsolved one ($r2 $g2 $b2)"

stop_game
[ "$(saved currentpuzzle)" = puzzle1001 ] || fail "puzzle 1001 is not in play: $(cat "$WORK/preferences.xml")"
echo "1 passed, 0 failed"
