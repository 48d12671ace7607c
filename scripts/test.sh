#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
# Tests and benchmarks explicitly on: scripts/run.sh builds without them.
bash scripts/build.sh -DHEXLANE_TESTS=ON -DHEXLANE_BENCH=ON
ctest --test-dir build --output-on-failure --no-tests=error -j"$(nproc)"
