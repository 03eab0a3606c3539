#!/usr/bin/env bash
# Runs a console program built for i686 Windows under 32-bit Wine, in a prefix of its own that
# Wine makes on first use. Exits 77, which CTest counts as skipped, where the machine cannot run
# 32-bit code.
set -euo pipefail
program=$1
prefix=$2
if ! bash "$(dirname "${BASH_SOURCE[0]}")/../scripts/runs-32bit-code.sh"; then
  echo "This machine cannot run 32-bit code: the i686 build's unit tests are skipped."
  exit 77
fi
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec /usr/lib/wine/wine "$program"
