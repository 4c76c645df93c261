#!/usr/bin/env bash
# Both programs must be Windows GUI programs of the build's kind: "PE32 executable (GUI) Intel 80386" for
# the product. Usage: gui-binaries.sh KIND EXE...
set -u
want=$1
shift
status=0
for exe in "$@"; do
    kind=$(file -b "$exe")
    case "$kind" in
        "$want"*) echo "ok: $(basename "$exe"): $kind" ;;
        *) echo "FAIL: $(basename "$exe") is '$kind', expected '$want'"; status=1 ;;
    esac
done
exit $status
