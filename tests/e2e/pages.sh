#!/usr/bin/env bash
# Walks qrv's pages as a user would, clicking by the controls' names, and saves a picture of each
# page and dialog reached as SCREENSHOTS/qrv-<page>.png. The scan runs over no path, so it ends
# at once with its "nothing found" notice.
# Usage: tests/e2e/pages.sh DIST_FOLDER PROBE_EXE SCREENSHOTS_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"
shots=$3
mkdir -p "$shots"

title="System Corvanta 2"
work=$(mktemp -d)
qrv_pid=
cleanup() {
  [ -n "$qrv_pid" ] && kill "$qrv_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$dist"/. "$work"/
exe_win=$(winepath -w "$work/qrv.exe" 2>/dev/null)

wine "$work/qrv.exe" >/dev/null 2>&1 &
qrv_pid=$!
wait_for 60 shown MainImage || fail "the main window did not show"
shot start
click btnCleanMyComputer
wait_for 10 shown labJunkFiles || fail "the cleaning page did not show"
shot cleanmycomputer
click labJunkFiles
wait_for 10 shown btnAllDrives || fail "the drive page did not show"
click btnClearAllPaths
shot drives
click btnNext
wait_for 10 shown labJunkFilesOptions || fail "the options page did not show"
shot junkoptions
# The junk-mask dialog, closed again with Cancel.
click btnAddJunkFilesOption
dialog="Add a Junk File Mask"
wait_for 20 wine "$probe_exe" shown "$dialog" "$exe_win" btnCancel >/dev/null 2>&1 ||
  fail "the junk-mask dialog did not show"
screen_shot junkmask
dialog_painted junkmask "$dialog" btnCancel
wine "$probe_exe" click "$dialog" "$exe_win" btnCancel >/dev/null 2>&1 || fail "could not cancel"
wait_for 10 shown btnNext || fail "the options page did not come back"
click btnBack
click btnBack
click labLargeFiles
click btnNext
wait_for 10 shown edLargeOldLarge || fail "the large-file options did not show"
shot largeoptions
click btnNext
# Nothing to scan: the notice stands over the results page.
wait_for 20 shown btnOk || fail "the nothing-found notice did not show"
screen_shot nothingfound
dialog_painted nothingfound "$title" btnOk
click btnOk
wait_for 10 shown btnScanStatictics || fail "the results page did not show"
shot results
click btnScanStatictics
wait_for 10 shown Progress1 || fail "the statistics page did not show"
shot statistics
click btnClose
end=$((SECONDS + 30))
while kill -0 "$qrv_pid" 2>/dev/null; do
  [ "$SECONDS" -lt "$end" ] || fail "qrv did not end after Close"
  sleep 0.3
done
qrv_pid=
echo "e2e pages: ok"
