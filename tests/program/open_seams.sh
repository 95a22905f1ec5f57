#!/usr/bin/env bash
# Every service and hook a lower subsystem declares is installed by the program's own start-up,
# except those the wiring lists as waiting for a named later piece of work: the real executable
# checks them once its start-up is complete and names each one left open.
source "$(dirname "$0")/common.bash"
copy_game
start_xvfb

FROGPOND_CHECK_SEAMS=1 timeout 120 "$GAME" >"$WORK/out.log" 2>"$WORK/err.log"
status=$?
[ "$status" -ne 124 ] || fail "the game did not end after the seam check"
if [ "$status" -ne 0 ]; then
    grep 'frogpond: ' "$WORK/err.log" >&2
    fail "the start-up left seams open (exit status $status)"
fi
echo "1 passed, 0 failed"
