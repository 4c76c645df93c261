#!/usr/bin/env bash
# The end-to-end installation and removal repeated in one Wine prefix, the spooler left as it is between
# runs: after every installation the prefix must hold exactly what the first one left (no growing list
# of printers, ports, monitor keys or files), after every removal nothing of ours, and the spooler must
# run at the end. Run after the test command.   Usage: scripts/stress-wine.sh [ROUNDS]   (20)
set -uo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-20}
source scripts/wine-flavour.sh
echo "Wine flavour: ${WINE_FLAVOUR}-bit, preset ${WINE_PRESET}: ${WINE_FLAVOUR_WHY}"
medium=$(pwd)/build/$WINE_PRESET/medium
[ -f "$medium/install-printer.exe" ] || { echo "stress: build the medium first (the test command does)" >&2; exit 2; }
WINEPREFIX=$(bash scripts/wine-prefix.sh)
export WINEPREFIX
trap 'wineserver -k 2>/dev/null; rm -rf "$(dirname "$WINEPREFIX")"' EXIT
W=$(pwd)/tests/wine/wine-run.sh
cd "$medium"
"$W" reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
system32=$("$W" winepath -u 'C:\windows\system32' 2>/dev/null | tr -d '\r')

# What an installation leaves: printers with their ports and drivers, monitor keys, serial ports, and the
# files in the system and spooler folders.
state() {
    "$W" reg query 'HKLM\System\CurrentControlSet\Control\Print' /s 2>/dev/null | tr -d '\r' |
        grep -E '^HKEY.*\\(Printers|Monitors)\\[^\\]*$|Printer Driver|^    Port ' | sort
    "$W" reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports' 2>/dev/null | tr -d '\r' | sort
    (cd "$system32" && find . -iname 'VL*' -o -path './spool/*' -type f | sort)
}

status=0
first=''
start=$(date +%s)
for round in $(seq "$rounds"); do
    "$W" install-printer.exe --model ZMX-M530 --port KXCOM1: >/dev/null 2>&1 ||
        { echo "FAIL: round $round: the installation failed"; status=1; break; }
    now=$(state)
    if [ -z "$first" ]; then first=$now
    elif [ "$now" != "$first" ]; then
        echo "FAIL: round $round: the installed state differs from the first one:"
        diff <(echo "$first") <(echo "$now") | head -20
        status=1
        break
    fi
    "$W" uninstall-printer.exe --all >/dev/null 2>&1 || { echo "FAIL: round $round: the removal failed"; status=1; break; }
    if "$W" reg query 'HKLM\System\CurrentControlSet\Control\Print\Printers' /s 2>/dev/null | grep -q 'VORL ZMX'; then
        echo "FAIL: round $round: a printer of ours survived the removal"
        status=1
        break
    fi
done
spooler=$("$W" cmd /c "install-printer.exe --model ZMX-M530 --port KXCOM1: >nul & sc query Spooler" 2>&1 | tr -d '\r')
grep -q RUNNING <<<"$spooler" || { echo "FAIL: the spooler does not run at the end"; status=1; }
[ "$(state)" = "$first" ] || { echo "FAIL: the last installation differs from the first"; status=1; }
echo "$rounds rounds of install and removal in $(($(date +%s) - start)) s; $(grep -c . <<<"$first") state lines per installation"
[ $status -eq 0 ] && echo "ok: every installation left the same state, every removal removed ours, the spooler runs"
exit $status
