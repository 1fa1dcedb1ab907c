#!/usr/bin/env bash
# Saves a picture of every gallery page as SCREENSHOTS/gallery-<page>.png, under Xvfb.
# Usage: tests/gallery/gallery.sh GALLERY_EXE SCREENSHOTS_FOLDER
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
exe=$1
out=$2
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
pages=$("$here/scripts/wine-exec.sh" "$exe" --list | tr -d '\r')
[ -n "$pages" ] || { echo "FAIL: the gallery lists no page" >&2; exit 1; }
for page in $pages; do
  "$here/scripts/wine-exec.sh" "$exe" "$page" --shot "Z:$(echo "$work/$page.bmp" | tr / '\\')" ||
    { echo "FAIL: page $page" >&2; exit 1; }
  convert "$work/$page.bmp" "$out/gallery-$page.png"
  echo "$out/gallery-$page.png"
done
