#!/usr/bin/env bash
# The pond frame benchmark in a window as the game runs, each size on an Xvfb display of its own
# size, so the swap presents the frame as the game's does (on a pbuffer the swap costs nothing,
# which makes the bare frame far cheaper than a windowed one). Usage:
#   bench/pond-frames.sh [build folder, default build/rel] [scenes, a regular expression such as
#   "morning|night", default all] [sizes, default "320x480 1024x768 1920x1080"] [frog_bench arguments]
# Needs Xvfb (install-deps.sh installs it).
set -u
BUILD="${1:-build/rel}"
SCENES="${2:-.*}"
SIZES="${3:-320x480 1024x768 1920x1080}"
shift 3 2>/dev/null || shift $#
BENCH="$BUILD/bench/frog_bench"
[ -x "$BENCH" ] || { echo "no $BENCH: build it first" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "Xvfb is not installed" >&2; exit 1; }
export SDL_AUDIODRIVER=dummy
status=0
for size in $SIZES; do
    fifo="$(mktemp -u)"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$fifo" 2>/dev/null &
    xvfb=$!
    read -r number <"$fifo"
    rm -f "$fifo"
    DISPLAY=":$number" FROG_BENCH_WINDOW=1 "$BENCH" --benchmark_filter="BM_PondFrame/($SCENES)/${size/x//}/" "$@" ||
        status=$?
    kill "$xvfb"
    wait "$xvfb" 2>/dev/null
done
exit $status
