#!/usr/bin/env bash
# The tests of the shipping (i686) build in Wine's classic 32-bit loader (wine32, installed by
# scripts/deps.sh), in one private Wine run: the unit and end-to-end tests of build/win32-tests
# (which drive the deliverables of build/win32), then Regpick and Revivo at several screen
# widths. The set-up is meant to give a 32-bit program everything a 64-bit one gets, so a
# capability probe of the tests that finds one missing fails its test, naming the probe
# (QS_REQUIRE_CAPABILITIES=1), instead of leaving the check to the x86_64 run.
#
# Wine's 32-bit loader needs the kernel to run 32-bit code. A probe program comes first; where
# it cannot run, the run is reported as left out, with the reason, and ends without failing,
# unless QS_REQUIRE_I686=1 (scripts/test.sh then runs it in an emulated machine instead).
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
  echo "  (Wine's 32-bit loader needs wine32:i386, see scripts/deps.sh, and a kernel that runs"
  echo "  32-bit code; some virtual machines' kernels refuse it: scripts/ia32-vm runs the i686"
  echo "  tests in an emulated machine there.)"
  [ "${QS_REQUIRE_I686:-0}" = 1 ] && exit 1
  exit 0
fi
echo "$probe_output"
export QS_REQUIRE_CAPABILITIES=1

# QS_I686_TESTS (a ctest regular expression) runs only the tests it names, as the emulated
# machine does (scripts/test.sh); the run at several widths is then left out.
if [ -n "${QS_I686_TESTS:-}" ]; then
  ctest --preset win32-tests -R "$QS_I686_TESTS"
  exit 0
fi
ctest --preset win32-tests
# Last: each width changes the screen size of this Wine run's server.
scripts/wine-exec "$build_dir/tests/e2e/tools/e2e_tools_widths.exe"
