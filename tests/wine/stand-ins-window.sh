#!/usr/bin/env bash
# The USB driver installer's window, seen by caption while it runs: its contract test on a virtual display.
set -u
tests=$1
here=$(cd "$(dirname "$0")" && pwd)
if [ -n "${DISPLAY:-}" ]; then
    exec "$here/wine-run.sh" "$tests" --gtest_filter='UsbDriverInstaller.ShowsItsWindow*'
fi
if ! command -v xvfb-run >/dev/null; then
    echo "xvfb-run is missing" >&2
    exit 1
fi
out=$(xvfb-run -a "$here/wine-run.sh" "$tests" --gtest_filter='UsbDriverInstaller.ShowsItsWindow*' 2>&1)
status=$?
echo "$out"
# A skip here means the display did not reach Wine: that is a failure of this test.
if grep -q '\[  SKIPPED \]' <<<"$out"; then exit 1; fi
exit $status
