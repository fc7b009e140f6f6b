#!/usr/bin/env bash
# Runs a command with a private Wine prefix and a private Xvfb display, both made for this run
# and removed afterwards. One wineserver stays up for the whole run so that each program
# starts warm. Usage: scripts/with-wine.sh COMMAND [ARGS...]
set -euo pipefail

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINE" ] || { echo "with-wine: $WINE is missing (run scripts/deps.sh)" >&2; exit 2; }

run_dir=$(mktemp -d /tmp/qs-wine.XXXXXX)
export WINEPREFIX="$run_dir/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
export QS_WINE_READY=1
export QS_WINE_RUN_DIR="$run_dir"

xvfb_pid=""
cleanup() {
  local rc=$?
  "$WINESERVER" -k >/dev/null 2>&1 || true
  # wineserver -k returns before the server has gone; wait for it briefly.
  "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$run_dir"
  exit $rc
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# QS_USE_DISPLAY=1 shows the programs on the user's own display instead of a private one.
own_display=""
[ -n "${QS_USE_DISPLAY:-}" ] && [ -n "${DISPLAY:-}" ] && own_display=1

if [ -z "$own_display" ]; then
# A display of our own: Xvfb picks a free number and writes it to the pipe.
exec 3> "$run_dir/display"
Xvfb -displayfd 3 -screen 0 "${QS_SCREEN:-1280x1024x24}" -nolisten tcp -nolisten unix -listen local \
  >"$run_dir/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 1 100); do
  [ -s "$run_dir/display" ] && break
  sleep 0.05
done
[ -s "$run_dir/display" ] || { echo "with-wine: Xvfb did not start" >&2; cat "$run_dir/xvfb.log" >&2; exit 2; }
export DISPLAY=":$(head -n1 "$run_dir/display")"
fi

# Each set-up step logs to the run's folder; a failing step says which one and shows its log
# instead of ending the run silently.
setup_log="$run_dir/setup.log"
step() {
  local what=$1; shift
  if ! "$@" >>"$setup_log" 2>&1; then
    echo "with-wine: set-up step failed: $what" >&2
    tail -n 40 "$setup_log" >&2 || true
    exit 2
  fi
}
# A step that may answer "nothing to do" (a value already absent, a server already down).
optional() { "$@" >>"$setup_log" 2>&1 || true; }

# QS_WINE_PREFIX_CACHE names a folder that keeps one finished prefix between runs: a run copies
# it instead of making a new one (wineboot takes seconds natively, minutes in an emulated
# machine), and the first run saves its prefix there once set up.
prefix_cache=${QS_WINE_PREFIX_CACHE:-}
if [ -n "$prefix_cache" ] && [ -d "$prefix_cache/prefix" ]; then
  step "copy the cached prefix" cp -a "$prefix_cache/prefix" "$WINEPREFIX"
else
  # A new prefix's wineboot has been seen to fail at once now and then ("could not load
  # kernel32.dll" before anything was written); a second attempt in an empty prefix succeeds.
  if ! "$WINE" wineboot -i >>"$setup_log" 2>&1; then
    echo "with-wine: wineboot -i failed once; making the prefix again" >>"$setup_log"
    optional "$WINESERVER" -k
    optional "$WINESERVER" -w
    rm -rf "$WINEPREFIX"
    step "wineboot -i" "$WINE" wineboot -i
  fi
  # wineboot returns while the 32-bit half of the prefix (syswow64) may still be written by a
  # program of its own; the server ends a few seconds after the last program has. Stopping it
  # earlier leaves a prefix in which no 32-bit program starts ("could not load kernel32.dll").
  step "wait for the prefix to be complete" timeout 900 "$WINESERVER" -w
fi
optional "$WINESERVER" -p

# Without a window manager, let Wine manage nothing itself: hiding is then immediate.
[ -n "$own_display" ] ||
  step "reg add X11 Managed=N" "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
# A crashing program must end (and fail its test), not wait in the debugger.
optional "$WINE" reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f
# The settings above take effect for programs of a new server: restart it, and keep it up.
optional "$WINESERVER" -k
optional "$WINESERVER" -w
optional "$WINESERVER" -p
# The Desktop of a new prefix is a link to $HOME; tests write there, so make it a real folder.
# wineboot may return before the user's profile is complete: wait for the Desktop entry.
desktop=""
for _ in $(seq 1 200); do
  for candidate in "$WINEPREFIX"/drive_c/users/*/Desktop; do
    case "$candidate" in */Public/Desktop|*'*'*) continue ;; esac
    [ -e "$candidate" ] || [ -L "$candidate" ] || continue
    desktop=$candidate
  done
  [ -n "$desktop" ] && break
  sleep 0.05
done
[ -n "$desktop" ] || { echo "with-wine: the prefix has no user Desktop folder" >&2; exit 2; }
if [ -L "$desktop" ]; then
  rm -f "$desktop"
  mkdir -p "$desktop"
fi
if [ -n "$prefix_cache" ] && [ ! -d "$prefix_cache/prefix" ]; then
  optional "$WINESERVER" -k
  optional "$WINESERVER" -w
  mkdir -p "$prefix_cache"
  step "save the prefix" cp -a "$WINEPREFIX" "$prefix_cache/prefix.tmp"
  mv "$prefix_cache/prefix.tmp" "$prefix_cache/prefix"
  optional "$WINESERVER" -p
fi
# Warm the server so the first measured program does not pay the cold start.
optional "$WINE" cmd /c exit

"$@"
