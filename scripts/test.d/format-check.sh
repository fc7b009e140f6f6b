#!/usr/bin/env bash
# Every C and C++ source the repository tracks is formatted as .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/../.."
mapfile -t sources < <(git ls-files '*.c' '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${sources[@]}" 2>/tmp/qs-format.$$; then
  grep -E '^[^ ].*: (error|warning):' /tmp/qs-format.$$ | sed 's/: \(error\|warning\):.*//' | sort -u | head -n 40
  rm -f /tmp/qs-format.$$
  echo "format-check: the files above differ from .clang-format; run: clang-format -i FILE..." >&2
  exit 1
fi
rm -f /tmp/qs-format.$$
echo "ok   ${#sources[@]} sources formatted as .clang-format says"
