#!/usr/bin/env bash
# Builds the shipping files and the release archive a second time, from a second checkout of
# the same commit in another folder, later, under another umask and time zone, and compares
# every byte with build/win32's: the archive, its checksum file, every file in the archive and
# every static library the shipping files are linked from. Names each file that differs.
# Only what the archive needs is built again (no tests, no SDK example); the toolchain and the
# git objects are shared.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

cmake --build --preset win32 --target package >/dev/null

other=$(mktemp -d "${TMPDIR:-/tmp}/qs-rebuild.XXXXXX")
trap 'rm -rf "$other"' EXIT
src="$other/second checkout"
# The same commit, plus this working tree's uncommitted changes, staged or not, so that a
# developer's run compares like with like: every file that differs from the commit and every
# new file is copied, every file deleted since the commit is deleted (a rename is both).
git clone --quiet --shared --no-checkout "$root" "$src"
git -C "$src" checkout --quiet --detach "$(git rev-parse HEAD)"
{
  git diff -z --no-renames --name-only --diff-filter=d HEAD
  git ls-files -z --others --exclude-standard
} | tar --null -T - -c | tar -x -C "$src"
git diff -z --no-renames --name-only --diff-filter=D HEAD | (cd "$src" && xargs -0 -r rm -f)

TIMEFORMAT='second build of the shipping files and archive: %0R s (CPU: %0U s user, %0S s system)'
time (
  cd "$src"
  umask 077
  export TZ=Pacific/Kiritimati
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 --target package >/dev/null
)

a=build/win32 b="$src/build/win32"
differ=()
compare() {
  if [ ! -f "$2" ]; then differ+=("$3 (missing in the second build)")
  elif ! cmp -s "$1" "$2"; then differ+=("$3"); fi
}

zip=$(cd "$a/release" && ls Quillsuite-*-win32.zip)
compare "$a/release/$zip" "$b/release/$zip" "release/$zip"
compare "$a/release/$zip.sha256" "$b/release/$zip.sha256" "release/$zip.sha256"
unzip -q "$a/release/$zip" -d "$other/a"
unzip -q "$b/release/$zip" -d "$other/b" 2>/dev/null || true
count=0
while IFS= read -r -d '' f; do
  count=$((count + 1))
  compare "$other/a/$f" "$other/b/$f" "$zip: $f"
done < <(cd "$other/a" && find . -type f -printf '%P\0' | sort -z)
# Every static and import library the second build made for the shipping files.
while IFS= read -r -d '' f; do
  count=$((count + 1))
  compare "$a/$f" "$b/$f" "$f"
done < <(cd "$b" && find . -name '*.a' -not -path '*/CMakeFiles/*' -printf '%P\0' | sort -z)

if [ ${#differ[@]} -gt 0 ]; then
  echo "FAIL the second build differs in ${#differ[@]} file(s):"
  printf '  %s\n' "${differ[@]}"
  exit 1
fi
echo "reproducible: $count files and the archive are byte-identical in both builds"
