#!/usr/bin/env bash
# Runs a Windows executable of a build folder under wine, in the build folder's own prefix.
# Usage: scripts/wine-exec.sh BUILD/path/to/program.exe [args...]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
exe=$1; shift

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$exe" "$@"
fi

# The build folder is the nearest folder above the program that holds a CMake cache.
build=$(cd "$(dirname "$exe")" && pwd)
while [ "$build" != / ] && [ ! -f "$build/CMakeCache.txt" ]; do build=$(dirname "$build"); done
[ -f "$build/CMakeCache.txt" ] || { echo "wine-exec: $exe is not inside a build folder" >&2; exit 2; }

source "$here/scripts/wine-env.sh" "$build"
# Test programs may start side by side; one fixture run at a time.
(flock 9; bash "$here/tests/make-fixtures.sh" "$build/fixtures") 9>"$build/.fixtures.lock"
export QRV_FIXTURES="Z:$(echo "$build/fixtures" | tr / '\\')"
exec wine "$exe" "$@"
