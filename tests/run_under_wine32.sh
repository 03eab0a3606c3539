#!/usr/bin/env bash
# Runs a console program built for i686 Windows under 32-bit Wine, in a prefix of its own that
# Wine makes on first use. Exits 77, which CTest counts as skipped, where 32-bit Wine is missing.
set -euo pipefail
program=$1
prefix=$2
if [[ ! -x /usr/lib/wine/wine ]]; then
  echo "32-bit Wine (/usr/lib/wine/wine) is missing: the i686 build's tests are skipped"
  exit 77
fi
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec /usr/lib/wine/wine "$program"
