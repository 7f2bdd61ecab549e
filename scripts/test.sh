#!/bin/sh
# Sets up a fresh machine, builds everything (the benchmarks included) and
# runs every test. Usage: ./scripts/test.sh [build-dir] [extra cmake options]
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
BUILD="${1:-build}"
[ $# -gt 0 ] && shift
JOBS="$(nproc 2>/dev/null || echo 4)"
cmake -S . -B "$BUILD" -DLV_WERROR=ON "$@" >/dev/null
cmake --build "$BUILD" -j "$JOBS"
cd "$BUILD"
ctest --output-on-failure -j "$JOBS" --timeout 300
