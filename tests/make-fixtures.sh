#!/usr/bin/env bash
# Prepares fixtures that a Windows program cannot make under wine (Unix symbolic links stand in
# for junctions). Idempotent; the test programs find the folder through QRV_FIXTURES.
set -euo pipefail
root=$1
mkdir -p "$root"
