#!/usr/bin/env bash
# Builds the project twice, plainly and under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole test suite in both builds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

for variant in plain sanitize; do
  dir=build-$variant
  flag=OFF
  [ "$variant" = sanitize ] && flag=ON
  echo "== $variant build"
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVIK_SANITIZE=$flag > "$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; exit 1; }
  cmake --build "$dir" -j "$jobs"
  echo "== $variant tests"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
done
