#!/usr/bin/env bash
# The Windows settings dialog under wine64 on a virtual X display, driven by xdotool: "/c"
# opens it with the focus in the message, typed text and Return store it as the main
# message (slot 0) in Lumivan.ini beside the saver; a second start opens "Much More
# Options" with Alt+O, and Escape twice closes the sheet and the dialog with the settings
# file unchanged. With a second argument, screenshots of the dialog and of every page go
# to that folder (dialog.png, page-1.png ...).
# Usage: tools/wine-dialog.sh [build folder] [screenshot folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build/win-x86_64}" 2>/dev/null && pwd) || { echo "wine-dialog: no build folder ${1:-}" >&2; exit 1; }
shots=${2:-}
[ -n "$shots" ] && { mkdir -p "$shots"; shots=$(cd "$shots" && pwd); }
[ -f "$build/lumivane.scr" ] || { echo "wine-dialog: $build/lumivane.scr not built" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "wine-dialog: xdotool not installed" >&2; exit 1; }

# One virtual display for the whole test, so one wineserver serves every start.
if [ -z "${LUMI_WINE_DIALOG_DISPLAY:-}" ]; then
  export LUMI_WINE_DIALOG_DISPLAY=1
  exec timeout 300 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
export WINEPREFIX=${WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
title="Lumivane Screensaver v4.21"
sheet_title="$title - Much More Options"

# The saver keeps its settings beside itself when that folder is writable: a folder of its
# own keeps the test away from every other settings file.
work=$(mktemp -d)
cp "$build/lumivane.scr" "$work/"
ini="$work/Lumivan.ini"
saver=""

cleanup() {
  [ -n "$saver" ] && kill "$saver" 2>/dev/null
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$work"
}
"$wineserver" -k 2>/dev/null || true
trap cleanup EXIT

fail() {
  echo "wine-dialog: $*" >&2
  echo "--- windows on the display:" >&2
  xwininfo -root -tree 2>/dev/null | grep -E '"[^"]+"' | grep -v 'has no name' | head -20 >&2 || true
  echo "--- $ini:" >&2
  cat "$ini" >&2 2>/dev/null || echo "(none)" >&2
  local log
  log=$(find "$WINEPREFIX/drive_c/users" -iname 'lumivane.scr.log.txt' 2>/dev/null | head -1)
  if [ -n "$log" ]; then
    echo "--- the saver's log ($log):" >&2
    tail -n 60 "$log" >&2
  fi
  exit 1
}

# Waits up to $2 tenths of a second for process $1 to end; false when it still runs.
ends_within() {
  local i
  for ((i = 0; i < $2; i++)); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  ! kill -0 "$1" 2>/dev/null
}

# Echoes the window whose whole title is $1, waiting up to $2 seconds.
window_named() {
  local id="" i pattern
  pattern="^$(sed 's/[.[\*^$()+?{|]/\\&/g' <<<"$1")\$"
  for ((i = 0; i < $2 * 2; i++)); do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    [ -n "$saver" ] && ! kill -0 "$saver" 2>/dev/null && return 1
    sleep 0.5
  done
  return 1
}

# Without a window manager the keyboard goes to the window under the pointer.
point_at() { xdotool mousemove --window "$1" 30 10; sleep 0.3; }

shot() {
  [ -n "$shots" ] || return 0
  sleep 0.5
  xwd -silent -id "$1" >"$work/shot.xwd" && python3 "$root/tools/xwd_to_png.py" "$work/shot.xwd" "$shots/$2.png"
}

# The section's lines, as key=value in file order.
messages_section() {
  python3 - "$ini" <<'PY'
import sys
section = None
for line in open(sys.argv[1], encoding="latin-1").read().splitlines():
    line = line.strip()
    if line.startswith("["):
        section = line[1:line.find("]")].lower()
    elif section == "messages" and "=" in line:
        print(line)
PY
}

start_dialog() {
  "$wine" "$work/lumivane.scr" /c >/dev/null 2>&1 &
  saver=$!
  # A fresh wine prefix takes a while to set itself up on a busy machine.
  dialog=$(window_named "$title" 90) || fail "no window titled \"$title\" after /c"
  point_at "$dialog"
}

# Waits for the dialog to close and checks its result.
dialog_ends_with() {
  local code=0
  ends_within "$saver" 100 || fail "the dialog is still open 10 s after $2"
  wait "$saver" || code=$?
  saver=""
  [ "$code" = "$1" ] || fail "the dialog closed by $2 ended with $code, not $1"
}

started=$SECONDS
message="Stars over the lake $$"
start_dialog
shot "$dialog" dialog
# The message box has the focus with its text selected: typing replaces it.
xdotool type --delay 30 "$message"
xdotool key Return
dialog_ends_with 1 Return
[ -f "$ini" ] || fail "no Lumivan.ini beside the saver after OK"
grep -qxF "Message___0=$message" <(messages_section | tr -d '\r') ||
  fail "section Messages does not hold Message___0=$message"
echo "wine-dialog: Return stored the typed message as the main message"

before=$(messages_section)
cp "$ini" "$work/before.ini"
start_dialog
xdotool key alt+o
sheet=$(window_named "$sheet_title" 30) || fail "Alt+O opened no window titled \"$sheet_title\""
point_at "$sheet"
if [ -n "$shots" ]; then
  for page in 1 2 3 4 5; do
    shot "$sheet" "page-$page"
    xdotool key ctrl+Tab
  done
fi
xdotool key Escape
for ((i = 0; i < 50; i++)); do
  xdotool search --onlyvisible --name "$sheet_title" >/dev/null 2>&1 || break
  sleep 0.1
done
((i < 50)) && echo "wine-dialog: Escape closed the sheet" || fail "the sheet is still open 5 s after Escape"
point_at "$dialog"
xdotool key Escape
dialog_ends_with 0 Escape
[ "$(messages_section)" = "$before" ] || fail "section Messages changed although both windows were cancelled"
cmp -s "$ini" "$work/before.ini" || fail "Lumivan.ini changed although both windows were cancelled: $(diff "$work/before.ini" "$ini")"
echo "wine-dialog: Alt+O opened the sheet; Escape closed it and the dialog with nothing changed"
echo "wine-dialog: passed in $((SECONDS - started)) s"
