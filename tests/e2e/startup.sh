#!/usr/bin/env bash
# Start-up of qrv as a user meets it: the start-up log and the configuration it leaves, its
# main window, the one-instance rule with the running instance brought back, a clean close, and
# a start from a program folder that cannot be written.
# Usage: tests/e2e/startup.sh DIST_FOLDER PROBE_EXE
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"

title="System Corvanta 2"
# A prefix of its own: the program folders on P:.
mkdir -p "$work/progs" "$work/fixture"
e2e_prefix "$work/progs" "$work/fixture"

# A fresh program folder holding a copy of the built one.
program_folder() {
  local dir=$work/progs/$1
  copy_program "$dir"
  echo "$dir"
}

# launch_qrv DIR: starts the qrv.exe of DIR, not waiting for any window.
launch_qrv() {
  exe_win=$(winepath -w "$1/qrv.exe" 2>/dev/null)
  launch "$1/qrv.exe"
  qrv_pid=$launched
}

# Closes the main window as the user would and checks that the program ends with exit code 0.
close_qrv() {
  probe close >/dev/null || fail "no main window to close"
  ended_ok "$qrv_pid" 30 qrv
}

log_complete() { [ -f "$dir/log.txt" ] && [ "$(grep -c '' "$dir/log.txt")" -ge 8 ]; }

# ---------------------------------------------------------------- a normal start
dir=$(program_folder normal)
launch_qrv "$dir"
wait_for 60 log_complete || fail "log.txt did not get its start-up lines"
wait_for 30 window_visible || fail "the main window did not show"

mapfile -t lines <"$dir/log.txt"
# The splash's steps: the main window reports its five loading steps between the two "Loading...".
expected=("Loading..." "Loading Main Window...")
for step in 1 2 3 4 5; do
  expected+=("$(sed -n "s/^sLoading$step=//p" "$dir/Languages/english.lng" | tr -d '\r')")
done
expected+=("Loading...")
[ "${#lines[@]}" -eq "${#expected[@]}" ] || fail "log.txt has ${#lines[@]} lines: ${lines[*]}"
for i in "${!expected[@]}"; do
  [[ ${lines[$i]} =~ ^\[([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]\](.*)$'\r'$ ]] ||
    fail "log line $((i + 1)) is not '[hh:nn:ss]text' with CRLF: ${lines[$i]}"
  [ "${BASH_REMATCH[2]}" = "${expected[$i]}" ] ||
    fail "log line $((i + 1)) says '${BASH_REMATCH[2]}', expected '${expected[$i]}'"
done

grep -q '^\[Report\]' "$dir/qv.ini" || fail "the write test left no [Report] section"
awk '/^\[/ { report = ($0 ~ /^\[Report\]/) } report && /^Test=/ { found = 1 } END { exit !found }' \
  "$dir/qv.ini" && fail "qv.ini still has the write test's key"

# ------------------------------------------- a second start while the first runs
probe minimize >/dev/null || fail "could not minimise the main window"
wait_for 10 eval 'probe iconic >/dev/null' || fail "the main window did not minimise"
before=$(cd "$dir" && sha1sum log.txt qv.ini)
rc=0
timeout 60 wine "$dir/qrv.exe" >/dev/null 2>&1 || rc=$?
[ "$rc" -eq 0 ] || fail "the second start ended with exit code $rc"
[ "$(cd "$dir" && sha1sum log.txt qv.ini)" = "$before" ] || fail "the second start changed files"
wait_for 10 window_visible || fail "the running instance was not restored by the second start"

close_qrv
[ "$(grep -c '' "$dir/log.txt")" -eq 8 ] || fail "log.txt changed after the start"

# ------------------------------------------------------- damaged files refuse the start
# A database of random bytes, an empty one and one that lacks tables; a language file and a
# settings file of random bytes: a message in words, every file left as it was, and closing the
# message ends the program with a failure code.
damage() {
  case $1 in
  db-random) head -c 20000 /dev/urandom >"$dir/Data/qrv.db" ;;
  db-empty) : >"$dir/Data/qrv.db" ;;
  db-table)
    /usr/bin/python3 -c 'import sqlite3, sys; sqlite3.connect(sys.argv[1]).execute(
        "create table JunkFiles (ID integer primary key, Extension text, ExtensionDescription text)")' \
      "$dir/Data/qrv.db"
    ;;
  lng) head -c 20000 /dev/urandom >"$dir/Languages/english.lng" ;;
  ini) head -c 2000 /dev/urandom >"$dir/qv.ini" ;;
  esac
}
for case in db-random db-empty db-table lng ini; do
  dir=$(program_folder "$case")
  damage "$case"
  # Every file the folder held, read again after: the start may add its log, nothing else.
  (cd "$dir" && find . -type f -print0 | sort -z >"$work/$case.files")
  before=$(cd "$dir" && xargs -0 sha1sum <"$work/$case.files")
  launch_qrv "$dir"
  wait_for 60 window_visible || fail "no message about the damage: $case"
  shown MainImage && fail "the main window came up over the damage: $case"
  probe close >/dev/null || fail "could not close the message about the damage: $case"
  wait_gone "$qrv_pid" 30 "qrv went on after the message: $case"
  rc=0
  wait "$qrv_pid" || rc=$?
  [ "$rc" -ne 0 ] || fail "a start over the damage ended with exit code 0: $case"
  [ "$(cd "$dir" && xargs -0 sha1sum <"$work/$case.files")" = "$before" ] ||
    fail "a file of the program folder changed: $case"
done

# ----------------------------------------- a program folder that cannot be written
# Root writes through permission bits, so the log and the configuration file are folders too.
dir=$(program_folder readonly)
mkdir "$dir/log.txt" "$dir/qv.ini"
chmod -R a-w "$dir"
launch_qrv "$dir"
wait_for 60 window_visible || fail "qrv did not start from a folder it cannot write"
close_qrv

echo "e2e startup: ok"
