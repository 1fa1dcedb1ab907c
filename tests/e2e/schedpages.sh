#!/usr/bin/env bash
# Walks the scheduler's configuration window as a user would, clicking by the controls' names,
# and saves a picture of each function page, the busy window of a run, the notice that ends it,
# the date dialog and the tray menu as SCREENSHOTS/qrvsched-<page>.png.
# Usage: tests/e2e/schedpages.sh DIST_FOLDER PROBE_EXE SCREENSHOTS_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"

title="System Corvanta 2 Scheduler"
program_prefix qrvsched.exe
cat >"$program/qvsched.ini" <<'EOF'
[General]
Enabled=1
[Section1]
Enabled=1
Intervals=4
Time4=2
DayOfWeek=5
Parameters=1|0|1|
[Section3]
Enabled=1
Intervals=3
Hour=10
Min=30
Parameters=C:\Temp\|C:\Windows\Temp\|C:\Users\Public\Downloads\|
[Section4]
Intervals=6
Parameters=C:\Program Files\Corvanta Tools\report.exe|C:\Tools\sync.cmd|
[Section5]
Enabled=1
Intervals=7
MB=500
Parameters=C:\|D:\Projects\|
EOF

# The window's place on screen, from its notebook's centre (the notebook sits at 180,94 and is
# 446 x 180 in the 640 x 540 window).
window_left=0
window_top=0
locate() {
  local x y
  read -r x y <<<"$(probe where Notebook)" || fail "the window shows no notebook"
  window_left=$((x - 180 - 223))
  window_top=$((y - 94 - 90))
}

# window_shot NAME [MARGIN]: the window as it is now, with MARGIN pixels around it.
window_shot() {
  sleep 1
  local margin=${2:-0}
  bash "$here/scripts/grab-screen.sh" "$shots/qrvsched-$1.png" \
    "$((640 + 2 * margin))x$((540 + 2 * margin))+$((window_left - margin))+$((window_top - margin))"
  echo "$shots/qrvsched-$1.png"
}

launch "$exe_win"
wait_for 60 shown Notebook || fail "the configuration window did not show"
locate
window_shot registry
for page in btnInternetPrivacy:privacy btnFolderCleaner:folders btnApplicationLauncher:launch \
  btnJunkFiles:junkfiles; do
  click "${page%%:*}"
  window_shot "${page##*:}"
done

# Run now on the folder cleaner, whose first folder is C:\Temp: the busy window shows over the
# window while the folder is emptied.
temp="$e2e_prefix_dir/drive_c/Temp"
mkdir -p "$temp"
(cd "$temp" && seq -f "part%05g.dat" 1 60000 | xargs touch)
click btnFolderCleaner
click btnRunNow
# The run keeps the window thread, which answers no probe until the folder is empty: the busy
# window is found by its title on the display and read from the screen.
busy_on_screen() { xwininfo -root -tree -display "$DISPLAY" | grep -q '"Please wait\.\.\."'; }
wait_for 30 busy_on_screen || fail "the run showed no busy window"
sleep 0.5
bash "$here/scripts/grab-screen.sh" "$shots/qrvsched-pleasewait.png" \
  "342x183+$((window_left + (640 - 342) / 2))+$((window_top + (540 - 183) / 2))"
echo "$shots/qrvsched-pleasewait.png"
wait_for 120 eval '[ -z "$(ls -A "$temp")" ]' || fail "Run now did not empty C:\\Temp"
# The run ends with the window in front and a notice of what ran.
wait_for 60 shown btnOk || fail "Run now ended without a notice"
window_shot runnow
click btnOk
wait_for 30 shown btnDate || fail "the window did not come back after the run"

# The date dialog over the window, from the date row's button.
click btnFolderCleaner
click btnDate
wait_for 20 in_dialog shown "Edit Date" MonthCalendar ||
  fail "the date dialog did not show"
window_shot datedialog 0
in_dialog click "Edit Date" btnCancel ||
  fail "could not cancel the date dialog"

# The tray menu, with the window hidden: a right click as the shell reports it.
click btnCancel
# The file may be UTF-16: without its zero bytes it reads as plain text.
handle=$(tr -d '\r\0' <"$program/qvsched.ini" | awk -F= '/^Handle=/ { print $2 }')
wine "$probe_exe" tray "$handle" 0x204 >/dev/null 2>&1 || fail "no tray icon window"
sleep 2
bash "$here/scripts/grab-screen.sh" "$work/screen.png"
# The menu opens at the pointer; a black border lets the trim find the menu's own edge.
read -r pointer_x pointer_y <<<"$(wine "$probe_exe" cursor 2>/dev/null | tr -d '\r')"
convert "$work/screen.png" -crop "260x200+$pointer_x+$pointer_y" +repage -bordercolor black \
  -border 1 -trim +repage "$shots/qrvsched-traymenu.png"
echo "$shots/qrvsched-traymenu.png"
echo "e2e scheduler pages: ok"
