#!/usr/bin/env bash
# How fast the wizard appears: under Wine, the time from starting setup.exe to its window being visible,
# beside the time Wine takes to show the message box of an empty program, both started alternately in one
# session on a virtual display; medians over RUNS (5) each. Then the sizes of setup.exe and uninstall.exe.
# Run after the test command (it builds what it needs).   Usage: scripts/bench-wizard.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
source scripts/wine-flavour.sh
echo "Wine flavour: ${WINE_FLAVOUR}-bit, preset ${WINE_PRESET}: ${WINE_FLAVOUR_WHY}"
build=build/$WINE_PRESET
cmake --preset "$WINE_PRESET" >/dev/null
cmake --build --preset "$WINE_PRESET" -j2 --target medium gui-driver empty-program >/dev/null
WINEPREFIX=$(bash scripts/wine-prefix.sh)
export WINEPREFIX
work=$(mktemp -d)
trap 'rm -rf "$work" "$(dirname "$WINEPREFIX")"' EXIT

caption=$(iconv -f CP936 -t UTF-8 "$build/medium/language/setup.ini" | tr -d '\r' |
    awk '/^\[Setup\]/ { on = 1; next } /^\[/ { on = 0 } on && /^Caption=/ { print substr($0, 9); exit }')
empty=$(tests/wine/wine-run.sh winepath -w "$(realpath "$build/empty-program.exe")" 2>/dev/null | tr -d '\r')
{
    # The session starts setup.exe itself; each later run starts its program anew.
    for i in $(seq "$runs"); do
        [ "$i" -gt 1 ] && echo "start setup.exe"
        printf 'appeared "%s" 30\nclick 2\nexit 10\n' "$caption"
        printf 'start "%s"\nappeared-box "empty program" 30\nclick ok\nexit 10\n' "$empty"
    done
} >"$work/script"
tests/wine/gui-session.sh --out "$work/out" --script "$work/script" "$build/gui-driver.exe" "$build/medium/setup.exe" \
    >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
grep '^appeared = ' "$work/log" | awk 'NR % 2 == 1 { print $3 }' >"$work/setup"
grep '^appeared = ' "$work/log" | awk 'NR % 2 == 0 { print $3 }' >"$work/empty"
setup_ms=$(median <"$work/setup") empty_ms=$(median <"$work/empty")
echo "setup.exe to its visible wizard:      median $setup_ms ms  (runs: $(paste -sd' ' "$work/setup"))"
echo "empty program to its message box:     median $empty_ms ms  (runs: $(paste -sd' ' "$work/empty"))"
awk -v s="$setup_ms" -v e="$empty_ms" 'BEGIN { printf "beyond Wine'"'"'s own start-up:         %.1f ms (goal: under 500 ms)\n", s - e }'
for program in setup uninstall; do
    for preset in windows "$WINE_PRESET"; do
        file=build/$preset/$program.exe
        [ -f "$file" ] && printf '%-34s %8d bytes (goal: under 1572864)\n' "$file" "$(stat -c %s "$file")"
    done
done | sort -u
