#!/usr/bin/env bash
# Where the hint's ghost is drawn on a later puzzle, after moves: five moves along the last
# puzzle's hint steps, "h" shows the frog standing in the pose the hint names (the route's longest
# hop, well ahead), a dark silhouette over that pose and nowhere else; the next move takes it away.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb

PUZZLE=puzzle1125
# A player who solved every other puzzle, back at the last one.
{
    printf '<preferences currentpuzzle="%s" currenthistory="" musicvolume="0" soundvolume="0"' "$PUZZLE"
    for file in "$WORK"/data/puzzle/puzzle*.xml; do
        name=$(basename "$file" .xml)
        [ "$name" = "$PUZZLE" ] || printf ' %s="5,1.000000,10.0,0,0"' "$name"
    done
    echo '/>'
} >"$WORK/preferences.xml"
start_game
timeout 20 xdotool search --sync --onlyvisible --name '^Frog Pond$' >/dev/null || fail "no window named Frog Pond"
sleep 6

mapfile -t STEPS < <(hint_steps "$PUZZLE")
MOVES=5
solve_by_hints "$PUZZLE" 1 "$MOVES"
wait_saved_match currenthistory "$(IFS=,; echo "${STEPS[*]:0:MOVES+1}")"

# The pose the hint names: on the solution the route is the steps still to come, and its key pose
# ends the hop whose limb travels farthest (the first of equals).
KEY="" best=-1
for ((s = MOVES + 2; s < ${#STEPS[@]}; ++s)); do
    read -r x0 y0 x1 y1 <<<"$(moved_limb "${STEPS[s - 1]}" "${STEPS[s]}")"
    if (((x1 - x0) ** 2 + (y1 - y0) ** 2 > best)); then
        best=$(((x1 - x0) ** 2 + (y1 - y0) ** 2))
        KEY=${STEPS[s]}
    fi
done

# Board points (one "kind x y" a line) for the frog of the pose $1 while the real frog stands in
# the poses $2 and $3 (before and after the next move): "ghost" points lie on the frog of $1
# (the middle of its four cells and the ways from there to each) at least 0.8 cells from the real
# frog, which is drawn over the ghost; "far" points of a grid over the board keep 1.5 cells from
# all three frogs. A frog is taken as the lines from the middle of its cells to each cell.
points() {
    local poses="" pose l
    for pose in "$@"; do
        for l in 0 1 2 3; do poses+="$(limb_x "$pose" $l) $(limb_y "$pose" $l) "; done
    done
    awk -v cells="$poses" '
        function gap(f, px, py,    i, cx, cy, dx, dy, t, d, best) {
            cx = (v[f + 1] + v[f + 3] + v[f + 5] + v[f + 7]) / 4
            cy = (v[f + 2] + v[f + 4] + v[f + 6] + v[f + 8]) / 4
            best = 1e9
            for (i = f + 1; i < f + 9; i += 2) {
                dx = v[i] - cx; dy = v[i + 1] - cy
                t = ((px - cx) * dx + (py - cy) * dy) / (dx * dx + dy * dy + 1e-9)
                t = t < 0 ? 0 : (t > 1 ? 1 : t)
                d = sqrt((px - cx - t * dx) ^ 2 + (py - cy - t * dy) ^ 2)
                if (d < best) best = d
            }
            return best
        }
        BEGIN {
            split(cells, v, " ")
            cx = (v[1] + v[3] + v[5] + v[7]) / 4; cy = (v[2] + v[4] + v[6] + v[8]) / 4
            for (k = 0; k <= 4; ++k)
                for (i = 1; i < 8; i += 2) {
                    x = cx + k * 0.15 * (v[i] - cx); y = cy + k * 0.15 * (v[i + 1] - cy)
                    if (gap(8, x, y) >= 0.8 && gap(16, x, y) >= 0.8) printf "ghost %.2f %.2f\n", x, y
                }
            for (x = 0; x <= 7; x += 0.5)
                for (y = 0; y <= 7; y += 0.5)
                    if (gap(0, x, y) >= 1.5 && gap(8, x, y) >= 1.5 && gap(16, x, y) >= 1.5) print "far", x, y
        }' | sort -u
}
# Luminance (0..255) of the 5 x 5 pixels about a board point in a screenshot.
luminance() {
    convert "$WORK/$1.png" -crop "5x5+$(($(board_x "$2") - 2))+$(($(board_y "$3") - 2))" +repage \
        -resize 1x1\! -depth 8 txt:- |
        sed -n 's/.*(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' |
        awk '{ printf "%d", 0.3 * $1 + 0.59 * $2 + 0.11 * $3 }'
}
# The mean ratio of the luminance of screenshot $2 to that of $1 at the points of a kind.
ratio() {
    local kind x y sum=0 count=0
    while read -r kind x y; do
        [ "$kind" = "$3" ] || continue
        sum=$(awk -v s="$sum" -v a="$(luminance "$1" "$x" "$y")" -v b="$(luminance "$2" "$x" "$y")" \
            'BEGIN { print s + (b + 4) / (a + 4) }')
        count=$((count + 1))
    done <"$WORK/points"
    [ "$count" -ge 3 ] || fail "only $count $3 points to look at"
    awk -v s="$sum" -v n="$count" 'BEGIN { printf "%.2f", s / n }'
}
shot() {
    import -window root "$WORK/$1.png" 2>/dev/null || fail "no screenshot $1"
}
points "$KEY" "${STEPS[MOVES]}" "${STEPS[MOVES + 1]}" >"$WORK/points"

# Waits up to 10 s for the ratio at the points of kind $2 in screenshot $1 to pass the awk test
# $3 (the ghost fades in and out over game time, which a loaded machine draws slowly); prints it.
settled() {
    local r
    for _ in $(seq 1 20); do
        sleep 0.5
        shot "$1"
        r=$(ratio before "$1" "$2")
        awk -v r="$r" "BEGIN { exit !($3) }" && break
    done
    echo "$r"
}
shot before
xdotool key h || fail "cannot press h"
on=$(settled ghost ghost "r < 0.75")
off=$(ratio before ghost far)
awk -v r="$on" 'BEGIN { exit !(r < 0.75) }' || fail "the ghost of $KEY does not darken its pose: ratio $on"
awk -v r="$off" 'BEGIN { exit !(r > 0.85) }' || fail "the board away from the ghost of $KEY darkened: ratio $off"

# The next move along the solution: the ghost goes.
solve_by_hints "$PUZZLE" $((MOVES + 1)) $((MOVES + 1))
gone=$(settled after ghost "r > 0.85")
awk -v r="$gone" 'BEGIN { exit !(r > 0.85) }' || fail "the ghost stayed after the move: ratio $gone"
echo "ghost of $KEY: ratio $on on it, $off away, $gone after the move"
stop_game
