#!/usr/bin/env bash
# scripts/fuzz.sh [SECONDS] [TARGET...]
#
# Builds the fuzzers (Clang, AddressSanitizer, UndefinedBehaviorSanitizer, libFuzzer) in
# build-fuzz and runs each target (every one by default) for SECONDS (default 60), one
# after the other, on a copy of its seed corpus. Prints one line per target: executions,
# coverage, and the inputs that crashed, leaked or timed out, which are kept in
# build-fuzz/fuzz/findings/TARGET. Exit status 1 when any target found something.
# Then, unless TARGETs were named or TALVIK_CAMPAIGNS=0, builds the plain build and runs
# the crash campaigns and long runs at full size (scripts/campaigns.sh) on it and on
# build-fuzz, whose sanitizers check them too.
#
# FUZZ_STATE=DIR makes runs add up: each target's corpus is kept in DIR/TARGET and grows
# from run to run, every run adds a line to DIR/ledger.tsv (time, target, executions,
# seconds, coverage, features, findings, commit), and the summary shows the totals.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
bash scripts/deps.sh

launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DTALVIK_FUZZ=ON \
      -DTALVIK_BENCH=OFF "${launcher[@]}" > build-fuzz.configure.log 2>&1 \
  || { cat build-fuzz.configure.log; exit 1; }

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  # Every target with a seed corpus that this build defines (the QTI reader's needs Qt).
  known=$(cmake --build build-fuzz --target help)
  for dir in fuzz/corpus/*/; do
    t=$(basename "$dir")
    grep -qw -- "$t" <<< "$known" && targets+=("$t")
  done
fi
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
summary=()
for t in "${targets[@]}"; do
  bin=build-fuzz/fuzz/$t
  if [ ! -x "$bin" ]; then
    summary+=("$(printf '%-20s not built (Qt not found?)' "$t")")
    continue
  fi
  if [ -n "${FUZZ_STATE:-}" ]; then
    work=$FUZZ_STATE/$t
    findings=$work/findings
    mkdir -p "$work/corpus" "$findings"
  else
    work=build-fuzz/fuzz/run/$t
    findings=build-fuzz/fuzz/findings/$t
    rm -rf "$work" "$findings"
    mkdir -p "$work/corpus" "$findings"
  fi
  cp -rn fuzz/corpus/"$t"/. "$work/corpus/"
  options=()
  [ -f fuzz/"${t%_fuzzer}".dict ] && options+=(-dict="fuzz/${t%_fuzzer}.dict")
  log=$work/log.txt
  start=$(date +%s)
  nice -n 10 "$bin" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2560 -print_final_stats=1 \
       -artifact_prefix="$findings/" "${options[@]}" "$work/corpus" > "$log" 2>&1 || true
  took=$(( $(date +%s) - start ))
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  execs=$(grep -oE '^stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || true)
  cov=$(grep -oE 'cov: [0-9]+' <<< "$last" | grep -oE '[0-9]+' || true)
  ft=$(grep -oE 'ft: [0-9]+' <<< "$last" | grep -oE '[0-9]+' || true)
  found=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  [ "$found" -gt 0 ] && status=1
  summary+=("$(printf '%-20s execs %-10s time %5ss cov %-6s ft %-7s findings %s (%s)' "$t" "${execs:-?}" "$took" "${cov:-?}" "${ft:-?}" \
               "$found" "$findings")")
  if [ -n "${FUZZ_STATE:-}" ]; then
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$(date -u +%FT%TZ)" "$t" "${execs:-0}" "$took" "${cov:-?}" "${ft:-?}" \
           "$found" "$(git rev-parse --short HEAD 2>/dev/null || echo -)" >> "$FUZZ_STATE/ledger.tsv"
    total=$(awk -F'\t' -v t="$t" '$2 == t { e += $3; s += $4 } END { printf "%d executions in %d s", e, s }' \
            "$FUZZ_STATE/ledger.tsv")
    summary+=("$(printf '%-20s all runs: %s' "$t" "$total")")
  fi
done
printf '%s\n' "${summary[@]}"

if [ $# -eq 0 ] && [ "${TALVIK_CAMPAIGNS:-1}" != 0 ]; then
  cmake -S . -B build-plain -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ "${launcher[@]}" \
        > build-plain.configure.log 2>&1 || { cat build-plain.configure.log; exit 1; }
  cmake --build build-plain -j "$(nproc)"
  cmake --build build-fuzz -j "$(nproc)"
  BUILD=build-plain SANITIZE_BUILD=build-fuzz bash scripts/campaigns.sh || status=1
fi
exit $status
