#!/usr/bin/env bash
# Builds the Linux program and runs it: the saver in a window when there is a display,
# otherwise its version and help (a sky snapshot once the saver draws one).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/native -j "$(nproc)" --target lumivane
./build/native/lumivane --version
./build/native/lumivane --help
