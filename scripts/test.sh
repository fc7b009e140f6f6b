#!/usr/bin/env bash
# Builds every preset and runs every test: native unit tests (also under the sanitizers),
# the shipping win32 build with its PE checks, the win64 unit and end-to-end tests under Wine,
# and the same tests built for i686 against the shipping build's own files in Wine's classic
# 32-bit loader, each Wine run in a private prefix and display. Prints the wall time of each part.
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
# win32 before win32-tests: the i686 tests drive the files of the shipping build. They run
# natively where the kernel runs 32-bit code (Wine's 32-bit loader needs it); elsewhere in an
# emulated machine, and the run says so.
presets=(native native-asan win32 win32-tests win64)
in_vm=""
if ! scripts/kernel-runs-32bit.sh; then
  in_vm=1
  echo "== This kernel does not run 32-bit code, which Wine's 32-bit loader needs: the i686 tests"
  echo "   run in an emulated machine (scripts/ia32-vm), a chosen set of them (see README)."
  [ "${QS_REQUIRE_I686:-0}" = 1 ] && exit 1
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
if [ -z "$in_vm" ]; then
  part "test win32 (i686) in Wine's 32-bit loader" env QS_REQUIRE_I686=1 scripts/test-i686.sh
else
  # About ten times slower than natively: each deliverable's main paths and the checks of what
  # a 32-bit program draws, measures and converts, with the tests' time limits stretched.
  part "test win32 (i686) in an emulated machine" env QS_REQUIRE_I686=1 QS_WAIT_SCALE=4 \
    QS_I686_TESTS="$(paste -sd'|' scripts/i686-in-vm.txt)" scripts/ia32-vm --timeout 3300 -- scripts/test-i686.sh
fi

echo "== wall time of each part"
printf '%s\n' "${times[@]}"
echo "== all tests passed in $(( $(date +%s) - start )) s"
