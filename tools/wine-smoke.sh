#!/usr/bin/env bash
# Smoke test of the 64-bit Windows screen saver under wine64 on a virtual X display: it
# answers --version and --help, exports its two procedures by name, refuses bad switches,
# runs full screen over the display (checked on a screenshot), keeps to one full-screen
# instance, ignores a tiny mouse move, closes on a key with exit code 0, and shows the
# settings dialog for /c and for an empty command line, ending with the dialog's result.
# Usage: tools/wine-smoke.sh [build folder]; WINEPREFIX may name a prefix of one's own.
set -euo pipefail
build=${1:-build/win-x86_64}
scr="$build/lumivane.scr"
[ -f "$scr" ] || { echo "wine-smoke: $scr not built" >&2; exit 1; }

# Everything runs inside one virtual display, so one wineserver serves every start. The
# root is white: a black screen is then the saver's own.
if [ -z "${LUMI_WINE_SMOKE_DISPLAY:-}" ]; then
  export LUMI_WINE_SMOKE_DISPLAY=1
  exec timeout 150 xvfb-run -a -s "-screen 0 800x600x24 -wr" "$0" "$@"
fi

source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
shot="$build/wine-smoke-screen.png"
saver=""

# A wineserver left from an earlier display would give this one's programs no windows.
"$wineserver" -k 2>/dev/null || true
trap '"$wineserver" -k 2>/dev/null || true' EXIT

fail() {
  echo "wine-smoke: $*" >&2
  [ -n "$saver" ] && kill "$saver" 2>/dev/null
  exit 1
}

# Runs the saver with a time limit; echoes its exit code (wine reports -1 as 255).
code_of() {
  local code=0
  timeout 30 "$wine" "$scr" "$@" >/dev/null 2>&1 || code=$?
  echo "$code"
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

started=$SECONDS
out=$("$wine" "$scr" --version 2>/dev/null | tr -d '\r')
echo "$out"
case "$out" in *"lumivane 4.21"*) ;; *) fail "--version printed '$out'";; esac
"$wine" "$scr" --help >/dev/null 2>&1 || fail "--help failed"

# The control panel finds the saver's procedures by these names.
exports=$(x86_64-w64-mingw32-objdump -p "$scr" 2>/dev/null) || fail "cannot read the exports of $scr"
for name in ScreenSaverProc ScreenSaverConfigureDialog; do
  grep -qw "$name" <<<"$exports" || fail "$scr does not export $name"
done

for bad in "/p 0" "/x" "/p"; do
  # shellcheck disable=SC2086  # the switch and its number are two arguments
  code=$(code_of $bad)
  [ "$code" = 255 ] || fail "'$bad' exited with $code, not -1"
done

xdotool mousemove 400 300
"$wine" "$scr" /s >/dev/null 2>&1 &
saver=$!
# Wine may take a while to bring up its desktop on a busy machine; the saver's five
# seconds count from its window.
for ((i = 0; i < 60; i++)); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Screen Saver".*800x600+0+0' && break
  kill -0 "$saver" 2>/dev/null || fail "the full-screen saver ended before its window showed"
  sleep 0.5
done
((i < 60)) || fail "no 800x600 window titled \"Screen Saver\" after 30 s"
sleep 5
kill -0 "$saver" 2>/dev/null || fail "the full-screen saver is not running after 5 s"

# The screen must be the saver's: a black sky over the white root, with something lit on
# it, which only a presented raster shows.
xwd -root -silent | python3 -c '
import struct, sys, zlib
data = sys.stdin.buffer.read()
h = struct.unpack(">25I", data[:100])
size, depth, width, height = h[0], h[3], h[4], h[5]
order, bpp, stride, ncolors = h[7], h[11], h[12], h[19]
masks = h[14:17]
if bpp not in (24, 32):
    sys.exit("screenshot has %d bits per pixel" % bpp)
pixels = data[size + 12 * ncolors:]
step = bpp // 8
endian = "little" if order == 0 else "big"
def shift(m):
    return (m & -m).bit_length() - 1
shifts = [shift(m) for m in masks]
black = lit = 0
rows = []
for y in range(height):
    row = bytearray([0])
    base = y * stride
    for x in range(width):
        v = int.from_bytes(pixels[base + step * x:base + step * (x + 1)], endian)
        rgb = [(v & m) >> s for m, s in zip(masks, shifts)]
        row += bytes(rgb)
        if max(rgb) < 16:
            black += 1
        elif max(rgb) >= 64:
            lit += 1
    rows.append(bytes(row))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b"")
open(sys.argv[1], "wb").write(png)
total = width * height
print("wine-smoke: screen %dx%d, %.1f%% black, %d lit pixels" % (width, height, 100.0 * black / total, lit))
if black < 0.9 * total or lit < 1:
    sys.exit("wine-smoke: the screen does not show the sky")
' "$shot" || fail "screenshot check failed (see $shot)"

# A second full-screen start brings the running one forward and leaves at once.
code=$(code_of /s)
[ "$code" = 0 ] || fail "a second '/s' exited with $code"
kill -0 "$saver" 2>/dev/null || fail "the second '/s' ended the running saver"

# Three pixels of movement stay within the threshold of four.
xdotool mousemove_relative 2 1
sleep 1
kill -0 "$saver" 2>/dev/null || fail "a 3-pixel mouse move closed the saver"

xdotool key space
ends_within "$saver" 50 || fail "the saver still runs 5 s after a key"
code=0
wait "$saver" || code=$?
saver=""
[ "$code" = 0 ] || fail "the saver closed on a key with exit code $code"

# /c and the empty command line open the settings dialog (template 2003); its result is
# the exit code: Escape cancels it (0) and Return presses its default button, Ok (1).
dialog_closes() {
  local key=$1 want=$2 box="" code=0
  shift 2
  local what="'$*'"
  [ $# -gt 0 ] || what="an empty command line"
  "$wine" "$scr" "$@" >/dev/null 2>&1 &
  saver=$!
  for ((i = 0; i < 60; i++)); do
    # Only once shown: the caption is set while the dialog is still being filled.
    box=$(xdotool search --onlyvisible --name "Lumivane Screensaver v4.21" 2>/dev/null | head -1) || true
    [ -n "$box" ] && break
    kill -0 "$saver" 2>/dev/null || fail "$what ended without showing the settings dialog"
    sleep 0.5
  done
  [ -n "$box" ] || fail "$what showed no dialog titled \"Lumivane Screensaver v4.21\" within 30 s"
  # Without a window manager the keyboard goes to the window under the pointer.
  xdotool mousemove --window "$box" 20 20
  sleep 0.5
  xdotool key "$key"
  ends_within "$saver" 50 || fail "the dialog of $what is still open 5 s after $key"
  wait "$saver" || code=$?
  saver=""
  [ "$code" = "$want" ] || fail "$what closed with $key ended with exit code $code, not $want"
}
dialog_closes Escape 0 /c
dialog_closes Return 1

# With the wallpaper changer on and a folder of three JPEGs, a full-screen start writes
# wallpaper.bmp in the user's local application data and makes it the wallpaper. The
# settings file is put back afterwards.
if command -v cjpeg >/dev/null; then
  pics=$(mktemp -d)
  for pic in 'red.jpg \xff\x20\x20' 'green.JPG \x20\xff\x20' 'blue.jpeg \x20\x20\xff'; do
    { printf 'P6\n64 48\n255\n'; for ((i = 0; i < 64 * 48; i++)); do printf "${pic#* }"; done; } | cjpeg >"$pics/${pic%% *}"
  done
  ini="$build/Lumivan.ini"
  [ -f "$ini" ] && cp "$ini" "$ini.smoke"
  winpics=$("$wine" winepath -w "$pics" 2>/dev/null | tr -d '\r' | sed 's/\\/\\\\/g')
  printf '[WallPaper]\r\nEnabled=1\r\npath=%s\r\n' "$winpics" >"$ini"
  bmp=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local' -type d | head -1)/Lumivane/wallpaper.bmp
  rm -f "$bmp"
  "$wine" "$scr" /s >/dev/null 2>&1 &
  saver=$!
  for ((i = 0; i < 60; i++)); do
    [ -s "$bmp" ] && break
    sleep 0.5
  done
  sleep 1
  xdotool key space
  ends_within "$saver" 50 || kill "$saver" 2>/dev/null
  wait "$saver" || true
  saver=""
  if [ -f "$ini.smoke" ]; then mv "$ini.smoke" "$ini"; else rm -f "$ini"; fi
  rm -rf "$pics"
  # 54 header bytes and 48 rows of 64 × 3 bytes.
  [ "$(stat -c %s "$bmp" 2>/dev/null)" = 9270 ] || fail "no 64 x 48 wallpaper.bmp at $bmp"
  desktop=$("$wine" reg query 'HKCU\Control Panel\Desktop' /v Wallpaper 2>/dev/null) || true
  grep -q 'Lumivane\\wallpaper.bmp' <<<"$desktop" || fail "the desktop's wallpaper is not $bmp: $desktop"
  echo "wine-smoke: wallpaper set from a folder of JPEGs ($bmp)"
fi

echo "wine-smoke: passed in $((SECONDS - started)) s (screenshot: $shot)"
