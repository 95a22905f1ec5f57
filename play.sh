#!/usr/bin/env bash
# Installs what is missing, builds the game (release) and runs it.
set -euo pipefail
cd "$(dirname "$0")"
./install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DFROG_TESTS=OFF -DFROG_BENCH=OFF >/dev/null
cmake --build build/release
exec build/release/frogpond "$@"
