#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds everything, assembles the sample medium and runs the main
# job on it under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
source scripts/wine-flavour.sh
echo "Wine flavour: ${WINE_FLAVOUR}-bit, preset ${WINE_PRESET}: ${WINE_FLAVOUR_WHY}"
# The product is always built; where Wine's 32-bit loader cannot run, its 64-bit twin runs the job.
presets=(windows)
[ "$WINE_PRESET" = windows ] || presets+=("$WINE_PRESET")
for preset in "${presets[@]}"; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)"
done
echo "The product: $(file -b build/windows/setup.exe)"
WINEPREFIX=$(bash scripts/wine-prefix.sh)
export WINEPREFIX
trap 'wineserver -k 2>/dev/null; rm -rf "$(dirname "$WINEPREFIX")"' EXIT
cd "build/$WINE_PRESET/medium"
echo "The sample medium: $(pwd)"
run() { ../../../tests/wine/wine-run.sh "$@"; }
run setup-probe.exe
echo
echo "Installing a receipt printer on KXCOM1: and making it the default:"
run install-printer.exe --model ZMX-M530 --port KXCOM1: --default | iconv -f gbk -t utf-8 -c
echo
echo "The printers Windows now knows:"
run reg query 'HKLM\System\CurrentControlSet\Control\Print\Printers' /s | tr -d '\r' | grep -E 'Printers\\|Port|Printer Driver|Print Processor'
