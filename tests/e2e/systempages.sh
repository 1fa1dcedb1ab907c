#!/usr/bin/env bash
# Walks qrv's system pages in a wine prefix of its own and saves a picture of each page and dialog
# as SCREENSHOTS/qrv-<page>.png; on the way it adds, changes and deletes a Run entry of the current
# user through the entry dialog, changes one Explorer tweak and back, and removes one registry
# finding planted under HKCU\Software\QrvTest, checking the registry after each step.
# Usage: tests/e2e/systempages.sh DIST_FOLDER PROBE_EXE SCREENSHOTS_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
source "$here/tests/e2e/helpers.sh"
e2e_enter "$0" "$@"

title="System Corvanta 2"
program_prefix qrv.exe

dialog_click() {
  wait_for 20 in_dialog shown "$1" "$2" || fail "$2 of '$1' is not shown"
  in_dialog click "$1" "$2" || fail "could not click $2 of '$1'"
}
# dialog_type TITLE CONTROL TEXT: focuses the edit and types the text at its end.
dialog_type() {
  dialog_click "$1" "$2"
  wait_for 30 in_dialog key "$1" 0x23 "$2" || fail "$2 did not take the focus" # End
  in_dialog type "$1" "$3" "$2" || fail "could not type into $2"
}
# reg_value KEY NAME: the value's data as reg shows it, empty when it is missing.
reg_value() {
  { wine reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' |
    awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^  */, ""); print }'
}
# value_is KEY NAME DATA: the value holds DATA (empty: the value is missing).
value_is() { [ "$(reg_value "$1" "$2")" = "$3" ]; }
# reg_dump KEY FILE: the key's values, exported as text.
reg_dump() {
  rm -f "$2"
  wine reg export "$1" "$(winepath -w "$2" 2>/dev/null)" /y >/dev/null 2>&1 || fail "cannot export $1"
  iconv -f UTF-16LE -t UTF-8 "$2" | tr -d '\r' | tail -n +2 >"$2.txt"
}

run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
streams='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Streams'
plant='HKCU\Software\QrvTest\E2E'
printf 'MZ' >"$fixture/present.exe"
wine reg add "$plant" /v Missing /d 'Q:\missing\gone.exe' /f >/dev/null 2>&1
wine reg add "$plant" /v Present /d 'Q:\present.exe' /f >/dev/null 2>&1
wine reg add "$plant\\Below" /v Sibling /d 'plain text' /f >/dev/null 2>&1
# The folder view as "small icons", so that the page can read it.
view_before='03,00,00,00,02,00,00,00'
wine reg add "$streams" /v '(Default)' /d "$view_before" /f >/dev/null 2>&1

start_qrv

# ---- the about box
click btnAbout
wait_for 20 in_dialog shown "About System Corvanta 2" JvLabel2 || fail "the about box did not show"
screen_shot about
in_dialog close "About System Corvanta 2"
wait_for 10 eval '! in_dialog shown "About System Corvanta 2" JvLabel2' || fail "the about box did not close"

# ---- startup manager: add, change and delete a Run entry of the current user
click btnSystemConfiguration
wait_for 10 shown labStartUpManager || fail "the system configuration page did not show"
shot systemconfiguration
click labStartUpManager
wait_for 10 shown btnAddStartup || fail "the startup manager did not show"
shot startupmanager
click btnAddStartup
add="Add a Startup Program"
dialog_type "$add" edProgramName "QrvE2E"
dialog_type "$add" edCommandLine 'Q:\present.exe /min'
screen_shot startupedit
dialog_click "$add" btnOk
wait_for 10 value_is "$run" QrvE2E 'Q:\present.exe /min' ||
  fail "the Run entry holds '$(reg_value "$run" QrvE2E)' after adding"
probe row lvStartupManager QrvE2E >/dev/null || fail "the new entry is not listed"
click btnEditStartup
edit="Change a Startup Program"
dialog_type "$edit" edCommandLine ' /x'
dialog_click "$edit" btnOk
wait_for 10 value_is "$run" QrvE2E 'Q:\present.exe /min /x' ||
  fail "the Run entry holds '$(reg_value "$run" QrvE2E)' after the change"
probe row lvStartupManager QrvE2E >/dev/null || fail "the changed entry is not listed"
sleep 0.5
click btnDeleteStartup
wait_for 20 shown btnYes || fail "the delete question did not show"
click btnYes
wait_for 10 value_is "$run" QrvE2E '' || fail "the Run entry was not deleted"
click btnBack

# ---- uninstaller list and shutdown manager
click labAddRemovePrograms
wait_for 20 shown btnAddRemoveProgramsRefresh || fail "the uninstaller list did not show"
shot addremoveprograms
click btnBack
click labShutDownManager
wait_for 120 shown btnShutdownManOk || fail "the shutdown manager did not show"
shot shutdownmanager
click btnBack

# ---- system tweaks: one Explorer setting changed and back; nothing else moves
reg_dump 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer' "$work/explorer-before.reg"
click labSystemTweak
wait_for 20 shown FlatComboBox1 || fail "the system tweaks did not show"
shot systemtweak
value_is "$streams" '(Default)' "$view_before" || fail "the view setting was not planted"
press FlatComboBox1 0x28 0x0D # Down, Return
sleep 0.5
click btnSystemTweakOK
wait_for 10 shown labSystemTweak || fail "OK did not lead back to the system configuration"
changed=$(reg_value "$streams" '(Default)')
[ "$changed" = '03,00,00,00,03,00,00,00' ] || fail "the view setting holds '$changed', not the list view"
reg_dump 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer' "$work/explorer-after.reg"
moved=$(diff "$work/explorer-before.reg.txt" "$work/explorer-after.reg.txt" | grep '^[<>]' | grep -v '^[<>] *$' |
  grep -v -e '^[<>] \[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Streams\]' \
    -e '^[<>] "(Default)"=' || true)
[ -z "$moved" ] || fail "more than the view setting changed: $moved"
click labSystemTweak
wait_for 20 shown FlatComboBox1 || fail "the system tweaks did not show again"
press FlatComboBox1 0x26 0x0D # Up, Return
sleep 0.5
click btnSystemTweakOK
wait_for 10 shown labSystemTweak || fail "OK did not lead back again"
value_is "$streams" '(Default)' "$view_before" ||
  fail "the view setting holds '$(reg_value "$streams" '(Default)')' after going back"

# ---- internet privacy: the page, and the cookie picker closed without removing
click btnICleanMyComputer
click labInternetPrivacy
wait_for 10 shown labCleanInternetCookieFiles || fail "the internet privacy page did not show"
shot internetprivacy
click labCleanInternetCookieFiles
wait_for 20 in_dialog shown Cookies btnClose || fail "the cookie picker did not show"
screen_shot cookielist
dialog_click Cookies btnClose

# ---- registry cleaner: only the planted finding is removed
reg_dump "$plant" "$work/plant-before.reg"
click btnIAdvancedFeatures
wait_for 10 shown labRegistryCleaner || fail "the advanced page did not show"
shot advancedfeatures
click labRegistryCleaner
wait_for 10 shown rdRegistryCleanerSimple || fail "the registry options did not show"
shot registryoptions
click btnNext
wait_for 600 shown btnRegistryCleanerRemove || fail "the registry scan did not end"
shot registrycleaner
probe check lvRegistryCleaner 'HKEY_CURRENT_USER\Software\QrvTest\E2E' >/dev/null ||
  fail "the planted finding is not listed"
sleep 0.5
click btnRegistryCleanerRemove
wait_for 20 shown btnYes || fail "the removal question did not show"
click btnYes
wait_for 60 value_is "$plant" Missing '' || fail "the planted value was not removed"
reg_dump "$plant" "$work/plant-after.reg"
moved=$(diff "$work/plant-before.reg.txt" "$work/plant-after.reg.txt" | grep '^[<>]' || true)
[ "$moved" = '< "Missing"="Q:\\missing\\gone.exe"' ] || fail "the export differs by: $moved"

click btnClose
# Something was done: the report is offered first.
wait_for 20 shown btnNo || fail "the report was not offered"
click btnNo
qrv_ended
echo "e2e system pages: ok"
