#!/usr/bin/env bash
# Installs what is needed, builds, and runs the program's main job on the bundled sample profile.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/configure-build.sh -DQMVVLT_BUILD_TESTS=OFF -DQMVVLT_BUILD_BENCH=OFF
./build/src/cli/qmvvlt-cli image data/samples/SampleProfile.xml --radio-pid 10000005
