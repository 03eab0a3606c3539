#!/usr/bin/env bash
# The long soak run, apart from the tests: the saver at Speed 1 and Count 30 under Wine for
# ten minutes (or the seconds given), sampling its GDI objects, windows and memory eleven
# times, checking that frames keep coming and that a key still ends it. The default test run
# holds a one-minute version of the same test (e2e.soak).
# Usage: scripts/soak.sh [seconds, default 600]
# FQ_BUILD_ROOT puts the builds elsewhere (default: build/ in this checkout).
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh

seconds=${1:-600}
build_root="$(realpath -m "${FQ_BUILD_ROOT:-build}")"
report=$build_root/soak-report.json

echo "== Building"
cmake --preset win64 -B "$build_root/win64" >/dev/null
cmake --build "$build_root/win64" -j2 --target FlyingQuorlin fq_inspect fq_mpr_stub
cmake --preset native -B "$build_root/native" >/dev/null

echo "== Soak: Speed 1, Count 30, $seconds s (one line per sample)"
cd tests/e2e
FQ_WIN64_BUILD_DIR="$build_root/win64" FQ_E2E_CACHE_DIR="$build_root/native/e2e" \
  FQ_SOAK_SECONDS="$seconds" FQ_SOAK_REPORT="$report" \
  /usr/bin/python3 -m unittest -v test_soak
echo "== Samples written to $report"
