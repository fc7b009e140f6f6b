#!/usr/bin/env bash
# Checks the shipping deliverables: 32-bit (i386) PE files that import only Windows' own DLLs,
# and of those only the system's known DLLs, which the loader never looks for in the program's
# folder. Other system DLLs (wininet, comctl32, oleacc) are loaded from the system folder at
# their first use, so a copy planted beside a program is never loaded.
# Each of the four must be present: a build that lost one fails here instead of passing with
# nothing checked.
set -euo pipefail
dir=${1:-build/win32}
objdump=i686-w64-mingw32-objdump
# The DLLs a deliverable may import: Windows' own known DLLs, nothing from the compiler's runtime.
allowed='^(kernel32|user32|gdi32|shell32|ole32|oleaut32|advapi32|msvcrt|shlwapi)\.dll$'
required='Upvane.exe Traylet.dll Regpick.exe Revivo.exe'
# Checked as well when it was built.
optional='setmaker.exe'

fail=0
check() {
  local f=$1
  local fmt
  fmt=$($objdump -f "$f" 2>/dev/null | sed -n 's/.*file format //p') || fmt="not a 32-bit PE file"
  if [ "$fmt" != "pei-i386" ]; then
    echo "FAIL $f: format $fmt, expected pei-i386"; fail=1; return
  fi
  local imports
  imports=$($objdump -p "$f" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  for dll in $imports; do
    if ! [[ "$dll" =~ $allowed ]]; then
      echo "FAIL $f imports $dll"; fail=1
    fi
  done
  echo "ok   $f ($(stat -c %s "$f") bytes; imports: $(echo $imports | tr ' ' ','))"
}

if [ ! -d "$dir" ]; then
  echo "FAIL no build folder $dir"; exit 1
fi
for name in $required $optional; do
  mapfile -t files < <(find "$dir" -maxdepth 3 -name "$name" -type f | sort)
  if [ "${#files[@]}" -eq 0 ]; then
    case " $required " in
      *" $name "*) echo "FAIL $name not found in $dir"; fail=1 ;;
    esac
    continue
  fi
  for f in "${files[@]}"; do check "$f"; done
done
exit $fail
