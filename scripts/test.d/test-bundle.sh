#!/usr/bin/env bash
# The test kit as a vendor runs it: builds the kit of each architecture
# (scripts/make-test-bundle.sh), unzips it alone into a fresh folder and runs
# "runner.exe --disposable-machine" there in a fresh Wine prefix and display, with the build
# tree out of Wine's sight (no drive Z: for "/", the kit on a drive of its own). Passes when no
# test failed, every skip has its reason, and at least 90 % of the tests CTest runs for that
# architecture, the HTTPS cases aside, passed. The i686 kit needs Wine's 32-bit loader, so a
# kernel that runs 32-bit code; elsewhere it is left out, and the run says so (the emulated
# machine's time goes to the i686 tests themselves).
set -euo pipefail
cd "$(dirname "$0")/../.."
repo=$PWD

# run_kit ARCH RELEASE-FOLDER
run_kit() (
  begin=$(date +%s)
  arch=$1 release=$2
  scripts/make-test-bundle.sh "$arch"
  zip=$(ls -t "$release"/Quillsuite-*-"$arch"-tests.zip | head -n1)
  top=$(basename "$zip" .zip)
  fresh=$(mktemp -d /tmp/qs-kit.XXXXXX)
  trap 'rm -rf "$fresh"' EXIT
  unzip -q "$zip" -d "$fresh"
  kit=$fresh/$top
  results=$fresh/results
  mkdir -p "$results"

  # Inside the Wine run: the prefix loses Z: (all of "/") and gains K: (the kit) and R: (results).
  cat >"$fresh/run-in-wine.sh" <<'EOF'
#!/usr/bin/env bash
set -u
kit=$1 results=$2
rm -f "$WINEPREFIX/dosdevices/z:"
ln -s "$kit" "$WINEPREFIX/dosdevices/k:"
ln -s "$results" "$WINEPREFIX/dosdevices/r:"
cd "$kit"
/usr/lib/wine/wine64 'K:\runner.exe' --disposable-machine --results 'R:\' >"$results/console.txt" 2>&1
echo $? >"$results/exit-status"
# Tests with a setting Wine reads only at its start are skipped above, with that reason; started
# with it, the runner runs them.
grep -a '^env=WINE' "$kit/tests.manifest" | tr -d '\r' | sort -u | while read -r line; do
  setting=${line#env=}
  mkdir -p "$results/with-setting"
  ln -sfn "$results/with-setting" "$WINEPREFIX/dosdevices/s:"
  env "$setting" /usr/lib/wine/wine64 'K:\runner.exe' --disposable-machine --results 'S:\' \
    --filter "$(grep -a -B20 "^$line" "$kit/tests.manifest" | tr -d '\r' | sed -n 's/^test=\([^.]*\)\..*/\1./p' | tail -n1)" \
    >>"$results/with-setting/console.txt" 2>&1
  echo $? >>"$results/with-setting/exit-status"
done
EOF
  chmod +x "$fresh/run-in-wine.sh"
  (cd "$fresh" && "$repo/scripts/with-wine.sh" "$fresh/run-in-wine.sh" "$kit" "$results")
  tr -d '\r' <"$results/console.txt" | grep -v -e '^passed ' || true

  status=$(cat "$results/exit-status")
  counts=$(tr -d '\r' <"$results/console.txt" | tail -n1)
  read -r passed _ failed _ skipped _ <<<"$counts"
  [[ "$counts" =~ ^[0-9]+\ passed,\ [0-9]+\ failed,\ [0-9]+\ skipped$ ]] \
    || { echo "test kit ($arch): the run did not end with its counts"; exit 1; }
  manifest=$kit/tests.manifest
  total=$(grep -c '^test=' "$manifest")
  https=$(tr -d '\r' <"$manifest" | grep -c '^label=needs-linux-tls-helper$' || true)
  [ $((passed + failed + skipped)) -eq "$total" ] \
    || { echo "test kit ($arch): $((passed + failed + skipped)) results for $total tests in the manifest"; exit 1; }
  if [ "$failed" -ne 0 ] || [ "$status" -ne 0 ]; then
    # The fresh folder goes with the run: show what each failed test printed first.
    tr -d '\r' <"$results/console.txt" | sed -n 's/^FAILED *[0-9.]* s  \([^ ]*\).*/\1/p' | while read -r name; do
      echo "---- output of $name (last lines)"
      tail -n 40 "$results/output/$name.txt" 2>/dev/null | tr -d '\r' || true
    done
    echo "test kit ($arch): $failed failed (exit status $status)"
    exit 1
  fi
  if tr -d '\r' <"$results/summary.txt" | sed -n '/^Skipped, and why:/,/^[^ ]/p' | grep '^  ' | grep -qv ': ..*'; then
    echo "test kit ($arch): a skip without its reason"
    exit 1
  fi
  needed=$(( ( (total - https) * 9 + 9 ) / 10 ))
  [ "$passed" -ge "$needed" ] \
    || { echo "test kit ($arch): $passed passed, fewer than 90 % of the $((total - https)) tests that are not HTTPS cases"; exit 1; }
  [ -s "$results/junit.xml" ] || { echo "test kit ($arch): no junit.xml"; exit 1; }
  if [ -d "$results/with-setting" ]; then
    tr -d '\r' <"$results/with-setting/console.txt" | grep -v '^passed ' || true
    if grep -qv '^0$' "$results/with-setting/exit-status" || grep -q ' 0 passed' "$results/with-setting/console.txt"; then
      echo "test kit ($arch): the tests with a Wine start setting did not all pass when Wine started with it"
      exit 1
    fi
  fi
  echo "test kit ($arch) ok: $counts of $total ($https HTTPS cases), at least $needed needed; $(( $(date +%s) - begin )) s"
)

run_kit x86_64 build/win64/release
if scripts/kernel-runs-32bit.sh; then
  run_kit i686 build/win32/release
else
  echo "LEFT OUT: the i686 test kit. This kernel does not run 32-bit code, which Wine's 32-bit"
  echo "  loader needs; the i686 tests run in an emulated machine instead (scripts/test.sh)."
fi
