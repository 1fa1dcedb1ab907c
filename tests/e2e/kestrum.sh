#!/usr/bin/env bash
# kestrum.exe as the shutdown task starts it with "ask": the question shows in the program's own
# message box with Yes and No, and No ends the program with exit code 0 and nothing
# shut down. Yes and the start without "ask" would end the wine session; the program's logic
# behind them is tested in process with a stand-in for the shutdown.
# Usage: tests/e2e/kestrum.sh DIST_FOLDER PROBE_EXE SCREENSHOTS_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"

title="System Corvanta 2"
program_prefix kestrum.exe
launch "$exe_win" ask
kestrum_pid=$launched
wait_for 30 in_dialog shown "$title" btnNo || fail "kestrum did not ask"
in_dialog shown "$title" btnYes || fail "the question has no Yes"
if [ -n "${shots:-}" ]; then
  sleep 1
  # The box is the only window on the screen: its picture is the screen trimmed to it.
  bash "$here/scripts/grab-screen.sh" "$shots/kestrum-ask.png"
  convert "$shots/kestrum-ask.png" -trim +repage "$shots/kestrum-ask.png"
fi
in_dialog click "$title" btnNo || fail "could not answer No"
ended_ok "$kestrum_pid" 30 kestrum
echo "kestrum: asked, and No kept the computer running"
