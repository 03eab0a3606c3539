#!/usr/bin/env bash
# Installs the Debian packages of scripts/packages.txt (one per line, # comments allowed)
# that are not installed yet; does nothing, and needs no network, when all are there.
set -euo pipefail

packages_file="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/packages.txt"

missing=()
while read -r package; do
  package="${package%%#*}"
  package="${package//[[:space:]]/}"
  [[ -z "$package" ]] && continue
  if [[ "$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null)" != "installed" ]]; then
    missing+=("$package")
  fi
done < "$packages_file"

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if ((EUID != 0)); then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y "${missing[@]}" </dev/null
