#!/usr/bin/env bash
# The product's 32-bit install-printer.exe in a 64-bit Windows: it must refuse with exit 3 and the language
# file's text before it changes anything, as a 32-bit setup would register its 32-bit drivers with a
# 64-bit spooler that cannot load them. It runs in a 64-bit prefix of its own, beside the suite's 32-bit
# one; only the 32-bit flavour can run the 32-bit product there.
set -u
medium=$1
here=$(cd "$(dirname "$0")" && pwd)
W="$here/wine-run.sh"
status=0
fail() { echo "FAIL: $*"; status=1; }
ok() { echo "ok: $*"; }

if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "skipped: this machine cannot execute 32-bit Linux programs, so Wine cannot start a 32-bit program"
    exit 77
fi
WINEPREFIX=$(WINE_FLAVOUR=64 bash "$here/../../scripts/wine-prefix.sh") || { echo "FAIL: no 64-bit prefix"; exit 1; }
export WINEPREFIX
trap 'wineserver -k 2>/dev/null; rm -rf "$(dirname "$WINEPREFIX")"' EXIT
cd "$medium" || exit 2

# What an installation would change: the print system's keys and the spooler's files.
state() {
    "$W" reg export 'HKLM\System\CurrentControlSet\Control\Print' 'C:\print.reg' /y >/dev/null 2>&1
    iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/print.reg" | tr -d '\r'
    (cd "$WINEPREFIX/drive_c/windows" && find system32/spool syswow64/spool -type f 2>/dev/null | sort)
}
before=$(state)
"$W" install-printer.exe --model ZMX-M530 --port LPT1: --default --log 'C:\wow64.log' >/dev/null 2>&1
code=$?
refusal=$(iconv -f CP936 -t UTF-8 language/setup.ini | tr -d '\r' | sed -n 's/^IDS_NOTSUPPORT64=//p' | head -1)
[ -n "$refusal" ] || fail "the language file has no IDS_NOTSUPPORT64"
if [ $code -eq 3 ] && grep -qF "$refusal" "$WINEPREFIX/drive_c/wow64.log"; then
    ok "32-bit install-printer on 64-bit Windows: exit 3, the language file's refusal in the log"
else
    fail "32-bit install-printer on 64-bit Windows: exit $code; log: $(cat "$WINEPREFIX/drive_c/wow64.log" 2>/dev/null)"
fi
[ "$before" = "$(state)" ] && ok "nothing changed in the print system's keys and files" ||
    fail "the refused installation changed: $(diff <(echo "$before") <(state) | head -20)"
exit $status
