# Sourced: sets up the wine prefix of build folder $1 and keeps one wineserver alive for it.
build_dir=$(cd "$1" && pwd)
export WINEPREFIX="$build_dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
if [ ! -f "$WINEPREFIX/.ready-3" ]; then
  (
    flock 8
    if [ ! -f "$WINEPREFIX/.ready-3" ]; then
      wineboot -i >/dev/null 2>&1 || true
      # Without a window manager (Xvfb) a managed window costs seconds at every hide or destroy.
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
      # A crashing program prints its backtrace and ends, instead of waiting on a dialog forever.
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        >/dev/null 2>&1 || true
      wineserver -w
      touch "$WINEPREFIX/.ready-3"
    fi
  ) 8>"$build_dir/.wineprefix.lock"
fi
# Also for a prefix made before its user folders were its own.
if [ ! -f "$WINEPREFIX/.own-user-folders" ]; then
  (
    flock 8
    bash "$(dirname "${BASH_SOURCE[0]}")/own-user-folders.sh" "$WINEPREFIX"
    touch "$WINEPREFIX/.own-user-folders"
  ) 8>"$build_dir/.wineprefix.lock"
fi
# A server that outlives each program by a minute makes later starts cheap and still goes away.
wineserver -p60 >/dev/null 2>&1 </dev/null || true
