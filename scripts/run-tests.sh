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
    # A test case that skipped itself passes in CTest's eyes: name each one, with its reason.
    grep -h -B1 -E '^\[  SKIPPED \] [^ ]+ \([0-9]+ ms\)' "$log.xml" 2>/dev/null | grep -v '^--' |
        paste - - | sed -E "s/^(.*)\t\[  SKIPPED \] ([^ ]+).*/$preset: skipped \2: \1/" || true
}

suite native
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ASAN_OPTIONS=detect_leaks=1 suite native-sanitize
# A short fuzz of each reader of outside files (scripts/fuzz.sh; ten minutes each is the run before a
# release): a finding is kept in tests/fuzz/regressions/ and fails the run.
echo "=== fuzz, 10 s per target"
if bash scripts/fuzz.sh 10; then passed=$((passed + 1)); else failed=$((failed + 1)); status=1; fi

# One virtual display for the whole Wine run: Wine's desktop process is started with the prefix's first
# program and keeps the display it found then, so windows can only be tested if it has one from the start.
display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
sleep 1
WINEPREFIX=$(bash scripts/wine-prefix.sh) || { echo "could not make a Wine prefix"; exit 1; }
export WINEPREFIX
trap 'wineserver -k 2>/dev/null; rm -rf "$(dirname "$WINEPREFIX")"; kill $xvfb_pid 2>/dev/null' EXIT
if [ "$WINE_FLAVOUR" = 32 ]; then
    suite windows
else
    # The product is still built and checked here; only its Wine tests need the 32-bit loader, and the
    # same tests of the 64-bit build run in their place.
    native_checks='^(gui-binaries|setup-resources|uninstall-resources)$'  # read the files, need no Wine
    suite windows -R "$native_checks"
    echo "windows: $(ctest --preset windows -N -E "$native_checks" | sed -n 's/^Total Tests: //p') Wine tests not" \
         "run on the PE32 build (${WINE_FLAVOUR_WHY}); windows64 runs them"
    suite windows64
fi

echo "wall time: $(( $(date +%s) - start )) s"
echo "tests: ${passed} passed, ${failed} failed"
exit $status
