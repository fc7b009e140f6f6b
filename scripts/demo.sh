#!/usr/bin/env bash
# The suite's main job: builds, starts a local version server with the example version
# document, runs Upvane under Wine from a folder beside the example set file, presses Check
# and prints what the dialog reports. With a display (DISPLAY set), the dialog stays up on it
# until you close it; without one, a screenshot is saved instead.
# QS_DEMO_DPI=144 (120, 192, ...) shows it at that display scale (LogPixels of the run's prefix).
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
demo=(build/win64/scripts/demo/upvane_demo.exe build/win64/upvane/Upvane.exe build/native/examples/Quillory.set
      examples/version.txt "$out/upvane-demo.bmp" "${stay[@]}")
if [ -n "${QS_DEMO_DPI:-}" ]; then
  # Wine reads the scale when a program starts; the prefix is this run's own.
  scripts/with-wine.sh bash -c '/usr/lib/wine/wine64 reg add "HKCU\\Control Panel\\Desktop" /v LogPixels \
    /t REG_DWORD /d "$QS_DEMO_DPI" /f >/dev/null 2>&1 && exec scripts/wine-exec "$@"' _ "${demo[@]}"
else
  scripts/with-wine.sh scripts/wine-exec "${demo[@]}"
fi

if [ -f "$out/upvane-demo.bmp" ]; then
  /usr/bin/convert "$out/upvane-demo.bmp" "$out/upvane-demo.png" && rm -f "$out/upvane-demo.bmp"
  echo "screenshot saved as $out/upvane-demo.png"
fi
