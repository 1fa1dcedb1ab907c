#!/usr/bin/env bash
# Builds everything and runs all tests under wine.
# Usage: scripts/test.sh [BUILD_FOLDER] [ctest arguments...]   (default folder: build)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}; shift || true
cd "$here"
# Whatever a caller holds open (a lock, say) is not handed on to the wine server and the
# programs it starts, which outlive this script.
for fd in 3 4 5 6 7 8 9; do eval "exec $fd>&-"; done
bash scripts/setup.sh
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja
fi
cmake --build "$build"

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
    'source scripts/wine-env.sh "$0"; ctest --test-dir "$0" --output-on-failure --timeout 900 -j4 "${@}"' "$build" "$@"
fi
source scripts/wine-env.sh "$build"
ctest --test-dir "$build" --output-on-failure --timeout 900 -j4 "$@"
