#!/usr/bin/env bash
# Times Upvane under Wine: its start-up against a minimal dialog program built the same way,
# and one check against a bare WinINet GET of the same document from a loopback server.
# Prints the machine, the table and the ratios a/b and c/d.
#
# Usage: scripts/measure-wine.sh [ROUNDS]      (default 15, after one warm-up round)
# Builds with the win64 preset; QS_BUILD_DIR=DIR builds in a folder of one's own instead.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-15}

if [ -n "${QS_BUILD_DIR:-}" ]; then
  build=$QS_BUILD_DIR
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
      -DQS_BUILD_TESTS=ON -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
  fi
  cmake --build "$build" --target upvane_timing -j1 >/dev/null
else
  build=build/win64
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 --target upvane_timing >/dev/null
fi

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
wine_version=$(/usr/lib/wine/wine64 --version 2>/dev/null || echo unknown)
echo "machine: $(nproc) cores, ${cpu:-unknown CPU}, $wine_version, $(date -u '+%Y-%m-%d %H:%M UTC')"
scripts/with-wine.sh scripts/wine-exec "$build/bench/wine/upvane_timing.exe" "$rounds"
