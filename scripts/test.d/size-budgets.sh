#!/usr/bin/env bash
# Sizes of the shipping (win32) deliverables against their budgets, so that growth is noticed.
# The budgets are the sizes of December 2026 (after the shipping build was made small) with
# about 5 % headroom; raise one only with a reason in the commit message. They are for the
# unsigned files: a signed release's copies carry a certificate table of a few kilobytes more.
set -euo pipefail
cd "$(dirname "$0")/../.."
dir=${1:-build/win32}

# file                         budget in bytes   (size when set)
budgets=(
  "upvane/Upvane.exe           195000"         # 185,344 (110,080 before WinINet and the common controls were loaded at first use (+2.5 KB), the links' keyboard and screen-reader support (+10 KB) and the profile rules for multi-byte code pages (+10 KB); 132,096 before every display scale: icon images of 16 to 256 pixels (+40 KB), the large banner (+7.5 KB), layout after a change of scale (+5 KB))
  "tools/regpick/Regpick.exe    79000"         #  75,264 (35,328 before the icon images of 16 to 256 pixels)
  "tools/revivo/Revivo.exe      80000"         #  76,288 (35,328 before the icon images of 16 to 256 pixels)
  "traylet/Traylet.dll          20000"         #  18,944
  "setmaker/setmaker.exe       145000"         # 139,264 (with verify: the check session and WinINet; +9 KB: the profile rules)
)

fail=0
for entry in "${budgets[@]}"; do
  read -r file budget <<<"$entry"
  path="$dir/$file"
  if [ ! -f "$path" ]; then
    echo "FAIL $path is missing"; fail=1; continue
  fi
  size=$(stat -c %s "$path")
  if [ "$size" -gt "$budget" ]; then
    echo "FAIL $file: $size bytes, over its budget of $budget"; fail=1
  else
    echo "ok   $file: $size bytes (budget $budget, $((100 * size / budget)) %)"
  fi
done
exit $fail
