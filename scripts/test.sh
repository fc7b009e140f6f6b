#!/usr/bin/env bash
# Builds every preset and runs every test: native unit tests (also under the sanitizers),
# the shipping win32 build with its PE checks, and the win64 unit and end-to-end tests
# under Wine in a private prefix and display.
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)

scripts/deps.sh

for preset in native native-asan win32 win64; do
  echo "== build $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

echo "== test native"
ctest --preset native
echo "== test native-asan"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset native-asan
echo "== check win32 deliverables"
scripts/check-pe.sh build/win32
for extra in scripts/test.d/*.sh; do
  [ -e "$extra" ] || continue
  echo "== $(basename "$extra")"
  "$extra"
done
echo "== test win64 under Wine"
scripts/with-wine.sh ctest --preset win64

echo "== all tests passed in $(( $(date +%s) - start )) s"
