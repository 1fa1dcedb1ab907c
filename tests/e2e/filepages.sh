#!/usr/bin/env bash
# The duplicate, store, folder-cleaner, split and combine, and backup pages of qrv, driven by the
# controls' names in a prefix whose fixture drive is Q:: a picture of each page and dialog as
# SCREENSHOTS/qrv-<page>.png, and a 1 MB file split into 100 KB parts from the split page, the
# original deleted, and joined again from the combine page.
# Usage: tests/e2e/filepages.sh DIST_FOLDER PROBE_EXE SCREENSHOTS_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"

title="System Corvanta 2"
program_prefix qrv.exe
mkdir -p "$fixture/parts" "$fixture/dup/a" "$fixture/dup/b"
head -c 1048576 /dev/urandom >"$fixture/big.bin"
printf 'same\r\n' | tee "$fixture/dup/a/same.txt" >"$fixture/dup/b/same.txt"
cp "$fixture/big.bin" "$work/original.bin"
start_qrv

# ---- the advanced area, the duplicate finder's options and its dialog
click labAdvancedFeatures
wait_for 10 shown labDuplicateFiles || fail "the advanced page did not show"
shot advanced
click labDuplicateFiles
wait_for 10 shown DrivesList || fail "the drive page did not show"
click btnDeleteDrive # C: and P: go, Q: stays
click btnDeleteDrive
click btnNext
wait_for 10 shown btnAddAllowedDuplicates || fail "the duplicate options did not show"
shot duplicatesoptions
click btnAddAllowedDuplicates
cancel_dialog duplicatesallowed "Allow copies of a file name"
wait_for 10 shown btnNext || fail "the options page did not come back"
click btnNext
wait_for 60 shown lvDuplicatesScanResults || fail "the duplicate groups did not show"
probe row lvDuplicatesScanResults same.txt >/dev/null || fail "same.txt is not a group"
shot duplicateresults
click btnScanResultsSelectAll
click btnScanResultsOrganize
cancel_dialog organize "Move Into a Folder"

# ---- split a file into parts, delete it, join the parts
click btnBack
click labSplitCombineFiles
wait_for 10 shown labSplitFiles || fail "the split and combine page did not show"
shot splitcombine
click labSplitFiles
wait_for 10 shown btnSplitFilesSplit || fail "the split page did not show"
type_into edSplitFilesFileToSplit 'Q:\big.bin'
type_into edSplitFilesDestination 'Q:\parts\'
press edSplitFilesVolumeSize 0x23 8 8 8 8 8 8 8 # End, then the default size rubbed out
type_keys edSplitFilesVolumeSize 102400          # 100 KB in bytes
# The box takes the focus from the click and its check from the space bar.
type_into chkSplitFilesDeleteFile ' '
shot splitfiles
click btnSplitFilesSplit
wait_for 30 test ! -e "$fixture/big.bin" || fail "the file was not split and deleted"
parts=$(ls "$fixture/parts" | wc -l)
[ "$parts" -eq 11 ] || fail "1 MB in 100 KB parts makes 11 files, not $parts"
click btnBack
click labCombineFiles
wait_for 10 shown btnUnsplitFilesCombine || fail "the combine page did not show"
probe row lvUnSplitFiles big.bin >/dev/null || fail "the split is not listed"
shot combinefiles
click btnUnsplitFilesCombine
wait_for 30 shown btnOk || fail "the join did not say it was done"
click btnOk
cmp -s "$work/original.bin" "$fixture/big.bin" || fail "the joined file differs"

# ---- the folder cleaner and the deleted-file store
click labMainCleanMyComputer
click labFolderCleaner
wait_for 10 shown btnFolderCleanerEmptyFolder || fail "the folder cleaner did not show"
shot foldercleaner
click labMainRestoreDeletedFiles
wait_for 10 shown btnRecoveryFiles || fail "the store page did not show"
shot recoveryfiles

# ---- the backup pages
click labMainBackupYourData
wait_for 10 shown labBackupRestoreBackupFiles || fail "the backup area did not show"
shot backuprestore
click labBackupRestoreBackupFiles
wait_for 10 shown labBackupLocal || fail "the backup page did not show"
shot backup
click labBackupLocal
wait_for 10 shown btnBackupSelectFilesAddFolder || fail "the selection page did not show"
shot backupselectfiles
click btnNext
wait_for 10 shown edBackupLocalZIPFileName || fail "the local options did not show"
shot backupoptions-local
click btnBack
click labBackupRestoreBackupFiles
click labBackupRemote
click btnNext
wait_for 10 shown edBackupFTPHost || fail "the remote options did not show"
shot backupoptions-remote
click btnLoadFTPConnection
cancel_dialog ftpconnections "FTP connections"
wait_for 10 shown btnBackup || fail "the options page did not come back"
click btnBack
click labBackupRestoreRestoreFiles
wait_for 10 shown btnLocalBackupRestore || fail "the restore page did not show"
shot restore

click btnClose
qrv_ended
echo "e2e file pages: ok"
