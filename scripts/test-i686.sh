#!/usr/bin/env bash
# The tests of the shipping (i686) build under Wine's WoW64 mode, in one private Wine run:
# the unit and end-to-end tests of build/win32-tests (which drive the deliverables of
# build/win32), then Regpick and Revivo at several screen widths.
#
# Wine runs 32-bit programs only where its WoW64 mode works, which needs the kernel to run
# 32-bit code. A probe program comes first; where it cannot run, the run is reported as left
# out, with the reason, and ends without failing, unless QS_REQUIRE_WOW64=1.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${QS_WINE_READY:-}" ]; then
  exec scripts/with-wine.sh "$0" "$@"
fi
build_dir=build/win32-tests
[ -f "$build_dir/tests/platform_probe.exe" ] || { echo "build the win32-tests preset first" >&2; exit 2; }

if ! probe_output=$(scripts/wine-exec "$build_dir/tests/platform_probe.exe" 2>&1); then
  echo "LEFT OUT: the i686 run. Wine could not start a 32-bit program here:"
  printf '%s\n' "$probe_output" | tail -n 5 | sed 's/^/  /'
  echo "  (Wine's WoW64 mode needs the kernel to run 32-bit code; a kernel that refuses"
  echo "  32-bit system calls, as some virtual machines' kernels do, stops it before the"
  echo "  program starts.) The x86_64 run above is the only run of the suite on this machine."
  [ "${QS_REQUIRE_WOW64:-0}" = 1 ] && exit 1
  exit 0
fi
echo "$probe_output"

# QS_I686_TESTS (a ctest regular expression) runs only the tests it names, as the emulated
# machine does (scripts/test.sh); the run at several widths is then left out.
if [ -n "${QS_I686_TESTS:-}" ]; then
  ctest --preset win32-tests -R "$QS_I686_TESTS"
  exit 0
fi
ctest --preset win32-tests
# Last: each width changes the screen size of this Wine run's server.
scripts/wine-exec "$build_dir/tests/e2e/tools/e2e_tools_widths.exe"
