#!/usr/bin/env bash
# Signs PE files in place with Authenticode (SHA-256) using osslsigncode, when a code-signing
# certificate is given; otherwise signs nothing and says so in one line.
#
# authenticode-sign.sh FILE...
#
# Environment (the package target fills it from the CMake cache variables of the same names):
#   QS_SIGN_PKCS12         PKCS#12 file holding the certificate, its chain and the private key
#   QS_SIGN_PASSWORD_FILE  file whose first line is the PKCS#12 password; it is handed to
#                          osslsigncode by name, so the password appears in no command line
#   QS_SIGN_TIMESTAMP_URL  RFC 3161 time-stamp server (optional); without one the signatures
#                          carry no time stamp and stop verifying when the certificate expires
set -euo pipefail

pkcs12=${QS_SIGN_PKCS12:-}
password_file=${QS_SIGN_PASSWORD_FILE:-}
timestamp_url=${QS_SIGN_TIMESTAMP_URL:-}

if [ -z "$pkcs12" ]; then
  echo "signing: no code-signing certificate given (QS_SIGN_PKCS12), nothing was signed"
  exit 0
fi
fail() { echo "signing: $*" >&2; exit 1; }
[ -r "$pkcs12" ] || fail "cannot read the PKCS#12 file $pkcs12"
[ -n "$password_file" ] || fail "QS_SIGN_PASSWORD_FILE must name the file holding the PKCS#12 password"
[ -r "$password_file" ] || fail "cannot read the password file $password_file"
command -v osslsigncode >/dev/null || fail "osslsigncode is missing (run scripts/deps.sh)"

timestamp=()
if [ -n "$timestamp_url" ]; then
  timestamp=(-ts "$timestamp_url")
  stamped="time-stamped by $timestamp_url"
else
  stamped="without a time stamp (no QS_SIGN_TIMESTAMP_URL given)"
fi

for file in "$@"; do
  log=$(mktemp)
  if ! osslsigncode sign -pkcs12 "$pkcs12" -readpass "$password_file" -h sha256 \
      "${timestamp[@]}" -in "$file" -out "$file.signing" >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log" "$file.signing"
    fail "could not sign $file"
  fi
  rm -f "$log"
  chmod --reference="$file" "$file.signing"
  mv -f "$file.signing" "$file"
done
echo "signing: signed $# file(s) with Authenticode (SHA-256), $stamped"
