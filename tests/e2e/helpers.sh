# Helpers of the whole-program scripts; sourced, not run.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# wait_for SECONDS COMMAND...: runs COMMAND until it succeeds or the time is up.
wait_for() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.3
  done
}

# e2e_enter SCRIPT DIST_FOLDER PROBE_EXE [SCREENSHOTS_FOLDER]: from the top of a script; runs it
# again under Xvfb when there is no display, then enters the wine prefix of the build that holds
# DIST_FOLDER. Sets dist, probe_exe, shots (when given) and work: a scratch folder that goes at
# exit with every program started by launch.
e2e_enter() {
  local script=$1
  shift
  if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$script" "$@"
  fi
  dist=$(cd "$1" && pwd)
  probe_exe=$2
  if [ -n "${3:-}" ]; then
    shots=$(mkdir -p "$3" && cd "$3" && pwd)
  fi
  if [ -z "${WINEPREFIX:-}" ]; then
    source "$here/scripts/wine-env.sh" "$(dirname "$dist")"
  fi
  build_prefix=$WINEPREFIX
  work=$(mktemp -d)
  launched_pids=()
  trap e2e_cleanup EXIT
}

e2e_cleanup() {
  local pid
  for pid in "${launched_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  e2e_prefix_end
  # A folder made read-only by a script still goes.
  chmod -R u+w "$work"
  rm -rf "$work"
}

# launch PROGRAM [ARGUMENT...]: starts PROGRAM under wine in the background; sets launched (its
# process id), which is ended at exit if it still runs. Only in a prefix of the script's own:
# what a program writes to the registry would stay in the build's for every later test.
launch() {
  [ "$WINEPREFIX" != "$build_prefix" ] || fail "programs run in a prefix of the script's own"
  wine "$@" >/dev/null 2>&1 &
  launched=$!
  launched_pids+=("$launched")
}

# wait_gone PID SECONDS MESSAGE: the process ends within SECONDS, or the script fails with MESSAGE.
wait_gone() {
  local end=$((SECONDS + $2))
  while kill -0 "$1" 2>/dev/null; do
    [ "$SECONDS" -lt "$end" ] || fail "$3"
    sleep 0.3
  done
}

# ended_ok PID SECONDS NAME: the program NAME started by launch ends within SECONDS, with exit
# code 0.
ended_ok() {
  wait_gone "$1" "$2" "$3 did not end"
  local rc=0
  wait "$1" || rc=$?
  [ "$rc" -eq 0 ] || fail "$3 ended with exit code $rc"
}

# copy_program DIR: the built program folder as shipped, into DIR. scripts/run.sh starts qrv in
# the built folder itself, so what the programs made there (settings, log, database) stays behind.
copy_program() {
  mkdir -p "$1"
  cp -r "$dist"/. "$1"/
  rm -f "$1/qv.ini" "$1/qvsched.ini" "$1/log.txt" "$1/Data/qrv.db" "$1/Data/qrv.db-journal"
  rm -rf "$1/Temp" && mkdir "$1/Temp"
}

# program_prefix EXE: a copy of the built program on P: ($program) and an empty fixture drive
# Q: ($fixture) in a prefix of the script's own; sets exe_win to the program EXE there.
program_prefix() {
  program=$work/program
  fixture=$work/fixture
  mkdir -p "$fixture"
  copy_program "$program"
  e2e_prefix "$program" "$fixture"
  exe_win="P:\\$1"
}

# start_qrv: starts exe_win and waits for its main window; sets qrv_pid and the place of the
# main window for screen_shot.
start_qrv() {
  launch "$exe_win"
  qrv_pid=$launched
  wait_for 60 shown MainImage || fail "the main window did not show"
  local x y
  read -r x y <<<"$(probe where MainImage)"
  shot_left=$((x - 360))
  shot_top=$((y - 267))
}

# qrv_ended: the qrv started by start_qrv ends, closed by the script.
qrv_ended() {
  wait_gone "$qrv_pid" 60 "qrv did not end"
}

# e2e_prefix PROGRAM_FOLDER FIXTURE_FOLDER: moves the script into a wine prefix of its own, made
# from the build's ready prefix, whose only drives are C:, P: (PROGRAM_FOLDER) and Q:
# (FIXTURE_FOLDER). The host's root (Z:) is gone, so "all drives" means these three; wine itself
# runs fine without it. Checked before anything else runs there. Sets e2e_prefix_dir and
# probe_exe (a copy on C:); e2e_prefix_end stops the prefix's server and removes it.
e2e_prefix() {
  local program=$1 fixture=$2 base=$WINEPREFIX
  e2e_prefix_dir=$(mktemp -d)
  # Hard links for wine's own files, which nothing here writes; the registry is copied.
  cp -al "$base/drive_c" "$e2e_prefix_dir/drive_c"
  bash "$here/scripts/own-user-folders.sh" "$e2e_prefix_dir"
  cp "$base"/*.reg "$base/.update-timestamp" "$e2e_prefix_dir"/
  mkdir "$e2e_prefix_dir/dosdevices"
  ln -s ../drive_c "$e2e_prefix_dir/dosdevices/c:"
  ln -s "$(cd "$program" && pwd)" "$e2e_prefix_dir/dosdevices/p:"
  ln -s "$(cd "$fixture" && pwd)" "$e2e_prefix_dir/dosdevices/q:"
  mkdir -p "$e2e_prefix_dir/drive_c/e2e"
  rm -f "$e2e_prefix_dir/drive_c/e2e/probe.exe"
  cp "$probe_exe" "$e2e_prefix_dir/drive_c/e2e/probe.exe"
  probe_exe=$e2e_prefix_dir/drive_c/e2e/probe.exe
  export WINEPREFIX=$e2e_prefix_dir
  wineserver -p60 >/dev/null 2>&1 </dev/null || true
  local drives
  drives=$(e2e_drives)
  [ "$drives" = "C P Q" ] || fail "the e2e prefix shows the drives '$drives', not 'C P Q'"
  local links
  links=$(find "$e2e_prefix_dir/drive_c/users" -maxdepth 2 -type l)
  [ -z "$links" ] || fail "user folders of the e2e prefix lead out of it: $links"
}

# The drive letters wine shows to a program, as "C P Q".
e2e_drives() {
  wine cmd /c 'for %d in (A B C D E F G H I J K L M N O P Q R S T U V W X Y Z) do @if exist %d:\nul echo %d' \
    2>/dev/null | tr -d '\r' | xargs
}

e2e_prefix_end() {
  [ -n "${e2e_prefix_dir:-}" ] || return 0
  WINEPREFIX=$e2e_prefix_dir wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX=$e2e_prefix_dir wineserver -w >/dev/null 2>&1 || true
  rm -rf "$e2e_prefix_dir"
  e2e_prefix_dir=
}

# make_junk_fixture FIXTURE CANARY: fills FIXTURE (the Q: drive) with junk of several of the
# default masks beside files that are no junk, and a folder link leading out of it to CANARY,
# whose junk-named files are not FIXTURE's and must never be touched. Every file has its own
# content, so a byte comparison tells them apart. Sets fixture_junk: the junk, relative to FIXTURE.
make_junk_fixture() {
  local fixture=$1 canary=$2 file
  fixture_junk=("Temp/setup.tmp" "Temp/Über draft.tmp" "Docs/letter.bak" "Docs/old/plan.old"
    "crash.dmp" "Docs/sheet.~1")
  local kept=("Docs/letter.txt" "Docs/old/plan.doc" "Docs/tmp.txt" "Photos/Bäume.bmp"
    "Temp/readme.txt" "notes.tmpl")
  for file in "${fixture_junk[@]}" "${kept[@]}"; do
    mkdir -p "$(dirname "$fixture/$file")"
    printf 'content of %s\n' "$file" >"$fixture/$file"
  done
  mkdir -p "$canary"
  printf 'canary junk\n' >"$canary/canary.tmp"
  printf 'canary\n' >"$canary/canary.txt"
  ln -s "$(cd "$canary" && pwd)" "$fixture/Docs/link"
}

# kept_sums FIXTURE CANARY: the checksums of every file a cleaning must leave as it is: all of
# FIXTURE but its junk (links not followed), and all of CANARY.
kept_sums() {
  local junk
  junk=$(printf './%s\n' "${fixture_junk[@]}")
  (cd "$1" && find . -type f | sort | grep -vxF "$junk" | xargs -d '\n' sha1sum)
  (cd "$2" && find . -type f | sort | xargs -d '\n' sha1sum)
}

# scan_junk_on_q [PICTURE]: from the start page (or the cleaning page) to the junk results of
# drive Q: alone; pictures the path list as PICTURE when given.
scan_junk_on_q() {
  shown labJunkFiles || click btnCleanMyComputer
  click labJunkFiles
  wait_for 10 shown DrivesList || fail "the drive page did not show"
  # The path list arrives with C: focused: two deletes leave Q:.
  click btnDeleteDrive
  click btnDeleteDrive
  probe row DrivesList " (Q:)" >/dev/null || fail "Q: is not left in the path list"
  probe row DrivesList " (C:)" >/dev/null && fail "C: is still in the path list"
  probe row DrivesList " (P:)" >/dev/null && fail "P: is still in the path list"
  [ -z "${1:-}" ] || shot "$1"
  click btnNext
  wait_for 10 shown lvJunkFilesOptions || fail "the options page did not show"
  click btnNext
  wait_for 60 shown lvScanResults || fail "the results page did not show"
}

# Driving qrv by its controls' names. The caller sets title (the main window's), exe_win (the
# Windows path of the qrv.exe it started), probe_exe and shots (where pictures go).

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
  # A click is posted only once the control answers where it is; a busy program answers late.
  wait_for 20 probe click "$1" >/dev/null || fail "could not click $1"
}
window_visible() { probe visible >/dev/null; }
window_hidden() { ! window_visible; }

# shot NAME: the main window (its background picture's bounds) as it is now.
shot() {
  sleep 1
  local centre x y
  centre=$(probe where MainImage) || fail "no main window for the picture of $1"
  read -r x y <<<"$centre"
  bash "$here/scripts/grab-screen.sh" "$shots/qrv-$1.png" "721x535+$((x - 360))+$((y - 267))"
  echo "$shots/qrv-$1.png"
}

# screen_shot NAME: where start_qrv found the main window, whatever covers it (a dialog over it).
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

# cancel_dialog NAME WINDOW_TITLE: the dialog titled WINDOW_TITLE shows, is pictured as NAME with
# its Cancel button drawn, and is cancelled.
cancel_dialog() {
  wait_for 20 in_dialog shown "$2" btnCancel || fail "the dialog '$2' did not show"
  screen_shot "$1"
  dialog_painted "$1" "$2" btnCancel
  in_dialog click "$2" btnCancel || fail "could not cancel '$2'"
}

# type_keys NAME TEXT: types TEXT into NAME once the focus is there.
type_keys() {
  wait_for 30 probe type "$2" "$1" || fail "could not type into $1: it did not take the focus"
}
# type_into NAME TEXT: clicks the edit NAME and types TEXT at its end.
type_into() {
  click "$1"
  type_keys "$1" "$2"
}
# press_keys NAME KEY...: presses each virtual key (decimal or 0x..) in NAME once the focus is there.
press_keys() {
  local name=$1 key
  shift
  for key in "$@"; do
    wait_for 30 probe key "$key" "$name" || fail "could not press $key in $name: it did not take the focus"
  done
}
# press NAME KEY...: clicks NAME and presses each key in it.
press() {
  click "$1"
  press_keys "$@"
}
# in_dialog COMMAND WINDOW_TITLE [NAME_OR_TEXT]: the probe's COMMAND on a window titled
# WINDOW_TITLE of the program started here (a dialog of it).
in_dialog() {
  wine "$probe_exe" "$1" "$2" "$exe_win" "${@:3}" 2>/dev/null >/dev/null
}
