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

title="System Corvanta 2"
canary=$work/canary
program_prefix qrv.exe
make_junk_fixture "$fixture" "$canary"
kept_before=$(kept_sums "$fixture" "$canary")
cd "$program"

# ------------------------------------------------------------------ first road: delete the junk
start_qrv
scan_junk_on_q drives-junk
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
wait_for 20 in_dialog shown "$filter" btnCancel || fail "the filter dialog did not show"
screen_shot filter
in_dialog shown "$filter" btnCancel || fail "the filter picture lacks its dialog"
in_dialog click "$filter" btnCancel || fail "could not cancel the filter"
wait_for 10 shown btnScanResultsCleanAll || fail "the results did not come back"
probe menu mnDeleteFiles >/dev/null || fail "no Delete Files command"
wait_for 20 shown btnYes || fail "no question before deleting"
screen_shot deleteconfirm
shown btnYes || fail "the deleteconfirm picture lacks its question"
click btnYes
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
click btnYes
viewer="Cleaning Report"
wait_for 30 in_dialog shown "$viewer" btnViewInBrowser || fail "the report viewer did not show"
screen_shot report
in_dialog shown "$viewer" btnViewInBrowser || fail "the report picture lacks its viewer"
in_dialog close "$viewer" || fail "could not close the viewer"
qrv_ended

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
scan_junk_on_q
probe row lvScanResults "setup.tmp" >/dev/null || fail "no row for setup.tmp"
probe menu mnSecureDeleteFile >/dev/null || fail "no Secure Delete File command"
click btnYes
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
click btnYes
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
qrv_ended
echo "e2e clean: ok"
