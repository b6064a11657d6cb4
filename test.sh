#!/usr/bin/env bash
# Install what is missing, build, and run every test headless.
#   ./test.sh              the normal build
#   ./test.sh --sanitize   an AddressSanitizer + UndefinedBehaviorSanitizer build
set -euo pipefail
cd "$(dirname "$0")"
source tools/common.sh
install_missing_packages
ensure_test_locale
export QT_QPA_PLATFORM=offscreen
dir=build
# A new compiler warning fails the tests' build.
args=(-DTAVORIN_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  args+=(-DTAVORIN_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo)
  export ASAN_OPTIONS=detect_leaks=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
build_tree "$dir" "${args[@]}"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" --timeout 300
