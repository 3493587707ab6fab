# Sourced by the scripts that run the Windows build under wine64: finds wine and its
# server and quiets wine. The prefix is the caller's (WINEPREFIX), else build/wineprefix
# of the checkout. 32-bit wine cannot run here, so it is always the 64-bit loader.
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
export WINEPREFIX=${WINEPREFIX:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
