#!/usr/bin/env bash
# The release: builds the release presets (release-win32, release-win64 and release-native: the
# programs without tests, as the release test builds them), then makes in build/ the zip
# FlyingQuorlin-<version>.zip with both program files, the user part of README.md, its install
# notes, the license and SHA-256 sums; the Windows installer FlyingQuorlin-<version>.exe; and the
# Debian package flyingquorlin_<version>_<arch>.deb; each with its SHA-256 sum beside it
# (README.md, "Release package", lists them); and the installer's winget manifest in winget/
# (scripts/winget-manifest.py). The program files and the installer are signed when the
# environment gives a certificate (scripts/sign.sh). Two runs on one commit give the same bytes,
# whatever the folder, the time and the umask: every time in them is SOURCE_DATE_EPOCH, by
# default the last commit's (scripts/source-date-epoch.sh).
# Usage: scripts/package.sh
# FQ_BUILD_ROOT puts the builds elsewhere (default: build/ in this checkout).
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh
bash scripts/sign.sh

build_root="$(realpath -m "${FQ_BUILD_ROOT:-build}")"
version=$(bash scripts/version.sh)
name=FlyingQuorlin-$version
SOURCE_DATE_EPOCH=$(bash scripts/source-date-epoch.sh)
export SOURCE_DATE_EPOCH

for preset in release-win32 release-win64; do
  cmake --preset "$preset" -B "$build_root/$preset" >/dev/null
  # Linked again, so that the header carries this release's time (the linker reads
  # SOURCE_DATE_EPOCH) and not that of an earlier build.
  rm -f "$build_root/$preset/FlyingQuorlin.scr"
  cmake --build "$build_root/$preset" -j2 --target FlyingQuorlin
done
# Its configuration dates the package's changelog by SOURCE_DATE_EPOCH.
cmake --preset release-native -B "$build_root/release-native" >/dev/null
cmake --build "$build_root/release-native" -j2 --target flyingquorlin flyingquorlin-wayland

stage=$build_root/package/$name
rm -rf "$build_root/package" "$build_root/winget" "$build_root/$name".* \
  "$build_root"/flyingquorlin_*.deb*
mkdir -p "$stage"
cp "$build_root/release-win32/FlyingQuorlin.scr" "$stage/FlyingQuorlin-32bit.scr"
cp "$build_root/release-win64/FlyingQuorlin.scr" "$stage/FlyingQuorlin-64bit.scr"
bash scripts/sign.sh "$stage"/FlyingQuorlin-*.scr

# Text for Windows: CRLF line ends.
as_windows_text() { sed 's/$/\r/'; }
# The lines after the user part's opening comment, up to its end mark.
user_part=$(awk '/^<!-- The user part ends/ { exit } on; /^<!-- The user part:/ { start = 1 }
                 start && /-->/ { on = 1 }' README.md)
{ sed -n '1p' README.md; echo; echo "Version $version"; echo "$user_part"; } |
  as_windows_text >"$stage/README.txt"
echo "$user_part" | sed -n '/^## Installing/,$p' | as_windows_text >"$stage/INSTALL.txt"
as_windows_text <LICENSE >"$stage/LICENSE.txt"
# Unix line ends here, so that `sha256sum -c` reads the names right.
(cd "$stage" && sha256sum FlyingQuorlin-32bit.scr FlyingQuorlin-64bit.scr README.txt \
  INSTALL.txt LICENSE.txt >SHA256SUMS.txt)

# The same entries whatever the umask and the clock: modes, times (in UTC: a zip's times are
# local), order; no owners or extra times (-X).
chmod 0755 "$stage"
chmod 0644 "$stage"/*
touch -h -d "@$SOURCE_DATE_EPOCH" "$stage" "$stage"/*
(cd "$build_root/package" && { echo "$name/"; find "$name" -type f | LC_ALL=C sort; } |
  TZ=UTC zip -q -X -@ "$build_root/$name.zip")
bash scripts/make-installer.sh "$build_root/$name.exe" x86-unicode \
  "$stage/FlyingQuorlin-32bit.scr" "$stage/FlyingQuorlin-64bit.scr"
/usr/bin/python3 scripts/winget-manifest.py "$build_root/winget" "$version" "$build_root/$name.exe"
# The Debian package (packaging/deb/deb_package.cmake). CPack gives the folders in it the
# modes they are made with.
(umask 022 && cpack --config "$build_root/release-native/CPackConfig.cmake" \
  -B "$build_root/package/deb" >/dev/null)
deb=$build_root/$(cd "$build_root/package/deb" && echo flyingquorlin_*.deb)
mv "$build_root/package/deb"/flyingquorlin_*.deb "$deb"
for file in "$name.zip" "$name.exe" "$(basename "$deb")"; do
  (cd "$build_root" && sha256sum "$file" >"$file.sha256")
done
echo "== $build_root/$name.zip"
unzip -l "$build_root/$name.zip"
cat "$build_root/$name".*.sha256 "$deb.sha256"
echo "== $build_root/winget"
ls "$build_root/winget"
