#!/usr/bin/env bash
# Sizes of the shipping (win32) deliverables against their budgets, so that growth is noticed.
# The budgets were set from the sizes of December 2026 with about 10 % headroom; raise one
# only with a reason in the commit message.
set -euo pipefail
cd "$(dirname "$0")/../.."
dir=${1:-build/win32}

# file                         budget in bytes   (size when set)
budgets=(
  "upvane/Upvane.exe           430000"         # 388,096
  "tools/regpick/Regpick.exe   310000"         # 279,552
  "tools/revivo/Revivo.exe     310000"         # 280,064
  "traylet/Traylet.dll          22000"         #  19,456
  "setmaker/setmaker.exe       355000"         # 319,488
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
