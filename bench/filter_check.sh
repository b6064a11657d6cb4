#!/usr/bin/env bash
# tools/bench.sh must refuse a filter that matches no benchmark, and run one
# that does. Run by ctest with the build tree as TAVORIN_BUILD.
set -uo pipefail
cd "$(dirname "$0")/.."
out=$(tools/bench.sh NoSuchBenchmarkName 2>&1)
rc=$?
if [ "$rc" -eq 0 ] || ! grep -q "matches no benchmark" <<<"$out"; then
  echo "a filter that matches nothing passed (exit $rc):"
  echo "$out"
  exit 1
fi
out=$(tools/bench.sh 'BM_SortThousandCells$' 2>&1)
rc=$?
if [ "$rc" -ne 0 ] || ! grep -q "^BM_SortThousandCells " <<<"$out"; then
  echo "a filter that matches one benchmark did not run it (exit $rc):"
  echo "$out"
  exit 1
fi
