#!/usr/bin/env bash
# The long soak run, apart from the default tests: the saver at Speed 1 and Count 30 under Wine
# for ten minutes (or the seconds given), sampled eleven times evenly: its GDI objects, windows
# and memory must stay flat, frames must keep coming, and a key must still end it (test_soak in
# tests/e2e/test_saver.py). It runs the product, the i686 build, or the x86_64 build where the
# machine cannot run 32-bit code. The samples are printed and kept in <build root>/soak.log.
# Usage: scripts/soak.sh [seconds, default 600]
# FQ_BUILD_ROOT puts the builds elsewhere (default: build/ in this checkout).
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh

build_root="$(realpath -m "${FQ_BUILD_ROOT:-build}")"
for preset in win32 win64; do
  cmake --preset "$preset" -B "$build_root/$preset" >/dev/null
  cmake --build "$build_root/$preset" -j2
done

export FQ_WIN32_BUILD_DIR="$build_root/win32" FQ_WIN64_BUILD_DIR="$build_root/win64"
export FQ_E2E_CACHE_DIR="$build_root/native/e2e" FQ_SOAK_SECONDS="${1:-600}"
soak() {
  (cd tests/e2e && /usr/bin/python3 harness.py "$1" test_saver.SaverTest.test_soak 2>&1)
}
echo "== Soak: Speed 1, Count 30, $FQ_SOAK_SECONDS s"
status=0
soak i686 | tee "$build_root/soak.log" || status=$?
if ((status == 77)); then  # no 32-bit code here
  soak x86_64 | tee "$build_root/soak.log"
elif ((status != 0)); then
  exit "$status"
fi
