#!/usr/bin/env bash
# Checks the shipping deliverables: 32-bit (i386) PE files that import only Windows' own DLLs.
set -euo pipefail
dir=${1:-build/win32}
objdump=i686-w64-mingw32-objdump
# The DLLs a deliverable may import: Windows' own, nothing from the compiler's runtime.
allowed='^(kernel32|user32|gdi32|shell32|ole32|oleaut32|comctl32|wininet|advapi32|msvcrt|shlwapi)\.dll$'

found=0
fail=0
for f in $(find "$dir" -maxdepth 3 \( -name 'Upvane.exe' -o -name 'Traylet.dll' -o -name 'Regpick.exe' -o -name 'Revivo.exe' -o -name 'setmaker.exe' \) | sort); do
  found=$((found + 1))
  fmt=$($objdump -f "$f" | sed -n 's/.*file format //p')
  if [ "$fmt" != "pei-i386" ]; then
    echo "FAIL $f: format $fmt, expected pei-i386"; fail=1; continue
  fi
  imports=$($objdump -p "$f" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  for dll in $imports; do
    if ! [[ "$dll" =~ $allowed ]]; then
      echo "FAIL $f imports $dll"; fail=1
    fi
  done
  echo "ok   $f ($(stat -c %s "$f") bytes; imports: $(echo $imports | tr ' ' ','))"
done
[ "$found" -gt 0 ] || echo "note: no deliverables built yet in $dir"
exit $fail
