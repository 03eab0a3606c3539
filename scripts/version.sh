#!/usr/bin/env bash
# Prints the version: the one place it is written is CMakeLists.txt's project(), which the
# version block reads too.
set -euo pipefail
version=$(sed -n 's/^project(FlyingQuorlin VERSION \([0-9.]*\) .*/\1/p' \
  "$(dirname "${BASH_SOURCE[0]}")/../CMakeLists.txt")
[[ -n $version ]] || { echo "no version in CMakeLists.txt's project()" >&2; exit 1; }
echo "$version"
