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

# probe COMMAND [NAME]: asks the titled window of the program started here.
probe() {
  local command=$1
  shift
  wine "$probe_exe" "$command" "$title" "$exe_win" "$@" 2>/dev/null | tr -d '\r'
  return "${PIPESTATUS[0]}"
}
shown() { probe shown "$1" >/dev/null; }
click() {
  wait_for 20 shown "$1" || fail "$1 is not shown"
  probe click "$1" >/dev/null || fail "could not click $1"
}

# shot NAME: the main window (its background picture's bounds) as it is now.
shot() {
  sleep 1
  local centre x y
  centre=$(probe where MainImage) || fail "no main window for the picture of $1"
  read -r x y <<<"$centre"
  bash "$here/scripts/grab-screen.sh" "$shots/qrv-$1.png" "721x535+$((x - 360))+$((y - 267))"
  echo "$shots/qrv-$1.png"
}

# screen_shot NAME: where the main window stands, whatever covers it (a dialog over it).
shot_left=279
shot_top=244
screen_shot() {
  sleep 3
  bash "$here/scripts/grab-screen.sh" "$shots/qrv-$1.png" "721x535+$shot_left+$shot_top"
  echo "$shots/qrv-$1.png"
}

# dialog_painted NAME WINDOW_TITLE BUTTON: the picture NAME shows the dialog's button drawn, not
# one flat colour (a window that never reached the screen shows as a black box).
dialog_painted() {
  local centre x y colours
  centre=$(wine "$probe_exe" where "$2" "$exe_win" "$3" 2>/dev/null | tr -d '\r') ||
    fail "no $3 on the $1 picture"
  read -r x y <<<"$centre"
  colours=$(convert "$shots/qrv-$1.png" -crop "40x12+$((x - shot_left - 20))+$((y - shot_top - 6))" \
    +repage -format %k info:)
  [ "$colours" -gt 1 ] || fail "the $1 picture shows $3 as one flat colour"
}

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
