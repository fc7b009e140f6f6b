#!/usr/bin/env bash
# Builds every preset and runs every test: native unit tests (also under the sanitizers),
# the shipping win32 build with its PE checks, the win64 unit and end-to-end tests under Wine,
# and the same tests built for i686 against the shipping build's own files under Wine's WoW64
# mode, each Wine run in a private prefix and display. Prints the wall time of each part.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
times=()

# part NAME COMMAND...: runs one part of the test command and notes its wall time.
part() {
  local name=$1 begin
  shift
  echo "== $name"
  begin=$(date +%s)
  "$@"
  times+=("$(printf '%5d s  %s' $(( $(date +%s) - begin )) "$name")")
}

build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}

part "dependencies" scripts/deps.sh
# win32 before win32-tests: the i686 tests drive the files of the shipping build. Those tests
# run only where the kernel runs 32-bit code (Wine's WoW64 mode needs it); elsewhere they are
# not built, and the run says so.
presets=(native native-asan win32 win64)
run_i686=1
if ! scripts/kernel-runs-32bit.sh; then
  run_i686=""
  echo "== LEFT OUT: the i686 run. This kernel does not run 32-bit code, so Wine's WoW64 mode"
  echo "   cannot start the shipping build's programs here; only the x86_64 run tests behaviour."
  [ "${QS_REQUIRE_WOW64:-0}" = 1 ] && exit 1
else
  presets=(native native-asan win32 win32-tests win64)
fi
for preset in "${presets[@]}"; do
  part "build $preset" build "$preset"
done

part "test native" ctest --preset native
part "test native-asan" env ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --preset native-asan
part "check win32 deliverables" scripts/check-pe.sh build/win32
for extra in scripts/test.d/*.sh; do
  [ -e "$extra" ] || continue
  part "$(basename "$extra")" "$extra"
done
part "test win64 under Wine" scripts/with-wine.sh ctest --preset win64
[ -z "$run_i686" ] || part "test win32 (i686) under Wine's WoW64 mode" scripts/test-i686.sh

echo "== wall time of each part"
printf '%s\n' "${times[@]}"
echo "== all tests passed in $(( $(date +%s) - start )) s"
