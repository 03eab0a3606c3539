#!/usr/bin/env bash
# Prints the time every file of the release carries, in seconds since 1970: SOURCE_DATE_EPOCH
# where set, otherwise the last commit's, so that two builds of one commit give the same bytes.
set -euo pipefail
if [[ -n ${SOURCE_DATE_EPOCH:-} ]]; then
  echo "$SOURCE_DATE_EPOCH"
elif ! git -C "$(dirname "${BASH_SOURCE[0]}")" log -1 --format=%ct 2>/dev/null; then
  echo "not a git checkout: set SOURCE_DATE_EPOCH to the release's time" >&2
  exit 1
fi
