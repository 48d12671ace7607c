#!/usr/bin/env bash
# Builds Hexlane and starts the editor on the bundled sample map.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh -DHEXLANE_TESTS=OFF -DHEXLANE_BENCH=OFF
exec build/bin/hexlane samples/sample.map
