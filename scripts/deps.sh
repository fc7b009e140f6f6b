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

# The i686 build's tests run in Wine's classic 32-bit loader, which Debian's wine32:i386 brings
# (multiarch), the same Wine version as the 64-bit one; with it come the 32-bit twins of the
# libraries the 64-bit Wine here loads at run time (TLS for HTTPS, X cursors, rendering, screen
# modes, the clipboard's selection events), so that both builds see the same Wine. On a kernel
# that refuses 32-bit code, the packages install as well (a maintainer script's 32-bit helper
# fails there without failing the install, and the 64-bit Wine works as before); the i686 tests
# then run in an emulated machine (scripts/ia32-vm) that sees this machine's installed files.
if [ ! -x /usr/lib/wine/wine ]; then
  version=$(dpkg-query -W -f='${Version}' wine64)
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  if ! apt-cache show "wine32:i386=$version" >/dev/null 2>&1; then
    $sudo apt-get update -qq
  fi
  echo "deps: installing Wine's 32-bit loader (wine32:i386 $version)"
  $sudo apt-get install -y -qq --no-install-recommends "wine32:i386=$version" \
    libgnutls30:i386 libxcursor1:i386 libxrender1:i386 libxrandr2:i386 libxi6:i386 \
    libxinerama1:i386 libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386 libdbus-1-3:i386 \
    libkrb5-3:i386 libgssapi-krb5-2:i386 >/dev/null
  [ -x /usr/lib/wine/wine ] || { echo "deps: wine32:i386 brought no /usr/lib/wine/wine" >&2; exit 1; }
fi
