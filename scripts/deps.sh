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
have zip                           || need+=(zip)
have unzip                         || need+=(unzip)

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

echo "deps: installing ${need[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
