#!/usr/bin/env bash
# Real key presses and touches reach the game through the X server: on a first run (the first
# puzzle in play) a swipe and a tap pass through the pointer path without harm; "m" (mute, bound
# in data/keyboard.xml) silences music and sound, which the delayed save writes to
# preferences.xml; ctrl+q ends the game on its own, in order, with exit status 0.
# A swipe posts "_gesture", but nothing in the game acts on one yet, so touches are only checked
# to leave the game running and its input working.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb
start_game_until_drawn

# The game's window (its caption is the dictionary's "app_name"), at the screen's origin.
WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --name '^Frog Pond$' | head -n 1)
[ -n "$WINDOW" ] || fail "no window named Frog Pond"
# No window manager runs: keyboard focus follows the pointer, so it rests on the window.
xdotool mousemove --sync 160 240 || fail "cannot move the pointer"

# Waits up to 10 s for the saved file to hold the preference at all.
wait_present() {
    for _ in $(seq 1 100); do
        [ -n "$(saved "$1")" ] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for $1: $(cat "$WORK/err.log")"
        sleep 0.1
    done
    fail "preferences.xml never recorded $1: $(cat "$WORK/preferences.xml" 2>/dev/null)"
}

# Touches: a swipe to the left across the middle of the board, then a tap.
xdotool mousemove --sync 260 240 mousedown 1 || fail "cannot press"
for x in 230 200 170 140 110 80 60; do
    xdotool mousemove --sync "$x" 245 || fail "cannot drag"
done
xdotool mouseup 1 || fail "cannot release"
xdotool mousemove --sync 160 240 click 1 || fail "cannot tap"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after touches: $(cat "$WORK/err.log")"

# "m" toggles by the music volume: to 0 when it is above 0, else (never stored, or 0) to 0.8.
# Start-up's changes are saved in one burst 2 to 3 s after start, so once the file exists it
# tells what the game holds; each press is then followed until the file shows its result.
wait_present currentpuzzle
for _ in 1 2; do
    case "$(saved musicvolume)" in
        "" | 0.000000 | -*) expected=0.800000 ;;
        *) expected=0.000000 ;;
    esac
    xdotool key m || fail "cannot type m"
    wait_saved musicvolume "$expected"
    [ "$expected" = 0.000000 ] && break
done
[ "$(saved musicvolume)" = 0.000000 ] || fail "two presses of m did not mute: $(cat "$WORK/preferences.xml")"

# ctrl+q: the game ends by itself.
xdotool key ctrl+q || fail "cannot type ctrl+q"
for _ in $(seq 1 100); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end within 10 s of ctrl+q"
status=0
wait "$GAME_PID" || status=$?
GAME_PID=""
[ "$status" -eq 0 ] || fail "exit status $status after ctrl+q: $(cat "$WORK/err.log")"

[ "$(saved musicvolume)" = "0.000000" ] || fail "musicvolume not 0 at exit: $(cat "$WORK/preferences.xml")"
[ "$(saved soundvolume)" = "0.000000" ] || fail "soundvolume not 0 at exit: $(cat "$WORK/preferences.xml")"
grep -q 'currentpuzzle="puzzle1000"' "$WORK/preferences.xml" ||
    fail "the first puzzle was not in play: $(cat "$WORK/preferences.xml")"
echo "1 passed, 0 failed"
