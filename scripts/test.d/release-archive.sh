#!/usr/bin/env bash
# Makes the release archive from the win32 build and checks its file list and its checksums.
set -euo pipefail
cd "$(dirname "$0")/../.."

cmake --build --preset win32 --target package >/dev/null
zip=$(ls -t build/win32/release/Quillsuite-*-win32.zip | head -n1)
top=$(basename "$zip" .zip)

expected=$(sort <<EOF
$top/README.txt
$top/Regpick.exe
$top/Revivo.exe
$top/SHA256SUMS
$top/Traylet.dll
$top/Upvane.exe
$top/examples/Quillory.set
$top/examples/quillory-demo.ini
$top/examples/version.txt
$top/sdk/example/TrayletExample.cpp
$top/sdk/include/TrayManager.h
$top/sdk/lib/Traylet.def
$top/sdk/lib/Traylet.lib
$top/sdk/lib/libTraylet.dll.a
$top/vendor/setmaker.exe
EOF
)
actual=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
if [ "$expected" != "$actual" ]; then
  echo "release archive $zip: unexpected file list"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
# The programs inside are the shipping (i386) build.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unzip -q "$zip" -d "$tmp"
# The sums beside the archive and inside it, as a customer checks them.
(cd "$(dirname "$zip")" && sha256sum --quiet --strict -c "$(basename "$zip").sha256") \
  || { echo "release archive: $zip does not match $zip.sha256"; exit 1; }
summed=$(cd "$tmp/$top" && sha256sum --quiet --strict -c SHA256SUMS && sed 's/^[0-9a-f]*  //' SHA256SUMS)
[ "$summed" = "$(cd "$tmp/$top" && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort)" ] \
  || { echo "release archive: SHA256SUMS does not list every file of the archive"; exit 1; }
for f in Upvane.exe Regpick.exe Revivo.exe Traylet.dll vendor/setmaker.exe; do
  i686-w64-mingw32-objdump -f "$tmp/$top/$f" | grep -q 'file format pei-i386' \
    || { echo "release archive: $f is not an i386 file"; exit 1; }
done
echo "release archive ok: $zip ($(echo "$actual" | wc -l) files)"
