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

# Test programs that talk FTP find a peer on 127.0.0.1 through QRV_FTP_PEER
# ("127.0.0.1:port|root folder"); wine cannot wait on a Linux process, so it is started here.
if [[ $(basename "$exe") == *_tests.exe ]] && /usr/bin/python3 -c 'import pyftpdlib' 2>/dev/null; then
  peer_dir=$(mktemp -d "$build/ftp-peer.XXXXXX")
  mkdir "$peer_dir/root"
  /usr/bin/python3 "$here/tests/support/ftp_peer.py" "$peer_dir/root" "$peer_dir/address" &
  peer_pid=$!
  trap 'kill $peer_pid 2>/dev/null || true; wait $peer_pid 2>/dev/null || true; rm -rf "$peer_dir"' EXIT
  for _ in $(seq 300); do [ -f "$peer_dir/address" ] && break; sleep 0.05; done
  if [ -f "$peer_dir/address" ]; then
    export QRV_FTP_PEER="$(cat "$peer_dir/address")|Z:$(echo "$peer_dir/root" | tr / '\\')"
  fi
  wine "$exe" "$@"
  exit $?
fi
exec wine "$exe" "$@"
