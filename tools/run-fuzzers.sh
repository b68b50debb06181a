#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time from the
# generated fixtures. Usage: tools/run-fuzzers.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLON_FUZZ=ON -DQUILLON_SANITIZE=ON > /dev/null
targets=(fuzz_profile_load fuzz_named_colours fuzz_prefs fuzz_shape_build fuzz_dropped_file fuzz_gamut_args)
cmake --build "$build" -j"$(nproc)" --target profile_fixtures device_fixtures glp_profile "${targets[@]}"
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus"
  if [ "$t" = fuzz_gamut_args ]; then
    cp -n tests/fuzz/corpus/gamut_args/* "$corpus"/ 2>/dev/null || true
  else
    cp -n "$build"/fixtures/* "$corpus"/ 2>/dev/null || true
  fi
  echo "== $t: ${seconds}s"
  "$build/tests/fuzz/$t" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
done
