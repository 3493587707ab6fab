#!/usr/bin/env bash
# A simulated night: runs the headless sky (the real session and scene, on a fake clock) for
# 24 hours of fake time at the saver's own tick period, about 2.2 million ticks, with the
# default messages cycling, the moon drifting and the shooting star falling. Reports the
# peak memory at 1, 12 and 24 hours (it must stay flat), the log's lines (capped at 2000
# with the stop warning) and the error texts (there must be none). Not part of CI.
#   tools/soak.sh [HOURS]        HOURS defaults to 24; SOAK_SIZE=WxH (default 1024x768)
set -euo pipefail
cd "$(dirname "$0")/.."
HOURS=${1:-24}
JOBS=${JOBS:-$(nproc)}
export CCACHE_DIR=${CCACHE_DIR:-$HOME/.cache/ccache}

cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMI_TOOLS=ON >/dev/null
cmake --build build/native -j "$JOBS" --target SoakNight

work=$(mktemp -d "${TMPDIR:-/tmp}/lumi-soak-XXXXXX")
report="$work/report.txt"
echo "== simulated night of $HOURS h in $work"
start=$(date +%s)
set +e
build/native/SoakNight "$work" --hours "$HOURS" --size "${SOAK_SIZE:-1024x768}" | tee "$report"
status=${PIPESTATUS[0]}
set -e
took=$(( $(date +%s) - start ))

log="$work/soak.log.txt"
peak() { awk -v h="$1" '$1 == h { print $4 }' "$report"; }
first=$(peak 1)
last=$(peak "$HOURS")
# Lines as the log counts them (a message of three lines is one entry) and as the file has.
counted=$(awk -v h="$HOURS" '$1 == h { print $5 }' "$report")
lines=$(wc -l < "$log")
warning="Warning: Stopping log as it reached its maximum lines limit"
echo "== summary ($took s of real time)"
for h in 1 12 24; do
  [ "$h" -le "$HOURS" ] && echo "peak memory at $h h: $(peak "$h") KiB"
done
# The logger's own closing line carries the ERROR> prefix by design; any other is a fault.
errors=$(grep 'ERROR>' "$log" | grep -vc 'Closing logger:ERROR>' || true)
echo "log: $counted entries, $lines lines in the file; stop warning: $(grep -c "^$warning" "$log" || true)x;" \
     "error lines: $errors"
grep '^error texts' "$report"
if [ -n "$first" ] && [ -n "$last" ] && [ $(( last - first )) -gt 2048 ]; then
  echo "FAILED: memory grew by $(( last - first )) KiB between hour 1 and hour $HOURS"
  status=1
fi
if [ -z "$counted" ] || [ "$counted" -gt 2001 ] || [ "$errors" -ne 0 ]; then
  echo "FAILED: the log went past its limit of 2000 lines (and the one that stops it) or holds errors"
  status=1
fi
exit "$status"
