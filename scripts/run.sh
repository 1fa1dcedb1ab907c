#!/usr/bin/env bash
# Builds the two programs (not the tests) and starts qrv under wine in a real window. Without a display it starts
# Xvfb, lets qrv come up, saves a screenshot under build/screenshots/ and prints its path.
# Usage: scripts/run.sh [BUILD_FOLDER]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
cd "$here"
bash scripts/setup.sh
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja
cmake --build "$build" --target dist
build=$(cd "$build" && pwd)
source scripts/wine-env.sh "$build"

if [ -n "${DISPLAY:-}" ]; then
  exec wine "$build/dist/qrv.exe"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash scripts/shot.sh "$build" "$build/dist/qrv.exe"
