#!/usr/bin/env bash
# uninstall.exe of the assembled medium under Wine, worked like a person at the till: beside two printers
# of ours stands one of another maker whose driver name holds a "0". The dialog, found by its caption from
# the language file, lists only ours; a first run removes one ticked printer and gives the list back, a
# second after Select all removes the rest; each ends with the restart question, answered No. The progress
# list shows the language file's lines, the spooler runs, and afterwards the other maker's printer is left
# and nothing of ours. Screenshots of the dialog before, during and after stay in OUTPUT_DIR.
# Usage: uninstall-gui.sh DRIVER MEDIUM OUTPUT_DIR
set -u
driver=$1 medium=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
W="$here/wine-run.sh"
source "$here/edition.sh"
status=0
fail() { echo "FAIL: $*"; status=1; }
ok() { echo "ok: $*"; }
source "$here/removal-fixture.sh"
rm -rf "$out"
mkdir -p "$out"

# A text of the language file (UTF-8, as the driver's scripts take them), its "%s" replaced by the
# second argument when there is one.
text() {
    iconv -f CP936 -t UTF-8 "$medium/language/uninstall.ini" | tr -d '\r' |
        awk -v section="[$1]" -v key="$2" '$0 == section { on = 1; next } /^\[/ { on = 0 }
            on && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'
}
said() { local t; t=$(text Message "$1"); [ $# -gt 1 ] && t=${t/\%s/$2}; printf '%s' "$t"; }
# Expectations of a list's entries, from index FIRST on, one argument each.
expect_items() {
    local id=$1 i=$2
    shift 2
    for entry in "$@"; do printf 'expect item %s %d = %s\n' "$id" "$i" "$entry"; i=$((i + 1)); done
}

"$W" reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
add_removal_printers "$medium"

caption=$(text Uninstall Title)
restart=$(text Reboot Title)
prompt=$(said IDS_SELECTPRN1)
# Wine's spooler enumerates its printers by name.
ours=("ZMX-L58(P)" "ZMX-M530(S)" "VORL COM Monitor" "VORLPrint")
# Wine refuses DeletePrinterDriverExA with DPD_DELETE_UNUSED_FILES (error 87, "unsupported"), where
# Windows deletes the driver and the run says IDS_DRV_SUCCESS: the driver stays installed under Wine.
driver_refused="$(said IDS_ERR_DRVDEL)    er=87"
removed_printer() {
    printf '%s\n' "$(said IDS_DELETING2 "$1")" "$(said IDS_SUCCESS "$1")" "$(said IDS_DRVDELETING "$1")" "$driver_refused"
}
mapfile -t first_run < <(printf '%s\n' "$prompt"; removed_printer "${ours[0]}"; printf '%s\n' "$prompt")
# Wine's DeletePrintProcessorA does nothing and says it succeeded: the run reports VORLPrint removed and
# deletes its DLL, while Wine's spooler keeps listing it (Windows forgets it).
mapfile -t second_run < <(removed_printer "${ours[1]}"
    for name in "${ours[2]}" "${ours[3]}"; do printf '%s\n' "$(said IDS_DELETING1 "$name")" "$(said IDS_SUCCESS "$name")"; done)

session=$out/session
"$here/gui-session.sh" --out "$session" "$driver" "$medium/uninstall$X.exe" >"$out/session.txt" 2>&1 <<SCRIPT
wait "$caption" 20
activate
expect caption = $caption
expect text 1006 = $(text Uninstall Note)
expect text 1002 = $(text Uninstall Uninstall)
expect text 1012 = $(text Uninstall Select)
expect text 2 = $(text Uninstall Exit)
expect count 1010 = ${#ours[@]}
$(expect_items 1010 0 "${ours[@]}")
expect ticked 1010 0 = 0
expect ticked 1010 3 = 0
expect checked 1019 = 0
expect count 1008 = 1
expect item 1008 0 = $prompt
shot before
tick 1010 3
untick 1010 3
tick 1010 0
expect ticked 1010 1 = 0
# The first run: one printer ticked, the entries after it unticked.
click 1002
expect enabled 1002 = 0
expect enabled 1010 = 0
expect enabled 1012 = 0
expect enabled 2 = 0
expect enabled 1019 = 0
# Esc and Alt+F4 (what the close box does) are refused while the run goes on.
key Esc Alt+F4
expect caption = $caption
shot running
wait "$restart" 30
expect text 1014 = $(text Reboot Note1)
expect text 1015 = $(text Reboot Note2)
expect text 1016 = $(text Reboot Note3)
expect text 1 = $(text Reboot Yes)
expect text 2 = $(text Reboot No)
shot-window restart
click 2
wait "$caption"
expect enabled 1019 = 1
expect enabled 1002 = 1
expect enabled 1010 = 1
expect enabled 1012 = 1
expect enabled 2 = 1
expect count 1010 = 3
$(expect_items 1010 0 "${ours[@]:1}")
expect count 1008 = ${#first_run[@]}
$(expect_items 1008 0 "${first_run[@]}")
expect selected 1008 = $((${#first_run[@]} - 1))
expect service Spooler = running
shot after-first
# The second run: everything that is left.
click 1012
expect ticked 1010 0 = 1
expect ticked 1010 1 = 1
expect ticked 1010 2 = 1
shot ticked
click 1002
expect enabled 1002 = 0
wait "$restart" 30
click 2
wait "$caption"
expect enabled 2 = 1
expect count 1010 = 0
# An empty list gives back only Exit, and no prompt.
expect enabled 1002 = 0
expect enabled 1010 = 0
expect enabled 1012 = 0
expect enabled 1019 = 0
expect count 1008 = $((${#first_run[@]} + ${#second_run[@]}))
$(expect_items 1008 ${#first_run[@]} "${second_run[@]}")
expect service Spooler = running
shot after
click 2
closed 10
exit
SCRIPT
code=$?
if [ $code -eq 0 ] && grep -q '^exit = 0$' "$session/session.log"; then
    ok "dialog: only ours listed, a run of one ticked printer, a run after Select all, restart question answered No, progress lines, spooler running ($(ls "$session"/*.png | wc -l) screenshots)"
else
    fail "the session (exit $code)"
    cat "$out/session.txt"
fi

check_removal_left
# The run deletes the processor's DLL from the processor directory.
processors=$("$W" winepath -u 'C:\windows\system32\spool\prtprocs' 2>/dev/null | tr -d '\r')
[ -n "$processors" ] && find "$processors" -iname VLPRTPRC.DLL | grep -q . && fail "VLPRTPRC.DLL is still in $processors"
[ $status -eq 0 ] && ok "afterwards: the other maker's printer kept, none of ours, the COM monitor and its DLLs gone"
"$W" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
exit $status
