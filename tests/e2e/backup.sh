#!/usr/bin/env bash
# Backups of qrv, driven by the controls' names in a prefix whose fixture drive is Q:. The large
# files of Q: are backed up from the results with a password at level 9 beside them on Q:, and
# restored over changed copies after the password and "Yes to all". Against the test FTP peer on
# 127.0.0.1 started here: a user the server refuses with 550 gives
# "BackupFailed" and no record; a user who may write gets "BackupOK" and a record, and the
# restore of that record brings the changed file's bytes back after "Yes to all".
# The password dialog is pictured as SCREENSHOTS/qrv-inputquery.png.
# Usage: tests/e2e/backup.sh DIST_FOLDER PROBE_EXE SCREENSHOTS_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"

title="System Corvanta 2"
program_prefix qrv.exe
mkdir -p "$fixture/docs" "$fixture/big" "$work/ftp"
head -c 200000 /dev/urandom >"$fixture/docs/a.bin"
printf 'second file\r\n' >"$fixture/docs/b.txt"
head -c 150000 /dev/urandom >"$fixture/big/one.dat"
head -c 120000 /dev/urandom >"$fixture/big/two.dat"
cp "$fixture/docs/a.bin" "$work/a.orig"
cp "$fixture/big/one.dat" "$work/one.orig"
cp "$fixture/big/two.dat" "$work/two.orig"
/usr/bin/python3 "$here/tests/support/ftp_peer.py" "$work/ftp" "$work/address" &
launched_pids+=("$!")
wait_for 15 test -f "$work/address" || fail "the FTP peer did not start"
address=$(cat "$work/address")
port=${address##*:}
start_qrv

# ok_notice: the notice now shown is answered with OK.
ok_notice() {
  wait_for 60 shown btnOk || fail "no notice after $1"
  click btnOk
  wait_for 10 eval '! shown btnOk' || true
}
# records TABLE: how many records the program's table holds.
records() {
  /usr/bin/python3 -c 'import sqlite3, sys
print(sqlite3.connect(sys.argv[1]).execute("select count(*) from " + sys.argv[2]).fetchone()[0])' \
    "$program/Data/qrv.db" "$1"
}
# set_text NAME TEXT: the edit NAME holds TEXT alone.
set_text() {
  press "$1" 0x23 $(printf '8 %.0s' $(seq 40))
  type_keys "$1" "$2"
}

# ---- the large files of Q:, backed up from the results with a password at level 9
click btnCleanMyComputer
click labLargeFiles
wait_for 10 shown DrivesList || fail "the drive page did not show"
click btnDeleteDrive # C: and P: go, Q: stays
click btnDeleteDrive
probe row DrivesList " (Q:)" >/dev/null || fail "Q: is not left in the path list"
click btnNext
set_text edLargeOldLarge 0.1 # MB: the two large files, not the small ones
click btnNext
wait_for 60 shown btnScanResultsBackup || fail "the results page did not show"
probe row lvScanResults one.dat >/dev/null || fail "one.dat was not found"
probe row lvScanResults b.txt >/dev/null && fail "a small file was found"
click btnScanResultsSelectAll
click btnScanResultsBackup
click labBackupLocal
wait_for 10 shown edBackupLocalZIPFileName || fail "the options did not show at once"
type_into edZipPassword secret
press cmbZipCompression 0x23 0x0D # the last level, 9
click btnBackup
ok_notice "the backup from the results"
archive=$(cd "$fixture" && ls ./*.zip 2>/dev/null | head -1)
[ -n "$archive" ] || fail "no archive at the root of Q:"
[ "$(records LocalBackup)" = 1 ] || fail "the local backup was not recorded"
/usr/bin/python3 - "$fixture/$archive" <<'PY' || fail "the archive is not as asked"
import sys, zipfile
infos = zipfile.ZipFile(sys.argv[1]).infolist()
files = [i for i in infos if not i.filename.endswith("~backupfilelist.tmp")]
assert files and all(i.flag_bits & 1 for i in files), "the files are not encrypted"
assert all(i.compress_type == zipfile.ZIP_DEFLATED for i in files), "not deflated"
PY
printf 'changed' >"$fixture/big/one.dat"
printf 'changed too' >"$fixture/big/two.dat"
click labMainBackupYourData
click labBackupRestoreRestoreFiles
wait_for 10 shown btnLocalBackupRestore || fail "the restore page did not show"
probe row lvLocalBackupRestore "$(date +%-m/%-d/%Y)" >/dev/null || fail "the backup is not listed"
click btnLocalBackupRestore
# The first file is asked about, then the password of the archive.
wait_for 60 shown btnYesToAll || fail "the restore did not ask before replacing"
click btnYesToAll
wait_for 30 shown edSession || fail "the restore did not ask for the password"
type_keys edSession secret
read -r x y <<<"$(probe where edSession)" || fail "no password box to picture"
# The dialog is 474 x 183; its edit is 329 x 19 at 24,56.
bash "$here/scripts/grab-screen.sh" "$shots/qrv-inputquery.png" \
  "474x183+$((x - 24 - 164))+$((y - 56 - 9))"
echo "$shots/qrv-inputquery.png"
click btnOK
ok_notice "the restore"
cmp -s "$work/one.orig" "$fixture/big/one.dat" || fail "one.dat did not come back"
cmp -s "$work/two.orig" "$fixture/big/two.dat" || fail "two.dat did not come back"

# ---- two files chosen with the open dialog, backed up to the FTP peer
click labMainBackupYourData
click labBackupRestoreBackupFiles
click labBackupRemote
wait_for 10 shown btnBackupSelectFilesAddFile || fail "the selection page did not show"
for file in 'Q:\docs\a.bin' 'Q:\docs\b.txt'; do
  click btnBackupSelectFilesAddFile
  wait_for 20 in_dialog shown Open "" || true
  sleep 2
  wait_for 20 in_dialog type Open "$file" || fail "no open dialog took the name"
  wait_for 20 in_dialog key Open 0x0D || fail "could not confirm $file"
  wait_for 20 probe row lvBackupSelectFiles "$file" || fail "$file is not listed"
done
click btnNext
wait_for 10 shown edBackupFTPHost || fail "the remote options did not show"
set_text edBackupFTPHost 127.0.0.1
set_text edBackupFTPPort "$port"
set_text edBackupFTPUser ro
set_text edBackupFTPPassword ro
set_text edBackupFTPArchive docs.zip
# The password of the first backup is still set: unchecking its box empties it.
type_into chkZipPassword ' '

# A user the server refuses: told, nothing recorded.
click btnBackup
ok_notice "the refused upload (access denied)"
ok_notice "the refused upload (backup failed)"
[ ! -e "$work/ftp/docs.zip" ] || fail "the refused upload left an archive"
[ "$(records FTPBackup)" = 0 ] || fail "the refused upload was recorded"
wait_for 10 shown btnBackup || fail "the refused backup left the options page"

set_text edBackupFTPUser rw
set_text edBackupFTPPassword rw
click btnBackup
ok_notice "the upload"
[ -s "$work/ftp/docs.zip" ] || fail "no archive on the FTP peer"
[ "$(records FTPBackup)" = 1 ] || fail "the upload was not recorded once"
wait_for 10 shown labBackupRestoreRestoreFiles || fail "the backup area did not come back"

# ---- the file changes; the recorded backup brings it back
printf 'changed' >"$fixture/docs/a.bin"
click labBackupRestoreRestoreFiles
wait_for 10 shown btnFTPBackupRestore || fail "the restore page did not show"
# The record's row shows the day of the upload as the program's short date (M/d/yyyy here).
probe row lvFTPBackupRestore "$(date +%-m/%-d/%Y)" >/dev/null || fail "the upload is not listed"
click btnFTPBackupRestore
wait_for 60 shown btnYesToAll || fail "the restore did not ask before replacing"
click btnYesToAll
ok_notice "the restore"
cmp -s "$work/a.orig" "$fixture/docs/a.bin" || fail "the restored file differs"

click btnClose
qrv_ended
echo "e2e backup: ok"
