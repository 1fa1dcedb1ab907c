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

# e2e_enter SCRIPT DIST_FOLDER PROBE_EXE: from the top of a script; runs it again under Xvfb when
# there is no display, then enters the wine prefix of the build that holds DIST_FOLDER. Sets dist
# and probe_exe.
e2e_enter() {
  local script=$1
  shift
  if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$script" "$@"
  fi
  dist=$(cd "$1" && pwd)
  probe_exe=$2
  if [ -z "${WINEPREFIX:-}" ]; then
    source "$here/scripts/wine-env.sh" "$(dirname "$dist")"
  fi
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
