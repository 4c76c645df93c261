#!/usr/bin/env bash
# The PE32 programs of the full medium in a 64-bit Windows hand over to the x64 edition beside them: setup.exe
# brings up the x64 wizard, install-printer.exe returns install-printer64.exe's exit code with the printer
# installed under "Windows x64", uninstall.exe and uninstall-printer.exe hand over too. From a copy of the
# medium without the x64 programs each refuses with its language file's text, and the print system's keys
# and files stay byte-identical. It needs Wine's 32-bit loader beside the 64-bit one.
# Usage: handover.sh DRIVER MEDIUM OUTPUT_DIR
set -u
driver=$1 medium=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
W="$here/wine-run.sh"
source "$here/installed-checks.sh"
status=0
fail() { echo "FAIL: $*"; status=1; }
ok() { echo "ok: $*"; }
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
grep -q '^#arch=win64' "$WINEPREFIX/system.reg" || { echo "FAIL: the prefix is no 64-bit one"; exit 1; }
/usr/lib/wine/wine --version >/dev/null 2>&1 || { echo "FAIL: this machine cannot run Wine's 32-bit loader"; exit 1; }
for program in setup uninstall install-printer uninstall-printer; do
    file -b "$medium/$program.exe" | grep -q '^PE32 executable' || { echo "FAIL: $program.exe is no PE32 program"; exit 1; }
    file -b "$medium/${program}64.exe" | grep -q '^PE32+ executable' || { echo "FAIL: ${program}64.exe is missing"; exit 1; }
done
text() {  # FILE SECTION KEY, as the driver's scripts and the companions' output have it (UTF-8)
    iconv -f CP936 -t UTF-8 "$1" | tr -d '\r' | awk -v section="[$2]" -v key="$3" '$0 == section { on = 1; next }
        /^\[/ { on = 0 } on && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'; }
session() {  # NAME FOLDER PROGRAM, the script on standard input
    if "$here/gui-session.sh" --out "$out/$1" "$driver" "$2/$3" >"$out/$1.log" 2>&1; then return 0; fi
    fail "$1: the session failed"
    cat "$out/$1.log"
    return 1
}
"$W" reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
caption=$(text "$medium/language/setup.ini" Setup Caption)
cd "$medium" || exit 2
# A printer of that name left by an earlier test of the prefix goes first: Wine would write over it.
if subkeys "$printers_key" | grep -qxF "ZMX-M530(S)"; then "$W" uninstall-printer64.exe --remove "ZMX-M530(S)" >/dev/null 2>&1; fi

# install-printer.exe: the twin's output and exit code, the printer under the x64 environment.
said=$("$W" install-printer.exe --model ZMX-M530 --port KXCOM3: 2>&1)
code=$?
said=$(tr -d '\r' <<<"$said")
key="$environments_key\Windows x64\Drivers\Version-3\VORL ZMX-M530"
if [ $code -eq 0 ] && [ "$(tail -1 <<<"$said")" = installed ] && [ -n "$(query "$key" Driver)" ] &&
    [ "$(query "$printers_key\\ZMX-M530(S)" Port)" = KXCOM3: ] && why=$(check_edition_files); then
    ok "install-printer.exe: exit 0 with install-printer64.exe's output, the driver under Windows x64"
else
    fail "install-printer.exe: exit $code, driver '$(query "$key" Driver)', ${why:-}: $(iconv -f CP936 -t UTF-8 -c <<<"$said" | tail -5)"
fi
# An exit code other than 0, told in full: a batch file reports it before the shell cuts it to a byte.
printf 'install-printer.exe --model ZMX-M530 --port IR1:\r\n@echo exit %%errorlevel%%\r\n' >"$work/refused.cmd"
cmd=$("$W" winepath -w "$work/refused.cmd" 2>/dev/null | tr -d '\r')
said=$("$W" cmd /c "$cmd" 2>&1 | tr -d '\r')
[ "$(tail -1 <<<"$said")" = "exit 3" ] && ok "install-printer.exe: install-printer64.exe's refusal, exit 3" ||
    fail "install-printer.exe with a port of no kind: $(tail -3 <<<"$said")"

# setup.exe ends at once; the x64 wizard takes over and refuses a model without x64 drivers, as only the
# x64 edition does (the PE32 one would refuse the whole Windows before its first page).
session setup "$medium" setup.exe <<SCRIPT
exit 20
wait "$caption" 20
activate
shot-window 0-x64-wizard
click 1057
click 1
click 1020
select 1031 ZMX-T300
click 1
click 1
click 1
wait-box setup
expect message = $(text "$medium/language/setup.ini" Message IDS_NOTSUPPORTX64)
click ok
wait "$caption"
click 2
closed 10
SCRIPT
[ $? -eq 0 ] && ok "setup.exe: the x64 wizard came up and refused ZMX-T300 for 64-bit Windows"

# uninstall.exe: the x64 uninstaller lists our processor, which only the x64 environment holds.
session uninstall "$medium" uninstall.exe <<SCRIPT
exit 20
wait "$(text "$medium/language/uninstall.ini" Uninstall Title)" 20
activate
shot-window 0-x64-uninstall
list 1010
key Esc
SCRIPT
if [ $? -eq 0 ]; then
    grep -q '^item 1010 [0-9]* = VORLPrint$' "$out/uninstall/session.log" &&
        ok "uninstall.exe: the x64 uninstaller lists VORLPrint of Windows x64" ||
        fail "uninstall.exe: the list lacks VORLPrint: $(grep '^item 1010' "$out/uninstall/session.log" | paste -sd'|')"
fi
said=$("$W" uninstall-printer.exe --remove "ZMX-M530(S)" 2>&1)
code=$?
# (Its driver stays while the printers of the tests before use it.)
[ $code -eq 0 ] && [ -z "$(query "$printers_key\\ZMX-M530(S)" Port)" ] && grep -q "ZMX-M530(S)" <<<"$said" &&
    ok "uninstall-printer.exe: removed the printer through uninstall-printer64.exe" ||
    fail "uninstall-printer.exe --remove: exit $code: $(tr -d '\r' <<<"$said" | iconv -f CP936 -t UTF-8 -c | tail -3)"

# Without the x64 programs: refusals, nothing changed.
copy=$work/medium
cp -r "$medium/." "$copy"
rm -f "$copy"/*64.exe
state() {
    "$W" reg export 'HKLM\System\CurrentControlSet\Control\Print' 'C:\print.reg' /y >/dev/null 2>&1
    iconv -f UTF-16 -t UTF-8 "$WINEPREFIX/drive_c/print.reg" | tr -d '\r'
    (cd "$WINEPREFIX/drive_c/windows" && find system32 syswow64 -path '*spool*' -type f -exec md5sum {} + 2>/dev/null | sort)
}
before=$(state)
setup_refusal=$(text "$copy/language/setup.ini" Message IDS_NOTSUPPORT64)
uninstall_refusal=$(text "$copy/language/uninstall.ini" Message IDS_NOTSUPPORT64)
[ -n "$setup_refusal" ] && [ -n "$uninstall_refusal" ] || fail "the language files lack IDS_NOTSUPPORT64"
for program in setup uninstall; do
    refusal=$setup_refusal
    [ $program = setup ] || refusal=$uninstall_refusal
    session $program-alone "$copy" $program.exe <<SCRIPT
wait-box $program 20
expect message = $refusal
shot-window refusal
click ok
exit 10
SCRIPT
    [ $? -eq 0 ] && ok "$program.exe without ${program}64.exe: refused with IDS_NOTSUPPORT64"
done
cd "$copy" || exit 2
for run in "install-printer.exe --model ZMX-M530 --port LPT1:" "uninstall-printer.exe --all"; do
    printf '%s\r\n@echo exit %%errorlevel%%\r\n' "$run" >"$work/alone.cmd"
    said=$("$W" cmd /c "$("$W" winepath -w "$work/alone.cmd" 2>/dev/null | tr -d '\r')" 2>&1 | tr -d '\r' |
        iconv -f CP936 -t UTF-8 -c)
    refusal=$setup_refusal
    [[ "$run" == uninstall* ]] && refusal=$uninstall_refusal
    if [ "$(tail -1 <<<"$said")" = "exit 3" ] && grep -qxF "$refusal" <<<"$said"; then ok "${run%% *} alone: exit 3 with its text"
    else fail "${run%% *} alone: $(tail -3 <<<"$said")"; fi
done
after=$(state)
[ "$before" = "$after" ] && ok "the refusals changed nothing in the print system's keys and files" ||
    fail "the refusals changed: $(diff <(echo "$before") <(echo "$after") | grep '^[<>]' | head -10 | paste -sd' ')"
"$W" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
exit $status
