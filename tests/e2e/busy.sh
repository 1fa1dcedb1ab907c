#!/usr/bin/env bash
# qrv's progress window as a user sees it during long work: a 400 MB file of Q: split into parts
# of the page's default size. A picture of the window alone as SCREENSHOTS/qrv-progress.png; the
# parts are all written.
# Usage: tests/e2e/busy.sh DIST_FOLDER PROBE_EXE SCREENSHOTS_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"

title="System Corvanta 2"
program_prefix qrv.exe
mkdir -p "$fixture/parts"
head -c 400M /dev/zero >"$fixture/big.bin"
start_qrv

click labAdvancedFeatures
wait_for 10 shown labSplitCombineFiles || fail "the advanced page did not show"
click labSplitCombineFiles
click labSplitFiles
wait_for 10 shown btnSplitFilesSplit || fail "the split page did not show"
type_into edSplitFilesFileToSplit 'Q:\big.bin'
type_into edSplitFilesDestination 'Q:\parts\'
click btnSplitFilesSplit
busy="Please wait..."
wait_for 60 in_dialog shown "$busy" SplitFilesAnimate || fail "the split showed no progress window"
read -r x y <<<"$(wine "$probe_exe" where "$busy" "$exe_win" SplitFilesAnimate 2>/dev/null |
  tr -d '\r')"
# The window is 356 x 202; its animation is 272 x 60 at 40,48.
bash "$here/scripts/grab-screen.sh" "$shots/qrv-progress.png" \
  "356x202+$((x - 40 - 136))+$((y - 48 - 30))"
echo "$shots/qrv-progress.png"
# 400 MB in parts of 1457664 bytes: 288 parts.
wait_for 180 eval '[ "$(ls "$fixture/parts" | wc -l)" -eq 288 ]' ||
  fail "the split wrote $(ls "$fixture/parts" | wc -l) parts, not 288"
wait_for 60 eval '! in_dialog shown "$busy" SplitFilesAnimate' || fail "the progress window stayed"
echo "e2e busy windows: ok"
