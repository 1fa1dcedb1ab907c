#!/usr/bin/env bash
# Usage: scripts/own-user-folders.sh WINEPREFIX
# A new prefix links the user's Desktop, Documents and the like to the host's home folder, so a
# program saving there (a picker defaults to the Desktop) would write outside the prefix. Each
# such link becomes an empty folder of the prefix's own; real folders stay as they are.
set -euo pipefail
for link in "$1"/drive_c/users/*/*; do
  [ -L "$link" ] || continue
  rm "$link"
  mkdir "$link"
done
