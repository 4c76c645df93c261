#!/usr/bin/env bash
# How long the wizard's installation takes under Wine, from pressing Install to the closing message box,
# beside the floor that the progress window's schedule and the install sequence's pauses impose on the
# same run (build/native/install-pauses works it out from the code's constants). The receipt printer
# ZMX-M530 goes on serial ports of Windows XP through the whole wizard, in one session on a virtual
# display: first into the fresh prefix, then RUNS (3) times more beside it, of which the median counts.
# Run after the test command (it builds what it needs).   Usage: scripts/bench-wizard-install.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
source scripts/wine-flavour.sh
echo "Wine flavour: ${WINE_FLAVOUR}-bit, preset ${WINE_PRESET}: ${WINE_FLAVOUR_WHY}"
build=build/$WINE_PRESET
{
    cmake --preset native && cmake --build --preset native -j2 --target install-pauses &&
        cmake --preset "$WINE_PRESET" && cmake --build --preset "$WINE_PRESET" -j2 --target medium gui-driver
} >/dev/null
floors=$(build/native/install-pauses "$build/medium")
floor() { sed -n "s/^wizard $1 \([0-9]*\) ms, closes after \([0-9]*\) ms$/\\$2/p" <<<"$floors"; }

WINEPREFIX=$(bash scripts/wine-prefix.sh)
export WINEPREFIX
work=$(mktemp -d)
trap 'rm -rf "$work" "$(dirname "$WINEPREFIX")"' EXIT
tests/wine/wine-run.sh reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1

caption=$(iconv -f CP936 -t UTF-8 "$build/medium/language/setup.ini" | tr -d '\r' |
    awk '/^\[Setup\]/ { on = 1; next } /^\[/ { on = 0 } on && /^Caption=/ { print substr($0, 9); exit }')
{
    # The session starts setup.exe itself; each later run starts it anew. Each run pages through like a
    # person, then times from the click on Install to the closing message.
    for i in $(seq 0 "$runs"); do
        [ "$i" -gt 0 ] && echo "start setup.exe"
        printf 'wait "%s" 30\nclick 1057\nclick 1\nclick 1\nclick 1\nclick 1\n' "$caption"
        printf 'select 1049 KXCOM%d:\nmark\nclick 1\nappeared-box setup 60\nclick ok\nexit 20\n' $((i + 1))
    done
} >"$work/script"
tests/wine/gui-session.sh --out "$work/out" --script "$work/script" "$build/gui-driver.exe" \
    "$build/medium/setup.exe" >"$work/log" 2>&1 || { cat "$work/log"; exit 1; }

grep '^appeared = ' "$work/log" | awk '{ print $3 }' >"$work/all"
fresh_ms=$(head -1 "$work/all")
tail -n +2 "$work/all" >"$work/again"
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
again_ms=$(median <"$work/again")
report() {  # name measured pauses floor [runs]
    awk -v name="$1" -v t="$2" -v p="$3" -v f="$4" -v runs="${5:-}" 'BEGIN {
        printf "%-6s Install to message %7.1f ms  floor %5d ms (pauses %4d ms)", name, t, f, p
        printf "  beyond the floor %6.1f ms (goal: under 500 ms)%s\n", t - f, runs == "" ? "" : "  runs: " runs }'
}
report fresh "$fresh_ms" "$(floor fresh 1)" "$(floor fresh 2)"
report again "$again_ms" "$(floor again 1)" "$(floor again 2)" "$(paste -sd' ' "$work/again")"
