#!/usr/bin/env bash
# gui-session.sh on a window the medium already has: the stand-in USB driver installer, started with "2",
# is found by its caption on the virtual desktop, photographed with its frame, seen to close by itself,
# and ends with exit code 0 having placed bulkusb.sys.
# Usage: gui-session-test.sh DRIVER MEDIUM OUTPUT_DIR
set -u
driver=$1 medium=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
source "$here/edition.sh"
# The kit of the prefix's edition: a 32-bit installer in a 64-bit Windows would place the driver in SysWOW64.
kit=USBDrv
[ -z "$X" ] || kit=USBDrv/x64
rm -rf "$out"
mkdir -p "$(dirname "$out")"
placed="$WINEPREFIX/drive_c/windows/system32/drivers/bulkusb.sys"
rm -f "$placed"
"$here/gui-session.sh" --out "$out" "$driver" "$medium/$kit/Install.exe" 2 >"$out.log" 2>&1 <<'SCRIPT'
wait "VORL print system setup" 10
expect caption = VORL print system setup
shot installer
closed 10
exit
SCRIPT
code=$?
status=0
colours=$(identify -format '%k' "$out/installer.png" 2>/dev/null)
if [ $code -eq 0 ] && grep -q '^exit = 0$' "$out.log" && [ "${colours:-0}" -gt 8 ] && [ -f "$placed" ]; then
    echo "ok: the USB driver installer's window seen, photographed ($colours colours), closed; exit code 0"
else
    echo "FAIL: session exit $code, screenshot colours '${colours:-}', bulkusb.sys placed: $([ -f "$placed" ] && echo yes || echo no)"
    cat "$out.log"
    status=1
fi
rm -f "$placed"
exit $status
