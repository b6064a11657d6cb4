#!/usr/bin/env bash
# Runs the benchmarks of a Release build and prints their figures; fails when
# there is no benchmark to run, when FILTER matches none, or when one of them
# cannot run or fails.
#   tools/bench.sh [FILTER]    FILTER picks benchmarks by name (a regex, as
#                              tools/bench.sh prints the names), e.g. TuningRate
# TAVORIN_BUILD names the build tree (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
tree="${TAVORIN_BUILD:-build}"
filter="${1:-.}"
found=0
matched=0
failed=()
for b in "$tree"/bench/bench_*; do
  # Executables only: the build also leaves directories (bench_x_autogen) here.
  [ -f "$b" ] && [ -x "$b" ] || continue
  found=$((found + 1))
  # A filter usually picks the benchmarks of one executable: ask each which of
  # its own it would run, and start only those that have some.
  if ! names=$("$b" --benchmark_list_tests=true --benchmark_filter="$filter" 2>/dev/null); then
    failed+=("$(basename "$b") (could not list its benchmarks)")
    continue
  fi
  n=$(printf '%s\n' "$names" | grep -c . || true)
  [ "$n" -gt 0 ] || continue
  matched=$((matched + n))
  echo "== $(basename "$b")"
  out=$(mktemp)
  if ! "$b" --benchmark_filter="$filter" 2>&1 | tee "$out"; then
    failed+=("$(basename "$b")")
  elif grep -q "ERROR OCCURRED" "$out"; then
    failed+=("$(basename "$b") (a benchmark reported an error)")
  fi
  rm -f "$out"
done
if [ "$found" -eq 0 ]; then
  echo "bench.sh: no benchmark found in $tree/bench (build the Release tree first)" >&2
  exit 1
fi
if [ "${#failed[@]}" -gt 0 ]; then
  echo "bench.sh: failed: ${failed[*]}" >&2
  exit 1
fi
if [ "$matched" -eq 0 ]; then
  echo "bench.sh: '$filter' matches no benchmark name (tools/bench.sh with no filter runs them all and prints their names)" >&2
  exit 1
fi
