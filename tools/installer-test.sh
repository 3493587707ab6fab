#!/usr/bin/env bash
# Builds the Windows installer with CPack's NSIS generator and tries it under wine64: a
# silent install per user puts the saver under %LOCALAPPDATA%\Programs\Lumivane, chooses
# it as the screen saver and registers an uninstaller; the silent uninstall removes the
# files and keys and puts the previous screen saver back.
# Usage: tools/installer-test.sh [x86_64 cross-build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/win-x86_64}
if [ -z "${LUMI_INSTALLER_DISPLAY:-}" ]; then
  export LUMI_INSTALLER_DISPLAY=1
  exec timeout 300 tools/with-xvfb.sh 800x600x24 "$0" "$@"
fi
fail() { echo "installer-test: $*" >&2; exit 1; }

(cd "$build" && cpack -G NSIS >/dev/null) || fail "cpack -G NSIS failed"
setup=$(ls -t "$build"/lumivane-*-setup.exe | head -1)
echo "-- built $setup ($(stat -c %s "$setup") bytes)"

# A prefix of its own: the installer writes to the registry and the user's folders.
export WINEPREFIX=$(mktemp -d)
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT

reg_value() {  # reg_value KEY NAME: the value's data, or nothing
  "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
"$wine" reg add 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE /d 'C:\windows\system32\previous.scr' /f >/dev/null
"$wineserver" -w

echo "-- silent install, per user"
"$wine" "$setup" /S
"$wineserver" -w
dir="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/Lumivane"
[ -f "$dir/lumivane.scr" ] || fail "no saver in $dir"
[ -f "$dir/uninstall.exe" ] || fail "no uninstaller in $dir"
# The help page goes beside the saver once the sources have one.
help_page=""
[ ! -f resources/help/lumivan.htm ] || help_page=$dir/lumivan.htm
if [ -n "$help_page" ]; then
  cmp -s resources/help/lumivan.htm "$help_page" || fail "the help page is not beside the saver"
  echo "   lumivan.htm beside the saver"
fi
saver=$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)
echo "   SCRNSAVE.EXE = $saver"
case "$saver" in *LUMIVA*|*lumivane*) ;; *) fail "Lumivane is not the screen saver";; esac
[ "$(reg_value 'HKCU\Control Panel\Desktop' ScreenSaveActive)" = 1 ] || fail "ScreenSaveActive is not 1"
uninstall=$(reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumivane' UninstallString)
echo "   UninstallString = $uninstall"
[ -n "$uninstall" ] || fail "no uninstaller registered"
"$wine" "$dir/lumivane.scr" --version | tr -d '\r' | grep -q '^lumivane ' || fail "the installed saver does not run"

echo "-- silent uninstall"
"$wine" "$dir/uninstall.exe" /S
"$wineserver" -w
sleep 1
[ ! -e "$dir/lumivane.scr" ] || fail "the saver is still there"
[ ! -e "$dir/uninstall.exe" ] || fail "the uninstaller is still there"
[ -z "$help_page" ] || [ ! -e "$help_page" ] || fail "the help page is still there"
[ -z "$(reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumivane' UninstallString)" ] \
  || fail "the uninstall key is still there"
restored=$(reg_value 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)
[ "$restored" = 'C:\windows\system32\previous.scr' ] || fail "the previous screen saver was not put back ($restored)"
echo "installer-test: all checks passed"
