#!/bin/sh
# Builds the fuzz targets (clang, libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time, starting from
# its seed corpus in fuzz/<target>/corpus. Fails on any crash, leak,
# sanitizer report or broken check; the input that caused it is kept as
# <build>/fuzz-run/<target>/crash-* (or leak-*, timeout-*, oom-*).
# Usage: ./scripts/fuzz.sh [seconds per target] [build-dir]
# Replay one input: <build>/fuzz/fuzz_<target> <file>
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
EACH="${1:-30}"
BUILD="${2:-build-fuzz}"
JOBS="$(nproc 2>/dev/null || echo 4)"
ROOT="$(pwd)"
TARGETS="pictures latin1 profile jpeg record_file"

cmake -S . -B "$BUILD" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLV_FUZZ=ON -DLV_WERROR=ON \
  -DLV_TESTS=OFF -DLV_BENCHMARKS=OFF >/dev/null
cmake --build "$BUILD" -j "$JOBS" --target fuzzers

# The settings and record-file targets write and sync a file for every
# input; on a memory file system the sync costs nothing.
SCRATCH="${TMPDIR:-/tmp}"
[ -d /dev/shm ] && [ -w /dev/shm ] && SCRATCH=/dev/shm

WORK="$ROOT/$BUILD/fuzz-run"
rm -rf "$WORK"
failed=""
printf '%-12s %10s %12s %14s\n' target runs "execs/s" "corpus"
for t in $TARGETS; do
  mkdir -p "$WORK/$t/corpus"
  log="$WORK/$t/log"
  # The first corpus folder takes what the run finds; the seeds stay as
  # they are in the repository.
  if TMPDIR="$SCRATCH" \
    ASAN_OPTIONS=detect_leaks=1 \
    LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$BUILD/fuzz/fuzz_$t" -max_total_time="$EACH" -seed=1 -timeout=25 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$WORK/$t/" \
      "$WORK/$t/corpus" "$ROOT/fuzz/$t/corpus" >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
    corpus="$(grep -o 'corp: [0-9]*/[0-9]*[bKM]*b*' "$log" | tail -n 1 | sed 's/corp: //')"
    printf '%-12s %10s %12s %14s\n' "$t" "$runs" "$rate" "$corpus"
  else
    printf '%-12s FAILED\n' "$t"
    failed="$failed $t"
  fi
done

for t in $failed; do
  echo "== fuzz_$t failed; the end of its output:"
  tail -n 60 "$WORK/$t/log"
  ls "$WORK/$t" | grep -E '^(crash|leak|timeout|oom|slow-unit)-' | sed "s|^|kept: $WORK/$t/|" || true
done
[ -z "$failed" ]
