#!/usr/bin/env bash
# qrv's Help button and a page's "?" button open the shipped Help.chm in the system's help viewer:
# its window, titled as the help file names itself, shows. (Wine's viewer shows the contents but
# no page: it has no HTML engine. The topics and links are checked on the file itself.)
# Usage: tests/e2e/help.sh DIST_FOLDER PROBE_EXE SCREENSHOTS_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"

title="System Corvanta 2"
help_title="System Corvanta 2 Help"
help_open() { in_dialog visible "$help_title"; }
# help_shot: the help window's own picture, as qrv-help.png.
help_shot() {
  sleep 2
  local geometry
  geometry=$(xwininfo -display "$DISPLAY" -name "$help_title" |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
         /Width:/ {w=$NF} /Height:/ {h=$NF} END {printf "%dx%d+%d+%d", w, h, x, y}')
  bash "$here/scripts/grab-screen.sh" "$shots/qrv-help.png" "$geometry"
  echo "$shots/qrv-help.png"
}
close_help() {
  in_dialog close "$help_title" || fail "could not close the help window"
  wait_for 20 eval '! help_open' || fail "the help window did not close"
}

program_prefix qrv.exe
start_qrv
click btnHelp
wait_for 30 help_open || fail "Help opened no help window"
help_shot
close_help

click btnCleanMyComputer
wait_for 10 shown RoundedFlatSpeedButton7 || fail "the cleaning page did not show"
click RoundedFlatSpeedButton7
wait_for 30 help_open || fail "the large files' ? button opened no help window"
close_help
probe close >/dev/null || fail "no main window to close"
qrv_ended
echo "help: the Help and ? buttons open Help.chm in the help viewer"
