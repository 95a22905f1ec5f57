#!/usr/bin/env bash
# Start-ups that cannot go on end with a non-zero status and one line on standard error saying
# why: without "<data folder>/rules.xml" (naming that file), and without a display.
source "$(dirname "$0")/common.bash"
copy_game

# Exactly one line, and it must contain $2.
expect_one_line() {
    local log="$1" needle="$2" lines
    lines=$(grep -c '' "$log")
    [ "$lines" -eq 1 ] || fail "expected one line on stderr, got $lines: $(cat "$log")"
    grep -qF -- "$needle" "$log" || fail "stderr does not mention '$needle': $(cat "$log")"
}

# No display at all.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "$GAME" >"$WORK/out1.log" 2>"$WORK/err1.log" || status=$?
[ "$status" -ne 0 ] || fail "without a display the game exited 0"
[ "$status" -ne 124 ] || fail "without a display the game hung"
expect_one_line "$WORK/err1.log" "frogpond:"

# A display but no rules.xml.
start_xvfb
mv "$WORK/data/rules.xml" "$WORK/data/rules.xml.away"
status=0
timeout 60 "$GAME" >"$WORK/out2.log" 2>"$WORK/err2.log" || status=$?
[ "$status" -ne 0 ] || fail "without rules.xml the game exited 0"
[ "$status" -ne 124 ] || fail "without rules.xml the game hung"
expect_one_line "$WORK/err2.log" "rules.xml"
grep -qF -- "$WORK/data/rules.xml" "$WORK/err2.log" || fail "the line does not name the file: $(cat "$WORK/err2.log")"
echo "2 passed, 0 failed"
