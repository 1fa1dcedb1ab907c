#!/usr/bin/env bash
# Saves what the X display shows as a picture, optionally cut to a rectangle.
# Usage: scripts/grab-screen.sh PICTURE.png [WIDTHxHEIGHT+X+Y]
# One read of the root window, as the screen holds it. (xwd pieces its picture together window
# by window on this display and fills a top-level window that lies wholly inside another with
# the outer one's hidden pixels: a dialog over the main window came out as a black box.)
set -euo pipefail
picture=$1
crop=${2:-}
if [ -n "$crop" ]; then
  import -silent -window root -display "$DISPLAY" miff:- |
    convert miff:- -crop "$crop" +repage "$picture"
else
  import -silent -window root -display "$DISPLAY" "$picture"
fi
