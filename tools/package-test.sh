#!/usr/bin/env bash
# Checks the Linux install and package: cmake --install into a scratch DESTDIR lays out
# every file, the XScreenSaver description parses, the manual pages render, the desktop
# entry and the AppStream description validate, the Debian package builds and passes
# lintian and holds them all, and XScreenSaver's own daemon runs the installed
# hack, whose sky is then on the screen.
# Usage: tools/package-test.sh [native build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/native}
work=$(mktemp -d)
chmod 755 "$work"
xvfb=""
daemon_home=""
cleanup() {
  if [ -n "$daemon_home" ]; then
    as_daemon_user env HOME="$daemon_home" DISPLAY=:$display xscreensaver-command -exit >/dev/null 2>&1 || true
  fi
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "package-test: $*" >&2; exit 1; }
# XScreenSaver's daemon refuses to launch hacks as root: as root it runs as nobody, as a
# user as that user.
as_daemon_user() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi
}
daemon_owner=$( [ "$(id -u)" -eq 0 ] && echo nobody || id -un )

metainfo=invalid.lumivane.lumivane.metainfo.xml
expected=(usr/bin/lumivane usr/libexec/xscreensaver/lumivane usr/share/xscreensaver/config/lumivane.xml
          usr/share/man/man6/lumivane.6.gz usr/share/doc/lumivane/copyright usr/share/doc/lumivane/changelog.gz
          usr/share/icons/hicolor/16x16/apps/lumivane.png usr/share/icons/hicolor/256x256/apps/lumivane.png)
# The settings application (with its page, menu entry and AppStream description) and the
# help page are installed once the build has them.
targets=(lumivane lumi_install_files)
settings=""
cmake --build "$build" --target help > "$work/targets"
if grep -qw 'lumivane-settings' "$work/targets"; then
  settings=yes
  targets+=(lumivane-settings)
  expected+=(usr/bin/lumivane-settings usr/share/man/man1/lumivane-settings.1.gz
             usr/share/applications/lumivane-settings.desktop usr/share/metainfo/$metainfo)
fi
[ ! -f resources/help/lumivan.htm ] || expected+=(usr/share/lumivane/lumivan.htm)
cmake --build "$build" --target "${targets[@]}" >/dev/null
echo "-- install into a scratch DESTDIR"
dest="$work/root"
DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
for f in "${expected[@]}"; do
  [ -e "$dest/$f" ] || fail "$f not installed"
  echo "   $f"
done
[ "$(readlink "$dest/usr/libexec/xscreensaver/lumivane")" = "../../bin/lumivane" ] || fail "the hack is not a link to bin/lumivane"
"$dest/usr/libexec/xscreensaver/lumivane" --version | grep -q '^lumivane ' || fail "the installed hack does not run"

echo "-- the XScreenSaver description"
python3 - "$dest/usr/share/xscreensaver/config/lumivane.xml" <<'PY'
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
assert root.tag == "screensaver" and root.get("name") == "lumivane", root.attrib
assert root.get("_label") == "Lumivane"
assert [c.get("arg") for c in root.iter("command")] == ["--root"]
assert any(b.get("arg-set") == "-fps" for b in root.iter("boolean")), "no -fps switch"
assert "Lumivane Settings" in root.find("_description").text
print("   names lumivane, runs --root, has -fps")
PY

echo "-- the manual pages"
# Without the settings program its page, menu entry and description are not installed:
# check them where the build and the sources keep them.
if [ -n "$settings" ]; then
  settings_page=$dest/usr/share/man/man1/lumivane-settings.1.gz
  desktop=$dest/usr/share/applications/lumivane-settings.desktop
  appdata=$dest/usr/share/metainfo/$metainfo
else
  settings_page=$build/install-stage/lumivane-settings.1.gz
  desktop=resources/linux/lumivane-settings.desktop
  appdata=resources/linux/$metainfo
fi
for page in "$dest/usr/share/man/man6/lumivane.6.gz:LUMIVANE(6)" "$settings_page:LUMIVANE-SETTINGS(1)"; do
  file=${page%%:*}
  MANWIDTH=80 man --warnings -l "$file" 2>"$work/man.err" | grep -q "${page#*:}" || fail "$file does not render"
  [ ! -s "$work/man.err" ] || { cat "$work/man.err"; fail "$file renders with warnings"; }
  echo "   ${page#*:}"
done

echo "-- the desktop entry and the AppStream description"
desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
grep -qx 'Exec=lumivane-settings' "$desktop" || fail "the desktop entry does not start lumivane-settings"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -e "$dest/usr/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "the desktop entry's icon $icon is not installed"
appstreamcli validate --no-net --pedantic "$appdata" || fail "the AppStream description is not valid"
# The tree check also finds the desktop entry and the icon the description's launchable names.
[ -z "$settings" ] || appstreamcli validate-tree --no-net --pedantic "$dest/usr" || fail "the installed AppStream data is not valid"

echo "-- the Debian package"
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/lumivane_*.deb | head -1)
[ -f "$deb" ] || fail "no package built"
dpkg-deb -f "$deb" Package Version Depends Recommends Section
# The mixer is loaded at the first sound, so only the package's own word brings it.
dpkg-deb -f "$deb" Depends | grep -q 'libsdl2-mixer-2\.0-0' || fail "the package does not depend on the sound mixer"
dpkg -c "$deb" | awk '{print "   " $6 ($7 ? " " $7 " " $8 : "")}' | tee "$work/contents"
for f in "${expected[@]}"; do
  grep -qx "   \./$f\( -> .*\)\?" "$work/contents" || fail "the package does not hold $f"
done
lintian --fail-on error --suppress-tags "$(cat tools/lintian-suppressed 2>/dev/null | paste -sd, -)" "$deb" \
  || fail "lintian reports errors"

echo "-- XScreenSaver's daemon runs the installed hack"
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
display=$(cat "$work/display")
daemon_home="$work/home"
mkdir -p "$daemon_home"
printf 'mode: one\nselected: 0\nprograms: "Lumivane" %s --root \\n\nlock: False\ntimeout: 0:30:00\nsplash: False\n' \
  "$dest/usr/libexec/xscreensaver/lumivane" > "$daemon_home/.xscreensaver"
if [ "$(id -u)" -eq 0 ]; then chown -R nobody "$daemon_home"; fi
as_daemon_user env HOME="$daemon_home" DISPLAY=:$display xscreensaver -no-splash >"$work/daemon.log" 2>&1 &
# A busy machine can take a while to bring the daemon up: wait up to a minute for it.
daemon_up=""
for _ in $(seq 300); do
  as_daemon_user env HOME="$daemon_home" DISPLAY=:$display xscreensaver-command -version >/dev/null 2>&1 \
    && { daemon_up=yes; break; }
  sleep 0.2
done
[ -n "$daemon_up" ] || { cat "$work/daemon.log"; fail "XScreenSaver's daemon did not answer on :$display"; }
as_daemon_user env HOME="$daemon_home" DISPLAY=:$display xscreensaver-command -activate >/dev/null \
  || { cat "$work/daemon.log"; fail "XScreenSaver's daemon did not take -activate"; }
# The hack starts, builds its sky and lets the message stars fly in.
for _ in $(seq 40); do pgrep -u "$daemon_owner" -f "lumivane --root" >/dev/null && break; sleep 0.25; done
pgrep -u "$daemon_owner" -f "lumivane --root" >/dev/null || { cat "$work/daemon.log"; fail "the daemon did not start the hack"; }
sleep 8
xwd -root -silent -display :$display > "$work/screen.xwd"
python3 tools/xwd_sky_check.py "$work/screen.xwd" ${LUMI_SCREEN_PNG:+--png "$LUMI_SCREEN_PNG"} || { cat "$work/daemon.log"; fail "no sky on the screen"; }
echo "package-test: all checks passed"
