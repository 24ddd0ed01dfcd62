#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in their own folder; given a number of
# seconds, first runs each target over its seed corpus (every seed must pass) and then fuzzes
# it for that long. New inputs go to <build>/fuzz-work/<target>/, never into the checked-in
# corpus; a crash leaves its input in <build>/fuzz-artifacts/ and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
jobs=${2:-$(nproc)}
seconds=${3:-}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DDUNMERE_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only"
fi
cmake --build "$build" -j "$jobs" --target fuzz_targets
if [ -z "$seconds" ]; then
  echo "Fuzz targets built in $build/fuzz; run them with: make fuzz FUZZ_SECONDS=600"
  exit 0
fi

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/fuzz/system-leaks.supp"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$build/fuzz-artifacts"
failed=()
for source in fuzz/*.cpp; do
  name=$(basename "$source" .cpp)
  target="$build/fuzz/fuzz_$name"
  seeds="fuzz/corpus/$name"
  work="$build/fuzz-work/$name"
  log="$build/fuzz-work/$name.log"
  mkdir -p "$work"
  echo "== $name: seeds, then ${seconds} s"
  # -timeout: an input that takes more than 10 s is a hang; -rss_limit_mb: a run away allocation.
  if "$target" -runs=0 -timeout=10 -rss_limit_mb=2048 "$seeds" > "$log" 2>&1 \
     && "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
          -artifact_prefix="$build/fuzz-artifacts/$name-" "$work" "$seeds" >> "$log" 2>&1; then
    grep -E "^stat::number_of_executed_units|^stat::new_units_added" "$log" | tr '\n' ' '; echo
  else
    tail -n 60 "$log"
    failed+=("$name")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz targets that failed: ${failed[*]} (inputs in $build/fuzz-artifacts/)"
  exit 1
fi
