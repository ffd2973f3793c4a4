#!/usr/bin/env bash
# Builds and runs the whole test suite (installing what a fresh Debian 12 machine lacks).
#   scripts/test.sh              the normal build, in build/
#   scripts/test.sh --sanitize   the AddressSanitizer + UndefinedBehaviorSanitizer build, in build-asan/
# Any further arguments go to ctest (for example -L framework; -L display for the real-window tests, which
# start their own Xvfb and never use the caller's $DISPLAY).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
source "$ROOT/scripts/deps.sh"

dir="$ROOT/build"
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
    shift
    dir="$ROOT/build-asan"
    options=(-DCMAKE_BUILD_TYPE=Debug -DTP_SANITIZE=ON)
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    # Leaks inside system libraries we cannot fix (fontconfig's caches) are not ours to report.
    export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0}
fi

ensure_packages "${PROGRAM_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
configure_build "$dir" "${options[@]}"
cmake --build "$dir"
cd "$dir"
# No test may reach the caller's screen: the display tests bring their own X server.
unset DISPLAY
# A test that hangs fails after five minutes instead of holding the whole run.
ctest --output-on-failure --no-tests=error --timeout 300 -j "$(nproc)" "$@"
