#!/usr/bin/env bash
# Install what is missing, build, and start Tavorin.
#   ./run.sh                   start the program
#   ./run.sh --emulate MODEL   start it against an emulated receiver (no hardware needed)
set -euo pipefail
cd "$(dirname "$0")"
source tools/common.sh
install_missing_packages
# Only what it starts: the program, the emulator and the samples tool. A
# fresh tree takes warnings as warnings (test.sh fails on one); a tree that
# test.sh set up keeps its flags, so switching scripts rebuilds nothing.
build_tree build -- tavorin rxsim tavsamples
if [ "${1:-}" = "--emulate" ]; then
  exec tools/emulate.sh "${2:-ar7030}"
fi
exec build/tavorin
