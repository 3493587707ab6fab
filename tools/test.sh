#!/usr/bin/env bash
# Builds everything and runs every test: native unit and integration tests, the same
# tests under AddressSanitizer + UndefinedBehaviorSanitizer, and both Windows builds.
set -euo pipefail
cd "$(dirname "$0")/.."
JOBS=${JOBS:-$(nproc)}
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}
# Paths relative to the checkout, so a fresh clone elsewhere reuses the cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
start=$(date +%s)

echo "== native build and tests"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j "$JOBS"
(cd build/native && ctest --output-on-failure -j "$JOBS")
# Nothing may depend on where the machine is: the same tests again in the zones furthest
# ahead of UTC (+14) and well behind it (-9, -8 in summer).
for zone in Pacific/Kiritimati America/Anchorage; do
  echo "== native tests under TZ=$zone"
  (cd build/native && TZ=$zone ctest --output-on-failure -j "$JOBS")
done

echo "== Linux install, Debian package and XScreenSaver's daemon"
tools/package-test.sh build/native

echo "== sanitizer build and tests"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DLUMI_SANITIZE=ON >/dev/null
cmake --build build/asan -j "$JOBS"
(cd build/asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j "$JOBS")

# i686 first: the x86_64 tree packs its saver into the installer beside its own.
for arch in i686 x86_64; do
  echo "== Windows $arch cross-build"
  extra=()
  [ "$arch" = x86_64 ] && extra=(-DLUMI_I686_SCR="$PWD/build/win-i686/lumivane32.scr")
  cmake -S . -B build/win-$arch -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$arch.cmake -DCMAKE_BUILD_TYPE=Release "${extra[@]}" >/dev/null
  cmake --build build/win-$arch -j "$JOBS"
done

echo "== Windows installer under wine64"
tools/installer-test.sh build/win-x86_64

if [ -x tools/wine-smoke.sh ]; then
  echo "== Windows x86_64 smoke test under wine64"
  tools/wine-smoke.sh build/win-x86_64
fi

if [ -x tools/wine-dialog.sh ]; then
  echo "== Windows x86_64 settings dialog under wine64"
  tools/wine-dialog.sh build/win-x86_64
fi

if [ -x tools/wine-mail.sh ]; then
  echo "== Windows x86_64 mail check under wine64"
  tools/wine-mail.sh build/win-x86_64
fi

echo "== all tests passed in $(( $(date +%s) - start )) s"
