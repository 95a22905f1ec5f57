#!/usr/bin/env bash
# The console: the key bound to "_console" (the back quote) shows it, typed letters appear in
# black near the top-left corner, and the same key hides it again while the game runs on.
source "$(dirname "$0")/common.bash"
command -v xdotool >/dev/null || fail "xdotool is not installed"
copy_game
start_xvfb
start_game_until_drawn

WINDOW=$(timeout 20 xdotool search --sync --onlyvisible --name '^Frog Pond$' | head -n 1)
[ -n "$WINDOW" ] || fail "no window named Frog Pond"
# Focus follows the pointer; it rests away from the console's corner.
xdotool mousemove --sync 300 460 || fail "cannot move the pointer"

# Near-black pixels where the console writes (its text starts at (16, 32)).
dark_pixels() {
    import -window root "$WORK/shot.png" 2>/dev/null || fail "cannot take a screenshot"
    convert "$WORK/shot.png" -crop 200x30+10+14 +repage -colorspace gray -threshold 25% -negate \
        -format '%[fx:round(mean*w*h)]' info:
}
# Waits up to 10 s for the console's corner to be written on (1) or clear (0).
wait_console() {
    local want="$1" dark
    for _ in $(seq 1 50); do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended: $(cat "$WORK/err.log")"
        dark=$(dark_pixels)
        if [ "$want" = 1 ] && [ "$dark" -gt $((BEFORE + 8)) ]; then return 0; fi
        if [ "$want" = 0 ] && [ "$dark" -le "$BEFORE" ]; then return 0; fi
        sleep 0.2
    done
    fail "the console corner has $dark dark pixels (before: $BEFORE), expected it $([ "$want" = 1 ] && echo written || echo clear)"
}

# The start pane turns over first, holding input meanwhile: wait for two screens alike.
for _ in $(seq 1 20); do
    import -window root "$WORK/a.png" 2>/dev/null
    sleep 0.5
    import -window root "$WORK/b.png" 2>/dev/null
    [ "$(compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1)" = 0 ] && break
done
BEFORE=$(dark_pixels)
xdotool key grave || fail "cannot type the back quote"
# Letters no key binding claims.
xdotool type --delay 50 fog || fail "cannot type"
wait_console 1
xdotool key grave || fail "cannot type the back quote"
wait_console 0
stop_game
