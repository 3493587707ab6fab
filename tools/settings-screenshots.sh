#!/usr/bin/env bash
# Takes the settings program's pictures for docs/ on a virtual display of its own, with a
# fresh settings folder: the main window, then each page of "Much More Options".
# Usage: tools/settings-screenshots.sh [build/native] [docs]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/native}")
out=$(realpath "${2:-docs}")
if [ -z "${DISPLAY_READY:-}" ]; then
  exec env DISPLAY_READY=1 tools/with-xvfb.sh 1024x768x24 "$0" "$build" "$out"
fi
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_STATE_HOME=$home/state NO_AT_BRIDGE=1 GTK_THEME=Adwaita GSETTINGS_BACKEND=memory

wait_window() {
  for _ in $(seq 200); do
    w=$(xdotool search --name "^$1\$" 2>/dev/null | head -1 || true)
    if [ -n "$w" ]; then echo "$w"; return 0; fi
    sleep 0.05
  done
  echo "no window \"$1\"" >&2; return 1
}
shoot() {
  sleep 0.5  # let the window finish drawing
  xwd -id "$1" -silent > "$home/shot.xwd"
  python3 tools/xwd_to_png.py "$home/shot.xwd" "$out/$2.png"
  echo "$out/$2.png"
}

"$build/lumivane-settings" & app=$!
main=$(wait_window "Lumivane Screensaver v4.21")
shoot "$main" settings-main
xdotool windowfocus --sync "$main" key alt+o
sheet=$(wait_window "Lumivane Screensaver v4.21 - Much More Options")
for page in star-messages sounds quotes startup about; do
  shoot "$sheet" "settings-$page"
  # The sidebar has the focus; the next row is the next page.
  xdotool windowfocus --sync "$sheet" key Down
done
xdotool windowfocus --sync "$sheet" key Escape
sleep 0.3
xdotool windowfocus --sync "$main" key Escape
wait $app
