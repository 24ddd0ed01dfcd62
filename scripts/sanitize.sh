#!/usr/bin/env bash
# Builds the program and its tests with AddressSanitizer and UndefinedBehaviorSanitizer in
# their own folder and runs the whole suite there (benchmarks excluded). Any sanitizer report
# fails the test that caused it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-asan}
jobs=${2:-$(nproc)}
if [ ! -f "$build/build.ninja" ]; then
  # -O1 keeps the instrumented tests quick; line tables are enough for readable reports.
  cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DDUNMERE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only"
fi
cmake --build "$build" -j "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build" && ctest --output-on-failure -j "$jobs" -LE bench
