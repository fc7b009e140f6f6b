#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a short, bounded time on a copy of its seed corpus in a temporary folder,
# so the tree stays as it is. A crash fails the run; its input is kept in build/fuzz/crashes.
# Usage: scripts/test.d/fuzz-smoke.sh [SECONDS_PER_TARGET]   (default 20)
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-20}
build_dir=build/fuzz
targets="profile_setfile version_check"

cmake -S fuzz -B "$build_dir" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build_dir" -j2 >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/qs-fuzz-smoke.XXXXXX")
trap 'rm -rf "$work"' EXIT
crashes="$build_dir/crashes"
mkdir -p "$crashes"

for target in $targets; do
  mkdir -p "$work/$target"
  cp fuzz/corpus/$target/* "$work/$target/"
  log="$work/$target.log"
  if ! TMPDIR="$work" "$build_dir/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
      -artifact_prefix="$crashes/$target-" -print_final_stats=1 "$work/$target" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "FAIL fuzz_$target: input kept in $crashes"
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "ok   fuzz_$target: $runs runs in $seconds s ($speed/s), no crash"
done
