#!/usr/bin/env bash
# Smoke test of the 64-bit Windows screen saver under wine64 and a virtual X display:
# it must start, answer --version and --help, and exit cleanly.
set -euo pipefail
build=${1:-build/win-x86_64}
scr="$build/lumivane.scr"
[ -f "$scr" ] || { echo "wine-smoke: $scr not built" >&2; exit 1; }
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
export WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

run() { timeout 120 xvfb-run -a "$wine" "$scr" "$@"; }

out=$(run --version 2>/dev/null | tr -d '\r')
echo "$out"
case "$out" in *"lumivane 4.21"*) ;; *) echo "wine-smoke: --version printed '$out'" >&2; exit 1;; esac
run --help >/dev/null 2>&1 || { echo "wine-smoke: --help failed" >&2; exit 1; }
echo "wine-smoke: passed"
