#!/usr/bin/env bash
# Measures the removal run of uninstall.exe under Wine, worked through its dialog by gui-driver, over
# n = 3 entries (one printer of ours with its COM monitor and the print processor) and n = 6 (four
# printers): the time from the press of Uninstall to the restart question that ends the run, beside the
# pauses the run must take over the same entries (build/native/uninstall-pauses makes the same run on the
# simulated Windows and adds up its pauses). Prints one line per case: measured ms, mandated pause ms, the
# time beyond the pauses in all and per entry; and a second line with the part of it that the spooler
# restarts take beyond their own pause (Wine's StartService waits while it starts the spooler's
# process), from Wine's trace of the service calls, and the rest per entry.
# Needs the native build and the Windows build of this machine's Wine flavour (bash scripts/run-tests.sh
# makes both); starts its own display when DISPLAY is unset.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/wine-flavour.sh
echo "Wine flavour: ${WINE_FLAVOUR}-bit, preset ${WINE_PRESET}: ${WINE_FLAVOUR_WHY}"
build=$root/build/$WINE_PRESET
medium=$build/medium
pauses_tool=$root/build/native/uninstall-pauses
for needed in "$medium/uninstall.exe" "$build/gui-driver.exe" "$pauses_tool"; do
    [ -e "$needed" ] || { echo "bench-uninstall: $needed is missing: build first (bash scripts/run-tests.sh)" >&2; exit 2; }
done

WINEPREFIX=$(bash scripts/wine-prefix.sh)
export WINEPREFIX
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null; rm -rf "$(dirname "$WINEPREFIX")" "$work"' EXIT
W=$root/tests/wine/wine-run.sh
"$W" reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
# Other work on the machine stretches what lies beyond the pauses: say how busy it is.
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) processors"

text() {  # SECTION KEY: a text of the medium's language file, in UTF-8
    iconv -f CP936 -t UTF-8 "$medium/language/uninstall.ini" | tr -d '\r' |
        awk -v section="[$1]" -v key="$2" '$0 == section { on = 1; next } /^\[/ { on = 0 }
            on && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'
}
caption=$(text Uninstall Title)
restart=$(text Reboot Title)

declare -A printers=(
    [3]="ZMX-M530:KXCOM1:"
    [6]="ZMX-M530:KXCOM1: ZMX-T310:KXCOM2: ZMX-L58:KXCOM3: ZMX-E58:KXCOM4:"
)
for n in 3 6; do
    # shellcheck disable=SC2086
    floor=$("$pauses_tool" "$medium" ${printers[$n]})
    entries=$(sed -n 's/^entries //p' <<<"$floor")
    pause=$(sed -n 's/^pauses \([0-9]*\) ms$/\1/p' <<<"$floor")
    restart_pause=$(sed -n 's/^restart pause \([0-9]*\) ms$/\1/p' <<<"$floor")
    [ "$entries" = "$n" ] || { echo "bench-uninstall: the simulated run went over $entries entries, not $n" >&2; exit 1; }
    for printer in ${printers[$n]}; do
        (cd "$medium" && "$W" install-printer.exe --model "${printer%%:*}" --port "${printer#*:}" >/dev/null 2>&1) ||
            { echo "bench-uninstall: $printer could not be installed" >&2; exit 1; }
    done
    # The driver waits idle through most of the floor, so that its polling for the question does not
    # take the processor from the run it measures.
    idle=$(awk -v p="$pause" 'BEGIN { printf "%.1f", (p > 2000 ? p - 1000 : 0) / 1000 }')
    log=$work/$n
    # Wine's trace of the service calls, with times, comes back through the driver into the session log.
    if ! WINEDEBUG=+timestamp,+service tests/wine/gui-session.sh --out "$log" "$build/gui-driver.exe" "$medium/uninstall.exe" >"$log.txt" 2>&1 <<SCRIPT
wait "$caption" 20
expect count 1010 = $n
click 1012
mark
click 1002
sleep $idle
appeared "$restart" 120
click 2
wait "$caption"
expect enabled 2 = 1
count 1008
click 2
closed 10
exit
SCRIPT
    then
        cat "$log.txt"
        echo "bench-uninstall: the session over $n entries failed" >&2
        exit 1
    fi
    measured=$(sed -n 's/^appeared = \([0-9]*\).*/\1/p' "$log/session.log")
    # The dialog's list holds the prompt before the lines of the run; Wine's refusal of the driver
    # deletion takes the same pause as its success.
    lines=$(($(sed -n 's/^count 1008 = //p' "$log/session.log") - 1))
    simulated=$(grep -c '^line ' <<<"$floor")
    [ "$lines" -eq "$simulated" ] ||
        echo "note: $lines progress lines under Wine, $simulated in the simulated run: the runs took different ways"
    awk -v n="$n" -v t="$measured" -v p="$pause" 'BEGIN {
        printf "%d entries  measured %6d ms  pauses %6d ms  beyond pauses %5d ms  per entry %4d ms\n", n, t, p, t - p, (t - p) / n }'
    # A restart opens the manager, stops, pauses, starts and closes the service and the manager.
    { grep 'trace:service:' "$log/session.log" || true; } |
        awk -F: -v n="$n" -v t="$measured" -v p="$pause" -v restart="$restart_pause" '
        /OpenSCManagerW/ { opened = $1; closes = -1 }
        /StartServiceW/ { closes = 0 }
        /CloseServiceHandle/ && closes >= 0 && ++closes == 2 { restarts++; spent += ($1 - opened) * 1000 - restart; closes = -1 }
        END { rest = t - p - spent
            printf "   %d spooler restarts: %5d ms beyond their pauses; the rest %5d ms, per entry %4d ms\n", restarts, spent, rest, rest / n }'
done
