#!/usr/bin/env bash
# The scheduler as the main program and Windows meet it: started hidden it answers the main
# program's messages through the handle it leaves in qvsched.ini, opens its window on request,
# writes its Run value when "/enable" switches it on, and clears the handle when it ends.
# Usage: tests/e2e/scheduler.sh DIST_FOLDER PROBE_EXE
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"

title="System Corvanta 2 Scheduler"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
run_value="System Corvanta Scheduler"
work=$(mktemp -d)
started=()
cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  wine reg delete "$run_key" /v "$run_value" /f >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# The value of a key of qvsched.ini's [General] (the file may be UTF-16 with a byte-order mark).
general() {
  local file=$dir/qvsched.ini
  [ -f "$file" ] || return 0
  if [ "$(head -c 2 "$file" | od -An -tx1 | tr -d ' ')" = fffe ]; then
    iconv -f UTF-16 -t UTF-8 "$file"
  else
    cat "$file"
  fi | tr -d '\r' |
    awk -F= -v key="$1" '/^\[/ { g = ($0 == "[General]") } g && $1 == key { print $2 }'
}
handle_written() { local h; h=$(general Handle); [ -n "$h" ] && [ "$h" != 0 ]; }
send() { wine "$probe_exe" send "$(general Handle)" "$@" 2>/dev/null | tr -d '\r'; }
window_visible() { wine "$probe_exe" visible "$title" "$exe_win" >/dev/null 2>&1; }
run_value_present() { wine reg query "$run_key" /v "$run_value" >/dev/null 2>&1; }

start_sched() {
  dir=$work/$1
  shift
  mkdir -p "$dir"
  cp -r "$dist"/. "$dir"/
  [ -z "${ini:-}" ] || printf '%s' "$ini" >"$dir/qvsched.ini"
  exe_win=$(winepath -w "$dir/qrvsched.exe" 2>/dev/null)
  wine "$dir/qrvsched.exe" "$@" >/dev/null 2>&1 &
  sched_pid=$!
  started+=("$sched_pid")
  wait_for 60 handle_written || fail "qrvsched left no window handle in qvsched.ini"
}

# Windows logs off: the scheduler lets itself be closed and ends with exit code 0.
end_session() {
  [ "$(send 17)" = 1 ] || fail "WM_QUERYENDSESSION was not allowed"
  send 16 >/dev/null || fail "no window to close"
  local end=$((SECONDS + 30))
  while kill -0 "$sched_pid" 2>/dev/null; do
    [ "$SECONDS" -lt "$end" ] || fail "qrvsched did not end"
    sleep 0.3
  done
  local rc=0
  wait "$sched_pid" || rc=$?
  [ "$rc" -eq 0 ] || fail "qrvsched ended with exit code $rc"
}

# ------------------------------------------------------ hidden, answering messages
wine reg delete "$run_key" /v "$run_value" /f >/dev/null 2>&1 || true
ini=""
start_sched hidden /hide
window_visible && fail "started with /hide, the window shows"
[ "$(send 0x8065)" = 123456 ] || fail "message 0x8065 did not answer 123456"
[ "$(send 3524 0 1234)" = 1 ] || fail "message 3524 did not answer 1"
wait_for 20 window_visible || fail "message 3524 did not show the configuration window"
send 16 >/dev/null # the title bar's close only hides it
wait_for 20 bash -c "! wine '$probe_exe' visible '$title' '$exe_win' >/dev/null 2>&1" ||
  fail "closing the window did not hide it"
kill -0 "$sched_pid" 2>/dev/null || fail "closing the window ended the program"
end_session
[ "$(general Handle)" = 0 ] || fail "the handle was not cleared at exit"
[ "$(general Enabled)" = 1 ] || fail "Enabled was not kept at exit"

# ------------------------------------------------------- /enable writes the Run value
ini=$'[General]\r\nEnabled=0\r\n'
start_sched enable /hide /Enable
wait_for 20 run_value_present || fail "/enable did not write the Run value"
# Read whole first: grep -q leaving early would break the pipe, which pipefail counts a failure.
run_entry=$(wine reg query "$run_key" /v "$run_value" 2>/dev/null || true)
grep -qi 'qrvsched.exe" /startup' <<<"$run_entry" ||
  fail "the Run value does not start the program with /startup"
end_session
[ "$(general Enabled)" = 1 ] || fail "the scheduler switched on by /enable was stored off"

echo "e2e scheduler: ok"
