#!/usr/bin/env bash
# Runs every test: installs what is missing, builds both Windows programs (running the i686
# unit tests under Wine), then builds and runs the native tests (unit, static and end-to-end)
# and the sanitized unit tests with short fuzz runs. Each step is a CMake workflow preset
# (CMakePresets.json).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/install-deps.sh

cmake --workflow --preset win64
status=0
cmake --workflow --preset win32 || status=1
cmake --workflow --preset native || status=1
cmake --workflow --preset sanitize || status=1
exit "$status"
