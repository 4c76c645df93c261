#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds everything, assembles the sample medium and runs the main
# job on it under Wine and a virtual display: the wizard installs a receipt printer, then the spooler's
# printers are listed. In the 32-bit flavour the PE32 setup.exe installs in a 32-bit prefix; in the 64-bit
# one (WINE_FLAVOUR=64, and every machine that cannot run 32-bit programs) setup64.exe of the full medium,
# the x64 edition, installs in a 64-bit prefix.
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
# The edition of the prefix's Windows: the PE32 programs, or the x64 ones beside them.
X=
[ "$WINE_PRESET" = windows ] || X=64
run setup-probe$X.exe
echo
echo "Installing the receipt printer ZMX-M530 on KXCOM1: as the default printer with setup$X.exe, driven like"
echo "a person at the till on a virtual display (screenshots of each step in build/$WINE_PRESET/main-job):"
cd ../../..
# The wizard's own result counts: a session that failed ends the job with its exit code after its lines.
set +e
bash scripts/screenshots.sh --tour tests/wine/gui/tours/setup-install.gui --out "build/$WINE_PRESET/main-job" setup$X.exe \
    >"build/$WINE_PRESET/main-job.log" 2>&1
wizard=$?
set -e
grep -E '^(message|shot|screenshots|session|FAIL|gui-)' "build/$WINE_PRESET/main-job.log" | sed 's/\\r\\n/ /g' || true
cd "build/$WINE_PRESET/medium"
echo
echo "The printers Windows now knows, and the default one:"
printers=$(run reg query 'HKLM\System\CurrentControlSet\Control\Print\Printers' /s 2>/dev/null | tr -d '\r')
grep -E 'Printers\\|Port|Printer Driver|Print Processor' <<<"$printers" || true
run reg query 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows' /v Device 2>/dev/null | tr -d '\r' | grep Device || true
# The serial settings are kept under the COM name the monitor's port stands for (KXCOM1: -> COM1:).
run reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports' /v COM1: 2>/dev/null | tr -d '\r' | grep COM1 || true
echo
# Done only when the printer is there, on its port, with its driver.
entry=$(awk '/^HKEY.*\\Printers\\ZMX-M530\(S\)$/ { on = 1; next } /^HKEY/ { on = 0 } on' <<<"$printers")
if [ $wizard -eq 0 ] && grep -q '^    Port    REG_SZ    KXCOM1:$' <<<"$entry" &&
    grep -q '^    Printer Driver    REG_SZ    VORL ZMX-M530$' <<<"$entry"; then
    echo "main job: ZMX-M530(S) installed on KXCOM1: by the wizard (setup$X.exe)"
else
    echo "main job FAILED: the wizard's session exited $wizard; the printer ZMX-M530(S) on KXCOM1: is $( [ -n "$entry" ] && echo 'there but not as expected' || echo missing)" >&2
    echo "the wizard's session: build/$WINE_PRESET/main-job.log" >&2
    exit 1
fi
