#!/usr/bin/env bash
# The wizard of the assembled medium installs printers under Wine, worked like a person at the till: the
# receipt printer on a serial port with chosen settings as the default printer (XP), with the test page it
# offers afterwards sent to the port (the other cases decline it), a printer on LPT1:
# (Vista), the same model on LPT1: for 98/Me with its restart question declined, a USB printer whose ID
# must change to match its port, and a model that Server 2003 refuses, which leaves nothing installed.
# After each closing message the spooler, the registry and the profile are checked as install-printer.sh
# checks them. Screenshots of the pages, the progress window and the
# messages stay in OUTPUT_DIR.
# Usage: wizard-install.sh DRIVER MEDIUM OUTPUT_DIR
set -u
driver=$1 medium=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
W="$here/wine-run.sh"
source "$here/edition.sh"
source "$here/installed-checks.sh"
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
ok() { echo "ok: $*"; }

# A text of the language file, as the driver's scripts take them (UTF-8).
text() { iconv -f CP936 -t UTF-8 "$medium/language/setup.ini" | tr -d '\r' |
    awk -v section="[$1]" -v key="$2" '$0 == section { on = 1; next } /^\[/ { on = 0 }
        on && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'; }
# A message as setup shows it and gui-driver prints it: the first \1, \2 and \3 of the text are line breaks.
message() { text Message "$1" | sed -e 's/\\1/\\r\\n/' -e 's/\\2/\\r\\n/' -e 's/\\3/\\r\\n/'; }

set_version() { "$W" reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1; }

# Runs one session of setup.exe from the folder with the script on standard input; false when it failed.
session() {
    local name=$1 folder=$2
    if "$here/gui-session.sh" --out "$out/$name" "$driver" "$folder/setup$X.exe" >"$out/$name.log" 2>&1; then
        return 0
    fi
    fail "$name: the session failed"
    cat "$out/$name.log"
    return 1
}

# The default receipt model ZMX-M530 on LPT1: through every page, up to the closing message taken with OK;
# RADIO is the install mode's radio button the generation preselects. A case ends the script itself.
default_model_on_lpt1() {
    cat <<SCRIPT
wait "$caption" 20
activate
click 1057
click 1
expect text 1030 = ZMX-M530
click 1
click 1
expect checked $1 = 1
click 1
select 1049 LPT1:
expect enabled 1041 = 0
shot-window 4-port
click 1
wait "" 10
shot 5-progress
wait-box setup 60
expect message = $(message IDS_INF_NTRESTART)
shot-window 6-done
click ok
SCRIPT
}

# A printer of the name left by an earlier run in this prefix is removed first: Windows would name the
# new one NAME(1), and Wine's AddPrinterA would write over it.
clear_printer() {
    subkeys "$printers_key" | grep -qxF "$1" || return 0
    "$W" uninstall-printer$X.exe --remove "$1" >/dev/null 2>&1
    ! subkeys "$printers_key" | grep -qxF "$1" || fail "cannot remove the printer $1 left from before"
}

# What the wizard could have added: printers, monitors, processors and drivers, and our files in the
# system.
installed_state() {
    "$W" reg query 'HKLM\System\CurrentControlSet\Control\Print' /s 2>/dev/null | tr -d '\r' |
        sed -n 's/^HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\//p' |
        grep -E '^(Printers|Monitors|Environments\\[^\\]*\\(Drivers\\[^\\]*|Print Processors))\\[^\\]*$'
    local system32=$WINEPREFIX/drive_c/windows/system32
    ls "$system32" "$system32/spool/drivers/"* 2>/dev/null | grep -i '^VL'
}

cd "$medium" || exit 2
environment=$(spooler_environment)
[ -n "$environment" ] || { echo "FAIL: setup-probe$X.exe names no spooler environment"; exit 1; }
caption=$(text Setup Caption)
install=$(text Setup Install)
default_device() { query "$profile_key\Windows" Device; }

# The Windows of each case: the PE32 edition's, or in a 64-bit prefix the 64-bit Windows the x64 edition
# knows (there is no 64-bit XP but XP x64, which reports 5.2, and no 64-bit 98/Me), with the radio the
# system page selects for it.
if [ -z "$X" ]; then
    refused_version=win2003 refused_radio=1075 refused_key=IDS_NOTSUPPORT2003
    serial_version=winxp serial_radio=1029 usb_version=winxp
else
    refused_version=win10 refused_radio=1076 refused_key=IDS_NOTSUPPORTX64
    serial_version=win10 serial_radio=1076 usb_version=win7
fi

# ZMX-T300 supports neither Server 2003 nor Vista, nor 64-bit Windows: the wizard refuses it on the system
# page, and Cancel leaves the system as it was.
set_version $refused_version
before=$(installed_state)
session refused-2003 "$medium" <<SCRIPT
wait "$caption" 20
activate
click 1057
click 1
click 1020
select 1031 ZMX-T300
click 1
click 1
expect checked $refused_radio = 1
click 1
wait-box setup
expect message = $(message $refused_key)
shot-window refusal
click ok
wait "$caption"
expect visible $refused_radio = 1
click 2
closed 10
exit 10
SCRIPT
after=$(installed_state)
if [ "$before" = "$after" ]; then ok "refused-2003: refused, nothing installed"
else fail "refused-2003: the system changed: $(diff <(echo "$before") <(echo "$after") | grep '^[<>]' | paste -sd' ')"
fi

# Windows XP: the receipt printer ZMX-M530 on KXCOM1: at 19200 baud, even parity, 7 data bits, 2 stop bits
# and Xon/Xoff, as the default printer. The standard driver lists the system's Unidrv files among its
# dependent files without bringing them: Wine's AddPrinterDriverA takes it without them, while Windows (and
# the simulation) refuses it with error 2 unless an earlier Unidrv printer left them in the driver directory.
set_version $serial_version
clear_printer "ZMX-M530(S)"
# Wine hands a job to the file its spooler names for the port (install-printer.sh says why).
port_file=$work/KXCOM1.out
: >"$port_file"
"$W" reg add 'HKCU\Software\Wine\Printing\Spooler' /v KXCOM1: /d "$port_file" /f >/dev/null 2>&1
session $serial_version "$medium" <<SCRIPT
wait "$caption" 20
activate
click 1057
click 1
expect text 1030 = ZMX-M530
expect checked 1046 = 0
click 1046
expect checked 1046 = 1
shot-window 1-printer
click 1
click 1
expect checked $serial_radio = 1
click 1
expect text 1 = $install
select 1049 KXCOM1:
expect enabled 1041 = 1
select 1041 19200
select 1043 $(text Confirm Parity.Even)
select 1042 7
select 1044 2
select 1045 $(text Confirm Protocol.Xonoff)
shot-window 4-port
click 1
wait "" 10
expect visible 1079 = 1
shot 5-progress
wait-box setup 60
expect message = $(message IDS_INF_NTRESTART)
shot-window 6-done
click ok
wait-box setup 20
expect message = $(message IDS_INF_TESTPAGE)
shot-window 7-test-page
click yes
wait-box setup 20
expect message = $(message IDS_INF_TESTPAGEDONE)
shot-window 8-test-page-sent
click ok
exit 20
SCRIPT
serial_session=$?
"$W" reg delete 'HKCU\Software\Wine\Printing\Spooler' /v KXCOM1: /f >/dev/null 2>&1
if [ $serial_session -eq 0 ]; then
    was=$status
    name="ZMX-M530(S)"
    if grep -qaF "Printer: $name" "$port_file" && grep -qa '^Port:    KXCOM1:$' "$port_file" &&
        [ "$(tail -c 4 "$port_file" | od -An -tx1 | tr -d ' \n')" = 1d564200 ]; then
        ok "$serial_version: the test page answered Yes put $(wc -c <"$port_file") bytes on KXCOM1:"
    else
        fail "$serial_version: the test page left $(wc -c <"$port_file") bytes at KXCOM1:: $(cat -v "$port_file")"
    fi
    why=$(check_printer "$name" KXCOM1: "VORL ZMX-M530") || fail "$serial_version: $why"
    why=$(check_listed "$name" "VORL ZMX-M530" KXCOM1:) || fail "$serial_version: $why"
    why=$(check_stamps "$environment" "VORL COM Monitor") || fail "$serial_version: $why"
    why=$(check_serial_settings COM1: "19200,e,7,2,x") || fail "$serial_version: $why"
    why=$(check_default_printer "$name") || fail "$serial_version: $why"
    why=$(check_profile "$name" KXCOM1:) || fail "$serial_version: $why"
    why=$(check_edition_files) || fail "$serial_version: $why"
    [ $status -eq "$was" ] &&
        ok "$serial_version: $name on KXCOM1:, listed, stamps, COM1: 19200,e,7,2,x, default printer"
fi

# Vista: ZMX-M530 on LPT1:, which takes the raster driver; the default printer stays as it was. Setup
# takes the system's Unidrv files of that driver from Vista's driver store (without them the installation
# would end on "Couldn't find system fiels.").
set_version vista
clear_printer "ZMX-M530(P)"
plant_store "$medium"
default=$(default_device)
session vista "$medium" < <(default_model_on_lpt1 1076 && cat <<SCRIPT
wait-box setup 20
expect message = $(message IDS_INF_TESTPAGE)
click no
exit 20
SCRIPT
)
vista_session=$?
rm -rf "$store"
if [ $vista_session -eq 0 ]; then
    was=$status
    name="ZMX-M530(P)"
    why=$(check_printer "$name" LPT1: "VORL ZMX-M530 Raster") || fail "vista: $why"
    why=$(check_listed "$name" "VORL ZMX-M530 Raster" LPT1:) || fail "vista: $why"
    why=$(check_profile "$name" LPT1:) || fail "vista: $why"
    [ "$(default_device)" = "$default" ] || fail "vista: the default printer became '$(default_device)'"
    [ $status -eq "$was" ] && ok "vista: $name on LPT1:, listed, default printer unchanged"
fi

# Windows 98/Me: the default model ZMX-M530 on LPT1:, which takes the raster driver. Its 98/Me driver
# needs the colour library that setup copies by its own name, beside the files of the model file. Setup
# closes with the restart question of 98/Me; No leaves Windows running. Wine files the driver under the
# 98/Me environment "Windows 4.0" and copies the files into its own driver directory. Windows 98 has the
# print-processor directory that Wine names for it but does not make: without it, an installation after
# an earlier one of 98/Me in this prefix (install-printer.sh has one) finds the processor's file missing
# and cannot put it back.
if [ -z "$X" ]; then
set_version win98
clear_printer "ZMX-M530(P)"
mkdir -p "$WINEPREFIX/drive_c/windows/system32/spool/prtprocs/win40"
drivers=$WINEPREFIX/drive_c/windows/system32/spool/drivers
rm -f "$drivers"/*/DMCOLOR.DLL
session win98 "$medium" < <(default_model_on_lpt1 1026 && cat <<SCRIPT
wait-box setup 20
expect message = $(message IDS_INF_RESTART)
shot-window 7-restart
click no
exit 20
SCRIPT
)
if [ $? -eq 0 ]; then
    was=$status
    name="ZMX-M530(P)"
    key="$environments_key\Windows 4.0\Drivers\Version-0\VORL ZMX-M530 Raster"
    [ -n "$(query "$key" Driver)" ] || fail "win98: no driver under $key"
    why=$(check_printer "$name" LPT1: "VORL ZMX-M530 Raster") || fail "win98: $why"
    why=$(check_listed "$name" "VORL ZMX-M530 Raster" LPT1:) || fail "win98: $why"
    why=$(check_profile "$name" LPT1:) || fail "win98: $why"
    ls "$drivers"/*/DMCOLOR.DLL >/dev/null 2>&1 || fail "win98: DMCOLOR.DLL is not in the driver directory"
    [ $status -eq "$was" ] &&
        ok "win98: $name on LPT1:, driver under Windows 4.0, DMCOLOR.DLL copied, restart declined"
fi
fi

# One USB printer whose ID (9) belongs to port 2, while Typical installs on USB_ZMX-T310_1; no bulk driver
# yet. Install runs the medium's USB driver installer and waits until its window has closed (the click
# returns only with the question after it), then asks to change the printer's ID, in front of the wizard;
# Yes writes the ID of port 1 (value 0) into the stand-in library's printers.
set_version $usb_version
clear_printer "ZMX-T310(U) 1"
[ -z "$X" ] || plant_store "$medium"
usb=$work/usb
cp -r "$medium/." "$usb"
printf '[Devices]\r\n0=9\r\n' >"$usb/KxUsbInt.ini"
rm -f "$WINEPREFIX/drive_c/windows/system32/drivers/bulkusb.sys"
default=$(default_device)
session "usb-$usb_version" "$usb" <<SCRIPT
wait "$caption" 20
activate
click 1057
click 1
click 1020
select 1031 ZMX-T310
click 1
expect checked 1066 = 1
click 1
click 1
expect text 1049 = USB_ZMX-T310_1
expect visible 1065 = 1
shot-window 4-port
click 1
wait-box setup 20
expect message = $(message IDS_INF_CHANGEID)
expect foreground = setup
shot-window 5-change-id
click yes
wait "" 10
shot 6-progress
wait-box setup 60
expect message = $(message IDS_INF_USBRESTART)
shot-window 7-done
click ok
wait-box setup 20
expect message = $(message IDS_INF_TESTPAGE)
click no
exit 20
SCRIPT
if [ $? -eq 0 ]; then
    was=$status
    name="ZMX-T310(U) 1"
    ids=$(tr -d '\r' <"$usb/KxUsbInt.ini" | sed -n '/^\[Devices\]/,/^\[/{/^[0-9]/p}' | paste -sd' ')
    [ "$ids" = "0=0" ] || fail "usb: the library's printers are '$ids', not 0=0"
    [ -f "$WINEPREFIX/drive_c/windows/system32/drivers/bulkusb.sys" ] ||
        fail "usb: the USB driver installer placed no bulkusb.sys"
    why=$(check_printer "$name" USB_ZMX-T310_1 "VORL ZMX-T310 Raster") || fail "usb: $why"
    why=$(check_listed "$name" "VORL ZMX-T310 Raster" USB_ZMX-T310_1) || fail "usb: $why"
    why=$(check_stamps "$environment" "VORL USB Monitor") || fail "usb: $why"
    [ "$(query 'HKLM\Software\TARNOVA\PRINTERPORT' USB_ZMX-T310_1)" = 0x0 ] ||
        fail "usb: USB_ZMX-T310_1 not marked as used"
    [ "$(default_device)" = "$default" ] || fail "usb: the default printer became '$(default_device)'"
    why=$(check_edition_files) || fail "usb: $why"
    [ $status -eq "$was" ] &&
        ok "usb ($usb_version): driver installed, ID 9 changed to 0 after the question, $name on USB_ZMX-T310_1"
fi
[ -z "$X" ] || rm -rf "$store"

"$W" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
exit $status
