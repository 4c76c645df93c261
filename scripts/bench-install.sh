#!/usr/bin/env bash
# Measures install-printer.exe under Wine from start to exit, for a fresh installation and for the update
# of an older COM port monitor, beside the pauses the sequence must take for the same inputs.
# Prints one line per case: measured ms, mandated pause ms, the time beyond the pauses and the ratio.
# Needs the native build and the Windows build of this machine's Wine flavour (bash scripts/run-tests.sh
# makes both).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-flavour.sh
echo "Wine flavour: ${WINE_FLAVOUR}-bit, preset ${WINE_PRESET}: ${WINE_FLAVOUR_WHY}"
medium=$PWD/build/$WINE_PRESET/medium
pauses=$(build/native/install-pauses "$medium")
fresh_pause=$(sed -n 's/^fresh \([0-9]*\) ms/\1/p' <<<"$pauses")
update_pause=$(sed -n 's/^update \([0-9]*\) ms/\1/p' <<<"$pauses")

WINEPREFIX=$(bash scripts/wine-prefix.sh)
export WINEPREFIX
trap 'wineserver -k 2>/dev/null; rm -rf "$(dirname "$WINEPREFIX")"' EXIT
W=$PWD/tests/wine/wine-run.sh
cd "$medium"
"$W" reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
# Wine starts its services on first use; start them before timing anything.
"$W" sc query Spooler >/dev/null 2>&1

elapsed() {  # runs the command, prints its wall time in ms
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}
fresh=$(elapsed "$W" install-printer.exe --model ZMX-M530 --port KXCOM1: --generation 3 --kind 1)
"$W" reg add 'HKLM\System\CurrentControlSet\Control\Print\Monitors\VORL COM Monitor' /v DriverVersion /t REG_DWORD /d 1 /f >/dev/null 2>&1
update=$(elapsed "$W" install-printer.exe --model ZMX-M530 --port KXCOM5: --generation 3 --kind 1)

report() {
    awk -v name="$1" -v t="$2" -v p="$3" 'BEGIN {
        printf "%-7s measured %6d ms  pauses %6d ms  beyond pauses %6d ms  ratio %.2f\n", name, t, p, t - p, (p > 0 ? t / p : 0) }'
}
report fresh "$fresh" "$fresh_pause"
report update "$update" "$update_pause"
