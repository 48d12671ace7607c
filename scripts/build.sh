#!/usr/bin/env bash
# Installs what is missing, configures and builds into build/ (extra CMake
# arguments are passed on).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
cmake --build build -j"$(nproc)"
