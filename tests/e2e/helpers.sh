# Helpers of the whole-program scripts; sourced, not run.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds or the time is up.
wait_for() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.3
  done
}

# e2e_enter SCRIPT DIST_FOLDER PROBE_EXE: from the top of a script; runs it again under Xvfb when
# there is no display, then enters the wine prefix of the build that holds DIST_FOLDER. Sets dist
# and probe_exe.
e2e_enter() {
  local script=$1
  shift
  if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$script" "$@"
  fi
  dist=$(cd "$1" && pwd)
  probe_exe=$2
  if [ -z "${WINEPREFIX:-}" ]; then
    source "$here/scripts/wine-env.sh" "$(dirname "$dist")"
  fi
}
