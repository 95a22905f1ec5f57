# Shared by the program tests (sourced; not a test itself). Each test works on a copy of the
# executable and its data in a fresh folder, on an Xvfb server of its own, and removes both on exit.
# Arguments of a test: the executable, the folder of the tests, and the screen's size as
# WIDTHxHEIGHT (the phone's 320x480 when not given).
set -u

GAME_SOURCE="$1"
SCREEN="${3:-320x480}"
SCREEN_W="${SCREEN%x*}"
SCREEN_H="${SCREEN#*x}"
WORK="$(cd "$(mktemp -d "${TMPDIR:-/tmp}/frogpond-program.XXXXXX")" && pwd -P)"
XVFB_PID=""
GAME_PID=""

cleanup() {
    if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill -KILL "$GAME_PID" 2>/dev/null
        wait "$GAME_PID" 2>/dev/null
    fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The game and its data folder, so that preferences.xml is written here and not in the build.
# The first puzzles' tutorials hold the player's input while they run, so a test that is not
# about them plays without them (KEEP_TUTORIALS=1 keeps them).
copy_game() {
    cp "$GAME_SOURCE" "$WORK/frogpond" || fail "cannot copy $GAME_SOURCE"
    cp -r "$(dirname "$GAME_SOURCE")/data" "$WORK/data" || fail "no data folder beside $GAME_SOURCE"
    GAME="$WORK/frogpond"
    if [ "${KEEP_TUTORIALS:-0}" != 1 ]; then
        sed -i 's/ instructions="[^"]*"//' "$WORK"/data/puzzle/*.xml || fail "cannot take the tutorials out"
    fi
}

# A screen of the test's size on the first free display number; sets DISPLAY.
start_xvfb() {
    command -v Xvfb >/dev/null || fail "Xvfb is not installed"
    case "$SCREEN_W$SCREEN_H" in *[!0-9]* | "") fail "the screen size \"$SCREEN\" is not WIDTHxHEIGHT" ;; esac
    local fifo="$WORK/displayfd"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${SCREEN}x24" -nolisten tcp 3>"$fifo" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    local number
    read -r -t 20 number <"$fifo" || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    export DISPLAY=":$number"
}

# Game settings every test shares: silent audio; the sanitizers' error checks stay on, but not
# their leak report, which at exit lists memory SDL2 and Mesa keep (stacks the unwinder loses
# in JIT code, so no suppression can name them). Leaks of our own are checked by the unit and
# gl layers.
export SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

# Starts the copied game in the background, its output in the work folder; sets GAME_PID.
start_game() {
    "$GAME" "$@" >"$WORK/out.log" 2>"$WORK/err.log" &
    GAME_PID=$!
}

# Starts the game with the clear colour set to a value nothing else on the screen has, and waits
# until pixel (10,10) shows it: the main loop has drawn a frame with the value from the rules.
# The ponds would cover the whole screen, so this copy of the game has none, and its screen border
# draws nothing.
CLEAR_HEX="2e8b57"
start_game_until_drawn() {
    grep -q 'clearcolour="' "$WORK/data/rules.xml" || fail "data/rules.xml has no ui/clearcolour"
    sed -i "s/clearcolour=\"[^\"]*\"/clearcolour=\"#$CLEAR_HEX\"/" "$WORK/data/rules.xml"
    sed -i 's/material="border"/material="null"/' "$WORK/data/rules.xml"
    rm -rf "$WORK/data/pond"
    start_game
    local seen="" pixel
    for _ in $(seq 1 60); do
        sleep 0.5
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early: $(cat "$WORK/err.log")"
        import -window root "$WORK/shot.png" 2>/dev/null || continue
        pixel=$(convert "$WORK/shot.png" -format '%[hex:p{10,10}]' info: 2>/dev/null | tr 'A-F' 'a-f')
        seen="${pixel:0:6}"
        [ "$seen" = "$CLEAR_HEX" ] && return 0
    done
    fail "pixel (10,10) is #$seen, expected #$CLEAR_HEX"
}

# SIGTERM, then the game must end in order within 10 s with exit status 0.
stop_game() {
    kill -TERM "$GAME_PID"
    local status=0
    for _ in $(seq 1 100); do
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end within 10 s of SIGTERM"
    wait "$GAME_PID" || status=$?
    GAME_PID=""
    [ "$status" -eq 0 ] || fail "exit status $status after SIGTERM: $(cat "$WORK/err.log")"
}

# The value of a preference once the saved file holds it, or "" when it does not (yet).
saved() {
    sed -n "s/.*[[:space:]]$1=\"\([^\"]*\)\".*/\1/p" "$WORK/preferences.xml" 2>/dev/null | head -n 1
}
# Waits up to 10 s for the saved file to show the preference at the value; saves come 2 to 3 s
# after a change.
wait_saved() {
    local key="$1" value="$2"
    for _ in $(seq 1 100); do
        [ "$(saved "$key")" = "$value" ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for $key=$value: $(cat "$WORK/err.log")"
        sleep 0.1
    done
    fail "$key is \"$(saved "$key")\" in preferences.xml, expected \"$value\""
}

# A tuning value of this copy's rules.xml: the attribute $2 of the element $1.
rule() {
    tr '\n' ' ' <"$WORK/data/rules.xml" | sed -n "s/.*<$1[[:space:]][^>]*[[:space:]]$2=\"\([^\"]*\)\".*/\1/p"
}
# The whole-screen view on this screen, as the game makes it from the rules: the viewport (x, y,
# width, height in pixels; the letterbox's bars lie beside it), the pixels of one board cell, the
# board point at the viewport's top left corner, and how much larger than on the phone's screen
# the panes are: "x y w h cell left top scale".
view_geometry() {
    awk -v W="$SCREEN_W" -v H="$SCREEN_H" -v crit="$(rule ui criticalview)" \
        -v lmin="$(rule ui letterboxmin)" -v lmax="$(rule ui letterboxmax)" 'BEGIN {
        x = 0; y = 0; w = W; h = H; a = W / H
        if (lmin > 0 && a < lmin) { h = int(W / lmin + 0.5); y = int((H - h) / 2 + 0.5); a = W / h }
        else if (lmax > 0 && a > lmax) { w = int(H * lmax + 0.5); x = int((W - w) / 2 + 0.5); a = w / H }
        split(crit, c, ",")
        if (a <= c[3] / c[4]) { k = w / c[3]; left = c[1]; top = c[2] + (c[4] - c[3] / a) / 2 }
        else { k = h / c[4]; left = c[1] + (c[3] - a * c[4]) / 2; top = c[2] }
        printf "%d %d %d %d %f %f %f %f\n", x, y, w, h, k, left, top, k * c[3] / 320
    }'
}
# Prints the value of an awk expression over the view's geometry (vx, vy, vw, vh, cell, left,
# top, scale) and the numbers given (a, b), rounded to whole pixels.
on_view() {
    view_geometry | awk -v a="${2:-0}" -v b="${3:-0}" '{ vx = $1; vy = $2; vw = $3; vh = $4; cell = $5;
        left = $6; top = $7; scale = $8; printf "%d", '"$1"' + 0.5 }'
}
# Board cells to screen pixels: a knob's centre is its cell's coordinates. Fractions of cells
# are allowed.
board_x() { on_view "vx + (a - left) * cell" "$1"; }
board_y() { on_view "vy + (a - top) * cell" "$1"; }
# A point of a pane, given where it is on the phone's 320x480 screen, on this screen: the pane
# grows with the view from its anchor, the middle (pane_), the top middle (top_) or the bottom
# middle (bottom_y) of the viewport.
pane_x() { on_view "vx + vw / 2 + (a - 160) * scale" "$1"; }
pane_y() { on_view "vy + vh / 2 + (a - 240) * scale" "$1"; }
top_y() { on_view "vy + a * scale" "$1"; }
bottom_y() { on_view "vy + vh - (480 - a) * scale" "$1"; }
# A point of button space (the hint and replay buttons: x and y over the viewport's shorter side,
# from its corner), given as "x,y" as in rules.xml: "x y" in pixels.
button_point() {
    local x="${1%,*}" y="${1#*,}"
    echo "$(on_view "vx + a * (vw < vh ? vw : vh)" "$x") $(on_view "vy + a * (vw < vh ? vw : vh)" "$y")"
}
# The cell of limb (0 left hand .. 3 right foot) in a pose text: each limb is a "yx" digit pair,
# limb 0 last.
limb_x() { echo "${1:$((7 - 2 * $2)):1}"; }
limb_y() { echo "${1:$((6 - 2 * $2)):1}"; }
# The hint steps of a puzzle of this copy's data, one pose text a line, home first.
hint_steps() {
    sed -n 's/.*<step pose="\([0-7]\{8\}\)".*/\1/p' "$WORK/data/puzzle/$1.xml"
}
# The one limb that moves between two poses, as "x0 y0 x1 y1" in cells; fails unless exactly one.
moved_limb() {
    local limb found=""
    for limb in 0 1 2 3; do
        if [ "$(limb_x "$1" $limb)$(limb_y "$1" $limb)" != "$(limb_x "$2" $limb)$(limb_y "$2" $limb)" ]; then
            [ -z "$found" ] || fail "hint step $1 -> $2 moves more than one limb"
            found="$(limb_x "$1" $limb) $(limb_y "$1" $limb) $(limb_x "$2" $limb) $(limb_y "$2" $limb)"
        fi
    done
    [ -n "$found" ] || fail "hint step $1 -> $2 moves no limb"
    echo "$found"
}
# Drags a limb from one cell to another in small steps, as a finger would, and lets it land.
drag_cells() {
    local x0 y0 x1 y1 i
    x0=$(board_x "$1") y0=$(board_y "$2") x1=$(board_x "$3") y1=$(board_y "$4")
    xdotool mousemove --sync "$x0" "$y0" || fail "cannot move the pointer"
    sleep 0.2
    xdotool mousedown 1 || fail "cannot press"
    # Straight over in a few quick steps: a finger that lingers by another knob on the way would
    # have the limb put down there.
    for i in 1 2 3 4; do
        xdotool mousemove --sync $((x0 + (x1 - x0) * i / 4)) $((y0 + (y1 - y0) * i / 4)) || fail "cannot drag"
    done
    # The limb follows at a limited speed: held until it is there, it lands where it is let go.
    sleep 0.9
    xdotool mouseup 1 || fail "cannot release"
    sleep 1.5
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during a drag: $(cat "$WORK/err.log")"
}
# Plays a puzzle's hint steps from step $2 (default 1) on, up to step $3 (default the last): one
# drag for each move.
solve_by_hints() {
    local steps s
    mapfile -t steps < <(hint_steps "$1")
    [ "${#steps[@]}" -ge 2 ] || fail "$1 has no hint steps"
    for ((s = ${2:-1}; s <= ${3:-$((${#steps[@]} - 1))}; ++s)); do
        # shellcheck disable=SC2046
        drag_cells $(moved_limb "${steps[s - 1]}" "${steps[s]}")
    done
}

# The colour at a screen pixel, as six lower-case hex digits.
pixel() {
    import -window root "$WORK/shot.png" 2>/dev/null || { echo none; return; }
    convert "$WORK/shot.png" -format "%[hex:p{$1,$2}]" info: 2>/dev/null | tr 'A-F' 'a-f' | cut -c1-6
}
# Whether a pixel is the panes' cream (each channel within 24 of f3 ec c8).
is_cream() {
    local hex
    hex=$(pixel "$1" "$2")
    [ "$hex" != none ] || return 1
    local r=$((16#${hex:0:2})) g=$((16#${hex:2:2})) b=$((16#${hex:4:2}))
    [ $((r > 219 && g > 212 && b > 176 && b < 225)) = 1 ]
}
# Waits up to $3 seconds for a pixel to become cream ("yes") or stop being cream ("no").
wait_cream() {
    local want="$1" what="$2" seconds="$3"
    for _ in $(seq 1 $((seconds * 4))); do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended: $(cat "$WORK/err.log")"
        if is_cream $what; then [ "$want" = yes ] && return 0; else [ "$want" = no ] && return 0; fi
        sleep 0.25
    done
    fail "pixel ($what) is #$(pixel $what), expected it $([ "$want" = yes ] && echo "cream" || echo "not cream") within $seconds s"
}
# Taps until the pane at the pixel is gone: a step takes touches only after its short delay.
tap_away() {
    for _ in 1 2 3 4 5; do
        sleep 1
        xdotool mousemove --sync 160 300 click 1 || fail "cannot tap"
        for _ in $(seq 1 16); do
            is_cream $1 || return 0
            sleep 0.25
        done
    done
    fail "the pane at ($1) stayed after five taps"
}
# Waits up to 30 s for a saved preference to match a shell pattern.
wait_saved_match() {
    for _ in $(seq 1 120); do
        case "$(saved "$1")" in $2) return 0 ;; esac
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended waiting for $1: $(cat "$WORK/err.log")"
        sleep 0.25
    done
    fail "$1 is \"$(saved "$1")\", expected $2"
}
# A pane's panel covers the middle of the screen (cream) and takes taps once its flip is over;
# pane_gone waits for the reverse.
pane_up() {
    wait_cream yes "$(pane_x 160) $(pane_y 240)" 20
    sleep 1.5
}
pane_gone() {
    wait_cream no "$(pane_x 160) $(pane_y 240)" 20
    sleep 1.5
}
