#!/usr/bin/env bash
# Builds the Windows installer (packaging/windows/installer.nsi) from both Windows programs with
# makensis. It and the uninstaller inside it carry SOURCE_DATE_EPOCH (by default the last
# commit's time) in their headers, and are signed where scripts/sign.sh has a certificate.
# Usage: scripts/make-installer.sh OUTFILE [TARGET [SCR32 SCR64]]
# TARGET is NSIS's: x86-unicode (default, the release: runs on 32- and 64-bit Windows) or
# amd64-unicode (runs under 64-bit Wine alone, for the tests where no 32-bit code runs). SCR32 and
# SCR64 default to the programs of build/win32 and build/win64. The installer keeps their file
# times: the release gives them SOURCE_DATE_EPOCH's.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$(realpath -m "$1")"
target=${2:-x86-unicode}
scr32="$(realpath -m "${3:-$repo/build/win32/FlyingQuorlin.scr}")"
scr64="$(realpath -m "${4:-$repo/build/win64/FlyingQuorlin.scr}")"
for file in "$scr32" "$scr64"; do
  [[ -f $file ]] || { echo "no $file: build the win32 and win64 presets first" >&2; exit 1; }
done
mkdir -p "$(dirname "$out")"
SOURCE_DATE_EPOCH=$(bash "$repo/scripts/source-date-epoch.sh")
export SOURCE_DATE_EPOCH
makensis -V2 -NOCD -INPUTCHARSET UTF8 -DVERSION="$(bash "$repo/scripts/version.sh")" \
  -DTARGET="$target" -DSCR32="$scr32" -DSCR64="$scr64" \
  -DICON="$repo/src/resources/FlyingQuorlin.ico" -DOUTFILE="$out" \
  -DSTAMP="/usr/bin/python3 \"$repo/scripts/stamp-pe.py\"" -DSIGN="bash \"$repo/scripts/sign.sh\"" \
  "$repo/packaging/windows/installer.nsi"
