#!/bin/sh
# Checks that a program carries the resources it needs: objdump lists the resource directory of the
# PE file as type and name entries, which are compared with the expected "type/name" pairs.
# usage: resources-land.sh OBJDUMP PROGRAM.exe TYPE/NAME...
objdump=$1
program=$2
shift 2
found=$("$objdump" -p "$program" | awk '
    /^[0-9a-f]+   Entry: ID:/ { type = $4; sub(",", "", type) }
    /^[0-9a-f]+     Entry: ID:/ { name = $4; sub(",", "", name); print type, name }' | while read -r type name; do
        echo "$((type))/$((name))"
    done)
status=0
for wanted in "$@"; do
    if ! printf '%s\n' "$found" | grep -qx "$wanted"; then
        echo "$program lacks resource $wanted" >&2
        status=1
    fi
done
exit $status
