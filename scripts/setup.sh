#!/usr/bin/env bash
# Installs what building and testing need on a Debian machine (run as root). Quick when done.
set -euo pipefail
packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 wine
          cmake ninja-build tcl gcc make xvfb xauth x11-apps x11-utils imagemagick googletest
          python3-pyftpdlib clang-format fp-utils libchm-bin)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q >&2
  apt-get install -y -q "${missing[@]}" >&2
fi
