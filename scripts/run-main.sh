#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds everything, assembles the sample medium and runs the main
# job on it under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)"
WINEPREFIX=$(bash scripts/wine-prefix.sh)
export WINEPREFIX
trap 'wineserver -k 2>/dev/null; rm -rf "$(dirname "$WINEPREFIX")"' EXIT
cd build/windows/medium
echo "The sample medium: $(pwd)"
run() { ../../../tests/wine/wine-run.sh "$@"; }
run setup-probe.exe
echo
echo "Installing a receipt printer on KXCOM1: and making it the default:"
run install-printer.exe --model ZMX-M530 --port KXCOM1: --default | iconv -f gbk -t utf-8 -c
echo
echo "The printers Windows now knows:"
run reg query 'HKLM\System\CurrentControlSet\Control\Print\Printers' /s | tr -d '\r' | grep -E 'Printers\\|Port|Printer Driver|Print Processor'
