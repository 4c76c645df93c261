#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds everything, assembles the sample medium and runs the main
# job on it under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target all medium
WINEPREFIX=$(bash scripts/wine-prefix.sh)
export WINEPREFIX
trap 'wineserver -k 2>/dev/null; rm -rf "$(dirname "$WINEPREFIX")"' EXIT
cd build/windows/medium
echo "The sample medium: $(pwd)"
../../../tests/wine/wine-run.sh setup-probe.exe
../../../tests/wine/wine-run.sh setup-probe.exe Message IDS_ERR_COPYFIEL Series Receipt
