#!/usr/bin/env bash
# The USB driver installer's window, seen by caption while it runs: its contract test on a display, the
# test run's own or a virtual one of its own.
set -u
tests=$1
here=$(cd "$(dirname "$0")" && pwd)
filter='--gtest_filter=UsbDriverInstaller.ShowsItsWindow*'
if [ -n "${DISPLAY:-}" ]; then
    out=$("$here/wine-run.sh" "$tests" "$filter" 2>&1)
    status=$?
else
    command -v xvfb-run >/dev/null || { echo "xvfb-run is missing" >&2; exit 1; }
    out=$(xvfb-run -a "$here/wine-run.sh" "$tests" "$filter" 2>&1)
    status=$?
fi
echo "$out"
# A skip here means the display did not reach Wine, and no test run means the filter found nothing: both
# are failures of this test.
if grep -q '\[  SKIPPED \]' <<<"$out"; then echo "FAIL: the window test skipped itself"; exit 1; fi
grep -qE '^\[  PASSED  \] [1-9][0-9]* tests?' <<<"$out" || { echo "FAIL: no window test passed"; exit 1; }
exit $status
