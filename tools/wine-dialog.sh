#!/usr/bin/env bash
# The Windows settings dialog under wine64 on a virtual X display, driven by xdotool: "/c"
# opens it with the focus in the message, typed text and Return store it as the main
# message (slot 0) in Lumivan.ini beside the saver; a second start opens "Much More
# Options" with Alt+O, and Escape twice closes the sheet and the dialog with the settings
# file unchanged; a third opens the countdown dialog from the "Star Messages" page, ticks
# the random order, and the sheet's OK stores both. With a second argument, screenshots of the dialog and of every page go
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
  exec timeout 300 xvfb-run -a -s "-screen 0 ${LUMI_WINE_DIALOG_SCREEN:-1024x768}x24" "$0" "$@"
fi

source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
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
  if [ "$1" = root ]; then xwd -silent -root; else xwd -silent -id "$1"; fi >"$work/shot.xwd" &&
    python3 "$root/tools/xwd_to_png.py" "$work/shot.xwd" "$shots/$2.png"
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

# Waits up to 5 s for the window titled $1 to go.
window_closes() {
  local i
  for ((i = 0; i < 50; i++)); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# A screenshot of the small dialog titled $1 (as $2.png), closed again with Escape.
small_dialog() {
  local box
  box=$(window_named "$1" 20) || fail "no window titled \"$1\" for the screenshots"
  # Wine without a window manager leaves a window opened over the sheet unpainted where
  # the sheet lies below it; the corner of the screen is free.
  xdotool windowmove "$box" 0 0
  point_at "$box"
  shot "$box" "$2"
  xdotool key Escape
  window_closes "$1" || fail "\"$1\" did not close on Escape"
}

# True when every setting reads the same in both files. Sections and keys are compared
# without regard to case, as the store reads them; a key written where there was none
# counts as unchanged when it holds 0 or nothing, which is what reading the missing key
# gave (leaving the "Star Messages" page writes Preview=0, for one). What the store writes
# each time it opens the file (its write-and-read-back proof, the [info] notes) is no
# setting.
same_settings() {
  python3 - "$1" "$2" <<'PY'
import sys

def read(path):
    values, section = {}, ""
    for line in open(path, encoding="latin-1").read().splitlines():
        line = line.strip()
        if line.startswith("["):
            section = line[1:line.find("]")].lower()
        elif "=" in line:
            key, value = line.split("=", 1)
            values[(section, key.strip().lower())] = value.strip()
    return values

before, after = read(sys.argv[1]), read(sys.argv[2])
changed = []
for key in sorted(set(before) | set(after)):
    old, new = before.get(key), after.get(key)
    if old == new or key == ("params", "random") or key[0] == "info":
        continue
    if old is None and new in ("0", ""):
        print("wine-dialog: [%s] %s=%s written with the value it had when missing" % (key[0], key[1], new))
        continue
    changed.append("[%s] %s: %r -> %r" % (key[0], key[1], old, new))
for line in changed:
    print("wine-dialog: changed " + line, file=sys.stderr)
sys.exit(1 if changed else 0)
PY
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

cp "$ini" "$work/before.ini"
start_dialog
xdotool key alt+o
sheet=$(window_named "$sheet_title" 30) || fail "Alt+O opened no window titled \"$sheet_title\""
point_at "$sheet"
xdotool key Escape
window_closes "$sheet_title" || fail "the sheet is still open 5 s after Escape"
echo "wine-dialog: Alt+O opened the sheet and Escape closed it"
point_at "$dialog"
xdotool key Escape
dialog_ends_with 0 Escape
same_settings "$work/before.ini" "$ini" || fail "Lumivan.ini changed although the sheet and the dialog were cancelled"
echo "wine-dialog: Escape closed the dialog with the settings unchanged"

# The sheet's OK stores its pages, and a page opens its own dialogs. The keys walk the
# templates' tab order: fifteen Tabs from the sheet's tabs reach "Countdown" on the first
# page, four more "Show the messages in random order.".
start_dialog
xdotool key alt+o
sheet=$(window_named "$sheet_title" 30) || fail "Alt+O opened no window titled \"$sheet_title\" a second time"
# A click on the first tab gives the tabs the focus.
xdotool mousemove --window "$sheet" 30 12 click 1
sleep 0.3
for ((i = 0; i < 15; i++)); do xdotool key Tab; sleep 0.05; done
xdotool key space
countdown=$(window_named "Countdown Timer" 20) || fail "\"Countdown\" opened no window titled \"Countdown Timer\""
point_at "$countdown"
# Month, day and year (a coming one: the dialog refuses past years), each replacing the
# selected text of its field.
target_year=$(($(date +%Y) + 1))
xdotool type 6; xdotool key Tab; xdotool type 15; xdotool key Tab; xdotool type "$target_year"
xdotool key Return
window_closes "Countdown Timer" || fail "the countdown dialog is still open 5 s after Return"
point_at "$sheet"
xdotool key --delay 80 Tab Tab Tab Tab space Return
window_closes "$sheet_title" || fail "the sheet is still open 5 s after Return"
point_at "$dialog"
xdotool key Escape
dialog_ends_with 0 Escape
python3 - "$ini" "$target_year" <<'PY' || fail "the sheet's OK did not store the countdown, the message and the random order"
import configparser, sys
ini = configparser.ConfigParser(interpolation=None, strict=False)
ini.read(sys.argv[1], encoding="latin-1")
want = {("cdcounter", "year"): sys.argv[2], ("cdcounter", "month"): "6", ("cdcounter", "day"): "15",
        ("messages", "message___1"): "COUNTDOWN", ("messages", "showrandomly"): "1"}
sections = {name.lower(): ini[name] for name in ini.sections()}
for (section, key), value in want.items():
    got = sections.get(section, {}).get(key)
    if got != value:
        sys.exit("wine-dialog: [%s] %s is %r, not %r" % (section, key, got, value))
PY
echo "wine-dialog: the countdown dialog opened from its page, and the sheet's OK stored the page"

if [ -n "$shots" ]; then
  # Pictures of every window, for people to look at. The keys walk the templates' tab
  # order: five Tabs from the message reach "If I have new e-mail.", and fifteen from the
  # sheet's tabs reach "Countdown" on the first page.
  start_dialog
  xdotool key --delay 80 Tab Tab Tab Tab Tab space
  small_dialog "E-mail parameters" email
  point_at "$dialog"
  xdotool key alt+o
  sheet=$(window_named "$sheet_title" 30) || fail "Alt+O opened no sheet for the screenshots"
  # A click on the first tab gives the tabs the focus; the arrow keys then turn the pages
  # (wine's sheet does not take Ctrl+Tab from xdotool).
  xdotool mousemove --window "$sheet" 30 12 click 1
  for page in 1 2 3 4 5; do
    shot "$sheet" "page-$page"
    xdotool key Right
  done
  xdotool key --delay 80 Left Left Left Left
  for ((i = 0; i < 15; i++)); do xdotool key Tab; sleep 0.05; done
  xdotool key space
  small_dialog "Countdown Timer" countdown
  point_at "$sheet"
  xdotool key --delay 80 Tab space
  small_dialog "Please enter your Birthday" birthday
  point_at "$sheet"
  xdotool key --delay 80 Tab Tab space
  small_dialog "World time view" world-time
  point_at "$sheet"
  xdotool key Escape
  window_closes "$sheet_title" || fail "the sheet of the screenshots did not close"
  point_at "$dialog"
  xdotool key Escape
  dialog_ends_with 0 Escape
  echo "wine-dialog: screenshots in $shots"
fi
echo "wine-dialog: passed in $((SECONDS - started)) s"
