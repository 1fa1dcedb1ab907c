#!/usr/bin/env bash
# Starts a program under wine on the current display, waits, saves a screenshot, then closes it.
# Usage: scripts/shot.sh BUILD_FOLDER PROGRAM.exe [seconds]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd); exe=$2; wait_s=${3:-6}
source "$here/scripts/wine-env.sh" "$build"
mkdir -p "$build/screenshots"
shot="$build/screenshots/$(basename "$exe" .exe)-$(date +%Y%m%d-%H%M%S).png"
wine "$exe" >/dev/null 2>&1 &
pid=$!
sleep "$wait_s"
bash "$here/scripts/grab-screen.sh" "$shot"
kill "$pid" 2>/dev/null || true
wineserver -k 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "$shot"
