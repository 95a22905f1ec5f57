#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test (unit, gl, program).
set -euo pipefail
cd "$(dirname "$0")"
./install-deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFROG_SANITIZE=ON -DFROG_WERROR=ON >/dev/null
cmake --build build/test
# A comma-decimal locale, so that the tests can prove numbers ignore the user's locale.
if [ ! -d build/test/locale/de_DE.UTF-8 ]; then
  mkdir -p build/test/locale
  localedef -i de_DE -f UTF-8 build/test/locale/de_DE.UTF-8 >/dev/null 2>&1 || true
fi
export LOCPATH="$PWD/build/test/locale"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
cd build/test
ctest --output-on-failure -j "$(nproc)" "$@"
