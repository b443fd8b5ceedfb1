#!/usr/bin/env bash
# The long campaigns at full size, and a table of what they found:
#   the registration store with writers killed at random (10,000 kills),
#   the exam session's kill-and-resume loop (10,000 kills),
#   the exam on a full and on a read-only disk,
#   10 million clicks and keys on the answer sheet and the option strip, and 24 hours
#   of the clock, in the headless host (plain build, then under the sanitizers),
#   every control created and destroyed 100,000 times in the Qt host (plain, then under
#   the sanitizers, where the leak sanitizer checks the exit).
#
#   scripts/campaigns.sh [SCALE]     SCALE multiplies every round count (default 1;
#                                    0.01 for a quick look)
#   BUILD=build-plain SANITIZE_BUILD=build-sanitize   the build folders (the sanitizer one is
#                                    optional: its rows are skipped when it is missing)
#
# Runs at low priority. Exits 1 when any campaign had a finding.
set -uo pipefail
cd "$(dirname "$0")/.."
scale=${1:-1}
build=${BUILD:-build-plain}
sanitize=${SANITIZE_BUILD:-build-sanitize}
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:halt_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
log=${CAMPAIGN_LOG:-$build/campaigns.log}
: > "$log"

rounds() { awk -v n="$1" -v s="$scale" 'BEGIN { r = int(n * s); print (r < 1 ? 1 : r) }'; }
find_exe() { find "$1" -type f -name "$2" -perm -u+x 2>/dev/null | head -n 1; }

rows=()
status=0
row() {  # what|rounds|seconds|rss start|rss end|findings|note
  rows+=("$1")
  local findings
  findings=$(cut -d'|' -f6 <<< "$1")
  [ "$findings" = 0 ] || [ "$findings" = - ] || status=1
}

# A gtest campaign: its row says how many tests failed (or the exit status when it crashed).
gtest_campaign() {  # what rounds exe [args...]
  local what=$1 n=$2 exe=$3; shift 3
  if [ -z "$exe" ]; then row "$what|$n|-|-|-|-|not built"; return; fi
  local t0 t1 rc out
  t0=$(date +%s.%N)
  out=$(nice -n 10 "$exe" "$@" 2>&1); rc=$?
  t1=$(date +%s.%N)
  printf '== %s\n%s\n' "$what" "$out" >> "$log"
  local failed skipped
  failed=$(grep -c '^\[  FAILED  \] .*\.' <<< "$out")
  skipped=$(grep -c '^\[  SKIPPED \] .*\.' <<< "$out")
  [ "$rc" != 0 ] && [ "$failed" = 0 ] && failed="exit $rc"
  local note=""
  [ "$skipped" != 0 ] && note="$skipped skipped: $(grep -m1 -A0 'Skipped' <<< "$out" | head -c 100)"
  row "$what|$n|$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", b - a }')|-|-|$failed|$note"
}

# A long-run program, which prints its own CAMPAIGN| rows.
program_campaign() {  # name suffix exe [args...]
  local name=$1 suffix=$2 exe=$3; shift 3
  if [ -z "$exe" ]; then row "$name$suffix|-|-|-|-|-|not built"; return; fi
  local out rc
  out=$(nice -n 10 "$exe" "$@" 2>&1); rc=$?
  printf '== %s%s\n%s\n' "$(basename "$exe")" "$suffix" "$out" >> "$log"
  local lines
  lines=$(grep '^CAMPAIGN|' <<< "$out" | cut -d'|' -f2-)
  if [ -z "$lines" ]; then
    row "$name$suffix|-|-|-|-|exit $rc|crashed, see $log"
    return
  fi
  while IFS= read -r l; do
    IFS='|' read -r what n secs rs re findings note <<< "$l"
    [ "$rc" != 0 ] && [ "$findings" = 0 ] && findings="exit $rc"
    row "$what$suffix|$n|$secs|$rs|$re|$findings|$note"
  done <<< "$lines"
}

echo "campaigns at scale $scale; output in $log" >&2

TALVIK_REGISTRY_ROUNDS=$(rounds 10000) gtest_campaign "registry store, writers killed" "$(rounds 10000)" \
  "$(find_exe "$build" talvik_registry_campaign_tests)"
TALVIK_KILL_ROUNDS=$(rounds 10000) gtest_campaign "exam session, saver killed" "$(rounds 10000)" \
  "$(find_exe "$build" talvik_session_tests)" --gtest_filter='*Kill*'
TALVIK_EXAM_KILL_ROUNDS=$(rounds 10000) gtest_campaign "exam program, killed mid-test" "$(rounds 10000)" \
  "$(find_exe "$build" talvik_exam_kill_tests)"
gtest_campaign "exam on a full/read-only disk" "3 cases" "$(find_exe "$build" talvik_exam_disk_tests)"
program_campaign "headless long run" "" "$(find_exe "$build" talvik_longrun_headless)" "$(rounds 10000000)" "$(rounds 24)"
program_campaign "Qt create/destroy all" "" "$(find_exe "$build" talvik_qt_churn)" "$(rounds 100000)"
if [ -d "$sanitize" ]; then
  program_campaign "headless long run" " [asan+ubsan]" "$(find_exe "$sanitize" talvik_longrun_headless)" "$(rounds 10000000)" "$(rounds 24)"
  program_campaign "Qt create/destroy all" " [asan+ubsan+lsan]" "$(find_exe "$sanitize" talvik_qt_churn)" "$(rounds 100000)"
  TALVIK_REGISTRY_ROUNDS=$(rounds 2000) gtest_campaign "registry store [asan+ubsan]" "$(rounds 2000)" \
    "$(find_exe "$sanitize" talvik_registry_campaign_tests)"
  gtest_campaign "exam disk [asan+ubsan]" "3 cases" "$(find_exe "$sanitize" talvik_exam_disk_tests)"
fi

printf '%-40s %10s %9s %12s %12s %9s  %s\n' what rounds seconds "RSS start kB" "RSS end kB" findings note
for r in "${rows[@]}"; do
  IFS='|' read -r what n secs rs re findings note <<< "$r"
  printf '%-40s %10s %9s %12s %12s %9s  %s\n' "$what" "$n" "$secs" "$rs" "$re" "$findings" "$note"
done
exit $status
