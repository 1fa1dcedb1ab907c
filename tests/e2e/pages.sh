#!/usr/bin/env bash
# Walks qrv's pages as a user would, clicking by the controls' names, and saves a picture of each
# page and dialog reached as SCREENSHOTS/qrv-<page>.png. The scan runs over no path, so it ends
# at once with its "nothing found" notice.
# Usage: tests/e2e/pages.sh DIST_FOLDER PROBE_EXE SCREENSHOTS_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"

title="System Corvanta 2"
program_prefix qrv.exe
start_qrv
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
cancel_dialog junkmask "Add a Junk File Mask"
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
qrv_ended
echo "e2e pages: ok"
