#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite. The fuzz targets get a
# short smoke run under ASan and UBSan first; CTest's summary is the last thing printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/fuzz.sh smoke
bash scripts/configure-build.sh -DQMVVLT_BUILD_TESTS=ON -DQMVVLT_BUILD_BENCH=ON
ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 600
