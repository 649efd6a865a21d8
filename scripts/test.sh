#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite: the fuzz targets get a
# short smoke run under ASan and UBSan, the whole suite runs once under ASan and UBSan in
# ./build-asan, then once in the plain build, whose CTest summary is the last thing printed.
# (The radio tests under TSan, scripts/sanitize.sh thread, are a separate run: one more build of
# the radio layers, kept out of a CI run that must stay well under 30 minutes on 2 cores.)
set -euo pipefail
cd "$(dirname "$0")/.."
# Cache hits whatever folder the checkout is in: paths relative to it, not to the machine.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
bash scripts/install-deps.sh
bash scripts/fuzz.sh smoke
bash scripts/sanitize.sh address
bash scripts/configure-build.sh -DQMVVLT_BUILD_TESTS=ON -DQMVVLT_BUILD_BENCH=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 600
