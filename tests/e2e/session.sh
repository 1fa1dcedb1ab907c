#!/usr/bin/env bash
# A long session of qrv, ended as users end one. Dialogs met on the way close with Escape (a
# question answered so changes nothing); junk on Q: is deleted; then Close on the installed-
# programs page, Yes to the report and Save in the viewer, into the Desktop its folder picker
# starts in. qrv must end by itself with exit code 0, and the saved report must lie in the
# prefix's own Desktop, not in the host's home folder.
# Usage: tests/e2e/session.sh DIST_FOLDER PROBE_EXE
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"

title="System Corvanta 2"
canary=$work/canary
program_prefix qrv.exe
make_junk_fixture "$fixture" "$canary"
touch "$work/started"

# escape_closes TITLE CONTROL: the window titled TITLE shows CONTROL, and Escape closes it.
escape_closes() {
  wait_for 20 in_dialog shown "$1" "$2" || fail "the dialog '$1' did not show"
  wait_for 20 in_dialog key "$1" 0x1B || fail "Escape did not reach '$1'"
  wait_for 10 dialog_gone "$1" "$2" || fail "Escape did not close '$1'"
}
dialog_gone() { ! in_dialog shown "$1" "$2"; }
junk_left() {
  local file
  for file in "${fixture_junk[@]}"; do [ -e "$fixture/$file" ] || return 1; done
}
junk_gone() {
  local file
  for file in "${fixture_junk[@]}"; do [ ! -e "$fixture/$file" ] || return 1; done
}

start_qrv
click btnAbout
escape_closes "About System Corvanta 2" JvLabel2

click btnCleanMyComputer
click labJunkFiles
wait_for 10 shown DrivesList || fail "the drive page did not show"
click btnNext
wait_for 10 shown btnAddJunkFilesOption || fail "the junk options did not show"
click btnAddJunkFilesOption
escape_closes "Add a Junk File Mask" btnCancel
click btnBack
click btnBack
wait_for 10 shown labJunkFiles || fail "Back did not lead to the cleaning page"
scan_junk_on_q
click btnScaResultsFilter
escape_closes "Filter the Found Files" btnCancel
click btnScanResultsSelectAll
# Escape answers the question as Cancel does: nothing is deleted.
probe menu mnDeleteFiles >/dev/null || fail "no Delete Files command"
escape_closes "$title" btnYes
junk_left || fail "Escape on the question deleted files"
probe menu mnDeleteFiles >/dev/null || fail "no Delete Files command"
wait_for 20 shown btnYes || fail "no question before deleting"
click btnYes
wait_for 30 junk_gone || fail "the junk was not deleted"
click btnScanStatictics
wait_for 10 shown Progress2 || fail "the statistics page did not show"
click labMainRestoreDeletedFiles
wait_for 10 shown btnRecoveryFiles || fail "the store page did not show"
click btnICleanMyComputer
click labInternetPrivacy
wait_for 10 shown labCleanInternetCookieFiles || fail "the internet privacy page did not show"
click labCleanInternetCookieFiles
escape_closes Cookies btnClose

click labMainSystemConfiguration
wait_for 10 shown labStartUpManager || fail "the system configuration page did not show"
click labStartUpManager
wait_for 10 shown btnAddStartup || fail "the startup manager did not show"
click btnAddStartup
escape_closes "Add a Startup Program" edProgramName
click btnBack
click labAddRemovePrograms
wait_for 20 shown btnAddRemoveProgramsRefresh || fail "the installed programs did not show"

click btnClose
wait_for 20 shown btnYes || fail "the report was not offered"
click btnYes
viewer="Cleaning Report"
wait_for 30 in_dialog shown "$viewer" btnSave || fail "the report viewer did not show"
in_dialog click "$viewer" btnSave || fail "could not press Save"
# The folder picker starts on the Desktop; Enter takes it.
wait_for 30 in_dialog key "Browse for Folder" 0x0D || fail "the folder picker did not take Enter"
ended_ok "$qrv_pid" 60 qrv

saved=$(find "$e2e_prefix_dir/drive_c/users" -path '*/Desktop/QRV_Report-*/report.htm' | head -1)
[ -n "$saved" ] || fail "no report copy in the prefix's Desktop"
grep -q ">${#fixture_junk[@]}<" "$saved" || fail "the saved report does not count the deleted files"
leaked=$(find "$HOME" -maxdepth 2 -name 'QRV_Report-*' -newer "$work/started" 2>/dev/null || true)
[ -z "$leaked" ] || fail "the report reached the host's home folder: $leaked"
echo "e2e session: ok (report saved as ${saved#$e2e_prefix_dir/})"
