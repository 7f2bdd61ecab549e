#!/bin/sh
# Sets up a fresh machine, builds the program and starts it in the directory
# this script was called from (the record files live there).
set -eu
HERE="$(pwd)"
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
"$ROOT/scripts/install-deps.sh"
JOBS="$(nproc 2>/dev/null || echo 4)"
cmake -S "$ROOT" -B "$ROOT/build" >/dev/null
cmake --build "$ROOT/build" -j "$JOBS" --target lanvik
cd "$HERE"
exec "$ROOT/build/bin/lanvik"
