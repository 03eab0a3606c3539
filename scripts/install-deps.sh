#!/usr/bin/env bash
# Installs the Debian packages of scripts/packages.txt (one per line, # comments allowed) that
# are not installed yet, and 32-bit Wine (wine32:i386), which runs the product, where the kernel
# runs 32-bit programs. Does nothing, and needs no network, when all is there.
set -euo pipefail

packages_file="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/packages.txt"

# Installed for this machine's architecture (or for all), or for the one named as in wine32:i386. A
# library can be there for both architectures once 32-bit Wine is.
installed() {
  local arch="${1#*:}"
  [[ $1 == *:* ]] || arch="$(dpkg --print-architecture)|all"
  dpkg-query -W -f='${db:Status-Status} ${Architecture}\n' "$1" 2>/dev/null |
    grep -Eqx "installed ($arch)"
}

missing=()
while read -r package; do
  package="${package%%#*}"
  package="${package//[[:space:]]/}"
  if [[ -n "$package" ]] && ! installed "$package"; then
    missing+=("$package")
  fi
done < "$packages_file"

sudo_cmd=()
if ((EUID != 0)); then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive

apt_install() {
  echo "Installing missing packages: $*"
  "${sudo_cmd[@]}" apt-get update
  "${sudo_cmd[@]}" apt-get install -y "$@" </dev/null
}

if ((${#missing[@]} > 0)); then
  apt_install "${missing[@]}"
fi
if ! installed wine32:i386; then
  if bash "$(dirname "${BASH_SOURCE[0]}")/runs-32bit-code.sh"; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      "${sudo_cmd[@]}" dpkg --add-architecture i386
    fi
    apt_install wine32:i386
  else
    echo "This kernel runs no 32-bit programs: 32-bit Wine is left out, and the end-to-end" \
      "tests run the x86_64 build instead."
  fi
fi
