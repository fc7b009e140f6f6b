#!/usr/bin/env bash
# Makes the release archive from an installed build, the same bytes on every run from the same
# sources: installs into a staging folder, signs every PE file when a certificate is given
# (authenticode-sign.sh), writes SHA256SUMS of every file, and zips the folder with its entries
# sorted, dated at the commit's time, with fixed permissions and no owner or extra times.
# Writes OUT_DIR/NAME.zip and OUT_DIR/NAME.zip.sha256, both for `sha256sum -c`.
#
# make-release-archive.sh BUILD_DIR OUT_DIR NAME
#
# The entries' time is SOURCE_DATE_EPOCH when set, else the time of the sources' last commit.
set -euo pipefail
build=$1 out=$2 name=$3
here=$(cd "$(dirname "$0")" && pwd)

epoch=${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct 2>/dev/null || true)}
if [ -z "$epoch" ]; then
  echo "release archive: not a git checkout and no SOURCE_DATE_EPOCH set; give the time of" >&2
  echo "  the sources (seconds since 1970) in SOURCE_DATE_EPOCH" >&2
  exit 1
fi

mkdir -p "$out"
out=$(cd "$out" && pwd)
stage="$out/.stage"
rm -rf "$stage" "$out/$name.zip" "$out/$name.zip.sha256"
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage/$name" >/dev/null

cd "$stage/$name"
pe_files=()
while IFS= read -r -d '' f; do
  [ "$(head -c 2 "$f")" = MZ ] && pe_files+=("$f")
done < <(find . -type f -print0 | LC_ALL=C sort -z)
"$here/authenticode-sign.sh" "${pe_files[@]}"

find . -type f -printf '%P\0' | LC_ALL=C sort -z | xargs -0 sha256sum >"$stage/SHA256SUMS"
mv "$stage/SHA256SUMS" SHA256SUMS

# Fixed permissions and times: what the unpacking user's umask and the build's clock were
# must not show in the archive.
find . -type d -exec chmod 0755 {} +
find . -type f -exec chmod 0644 {} +
find . -exec touch -h -d "@$epoch" {} +

cd "$stage"
# -X: no owner ids or extra time fields; -D: no folder entries; the DOS times in UTC.
find "$name" -type f -print | LC_ALL=C sort | TZ=UTC zip -q -X -D -9 "$out/$name.zip" -@
cd "$out"
sha256sum "$name.zip" >"$name.zip.sha256"
echo "release archive: $out/$name.zip ($(unzip -Z1 "$name.zip" | wc -l) files, sums in SHA256SUMS and $name.zip.sha256)"
