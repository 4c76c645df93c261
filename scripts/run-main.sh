#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds everything, assembles the sample medium and runs the main
# job on it under Wine and a virtual display: the wizard installs a receipt printer, then the spooler's
# printers are listed.
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
echo "Installing the receipt printer ZMX-M530 on KXCOM1: as the default printer with the wizard, driven like"
echo "a person at the till on a virtual display (screenshots of each step in build/$WINE_PRESET/main-job):"
cd ../../..
bash scripts/screenshots.sh --tour tests/wine/gui/tours/setup-install.gui --out "build/$WINE_PRESET/main-job" setup.exe |
    grep -E '^(message|shot|screenshots|session)' | sed 's/\\r\\n/ /g'
cd "build/$WINE_PRESET/medium"
echo
echo "The printers Windows now knows, and the default one:"
run reg query 'HKLM\System\CurrentControlSet\Control\Print\Printers' /s | tr -d '\r' | grep -E 'Printers\\|Port|Printer Driver|Print Processor'
run reg query 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v Device | tr -d '\r' | grep Device
run reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports' /v KXCOM1: | tr -d '\r' | grep KXCOM1
