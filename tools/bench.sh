#!/usr/bin/env bash
# Runs every benchmark of a Release build and prints its ratios; fails when
# there is no benchmark to run or one of them cannot run or fails.
#   tools/bench.sh [FILTER]    FILTER picks benchmarks by name (a regex)
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
ran=0
failed=()
for b in build/bench/bench_*; do
  # Executables only: the build also leaves directories (bench_x_autogen) here.
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  ran=$((ran + 1))
  out=$(mktemp)
  if ! "$b" --benchmark_filter="${1:-.}" 2>&1 | tee "$out"; then
    failed+=("$(basename "$b")")
  elif grep -q "ERROR OCCURRED" "$out"; then
    failed+=("$(basename "$b") (a benchmark reported an error)")
  fi
  rm -f "$out"
done
if [ "$ran" -eq 0 ]; then
  echo "bench.sh: no benchmark found in build/bench (build the Release tree first)" >&2
  exit 1
fi
if [ "${#failed[@]}" -gt 0 ]; then
  echo "bench.sh: failed: ${failed[*]}" >&2
  exit 1
fi
