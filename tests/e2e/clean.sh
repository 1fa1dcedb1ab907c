#!/usr/bin/env bash
# Cleaning junk as a user does it, in a wine prefix whose only drives are C:, P: (the program
# folder) and Q: (a fixture of junk beside files that must stay, and a link to a canary folder
# outside Q:). First road: scan Q: for junk, select all, delete, look at the statistics, close
# and read the report. Second road: move one found file into the deleted-file store.
# Usage: tests/e2e/clean.sh DIST_FOLDER PROBE_EXE SCREENSHOTS_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"
mkdir -p "$3"
shots=$(cd "$3" && pwd)

title="System Corvanta 2"
exe_win='P:\qrv.exe'
work=$(mktemp -d)
qrv_pid=
cleanup() {
  [ -n "$qrv_pid" ] && kill "$qrv_pid" 2>/dev/null || true
  e2e_prefix_end
  rm -rf "$work"
}
trap cleanup EXIT

program=$work/program
fixture=$work/fixture
canary=$work/canary
mkdir -p "$program" "$fixture"
cp -r "$dist"/. "$program"/
make_junk_fixture "$fixture" "$canary"
kept_before=$(kept_sums "$fixture" "$canary")
e2e_prefix "$program" "$fixture"
cd "$program"

# probe COMMAND [NAME...]: asks the window titled WINDOW (default: the main title) of qrv.
probe_in() {
  local window=$1 command=$2
  shift 2
  wine "$probe_exe" "$command" "$window" "$exe_win" "$@" 2>/dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}
probe() { probe_in "$title" "$@"; }
shown() { probe shown "$1" >/dev/null; }
click() {
  wait_for 20 shown "$1" || fail "$1 is not shown"
  probe click "$1" >/dev/null || fail "could not click $1"
}
# answer BUTTON: presses a button of the message box over the main window.
answer() {
  wait_for 20 shown "$1" || fail "no message box with $1"
  probe click "$1" >/dev/null || fail "could not press $1"
}
shot() {
  sleep 1
  local centre x y
  centre=$(probe where MainImage) || fail "no main window for the picture of $1"
  read -r x y <<<"$centre"
  bash "$here/scripts/grab-screen.sh" "$shots/qrv-$1.png" "721x535+$((x - 360))+$((y - 267))"
}
# screen_shot NAME WINDOW_TITLE BUTTON: the screen around the dialog titled WINDOW_TITLE, centred
# on its BUTTON's window.
screen_shot() {
  sleep 1
  local x y
  read -r x y <<<"$main_centre"
  bash "$here/scripts/grab-screen.sh" "$shots/qrv-$1.png" "721x535+$((x - 360))+$((y - 267))"
  probe_in "$2" shown "$3" >/dev/null || fail "the $1 picture lacks its dialog"
}
start_qrv() {
  wine 'P:\qrv.exe' >/dev/null 2>&1 &
  qrv_pid=$!
  wait_for 60 shown MainImage || fail "the main window did not show"
  main_centre=$(probe where MainImage)
}
wait_end() {
  local end=$((SECONDS + 60))
  while kill -0 "$qrv_pid" 2>/dev/null; do
    [ "$SECONDS" -lt "$end" ] || fail "qrv did not end"
    sleep 0.3
  done
  qrv_pid=
}
# scan_q: from the start page to the junk results of drive Q: alone.
scan_q() {
  click btnCleanMyComputer
  click labJunkFiles
  wait_for 10 shown DrivesList || fail "the drive page did not show"
  # The path list arrives with C: focused: two deletes leave Q:.
  click btnDeleteDrive
  click btnDeleteDrive
  probe row DrivesList " (Q:)" >/dev/null || fail "Q: is not left in the path list"
  probe row DrivesList " (C:)" >/dev/null && fail "C: is still in the path list"
  probe row DrivesList " (P:)" >/dev/null && fail "P: is still in the path list"
  shot drives-junk
  click btnNext
  wait_for 10 shown lvJunkFilesOptions || fail "the options page did not show"
  click btnNext
  wait_for 60 shown lvScanResults || fail "the results page did not show"
}

# ------------------------------------------------------------------ first road: delete the junk
start_qrv
scan_q
for file in "${fixture_junk[@]}"; do
  probe row lvScanResults "$(basename "$file")" >/dev/null || fail "the results lack $file"
done
probe row lvScanResults "canary.tmp" >/dev/null && fail "the scan went through the link out of Q:"
probe row lvScanResults "letter.txt" >/dev/null && fail "a file that is no junk was found"
click btnScanResultsSelectAll
shot results-junk
# The filter dialog, cancelled: nothing changes.
click btnScaResultsFilter
filter="Filter the Found Files"
wait_for 20 probe_in "$filter" shown btnCancel >/dev/null || fail "the filter dialog did not show"
screen_shot filter "$filter" btnCancel
probe_in "$filter" click btnCancel >/dev/null || fail "could not cancel the filter"
wait_for 10 shown btnScanResultsCleanAll || fail "the results did not come back"
probe menu mnDeleteFiles >/dev/null || fail "no Delete Files command"
wait_for 20 shown btnYes || fail "no question before deleting"
screen_shot deleteconfirm "$title" btnYes
answer btnYes
gone() {
  local file
  for file in "${fixture_junk[@]}"; do [ ! -e "$fixture/$file" ] || return 1; done
}
wait_for 30 gone || fail "the junk was not deleted: $(cd "$fixture" && find . -type f | sort | xargs)"
[ "$(kept_sums "$fixture" "$canary")" = "$kept_before" ] || fail "a file that is no junk changed"
wait_for 10 eval '! probe row lvScanResults setup.tmp >/dev/null' || fail "deleted rows stay listed"
click btnScanStatictics
wait_for 10 shown Progress2 || fail "the statistics page did not show"
shot statistics-junk
click btnClose
answer btnYes
viewer="Cleaning Report"
wait_for 30 probe_in "$viewer" shown btnViewInBrowser >/dev/null || fail "the report viewer did not show"
screen_shot report "$viewer" btnViewInBrowser
probe_in "$viewer" close >/dev/null || fail "could not close the viewer"
wait_end

report=$program/Temp/Report.htm
[ -f "$report" ] || fail "no Temp\\Report.htm"
grep -q ">${#fixture_junk[@]}<" "$report" || fail "the report does not count ${#fixture_junk[@]} files"
tr -d '\r' <"$program/qv.ini" | grep -qx "TotalFiles1=${#fixture_junk[@]}" ||
  fail "qv.ini lacks the total of files: $(tr -d '\r' <"$program/qv.ini" | xargs)"
[ "$(grep -c '' "$program/log.txt")" -eq 8 ] || fail "log.txt has not eight lines"

# ------------------------------------------------------ second road: into the deleted-file store
make_junk_fixture "$fixture" "$canary"
stored_time=$(stat -c %Y "$fixture/Temp/setup.tmp")
start_qrv
scan_q
probe row lvScanResults "setup.tmp" >/dev/null || fail "no row for setup.tmp"
probe menu mnSecureDeleteFile >/dev/null || fail "no Secure Delete File command"
answer btnYes
store="$fixture/System Corvanta Recycled"
wait_for 20 test -d "$store" || fail "no deleted-file store on Q:"
[ ! -e "$fixture/Temp/setup.tmp" ] || fail "the stored file is still in its place"
stored=$(ls "$store")
[[ $stored =~ ^[0-9]+$ ]] || fail "the store holds '$stored', not one file named by digits"
cmp -s "$store/$stored" <(printf 'content of %s\n' Temp/setup.tmp) || fail "the stored file changed"
[ -e "$fixture/Temp/Über draft.tmp" ] || fail "another junk file went too"
/usr/bin/python3 - "$program/Data/qrv.db" "$stored" <<'EOF' || fail "no record of the stored file"
import sqlite3, sys
rows = sqlite3.connect(sys.argv[1]).execute(
    "select OriginalFileName, NewLocation, NewFileName from RecoveryFiles").fetchall()
want = ("Q:\\Temp\\setup.tmp", "Q:\\System Corvanta Recycled\\", sys.argv[2])
sys.exit(0 if rows == [want] else f"records: {rows}")
EOF
# Restored from the store's page: its bytes and time are back and its record is gone.
click labMainRestoreDeletedFiles
wait_for 10 shown btnRecoveryFiles || fail "the store page did not show"
probe check lvRecoveryFiles 'Q:\Temp\setup.tmp' >/dev/null || fail "the stored file is not listed"
shot recoveryfiles-stored
click btnRecoveryFiles
answer btnYes
wait_for 20 test -e "$fixture/Temp/setup.tmp" || fail "the stored file did not come back"
cmp -s "$fixture/Temp/setup.tmp" <(printf 'content of %s\n' Temp/setup.tmp) ||
  fail "the restored file changed"
[ "$(stat -c %Y "$fixture/Temp/setup.tmp")" = "$stored_time" ] || fail "the restored file's time changed"
[ -z "$(ls "$store")" ] || fail "the store still holds the file"
/usr/bin/python3 -c 'import sqlite3, sys
sys.exit(sqlite3.connect(sys.argv[1]).execute("select count(*) from RecoveryFiles").fetchone()[0])' \
  "$program/Data/qrv.db" || fail "the record of the restored file stays"
# A stored file is not counted: nothing to report, the window just closes.
probe close >/dev/null
wait_end
echo "e2e clean: ok"
