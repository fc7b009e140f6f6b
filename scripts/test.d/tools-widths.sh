#!/usr/bin/env bash
# Regpick and Revivo at several screen widths. Each width is a Wine virtual desktop of that
# size, and making one changes the screen size every later program of the same wineserver
# sees; so these cases run in a Wine run of their own, not in the shared ctest run.
# Usage: scripts/test.d/tools-widths.sh [BUILD_DIR]   (default build/win64)
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir=${1:-build/win64}
exec scripts/with-wine.sh scripts/wine-exec "$build_dir/tests/e2e/tools/e2e_tools_widths.exe"
