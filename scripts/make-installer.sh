#!/usr/bin/env bash
# Builds the Windows installer (packaging/windows/installer.nsi) from both Windows builds with
# makensis. Usage: scripts/make-installer.sh OUTFILE [TARGET [WIN32_BUILD WIN64_BUILD]]
# TARGET is NSIS's: x86-unicode (default, the release: runs on 32- and 64-bit Windows) or
# amd64-unicode (runs under 64-bit Wine alone, for the tests where no 32-bit code runs).
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$(realpath -m "$1")"
target=${2:-x86-unicode}
win32="$(realpath -m "${3:-$repo/build/win32}")"
win64="$(realpath -m "${4:-$repo/build/win64}")"
for file in "$win32/FlyingQuorlin.scr" "$win64/FlyingQuorlin.scr"; do
  [[ -f $file ]] || { echo "no $file: build the win32 and win64 presets first" >&2; exit 1; }
done
mkdir -p "$(dirname "$out")"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$(bash "$repo/scripts/version.sh")" \
  -DTARGET="$target" -DSCR32="$win32/FlyingQuorlin.scr" -DSCR64="$win64/FlyingQuorlin.scr" \
  -DICON="$repo/src/resources/FlyingQuorlin.ico" -DOUTFILE="$out" \
  "$repo/packaging/windows/installer.nsi"
