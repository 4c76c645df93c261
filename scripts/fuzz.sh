#!/usr/bin/env bash
# Fuzzes the readers of outside files with libFuzzer for a fixed time per target (default 60 s):
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]
# Seeds are the sample medium's INI files and tests/fuzz/corpus/TARGET; an input that makes a target fail
# is kept in tests/fuzz/regressions/TARGET, which the unit tests replay from then on.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(profile model-config uninstall-catalogue language-text serial-settings)

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1; then
    sudo_ apt-get update -q
    sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends clang libclang-rt-14-dev
fi
bash scripts/install-deps.sh || exit 1
log=$(mktemp)
{ cmake --preset fuzz && cmake --build --preset fuzz -j"$(nproc)" --target $(printf 'fuzz-%s ' "${targets[@]}"); } >"$log" 2>&1 ||
    { cat "$log"; echo "fuzz build failed"; exit 1; }
# The fuzz build is held to the same bar as the others: no warnings.
if grep -E 'warning:' "$log"; then echo "fuzz build has warnings"; rm -f "$log"; exit 1; fi
rm -f "$log"

status=0
for target in "${targets[@]}"; do
    corpus=$(mktemp -d)
    find medium -iname '*.ini' -exec cp {} "$corpus/" \; 2>/dev/null
    [ -d "tests/fuzz/corpus/$target" ] && cp "tests/fuzz/corpus/$target"/* "$corpus/" 2>/dev/null
    artifacts=$(mktemp -d)
    build/fuzz/fuzz-"$target" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$artifacts/" "$corpus" >"$artifacts/log" 2>&1
    code=$?
    runs=$(grep -o 'Done [0-9]* runs' "$artifacts/log" | tail -1)
    found=$(find "$artifacts" -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' | head -5)
    if [ -n "$found" ]; then
        mkdir -p "tests/fuzz/regressions/$target"
        cp $found "tests/fuzz/regressions/$target/"
        echo "$target: FAILED, kept in tests/fuzz/regressions/$target: $(basename -a $found | tr '\n' ' ')"
        grep -m3 -E 'ERROR|SUMMARY' "$artifacts/log"
        status=1
    elif [ $code -ne 0 ] || [ -z "$runs" ]; then
        # No finding, yet the fuzzer failed or never finished its run: it did not fuzz.
        echo "$target: FAILED, the fuzzer exited $code with ${runs:-no run count}:"
        tail -5 "$artifacts/log"
        status=1
    else
        echo "$target: $runs, no failure in ${seconds} s"
    fi
    rm -rf "$corpus" "$artifacts"
done
exit $status
