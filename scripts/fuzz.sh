#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under ASan and UBSan in ./build-fuzz and runs them.
#   scripts/fuzz.sh smoke        each target over its seed corpus plus a few thousand runs
#   scripts/fuzz.sh run SECONDS  each target for SECONDS seconds
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-smoke}
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link -g -O1"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="$flags" -DQMVVLT_BUILD_FUZZ=ON -DQMVVLT_BUILD_TESTS=OFF \
  -DQMVVLT_BUILD_BENCH=OFF -DQMVVLT_WERROR=OFF >/dev/null
cmake --build build-fuzz --parallel "$(nproc)" --target fuzz_all
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
  if [ "$mode" = run ]; then
    dict="fuzz/${name#fuzz_}.dict"; extra=(); [ -f "$dict" ] && extra=(-dict="$dict")
    "$target" "${extra[@]}" -max_total_time="${2:-60}" -max_len=65536 "$work" 2>&1 | tail -n 3
  else
    "$target" -runs=3000 -max_len=16384 "$work" 2>&1 | tail -n 1
  fi
  rm -rf "$work"
  echo "fuzz: $name ok"
done
