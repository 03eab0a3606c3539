#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the three presets (the i686 product, the
# x86_64 build for Wine, the native tests) and runs ctest (unit, static and end-to-end tests),
# then the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer (clang) and
# each fuzz target for a few seconds.
# FQ_BUILD_ROOT puts the builds elsewhere (default: build/ in this checkout).
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh

build_root="$(realpath -m "${FQ_BUILD_ROOT:-build}")"
jobs="${FQ_BUILD_JOBS:-$(nproc)}"

configure_and_build() {
  local preset="$1"
  shift
  cmake --preset "$preset" -B "$build_root/$preset" "$@"
  cmake --build "$build_root/$preset" -j "$jobs"
}

configure_and_build win32
configure_and_build win64
configure_and_build native \
  -DFQ_WIN32_BUILD_DIR="$build_root/win32" -DFQ_WIN64_BUILD_DIR="$build_root/win64"

configure_and_build sanitize

run_ctest() {
  local build="$1"
  shift
  local log="$build/ctest.log"
  local status=0
  ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@" 2>&1 | tee "$log" || status=$?
  echo
  grep -E '^[0-9]+% tests passed' "$log" || echo "ctest printed no summary (exit status $status)"
  return "$status"
}

status=0
echo "== Sanitized unit tests and short fuzz runs"
run_ctest "$build_root/sanitize" -L 'unit|fuzz' || status=1
echo "== Unit, static and end-to-end tests"
run_ctest "$build_root/native" || status=1
exit "$status"
