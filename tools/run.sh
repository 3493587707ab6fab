#!/usr/bin/env bash
# Builds the Linux program and runs it: the sky in a window when there is a display,
# otherwise a snapshot of the sky written as a PNG.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j "$(nproc)" --target lumivane
if [ -n "${DISPLAY:-}" ]; then
  echo "run.sh: the sky in a window; press Escape or q (or close the window) to end it"
  exec ./build/native/lumivane -window
fi
echo "run.sh: no DISPLAY; drawing the sky into a picture instead"
./build/native/lumivane --snapshot sky.png
echo "run.sh: the sky is in $(pwd)/sky.png"
