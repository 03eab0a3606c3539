#!/usr/bin/env bash
# Builds the Debian package of the XScreenSaver hack and the Wayland client,
# flyingquorlin_<version>_<arch>.deb, from a native build with CPack
# (packaging/debian/deb_package.cmake: the programs, the hack's settings XML and the client's
# user unit as `cmake --install` places them under /usr, the scripts that add the hack to
# XScreenSaver's list), adding its copyright and changelog; then checks it with lintian, which must report no
# error. Every time in it is SOURCE_DATE_EPOCH, by default the last commit's.
# Usage: scripts/make-deb.sh NATIVE_BUILD OUTDIR   (prints the package's path)
set -euo pipefail
# CPack gives folders, and the package's own members, the modes they are made with.
umask 022
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "$1")"
out="$(realpath -m "$2")"
for program in flyingquorlin flyingquorlin-wayland; do
  [[ -x $build/$program ]] ||
    { echo "no $program in $build: build its target first" >&2; exit 1; }
done
version=$(bash "$repo/scripts/version.sh")
SOURCE_DATE_EPOCH=$(bash "$repo/scripts/source-date-epoch.sh")
export SOURCE_DATE_EPOCH
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
docs=$work/docs/usr/share/doc/flyingquorlin

mkdir -p "$docs"
{
  printf '%s\n' "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
    "Upstream-Name: flyingquorlin" "" "Files: *" "Copyright: 2026 Quorlin Works" "License: Expat"
  sed -n '/^Permission/,$p' "$repo/LICENSE" | sed 's/^$/./; s/^/ /'
} >"$docs/copyright"
# A native package's changelog: this release, dated by the release's time.
maintainer=$(sed -n 's/^set(CPACK_PACKAGE_CONTACT "\(.*\)")$/\1/p' \
  "$build/CPackConfig.cmake")
printf '%s\n' "flyingquorlin ($version) unstable; urgency=medium" "" "  * Release $version." "" \
  " -- $maintainer  $(date -u -R -d "@$SOURCE_DATE_EPOCH")" | gzip -9n >"$docs/changelog.gz"

cpack --config "$build/CPackConfig.cmake" -B "$work/cpack" \
  -D "CPACK_INSTALLED_DIRECTORIES=$work/docs;." >/dev/null \
  2> >(grep -v "Generating dependency list" >&2)
mkdir -p "$out"
deb=$out/$(cd "$work/cpack" && echo flyingquorlin_*.deb)
mv "$work/cpack"/flyingquorlin_*.deb "$deb"
# lintian warns when it runs as root, as the tests do; that is no finding about the package.
lintian --fail-on error "$deb" 2> >(grep -v "running with root privileges" >&2) >&2
echo "$deb"
