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

# Names the Win32 path parser rewrites, and names that are device names to most programs: each
# beside the neighbour a plain path would reach instead ("keep.doc." strips to "keep.doc").
# A template: tests copy it before acting on it.
awkward="$root/paths/awkward"
mkdir -p "$awkward/sub" "$awkward/sub."
make_file() { [ -e "$1" ] || printf '%s' "$2" >"$1"; }
make_file "$awkward/keep.doc" 'keep'
make_file "$awkward/keep.doc." 'dot'
make_file "$awkward/trail" 'plain'
make_file "$awkward/trail " 'space'
make_file "$awkward/ lead.txt" 'lead'
make_file "$awkward/em—dash.txt" 'dash'
make_file "$awkward/שלום.txt" 'rtl'
make_file "$awkward/😀.txt" 'emoji'
make_file "$awkward/CON.tmp" 'device'
make_file "$awkward/sub/a.tmp" 'a'
make_file "$awkward/sub./b.tmp" 'b'

# Found files that are Unix links to files (wine shows them as plain files, and deleting one
# deletes its target): one per action, each with its own target, and a folder to empty.
flinks="$root/file-links"
mkdir -p "$flinks/found" "$flinks/targets" "$flinks/to-empty"
for name in delete store shred move empty; do
  make_file "$flinks/targets/$name.tmp" "target $name"
done
for name in delete store shred move; do
  [ -L "$flinks/found/$name.tmp" ] || ln -s "../targets/$name.tmp" "$flinks/found/$name.tmp"
done
[ -L "$flinks/to-empty/link.tmp" ] || ln -s ../targets/empty.tmp "$flinks/to-empty/link.tmp"
# A link whose name differs from its target's only by a trailing dot, which wine's final paths
# leave out.
make_file "$flinks/found/neighbour.doc" 'neighbour'
[ -L "$flinks/found/neighbour.doc." ] || ln -s neighbour.doc "$flinks/found/neighbour.doc."

# A canary tree that nothing done inside "tree" may change: a folder link leads to it.
canary="$root/paths/canary"
mkdir -p "$canary/data/deep" "$root/paths/canary-tree"
make_file "$canary/data/file.txt" 'canary'
make_file "$canary/data/deep/empty-sibling.txt" 'canary deep'
mkdir -p "$canary/data/empty"
[ -L "$root/paths/canary-tree/to-canary" ] || ln -s ../canary/data "$root/paths/canary-tree/to-canary"
# The prefix's Windows folder and drive C: reached through folder links, and W: as a second
# drive letter for C:, when the prefix is known.
if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX/drive_c/windows" ]; then
  [ -L "$root/paths/to-windows" ] || ln -s "$WINEPREFIX/drive_c/windows" "$root/paths/to-windows"
  [ -L "$root/paths/to-c-root" ] || ln -s "$WINEPREFIX/drive_c" "$root/paths/to-c-root"
  [ -L "$WINEPREFIX/dosdevices/w:" ] || ln -s ../drive_c "$WINEPREFIX/dosdevices/w:"
fi
