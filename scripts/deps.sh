#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages, only when missing.
set -euo pipefail

need=()
have() { command -v "$1" >/dev/null 2>&1; }

have cmake                         || need+=(cmake)
have g++                           || need+=(g++)
have make                          || need+=(make)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
have i686-w64-mingw32-g++-posix    || need+=(g++-mingw-w64-i686-posix)
have i686-w64-mingw32-g++-win32    || need+=(g++-mingw-w64-i686-win32)
have x86_64-w64-mingw32-g++-posix  || need+=(g++-mingw-w64-x86-64-posix)
have i686-w64-mingw32-windres      || need+=(binutils-mingw-w64-i686)
have x86_64-w64-mingw32-objdump    || need+=(binutils-mingw-w64-x86-64)
[ -x /usr/lib/wine/wine64 ]        || need+=(wine wine64)
have Xvfb                          || need+=(xvfb)
have xdotool                       || need+=(xdotool)
[ -x /usr/bin/convert ]            || need+=(imagemagick)
have clang++                       || need+=(clang)
[ -d /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux ] || need+=(libclang-rt-14-dev)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
have clang-format                || need+=(clang-format)
have zip                           || need+=(zip)
have unzip                         || need+=(unzip)
[ -x /usr/bin/openssl ]            || need+=(openssl)
have osslsigncode                  || need+=(osslsigncode)
have git                           || need+=(git)
[ -x /usr/bin/python3 ]            || need+=(python3)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

if [ ${#need[@]} -gt 0 ]; then
  echo "deps: installing ${need[*]}"
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# Wine's WoW64 mode runs the i686 programs inside the 64-bit Wine; it needs Wine's 32-bit PE
# DLLs, and finds a 32-bit DLL's Unix side beside the folder the DLL lies in. So the folder
# holds the 32-bit DLLs of libwine:i386 (unpacked, not installed: installing wine32 would
# bring a 32-bit loader this kernel cannot run, and Wine would try it first) next to links
# to the system's 64-bit DLLs and Unix libraries. scripts/with-wine.sh puts it on WINEDLLPATH.
# Where the kernel cannot run 32-bit code, the i686 tests run in an emulated machine
# (scripts/ia32-vm) that uses the same folder.
wow64_dir="$(cd "$(dirname "$0")/.." && pwd)/build/wow64"
if [ ! -f "$wow64_dir/dlls/i386-windows/ntdll.dll" ]; then
  echo "deps: preparing Wine's 32-bit DLLs in $wow64_dir"
  wine_lib=/usr/lib/x86_64-linux-gnu/wine
  # The 32-bit DLLs must be the same Wine version as the installed 64-bit ones.
  version=$(dpkg-query -W -f='${Version}' libwine:amd64)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  if ! apt-cache show "libwine:i386=$version" >/dev/null 2>&1; then
    $sudo apt-get update -qq
  fi
  work=$(mktemp -d "${TMPDIR:-/tmp}/qs-wow64.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  (cd "$work" && apt-get download -qq "libwine:i386=$version" >/dev/null)
  dpkg -x "$work"/libwine_*_i386.deb "$work/root"
  rm -rf "$wow64_dir"
  mkdir -p "$wow64_dir/dlls"
  mv "$work/root/usr/lib/i386-linux-gnu/wine/i386-windows" "$wow64_dir/dlls/i386-windows"
  ln -s "$wine_lib/x86_64-unix" "$wow64_dir/dlls/x86_64-unix"
  ln -s "$wine_lib/x86_64-windows" "$wow64_dir/dlls/x86_64-windows"
  [ -f "$wow64_dir/dlls/i386-windows/ntdll.dll" ] || { echo "deps: no ntdll.dll in libwine:i386" >&2; exit 1; }
fi
