#!/usr/bin/env bash
# The real game opens its window, clears it to the tuning value "ui/clearcolour", and ends in
# order on SIGTERM: exit status 0, and a whole preferences.xml saved beside the executable.
source "$(dirname "$0")/common.bash"
copy_game
start_xvfb

# A colour nothing else on the screen has (the loading screen is black, Xvfb's root a weave), so
# the pixel can only come from the main loop's clear with the value read from the rules.
grep -q 'clearcolour="' "$WORK/data/rules.xml" || fail "data/rules.xml has no ui/clearcolour"
sed -i 's/clearcolour="[^"]*"/clearcolour="#2e8b57"/' "$WORK/data/rules.xml"
expected="2e8b57"

"$GAME" >"$WORK/out.log" 2>"$WORK/err.log" &
GAME_PID=$!

# Poll the screen until the clear shows (start-up under the sanitizers takes a while).
seen=""
for _ in $(seq 1 60); do
    sleep 0.5
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early: $(cat "$WORK/err.log")"
    import -window root "$WORK/shot.png" 2>/dev/null || continue
    pixel=$(convert "$WORK/shot.png" -format '%[hex:p{10,10}]' info: 2>/dev/null | tr 'A-F' 'a-f')
    seen="${pixel:0:6}"
    [ "$seen" = "$expected" ] && break
done
[ "$seen" = "$expected" ] || fail "pixel (10,10) is #$seen, expected #$expected"

kill -TERM "$GAME_PID"
status=0
for _ in $(seq 1 100); do
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end within 10 s of SIGTERM"
wait "$GAME_PID" || status=$?
GAME_PID=""
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM: $(cat "$WORK/err.log")"
# A first run records the defaults it read ("fullscreen" among them) and saves them at shutdown;
# the file must be whole: nothing was cut short by the signal.
[ -f "$WORK/preferences.xml" ] || fail "no preferences.xml was saved"
grep -q 'fullscreen="false"' "$WORK/preferences.xml" || fail "preferences.xml lacks the recorded defaults"
tr -d ' \n' <"$WORK/preferences.xml" | grep -Eq '^<preferences.*(/>|</preferences>)$' || fail "preferences.xml is cut short: $(cat "$WORK/preferences.xml")"
echo "1 passed, 0 failed"
