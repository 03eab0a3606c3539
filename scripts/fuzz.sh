#!/usr/bin/env bash
# Runs every fuzz target for a bounded time (default 60 s each) from its seed corpus, with
# AddressSanitizer and UndefinedBehaviorSanitizer. Usage: bash scripts/fuzz.sh [seconds]
# A crash leaves its input in build/fuzz-artifacts/; turn it into a unit test.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh

seconds="${1:-60}"
build_root="$(realpath -m "${FQ_BUILD_ROOT:-build}")"
artifacts="$build_root/fuzz-artifacts"
mkdir -p "$artifacts"

cmake --preset sanitize -B "$build_root/sanitize"
cmake --build "$build_root/sanitize" -j "${FQ_BUILD_JOBS:-$(nproc)}"

status=0
for corpus in fuzz/corpus/*/; do
  target="$(basename "$corpus")"
  echo "== $target, ${seconds} s"
  FQ_FUZZ_ARTIFACTS="$artifacts" fuzz/run_fuzzer.sh "$build_root/sanitize/fuzz/$target" \
    "$corpus" "$seconds" 2>&1 | grep -E '^(Done|==[0-9]+==|SUMMARY|artifact_prefix)' || status=1
done
exit "$status"
