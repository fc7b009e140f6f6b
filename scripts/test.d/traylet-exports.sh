#!/usr/bin/env bash
# Traylet.dll (shipping, i686) exports exactly CreateTrayManager and DestroyTrayManager, under
# their plain names: no stdcall "@n" suffix, no leading underscore, nothing else.
set -euo pipefail
cd "$(dirname "$0")/../.."
dll=${1:-build/win32/traylet/Traylet.dll}
[ -f "$dll" ] || { echo "FAIL $dll is missing (build the win32 preset first)"; exit 1; }

exports=$(i686-w64-mingw32-objdump -p "$dll" |
  sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^\s*\[\s*[0-9]*\]\s*//p' | sort | tr '\n' ' ')
expected="CreateTrayManager DestroyTrayManager "
if [ "$exports" != "$expected" ]; then
  echo "FAIL $dll exports: ${exports:-nothing}; expected: $expected"
  exit 1
fi
echo "ok   $dll exports $exports"
