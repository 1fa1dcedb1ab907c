#!/usr/bin/env bash
# Prepares fixtures that a Windows program cannot make under wine (Unix symbolic links stand in
# for junctions). Idempotent; the test programs find the folder through QRV_FIXTURES.
set -euo pipefail
root=$1
mkdir -p "$root"

# A folder tree with links to folders: "away" leads out of the tree, "up" back to an ancestor.
links="$root/walk-links"
mkdir -p "$links/tree/sub" "$links/outside"
[ -f "$links/tree/file.txt" ] || printf 'f' >"$links/tree/file.txt"
[ -f "$links/tree/sub/inner.txt" ] || printf 'i' >"$links/tree/sub/inner.txt"
[ -f "$links/outside/secret.txt" ] || printf 's' >"$links/outside/secret.txt"
[ -L "$links/tree/away" ] || ln -s ../outside "$links/tree/away"
[ -L "$links/tree/up" ] || ln -s .. "$links/tree/up"

# The scan's tree with a link to a folder outside it: only "keep.tmp" belongs to the tree.
scan="$root/scan-links"
mkdir -p "$scan/tree" "$scan/outside"
[ -f "$scan/tree/keep.tmp" ] || printf 'k' >"$scan/tree/keep.tmp"
[ -f "$scan/outside/secret.tmp" ] || printf 's' >"$scan/outside/secret.tmp"
[ -L "$scan/tree/link" ] || ln -s ../outside "$scan/tree/link"

# Folder links inside folders that get measured, emptied, searched or shredded: what they lead
# to ("outside", "empty-target") is not part of those folders. Only made when missing, since
# the tests may run while this script runs again.
utils="$root/qrvutils"
mkdir -p "$utils/outside" "$utils/empty-target" "$utils/clean" "$utils/sizes" "$utils/scan"
[ -f "$utils/outside/keep.txt" ] || printf 'keep' >"$utils/outside/keep.txt"
[ -L "$utils/clean/link" ] || ln -s ../outside "$utils/clean/link"
[ -L "$utils/sizes/link" ] || ln -s ../outside "$utils/sizes/link"
[ -L "$utils/scan/link-to-empty" ] || ln -s ../empty-target "$utils/scan/link-to-empty"
[ -L "$utils/shred-link" ] || ln -s outside "$utils/shred-link"
