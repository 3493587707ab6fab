#!/usr/bin/env bash
# Runs a command on a virtual X display of its own: Xvfb picks a free display number
# itself (-displayfd), so several of these can start at once without racing for one.
# Usage: [XVFB_OPTIONS="-extension MIT-SHM"] tools/with-xvfb.sh WxHxD command [args...]
set -u
screen=$1; shift
dir=$(mktemp -d)
exec 3>"$dir/display"
# shellcheck disable=SC2086 # the options are words for the server
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 "$screen" ${XVFB_OPTIONS:-} >"$dir/xvfb.log" 2>&1 &
server=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$dir/display" ] && break; kill -0 $server 2>/dev/null || break; sleep 0.05; done
if [ ! -s "$dir/display" ]; then
  cat "$dir/xvfb.log" >&2; kill $server 2>/dev/null; rm -rf "$dir"; echo "with-xvfb: no display" >&2; exit 1
fi
export DISPLAY=:$(head -1 "$dir/display")
"$@"
rc=$?
kill $server 2>/dev/null
wait $server 2>/dev/null
rm -rf "$dir"
exit $rc
