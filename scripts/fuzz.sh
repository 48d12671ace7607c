#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default
# 300). New inputs the fuzzers find go to build-fuzz/corpus/, seeded from
# tests/fuzz/corpus/. A crash, leak, sanitizer finding, slow unit or memory
# blow-up stops its fuzzer, leaves a crash-*/timeout-*/oom-* file in
# build-fuzz/ and makes this script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"
bash scripts/setup.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DHEXLANE_FUZZ=ON -DHEXLANE_WITH_QT=OFF -DHEXLANE_TESTS=OFF -DHEXLANE_BENCH=OFF
cmake --build build-fuzz -j"$(nproc)" --target fuzz_map_reader fuzz_sector_import fuzz_formula fuzz_metadata
status=0
for t in map_reader:map:65536 sector_import:sec:8192 formula:formula:1024 metadata:metadata:16384; do
  IFS=: read -r name corpus maxlen <<< "$t"
  mkdir -p "build-fuzz/corpus/$corpus"
  log="build-fuzz/fuzz_$name.log"
  if (cd build-fuzz && "bin/fuzz_$name" "corpus/$corpus" "../tests/fuzz/corpus/$corpus" \
        -max_total_time="$seconds" -max_len="$maxlen" -timeout=20 -rss_limit_mb=2560 >"../$log" 2>&1); then
    echo "fuzz_$name: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1)"
  else
    echo "fuzz_$name FAILED:"; tail -40 "$log"; status=1
  fi
done
exit $status
