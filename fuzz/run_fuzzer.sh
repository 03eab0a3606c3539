#!/bin/bash
# Runs one fuzz target for a bounded time from its seed corpus. New inputs go to a scratch
# folder, so the committed corpus only changes by hand.
set -euo pipefail
target=$1 seeds=$2 seconds=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -artifact_prefix="${FQ_FUZZ_ARTIFACTS:-$scratch}/" "$scratch" "$seeds"
