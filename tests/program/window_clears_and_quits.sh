#!/usr/bin/env bash
# The real game opens its window, clears it to the tuning value "ui/clearcolour", and ends in
# order on SIGTERM: exit status 0, and a whole preferences.xml saved beside the executable.
source "$(dirname "$0")/common.bash"
copy_game
start_xvfb
start_game_until_drawn
stop_game

# A first run records the defaults it read ("fullscreen" among them) and saves them at shutdown;
# the file must be whole: nothing was cut short by the signal.
[ -f "$WORK/preferences.xml" ] || fail "no preferences.xml was saved"
grep -q 'fullscreen="false"' "$WORK/preferences.xml" || fail "preferences.xml lacks the recorded defaults"
tr -d ' \n' <"$WORK/preferences.xml" | grep -Eq '^<preferences.*(/>|</preferences>)$' ||
    fail "preferences.xml is cut short: $(cat "$WORK/preferences.xml")"
echo "1 passed, 0 failed"
