#!/usr/bin/env bash
# The suite's main job: builds, starts a local version server with the example version
# document, runs Upvane under Wine from a folder beside the example set file, presses Check
# and prints what the dialog reports. With a display (DISPLAY set), the dialog stays up on it
# until you close it; without one, a screenshot is saved instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
echo "== build"
cmake --preset native >/dev/null
cmake --build --preset native --target example_setfile
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Upvane upvane_demo

out=build/demo
mkdir -p "$out"
stay=()
if [ -n "${DISPLAY:-}" ] && [ -z "${QS_DEMO_HEADLESS:-}" ]; then
  export QS_USE_DISPLAY=1
  stay=(--stay)
fi

echo "== run"
scripts/with-wine.sh scripts/wine-exec build/win64/scripts/demo/upvane_demo.exe \
  build/win64/upvane/Upvane.exe build/native/examples/Quillory.set examples/version.txt \
  "$out/upvane-demo.bmp" "${stay[@]}"

if [ -f "$out/upvane-demo.bmp" ]; then
  /usr/bin/convert "$out/upvane-demo.bmp" "$out/upvane-demo.png" && rm -f "$out/upvane-demo.bmp"
  echo "screenshot saved as $out/upvane-demo.png"
fi
