#!/usr/bin/env bash
# Both programs must be 32-bit Windows GUI programs.
set -u
status=0
for exe in "$@"; do
    kind=$(file -b "$exe")
    case "$kind" in
        "PE32 executable (GUI) Intel 80386"*) echo "ok: $(basename "$exe"): $kind" ;;
        *) echo "FAIL: $(basename "$exe") is '$kind'"; status=1 ;;
    esac
done
exit $status
