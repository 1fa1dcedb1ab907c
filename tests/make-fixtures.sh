#!/usr/bin/env bash
# Prepares fixtures that a Windows program cannot make under wine (Unix symbolic links stand in
# for junctions). Idempotent; the test programs find the folder through QRV_FIXTURES.
set -euo pipefail
root=$1
mkdir -p "$root"

# A folder tree with links to folders: "away" leads out of the tree, "up" back to an ancestor.
links="$root/walk-links"
mkdir -p "$links/tree/sub" "$links/outside"
printf 'f' >"$links/tree/file.txt"
printf 'i' >"$links/tree/sub/inner.txt"
printf 's' >"$links/outside/secret.txt"
ln -sfn ../outside "$links/tree/away"
ln -sfn .. "$links/tree/up"
