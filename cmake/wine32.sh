#!/usr/bin/env bash
# The i686 toolchain's emulator (CMAKE_CROSSCOMPILING_EMULATOR): runs a console program built
# for i686 Windows under 32-bit Wine, in the prefix named first, which Wine makes on first use.
# Its server outlives each program by 10 s, so that a run of many tests does not start it for
# each one. The carriage returns that the program's text mode adds are dropped, so that CMake
# reads GoogleTest's list of tests as the program wrote it.
# Usage: wine32.sh PREFIX PROGRAM [ARGUMENT...]
set -euo pipefail
export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
shift
/usr/lib/wine/wineserver -p10 2>/dev/null || true  # fails where it runs already
/usr/lib/wine/wine "$@" | tr -d '\r'
