#!/usr/bin/env bash
# Signs the release archive's programs and DLLs with a throwaway code-signing certificate and
# checks each with osslsigncode against that certificate (and that another certificate or a
# changed byte fails the check); starts the signed Upvane.exe under Wine and reads its dialog;
# then makes the unsigned archive again, checks that it says nothing was signed, and that the
# signed files without their signatures are the unsigned ones.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

tmp=$(mktemp -d "${TMPDIR:-/tmp}/qs-signing.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
make_cert() { # NAME SUBJECT: a self-signed code-signing certificate and its key
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=$2" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=critical,codeSigning" \
    -keyout "$tmp/$1.key" -out "$tmp/$1.pem" 2>/dev/null
}
make_cert signer "Quillsuite throwaway test signer"
make_cert other "Someone else"
openssl rand -hex 16 >"$tmp/password"
openssl pkcs12 -export -inkey "$tmp/signer.key" -in "$tmp/signer.pem" -out "$tmp/signer.p12" \
  -passout "file:$tmp/password"
export QS_SIGN_PKCS12="$tmp/signer.p12" QS_SIGN_PASSWORD_FILE="$tmp/password"

verify() { osslsigncode verify -CAfile "$1" -in "$2" >"$tmp/verify.log" 2>&1; }
fail=0

# The signed archive: every PE file in it verifies against the signer's certificate only.
out=$(cmake --build --preset win32 --target package)
grep '^signing:' <<<"$out" || { echo "FAIL the package target said nothing about signing"; fail=1; }
zip=$(ls build/win32/release/Quillsuite-*-win32.zip)
top=$(basename "$zip" .zip)
unzip -q "$zip" -d "$tmp/signed"
(cd "$tmp/signed/$top" && sha256sum --quiet --strict -c SHA256SUMS) || { echo "FAIL SHA256SUMS of the signed archive"; fail=1; }
signed_files=()
while IFS= read -r -d '' f; do
  [ "$(head -c 2 "$f")" = MZ ] || continue
  name=${f#"$tmp/signed/$top/"}
  if ! verify "$tmp/signer.pem" "$f"; then
    echo "FAIL $name does not verify against the signer's certificate:"; tail -n 5 "$tmp/verify.log"; fail=1
  elif verify "$tmp/other.pem" "$f"; then
    echo "FAIL $name verifies against another certificate"; fail=1
  else
    echo "ok   $name: Authenticode signature verified (SHA-256, no time stamp)"
    signed_files+=("$name")
  fi
done < <(find "$tmp/signed/$top" -type f -print0 | sort -z)
[ ${#signed_files[@]} -eq 5 ] || { echo "FAIL ${#signed_files[@]} signed PE files in the archive, expected 5"; fail=1; }
cp "$tmp/signed/$top/Upvane.exe" "$tmp/changed.exe"
printf 'X' | dd of="$tmp/changed.exe" bs=1 seek=4096 conv=notrunc status=none
if verify "$tmp/signer.pem" "$tmp/changed.exe"; then
  echo "FAIL a signed file changed after signing still verifies"; fail=1
fi

# The signed Upvane still starts and shows its dialog. The shipping i686 one runs only where
# the kernel runs 32-bit code; elsewhere the x86_64 build's Upvane.exe is signed the same way.
mkdir "$tmp/run"
if scripts/kernel-runs-32bit.sh; then
  echo "starting the signed i686 Upvane.exe from the archive under Wine"
  cp "$tmp/signed/$top/Upvane.exe" "$tmp/run/Upvane.exe"
else
  echo "this kernel runs no 32-bit code: starting the x86_64 build's Upvane.exe, signed the same way, under Wine"
  cp build/win64/upvane/Upvane.exe "$tmp/run/Upvane.exe"
  packaging/authenticode-sign.sh "$tmp/run/Upvane.exe"
  verify "$tmp/signer.pem" "$tmp/run/Upvane.exe" || { echo "FAIL the signed x86_64 Upvane.exe does not verify"; fail=1; }
fi
cmake --build --preset win64 --target upvane_demo >/dev/null
if scripts/with-wine.sh scripts/wine-exec build/win64/scripts/demo/upvane_demo.exe \
    "$tmp/run/Upvane.exe" examples/Quillory.set examples/version.txt "$tmp/run/dialog.bmp" \
    >"$tmp/run.log" 2>&1 && grep -q '^Upvane: "' "$tmp/run.log"; then
  echo "ok   the signed Upvane.exe starts and shows its dialog: $(grep '^Upvane: ' "$tmp/run.log")"
else
  echo "FAIL the signed Upvane.exe did not show its dialog:"; sed 's/^/  | /' "$tmp/run.log"; fail=1
fi

# Without a certificate nothing is signed, in one line, and the archive is the unsigned one.
unset QS_SIGN_PKCS12 QS_SIGN_PASSWORD_FILE
out=$(cmake --build --preset win32 --target package)
grep '^signing:' <<<"$out" || true
[ "$(grep -c '^signing:.*nothing was signed' <<<"$out")" = 1 ] || { echo "FAIL the unsigned build did not say so"; fail=1; }
unzip -q "$zip" -d "$tmp/unsigned"
cmp -s "$tmp/unsigned/$top/Upvane.exe" "$root/build/win32/upvane/Upvane.exe" \
  || { echo "FAIL the unsigned archive's Upvane.exe is not the build's"; fail=1; }
# Taking a signature off gives the unsigned file back, byte for byte: how a signed release is
# compared with a rebuild.
for f in "${signed_files[@]}"; do
  osslsigncode remove-signature -in "$tmp/signed/$top/$f" -out "$tmp/stripped" >/dev/null 2>&1
  cmp -s "$tmp/stripped" "$tmp/unsigned/$top/$f" \
    || { echo "FAIL $f without its signature is not the unsigned file"; fail=1; }
  rm -f "$tmp/stripped"
done
echo "ok   ${#signed_files[@]} signed files without their signatures are the unsigned files"
exit $fail
