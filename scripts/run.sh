#!/usr/bin/env bash
# Builds Hexlane and starts it on the bundled sample map. Until the editor
# window exists, runs the command-line tool on a new map instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh -DHEXLANE_TESTS=OFF -DHEXLANE_BENCH=OFF
if [ -x build/bin/hexlane ] && [ -f samples/sample.map ]; then
  exec build/bin/hexlane samples/sample.map
fi
map="$(mktemp -d)/new.map"
build/bin/hexlane-tool new "$map"
echo "Wrote a new map: $map"
exec build/bin/hexlane-tool dump "$map"
