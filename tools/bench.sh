#!/usr/bin/env bash
# Runs every benchmark of a Release build and prints its ratios.
#   tools/bench.sh [FILTER]    FILTER picks benchmarks by name (a regex)
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
for b in build/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_filter="${1:-.}"
done
