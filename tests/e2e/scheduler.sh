#!/usr/bin/env bash
# The scheduler as the main program and Windows meet it: started hidden it answers the main
# program's messages through the handle it leaves in qvsched.ini, opens its window on request,
# writes its Run value when "/enable" switches it on, and clears the handle when it ends. The main
# program's Scheduler button starts it or opens its window; a scheduled run and a run at Windows
# start act on a fixture; the tray menu's commands switch it on and off and end it.
# Usage: tests/e2e/scheduler.sh DIST_FOLDER PROBE_EXE
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"

title="System Corvanta 2 Scheduler"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
run_value="System Corvanta Scheduler"
# A prefix of its own: the program folders on P:, the fixtures on Q:, its own HKCU.
mkdir -p "$work/progs" "$work/qdrive"
e2e_prefix "$work/progs" "$work/qdrive"
# qrvsched started by qrv is no child of this script: it ends through its handle.
end_scheduler_of_qrv() {
  if [ -n "${dir:-}" ] && handle_written; then
    send 17 >/dev/null 2>&1 || true
    send 16 >/dev/null 2>&1 || true
  fi
}
trap 'end_scheduler_of_qrv; e2e_cleanup' EXIT

# ini SECTION KEY: the value in qvsched.ini (the file may be UTF-16 with a byte-order mark).
ini_value() {
  local file=$dir/qvsched.ini
  [ -f "$file" ] || return 0
  if [ "$(head -c 2 "$file" | od -An -tx1 | tr -d ' ')" = fffe ]; then
    iconv -f UTF-16 -t UTF-8 "$file"
  else
    cat "$file"
  fi | tr -d '\r' |
    awk -F= -v section="[$1]" -v key="$2" '/^\[/ { g = ($0 == section) } g && $1 == key { print $2 }'
}
general() { ini_value General "$1"; }
handle_written() { local h; h=$(general Handle); [ -n "$h" ] && [ "$h" != 0 ]; }
handle_cleared() { [ "$(general Handle)" = 0 ]; }
send() { wine "$probe_exe" send "$(general Handle)" "$@" 2>/dev/null | tr -d '\r'; }
send_atom() { wine "$probe_exe" sendatom "$(general Handle)" "$@" 2>/dev/null | tr -d '\r'; }
run_value_present() { wine reg query "$run_key" /v "$run_value" >/dev/null 2>&1; }
run_value_absent() { ! run_value_present; }
# menu ITEM: the tray menu's command, posted to the scheduler whose window shows.
menu() { probe menu "$1" >/dev/null || fail "no menu item $1"; }
absent() { for f in "$@"; do [ ! -e "$f" ] || return 1; done; }

# prepare NAME: a copy of the program folder, with $ini as its qvsched.ini when set.
prepare() {
  dir=$work/progs/$1
  copy_program "$dir"
  [ -z "${ini:-}" ] || printf '%s' "$ini" >"$dir/qvsched.ini"
  exe_win=$(winepath -w "$dir/qrvsched.exe" 2>/dev/null)
}

start_sched() {
  prepare "$1"
  shift
  launch "$dir/qrvsched.exe" "$@"
  sched_pid=$launched
  wait_for 60 handle_written || fail "qrvsched left no window handle in qvsched.ini"
}


# Windows logs off: the scheduler lets itself be closed and ends with exit code 0.
end_session() {
  [ "$(send 17)" = 1 ] || fail "WM_QUERYENDSESSION was not allowed"
  # The reply may not come back from a program that ends while closing: its end is the check.
  send 16 >/dev/null || true
  ended_ok "$sched_pid" 30 qrvsched
}

# ------------------------------------------------------ hidden, answering messages
echo "e2e scheduler: hidden, answering messages"
wine reg delete "$run_key" /v "$run_value" /f >/dev/null 2>&1 || true
ini=""
start_sched hidden /hide
window_visible && fail "started with /hide, the window shows"
[ "$(send 0x8065)" = 123456 ] || fail "message 0x8065 did not answer 123456"
[ "$(send 3524 0 1234)" = 1 ] || fail "message 3524 did not answer 1"
wait_for 20 window_visible || fail "message 3524 did not show the configuration window"
send 16 >/dev/null # the title bar's close only hides it
wait_for 20 window_hidden ||
  fail "closing the window did not hide it"
kill -0 "$sched_pid" 2>/dev/null || fail "closing the window ended the program"
end_session
[ "$(general Handle)" = 0 ] || fail "the handle was not cleared at exit"
[ "$(general Enabled)" = 1 ] || fail "Enabled was not kept at exit"

# ------------------------------------------------------- /enable writes the Run value
echo "e2e scheduler: /enable writes the Run value"
ini=$'[General]\r\nEnabled=0\r\n'
start_sched enable /hide /Enable
wait_for 20 run_value_present || fail "/enable did not write the Run value"
# Read whole first: grep -q leaving early would break the pipe, which pipefail counts a failure.
run_entry=$(wine reg query "$run_key" /v "$run_value" 2>/dev/null || true)
grep -qi 'qrvsched.exe" /startup' <<<"$run_entry" ||
  fail "the Run value does not start the program with /startup"
end_session
[ "$(general Enabled)" = 1 ] || fail "the scheduler switched on by /enable was stored off"

# ------------------------------------------- window atoms: "open" shows, a bad atom is ignored
echo "e2e scheduler: window atoms: \"open\" shows, a bad atom is ignored"
ini=""
start_sched atoms /hide
[ "$(send 0x8067 0xBFFF)" = 0 ] || fail "an unreadable atom was not ignored at once (a dialog?)"
window_visible && fail "an unreadable atom showed the window"
[ "$(send_atom 0x8067 please-open-it)" = 0 ] || fail "message 0x8067 was not answered"
wait_for 20 window_visible || fail "an \"open\" atom did not show the window"
end_session

# ------------------------------------------------- the tray menu switches on and off and ends
echo "e2e scheduler: the tray menu switches on and off and ends"
wine reg delete "$run_key" /v "$run_value" /f >/dev/null 2>&1 || true
ini=""
start_sched tray
wait_for 30 window_visible || fail "started without /hide, the window did not show"
menu mnEnabled
sleep 2
run_value_present && fail "switched off, a Run value was written"
menu mnEnabled
wait_for 20 run_value_present || fail "switched on from the tray, no Run value was written"
menu mnEnabled
wait_for 20 run_value_absent || fail "switched off from the tray, the Run value stayed"
menu mnEnabled
wait_for 20 run_value_present || fail "switched on again, no Run value"
menu mnDisable
ended_ok "$sched_pid" 30 qrvsched
[ "$(general Enabled)" = 0 ] || fail "Disable & Close left Enabled at $(general Enabled)"
run_value_present && fail "Disable & Close left the Run value"

# -------------------------------------------- a scheduled junk run on its own drive, hidden
echo "e2e scheduler: a scheduled junk run on its own drive, hidden"
make_junk_fixture "$work/qdrive/junk" "$work/canary"
planted=()
for f in "${fixture_junk[@]}"; do planted+=("$work/qdrive/junk/$f"); done
# "DATA.BAK" written so is the one backup name the junk function leaves; programs stay too.
printf 'data\n' >"$work/qdrive/junk/DATA.BAK"
printf 'setup\n' >"$work/qdrive/junk/Temp/setup.exe"
before=$(kept_sums "$work/qdrive/junk" "$work/canary")
ini=$'[General]\r\nEnabled=1\r\n[Section5]\r\nEnabled=1\r\nIntervals=1\r\nTime1=1\r\n'
ini+=$'LastRun=2020-01-01 00:00:00\r\nParameters=Q:\\junk\\|\r\n'
start_sched junk /hide
# The check runs every five seconds: two checks at most.
wait_for 12 absent "${planted[@]}" || fail "the scheduled junk run did not delete the planted junk"
[ "$(kept_sums "$work/qdrive/junk" "$work/canary")" = "$before" ] ||
  fail "the junk run touched a file that is no junk, or one behind the folder link"
last_run=$(ini_value Section5 LastRun)
[ -n "$last_run" ] && [ "$last_run" != "2020-01-01 00:00:00" ] ||
  fail "LastRun was not in the file once the run started ($last_run)"
end_session

# ------------------------------------- a list row deleted with the mouse, confirmed with OK
echo "e2e scheduler: a list row deleted with the mouse, confirmed with OK"
ini=$'[General]\r\nEnabled=0\r\n[Section3]\r\nParameters=Q:\\Old\\|Q:\\Keep\\|\r\n'
start_sched listedit
wait_for 30 window_visible || fail "the window did not show"
probe click btnFolderCleaner >/dev/null || fail "no folder cleaner button"
wait_for 20 shown FoldersTree || fail "the folder page did not show"
wait_for 20 eval "probe row FoldersTree 'Q:\\Old\\' >/dev/null" || fail "no row Q:\Old\ to select"
sleep 1
probe click btnDeleteFolder >/dev/null || fail "no Delete button"
sleep 1
probe click btnOK >/dev/null || fail "no OK button"
wait_for 20 window_hidden || fail "OK did not hide the window"
parameters_kept() { [ "$(ini_value Section3 Parameters)" = 'Q:\Keep\|' ]; }
wait_for 20 parameters_kept || fail "OK stored the list as '$(ini_value Section3 Parameters)'"
end_session

# ------------------------------------------------ /startup empties a Windows-start folder once
echo "e2e scheduler: /startup empties a Windows-start folder once"
mkdir -p "$work/qdrive/logon-clean/sub"
echo x >"$work/qdrive/logon-clean/a.txt"
echo x >"$work/qdrive/logon-clean/sub/b.txt"
startup_win=$(winepath -w "$work/qdrive/logon-clean" 2>/dev/null)
ini=$'[General]\r\nEnabled=1\r\n[Section3]\r\nEnabled=1\r\nIntervals=6\r\n'
ini+="Parameters=$startup_win|"$'\r\n'
start_sched startup /startup
wait_for 20 absent "$work/qdrive/logon-clean/a.txt" "$work/qdrive/logon-clean/sub/b.txt" ||
  fail "/startup did not empty the Windows-start folder"
[ -d "$work/qdrive/logon-clean" ] || fail "/startup removed the folder itself"
wait_for 30 window_visible || fail "/startup did not show the window"
echo x >"$work/qdrive/logon-clean/later.txt"
sleep 11
[ -e "$work/qdrive/logon-clean/later.txt" ] || fail "the Windows-start function ran again"
end_session

# ------------------------------------------- the main program's Scheduler button, twice
echo "e2e scheduler: the main program's Scheduler button, twice"
ini=""
prepare fromqrv
qrv_win=$(winepath -w "$dir/qrv.exe" 2>/dev/null)
launch "$dir/qrv.exe"
qrv_probe() { wine "$probe_exe" "$1" "System Corvanta 2" "$qrv_win" "${@:2}" >/dev/null 2>&1; }
wait_for 60 qrv_probe shown btnScheduler || fail "qrv's Scheduler button did not show"
qrv_probe click btnScheduler || fail "could not click the Scheduler button"
wait_for 60 handle_written || fail "the Scheduler button did not start qrvsched"
[ "$(general Close)" = 0 ] || fail "qrv did not write Close=0 before starting the scheduler"
wait_for 30 window_visible || fail "qrvsched /show did not show its window"
send 16 >/dev/null || fail "no window to close"
wait_for 20 window_hidden || fail "the title bar's close did not hide the window"
[ "$(send 0x8065)" = 123456 ] || fail "closing the window ended the scheduler"
qrv_probe click btnScheduler || fail "could not click the Scheduler button again"
wait_for 30 window_visible || fail "the Scheduler button did not show the running scheduler"
[ "$(send 17)" = 1 ] || fail "WM_QUERYENDSESSION was not allowed"
send 16 >/dev/null || true
wait_for 30 handle_cleared || fail "the scheduler started by qrv did not end"

echo "e2e scheduler: ok"
