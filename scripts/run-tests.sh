#!/usr/bin/env bash
# Sets up a fresh Debian machine and runs every test: native, native under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows build under Wine in a throwaway prefix: the product's PE32
# build where this machine runs Wine's 32-bit loader, else its 64-bit twin (scripts/wine-flavour.sh).
set -uo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)

bash scripts/install-deps.sh || exit 1
source scripts/wine-flavour.sh || exit 1
echo "Wine flavour: ${WINE_FLAVOUR}-bit, preset ${WINE_PRESET}: ${WINE_FLAVOUR_WHY}"

passed=0 failed=0 status=0
summary() {  # adds up ctest's closing line
    local line
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1)
    if [ -z "$line" ]; then status=1; echo "$2: no test result" >&2; return; fi
    local f t
    f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    t=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + t - f)); failed=$((failed + f))
}

suite() {  # preset [ctest options]
    local log preset=$1
    shift
    log=$(mktemp)
    echo "=== $preset $*"
    if ! { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j"$(nproc)"; } >"$log.build" 2>&1; then
        cat "$log.build"; echo "$preset: build failed"; status=1; failed=$((failed + 1)); return
    fi
    grep -E 'warning:' "$log.build" && { echo "$preset: the build has warnings"; status=1; }
    ctest --preset "$preset" -j"$(nproc)" "$@" --output-junit "$log.xml" --test-output-size-passed 4000000 2>&1 |
        tee "$log" | grep -v -E '^ +Start|Test +#[0-9]+: .* Passed' || true
    grep -q ' 0 tests failed' "$log" || status=1
    summary "$log" "$preset"
    # CTest counts a skipped entry as passed, and a GoogleTest case that skipped itself passes in its
    # eyes: each one is named with its reason, and only those the allow-list expects pass.
    while IFS=$'\t' read -r name why; do
        [ -n "$name" ] || continue
        if skip_allowed "$preset" "$name"; then echo "$preset: skipped $name, as expected here: $why"
        else echo "$preset: FAILED: $name skipped unexpectedly: $why"; status=1; failed=$((failed + 1)); fi
    done < <({
        grep -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: [^ ]+ .*\*\*\*Skipped' "$log" |
            sed -E 's/.*Test +#[0-9]+: ([^ ]+) .*/\1\tthe entry skipped itself/'
        grep -h -B1 -E '^\[  SKIPPED \] [^ ]+ \([0-9]+ ms\)' "$log.xml" 2>/dev/null | grep -v '^--' |
            paste - - | sed -E 's/^(.*)\t\[  SKIPPED \] ([^ ]+).*/\2\t\1/'
        } | awk -F'\t' '!seen[$1]++')  # a discovered case shows in both
}

# The skips a kind of machine rightly causes, one a line: preset|entry or case (an extended regular
# expression)|why. Anything else that skips fails the run. None today: where Wine's 32-bit loader fails,
# the windows preset's Wine entries (wow64-refusal among them) are not run at all rather than skipped, and
# the display, the prefix and the spooler that the contract cases skip without are always given here.
skip_allowed() {  # preset name
    local preset name why
    while IFS='|' read -r preset name why; do
        [ "$1" = "$preset" ] && [[ "$2" =~ ^($name)$ ]] && return 0
    done <<'ALLOWED'
ALLOWED
    return 1
}

suite native
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ASAN_OPTIONS=detect_leaks=1 suite native-sanitize
# A short fuzz of each reader of outside files (scripts/fuzz.sh; ten minutes each is the run before a
# release): a finding is kept in tests/fuzz/regressions/ and fails the run.
echo "=== fuzz, 10 s per target"
if bash scripts/fuzz.sh 10; then passed=$((passed + 1)); else failed=$((failed + 1)); status=1; fi

# One virtual display for the whole Wine run: Wine's desktop process is started with the prefix's first
# program and keeps the display it found then, so windows can only be tested if it has one from the start.
# Xvfb picks a free display itself and says which once it takes connections.
displayfd=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayfd" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 200); do [ -s "$displayfd" ] && break; sleep 0.05; done
[ -s "$displayfd" ] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -1 "$displayfd")
rm -f "$displayfd"
WINEPREFIX=$(bash scripts/wine-prefix.sh) || { echo "could not make a Wine prefix"; exit 1; }
export WINEPREFIX
trap 'wineserver -k 2>/dev/null; rm -rf "$(dirname "$WINEPREFIX")"; kill $xvfb_pid 2>/dev/null' EXIT
if [ "$WINE_FLAVOUR" = 32 ]; then
    suite windows
else
    # The product is still built and checked here; only its Wine tests need the 32-bit loader, and the
    # same tests of the 64-bit build run in their place.
    native_checks='^(gui-binaries|setup-resources|uninstall-resources|medium-check-assembled)$'  # read the files, need no Wine
    suite windows -R "$native_checks"
    echo "windows: $(ctest --preset windows -N -E "$native_checks" | sed -n 's/^Total Tests: //p') Wine tests not" \
         "run on the PE32 build (${WINE_FLAVOUR_WHY}); windows64 runs them"
    suite windows64
fi

# The README's main job, as a new user runs it: the wizard installs the sample medium's receipt printer.
echo "=== main job (scripts/run-main.sh)"
main_log=$(mktemp)
if bash scripts/run-main.sh >"$main_log" 2>&1; then passed=$((passed + 1)); tail -1 "$main_log"
else failed=$((failed + 1)); status=1; tail -40 "$main_log"; echo "main job: FAILED"; fi
rm -f "$main_log"

echo "wall time: $(( $(date +%s) - start )) s"
echo "tests: ${passed} passed, ${failed} failed"
exit $status
