#!/usr/bin/env bash
# Builds the Debian package of the XScreenSaver hack, flyingquorlin_<version>_<arch>.deb, from a
# native build (the hack and its settings XML, as `cmake --install` places them under /usr),
# with dependencies from dpkg-shlibdeps and the scripts that add the hack to XScreenSaver's list
# (packaging/debian), then checks it with lintian, which must report no error.
# Usage: scripts/make-deb.sh NATIVE_BUILD OUTDIR   (prints the package's path)
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath "$1")"
out="$(realpath -m "$2")"
version=$(bash "$repo/scripts/version.sh")
arch=$(dpkg --print-architecture)
maintainer="Quorlin Works <packages@quorlin-works.example>"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
root=$work/root
docs=$root/usr/share/doc/flyingquorlin

DESTDIR=$root cmake --install "$build" --prefix /usr --strip >/dev/null
hack=$root/usr/libexec/xscreensaver/flyingquorlin
[[ -x $hack ]] || { echo "no hack in $build: build its flyingquorlin target first" >&2; exit 1; }

mkdir -p "$docs" "$root/DEBIAN" "$work/debian"
{
  printf '%s\n' "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
    "Upstream-Name: flyingquorlin" "" "Files: *" "Copyright: 2026 Quorlin Works" "License: Expat"
  sed -n '/^Permission/,$p' "$repo/LICENSE" | sed 's/^$/./; s/^/ /'
} >"$docs/copyright"
# A native package's changelog: this release, dated by the last commit so that builds repeat.
when=$(git -C "$repo" log -1 --format=%cD 2>/dev/null || date -R)
printf '%s\n' "flyingquorlin ($version) unstable; urgency=medium" "" \
  "  * Release $version." "" " -- $maintainer  $when" | gzip -9n >"$docs/changelog.gz"

# dpkg-shlibdeps reads the binary package's name from a debian/control; its warning that the
# binary should lie in its package's build folder is about debhelper's layout, not used here.
printf 'Source: flyingquorlin\n\nPackage: flyingquorlin\nArchitecture: any\n' \
  >"$work/debian/control"
depends=$(cd "$work" && dpkg-shlibdeps -O -e "$hack" \
  2> >(grep -v "should already be installed" >&2) | sed -n 's/^shlibs:Depends=//p')
[[ -n $depends ]] || { echo "dpkg-shlibdeps found no dependencies" >&2; exit 1; }

find "$root" -type d -exec chmod 0755 {} +
find "$root/usr" -type f -exec chmod 0644 {} +
chmod 0755 "$hack"
cat >"$root/DEBIAN/control" <<CONTROL
Package: flyingquorlin
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $(du -sk --exclude=DEBIAN "$root" | cut -f1)
Depends: $depends
Recommends: xscreensaver
Section: x11
Priority: optional
Description: screen saver of winged quorlins flapping across the screen
 A flock of winged quorlins flaps across a black screen, drifting right and
 down and coming back in at the left and top edges.
 .
 This package holds the XScreenSaver hack "flyingquorlin" and its settings
 description, so that XScreenSaver's settings program offers it with its
 pause and number of quorlins.
CONTROL
(cd "$root" && find usr -type f | sort | xargs md5sum >DEBIAN/md5sums)
install -m 0755 "$repo/packaging/debian/postinst" "$repo/packaging/debian/postrm" "$root/DEBIAN/"
install -m 0644 "$repo/packaging/debian/triggers" "$root/DEBIAN/"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

mkdir -p "$out"
deb=$out/flyingquorlin_${version}_$arch.deb
SOURCE_DATE_EPOCH=$(git -C "$repo" log -1 --format=%ct 2>/dev/null || date +%s) \
  dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
# lintian warns when it runs as root, as the tests do; that is no finding about the package.
lintian --fail-on error "$deb" 2> >(grep -v "running with root privileges" >&2) >&2
echo "$deb"
