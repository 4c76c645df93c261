#!/usr/bin/env bash
# Sets up a fresh Debian machine and runs every test this machine can run: native, native under
# AddressSanitizer and UndefinedBehaviorSanitizer, a short fuzz, the Windows builds' Wine suites and the
# README's main job. The Wine suites are the PE32 edition's in a 32-bit prefix, where Wine's 32-bit loader
# runs, and the x64 edition's on the full medium in a 64-bit prefix, with the PE32 programs' handover to it
# where both loaders run. WINE_FLAVOUR=64 runs as a machine without the 32-bit loader would (the 64-bit
# suite without the handover); WINE_FLAVOUR=32 runs the 32-bit suite alone, for a quicker look.
# The two Wine suites run side by side, each with its own display and prefix, while the native suites
# build and run at a lower priority: Wine spends much of its time waiting.
set -uo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)

bash scripts/install-deps.sh || exit 1
if /usr/lib/wine/wine --version >/dev/null 2>&1; then can32=yes; else can32=no; fi
case "${WINE_FLAVOUR:-}" in
    "") if [ $can32 = yes ]; then wine_suites="windows windows64" why="this machine runs both of Wine's loaders"
        else wine_suites=windows64 why="this machine cannot execute 32-bit Linux programs (Wine's 32-bit loader fails)"; fi ;;
    32) [ $can32 = yes ] || { echo "WINE_FLAVOUR=32: this machine cannot run Wine's 32-bit loader"; exit 2; }
        wine_suites=windows why="forced by WINE_FLAVOUR=32" ;;
    64) wine_suites=windows64 why="forced by WINE_FLAVOUR=64, as on a machine without Wine's 32-bit loader" ;;
    *) echo "WINE_FLAVOUR must be 32 or 64, not '$WINE_FLAVOUR'"; exit 2 ;;
esac
# The handover runs PE32 programs in the 64-bit prefix: only where the 32-bit loader runs and is not ruled out.
handover=no
[ $can32 = yes ] && [ "${WINE_FLAVOUR:-}" != 64 ] && [[ " $wine_suites " == *" windows64 "* ]] && handover=yes
echo "Wine suites: $wine_suites: $why"

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

build_preset() {  # preset: configures and builds it; false, with its log, when that fails
    local log
    log=$(mktemp)
    if ! { cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j"$(nproc)"; } >"$log" 2>&1; then
        cat "$log"; echo "$1: build failed"; status=1; failed=$((failed + 1)); rm -f "$log"; return 1
    fi
    grep -E 'warning:' "$log" && { echo "$1: the build has warnings"; status=1; }
    rm -f "$log"
    return 0
}

run_ctest() {  # preset log [ctest options]: the run's output into log, its JUnit report beside it
    local preset=$1 log=$2
    shift 2
    ctest --preset "$preset" -j"$(nproc)" "$@" --output-junit "$log.xml" --test-output-size-passed 4000000 >"$log" 2>&1
    return 0
}

report() {  # preset log title: prints the run and adds it to the counts
    local preset=$1 log=$2 name why
    echo "=== $3"
    grep -v -E '^ +Start|Test +#[0-9]+: .* Passed' "$log" || true
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
    rm -f "$log" "$log.xml"
}

# The skips a kind of machine rightly causes, one a line: preset|entry or case (an extended regular
# expression)|why. Anything else that skips fails the run. None today: where Wine's 32-bit loader fails,
# the windows preset's Wine entries and the handover are not run at all rather than skipped, and
# the display, the prefix and the spooler that the contract cases skip without are always given here.
skip_allowed() {  # preset name
    local preset name why
    while IFS='|' read -r preset name why; do
        [ "$1" = "$preset" ] && [[ "$2" =~ ^($name)$ ]] && return 0
    done <<'ALLOWED'
ALLOWED
    return 1
}

# The Windows builds first, each suite started as soon as its build is done: the Wine suites are the longest
# part of the run. The x64 build assembles the full medium from the PE32 build's programs.
# One virtual display and one prefix per Wine suite: Wine's desktop process is started with the prefix's
# first program and keeps the display it found then, and screenshots take the whole display. Xvfb picks a
# free display itself and says which once it takes connections.
cleanup=()
trap 'for c in "${cleanup[@]}"; do eval "$c"; done' EXIT
start_display() {  # prints the display number
    local fd pid
    fd=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd" >/dev/null 2>&1 &
    pid=$!
    cleanup+=("kill $pid 2>/dev/null")
    for _ in $(seq 200); do [ -s "$fd" ] && break; sleep 0.05; done
    [ -s "$fd" ] || { echo "Xvfb did not start" >&2; return 1; }
    head -1 "$fd"
    rm -f "$fd"
}
native_checks='^(gui-binaries|setup-resources|uninstall-resources|medium-check-assembled)$'  # read files, need no Wine
declare -A wine_log wine_pid wine_title
for preset in windows windows64; do
    echo "=== building $preset"
    build_preset "$preset" || continue
    log=$(mktemp)
    if [[ " $wine_suites " != *" $preset "* ]]; then
        # Built and checked all the same; only its Wine tests are not this machine's.
        run_ctest "$preset" "$log" -R "$native_checks"
        wine_log[$preset]=$log wine_title[$preset]="$preset: the entries that need no Wine"
        echo "$preset: $(ctest --preset "$preset" -N -E "$native_checks" | sed -n 's/^Total Tests: //p') Wine tests not run: $why"
        continue
    fi
    flavour=32
    [ "$preset" = windows ] || flavour=64
    display=$(start_display) || { status=1; continue; }
    prefix=$(WINE_FLAVOUR=$flavour bash scripts/wine-prefix.sh) || { echo "could not make a $flavour-bit Wine prefix"; status=1; continue; }
    cleanup+=("WINEPREFIX='$prefix' wineserver -k 2>/dev/null; rm -rf '$(dirname "$prefix")'")
    options=()
    title="$preset in a $flavour-bit prefix"
    if [ "$preset" = windows64 ] && [ $handover = no ]; then
        options=(-LE needs-wine32)
        echo "windows64: $(ctest --preset windows64 -N -L needs-wine32 | sed -n 's/^Total Tests: //p') handover test(s) not run: they start PE32 programs, and $why"
    fi
    # Both editions show the same screens: with both suites, each tours one language set.
    if [ "$wine_suites" = "windows windows64" ]; then
        other=en
        [ "$preset" = windows ] || other=zh
        options+=(-E "^screens-$other\$")
        echo "$preset: screens-$other is the other suite's"
    fi
    ( export DISPLAY=:$display WINEPREFIX=$prefix; run_ctest "$preset" "$log" "${options[@]}" ) &
    wine_pid[$preset]=$! wine_log[$preset]=$log wine_title[$preset]=$title
done

# Meanwhile the native suites, below the Wine suites' priority.
for preset in native native-sanitize; do
    log=$(mktemp)
    echo "=== building $preset (beside the Wine suites)"
    if nice -n 10 bash -c "cmake --preset $preset >/dev/null && cmake --build --preset $preset -j$(nproc)" >"$log.build" 2>&1; then
        grep -E 'warning:' "$log.build" && { echo "$preset: the build has warnings"; status=1; }
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ASAN_OPTIONS=detect_leaks=1 nice -n 10 \
            ctest --preset "$preset" -j"$(nproc)" --output-junit "$log.xml" --test-output-size-passed 4000000 >"$log" 2>&1
        report "$preset" "$log" "$preset"
    else
        cat "$log.build"; echo "$preset: build failed"; status=1; failed=$((failed + 1))
    fi
    rm -f "$log.build"
done
# A short fuzz of each reader of outside files (scripts/fuzz.sh; ten minutes each is the run before a
# release): a finding is kept in tests/fuzz/regressions/ and fails the run.
echo "=== fuzz, 10 s per target"
if nice -n 10 bash scripts/fuzz.sh 10; then passed=$((passed + 1)); else failed=$((failed + 1)); status=1; fi

for preset in windows windows64; do
    [ -n "${wine_log[$preset]:-}" ] || continue
    [ -z "${wine_pid[$preset]:-}" ] || wait "${wine_pid[$preset]}"
    report "$preset" "${wine_log[$preset]}" "${wine_title[$preset]}"
done

# The README's main job, as a new user runs it: the wizard installs the sample medium's receipt printer.
echo "=== main job (scripts/run-main.sh)"
main_log=$(mktemp)
if bash scripts/run-main.sh >"$main_log" 2>&1; then passed=$((passed + 1)); tail -1 "$main_log"
else failed=$((failed + 1)); status=1; tail -40 "$main_log"; echo "main job: FAILED"; fi
rm -f "$main_log"

echo "wall time: $(( $(date +%s) - start )) s"
echo "tests: ${passed} passed, ${failed} failed"
exit $status
