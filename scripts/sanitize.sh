#!/usr/bin/env bash
# Builds the tests under a sanitizer in a folder of its own and runs them there.
#   scripts/sanitize.sh address   the whole suite under ASan and UBSan, in ./build-asan
#   scripts/sanitize.sh thread    the radio tests (worker threads, virtual radio), those of the
#                                 desktop program's radio commands and station window included,
#                                 and the station's (the register's threads) under TSan, in
#                                 ./build-tsan
# Any sanitizer report fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-address}
case "$kind" in
  address)
    dir=build-asan
    targets=(all)
    # The Debian package is built and checked once, from the plain build.
    select=(-LE '^package$')
    ;;
  thread)
    dir=build-tsan
    targets=(radio_protocol_tests radio_transfer_tests radio_command_tests radiosim_tests
      app_radio_tests app_station_tests station_tests)
    select=(-L '^(radio|app_radio|app_station|station)')
    ;;
  *)
    echo "usage: $0 address|thread" >&2
    exit 1
    ;;
esac
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQMVVLT_SANITIZE="$kind" \
  -DQMVVLT_BUILD_TESTS=ON -DQMVVLT_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" --parallel "$(nproc)" --target "${targets[@]}"
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Qt is not built with TSan; see scripts/tsan-qt.supp.
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan-qt.supp"
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)" --timeout 900 "${select[@]}"
