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

# The plain build uses GCC and the sanitizer build Clang, so that the code is kept
# within what both compilers accept.
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
for variant in plain sanitize; do
  dir=build-$variant
  flags=(-DTALVIK_SANITIZE=OFF -DCMAKE_CXX_COMPILER=g++)
  # The sanitizer build also builds the fuzzers and runs each briefly over its corpus.
  [ "$variant" = sanitize ] && flags=(-DTALVIK_SANITIZE=ON -DTALVIK_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++)
  echo "== $variant build"
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${flags[@]}" "${launcher[@]}" > "$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; exit 1; }
  cmake --build "$dir" -j "$jobs"
  echo "== $variant tests"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
done
