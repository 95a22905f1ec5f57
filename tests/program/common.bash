# Shared by the program tests (sourced; not a test itself). Each test works on a copy of the
# executable and its data in a fresh folder, on an Xvfb server of its own, and removes both on exit.
set -u

GAME_SOURCE="$1"
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
copy_game() {
    cp "$GAME_SOURCE" "$WORK/frogpond" || fail "cannot copy $GAME_SOURCE"
    cp -r "$(dirname "$GAME_SOURCE")/data" "$WORK/data" || fail "no data folder beside $GAME_SOURCE"
    GAME="$WORK/frogpond"
}

# A 320x480 screen (the phone's) on the first free display number; sets DISPLAY.
start_xvfb() {
    command -v Xvfb >/dev/null || fail "Xvfb is not installed"
    local fifo="$WORK/displayfd"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 320x480x24 -nolisten tcp 3>"$fifo" 2>"$WORK/xvfb.log" &
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
    "$GAME" >"$WORK/out.log" 2>"$WORK/err.log" &
    GAME_PID=$!
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
