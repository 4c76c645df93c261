#!/usr/bin/env bash
# The wizard of the assembled medium under Wine, worked like a person at the till: found by its caption,
# paged through with clicks, list picks and keys and back, its texts read against the language file, the
# states of its buttons and the port list checked; for Windows XP, for Vista, for a model that Server 2003
# refuses, and once with the English language set. Screenshots of every page stay in OUTPUT_DIR.
# Usage: wizard.sh DRIVER MEDIUM OUTPUT_DIR
set -u
driver=$1 medium=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
W="$here/wine-run.sh"
source "$here/edition.sh"
rm -rf "$out"
mkdir -p "$out"
status=0

# A text of the language file, as the driver's scripts take them (UTF-8).
text() { iconv -f CP936 -t UTF-8 "$1/language/setup.ini" | tr -d '\r' |
    awk -v section="[$2]" -v key="$3" '$0 == section { on = 1; next } /^\[/ { on = 0 }
        on && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }'; }

set_version() { "$W" reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1; }

# Runs one session of setup.exe from the medium folder with the script on standard input.
session() {
    local name=$1 folder=$2
    if "$here/gui-session.sh" --out "$out/$name" "$driver" "$folder/setup$X.exe" >"$out/$name.log" 2>&1; then
        echo "ok: $name ($(ls "$out/$name"/*.png 2>/dev/null | wc -l) screenshots)"
    else
        echo "FAIL: $name"
        cat "$out/$name.log"
        status=1
    fi
}

m=$medium
caption=$(text "$m" Setup Caption)

# The sample medium's default device is the receipt printer ZMX-M530; ZMX-T310 offers Advanced and four
# USB ports; the Ticket class lists ZMX-T300, ZMX-T310.
set_version winxp
session winxp "$m" <<SCRIPT
wait "$caption" 20
activate
expect caption = $caption
expect text 1 = $(text "$m" Setup Next)
expect text 1002 = $(text "$m" Setup Back)
expect text 1093 = $(text "$m" Setup Help)
expect enabled 1 = 0
expect enabled 1002 = 0
expect text 1090 = $(text "$m" Legal Agreement)
expect checked 1058 = 1
shot 0-agreement
click 1057
expect enabled 1 = 1
click 1058
expect enabled 1 = 0
key Enter
expect visible 1057 = 1
click 1057
key Enter
expect visible 1019 = 1
expect text 1094 = $(text "$m" Series Select)
expect text 1019 = $(text "$m" Series Receipt)
expect checked 1019 = 1
expect text 1030 = ZMX-M530
expect enabled 1031 = 0
expect enabled 1002 = 1
expect focus = 1
shot 1-printer
click 1020
expect enabled 1031 = 1
expect enabled 1030 = 0
select 1031 ZMX-T310
click 1046
click 1
expect visible 1066 = 1
expect text 1103 = $(text "$m" Mode Type)
expect enabled 1067 = 1
click 1067
expect visible 1069 = 1
expect text 1068 = $(text "$m" Mode Note2)
shot 2-mode
key Alt+B
expect visible 1019 = 1
expect checked 1020 = 1
expect text 1031 = ZMX-T310
expect checked 1046 = 1
key Enter
expect checked 1067 = 1
key Enter
expect visible 1029 = 1
expect checked 1029 = 1
expect enabled 1029 = 1
expect enabled 1076 = 0
expect text 1094 = $(text "$m" System Select)
shot 3-system
key Enter
expect visible 1049 = 1
expect text 1 = $(text "$m" Setup Install)
expect text 1095 = $(text "$m" Confirm Set)
expect count 1049 = 15
expect item 1049 0 = KXCOM1:
expect item 1049 14 = USB_ZMX-T310_4
expect focus = 1
# The medium's USB library reports one printer with ID 0: port 1 is chosen and serial settings are off.
expect text 1049 = USB_ZMX-T310_1
expect enabled 1041 = 0
expect visible 1052 = 1
expect enabled 1052 = 1
expect visible 1065 = 1
shot 4-port
select 1049 KXCOM2:
expect enabled 1041 = 1
expect text 1041 = 115200
expect enabled 1052 = 0
expect visible 1065 = 0
shot 4-port-serial
select 1049 LPT1:
expect enabled 1041 = 0
expect enabled 1052 = 1
key Shift+Tab
expect focus = 1002
key Tab
expect focus = 1
key Tab
expect focus = 2
key F1
expect caption = $caption
key Alt+B
expect visible 1029 = 1
expect text 1 = $(text "$m" Setup Next)
key Esc
closed 10
exit
SCRIPT

set_version vista
session vista "$m" <<SCRIPT
wait "$caption" 20
activate
click 1057
click 1
expect checked 1019 = 1
click 1
expect enabled 1067 = 1
click 1
expect visible 1076 = 1
expect checked 1076 = 1
expect enabled 1029 = 0
shot 3-system
click 1
expect visible 1049 = 1
expect count 1049 = 12
expect text 1049 = USB_ZMX-M530_1
shot 4-port
click 2
closed 10
exit
SCRIPT

# ZMX-T300 supports neither Server 2003 nor Vista nor 64-bit Windows: the wizard says so and stays on the
# system page. The x64 edition asks for its x64 drivers on every Windows.
refusal=IDS_NOTSUPPORT2003
[ -z "$X" ] || refusal=IDS_NOTSUPPORTX64
set_version win2003
session refused-2003 "$m" <<SCRIPT
wait "$caption" 20
activate
click 1057
click 1
click 1020
select 1031 ZMX-T300
click 1
expect enabled 1067 = 0
expect checked 1066 = 1
click 1
expect checked 1075 = 1
click 1
wait-box setup
expect message = $(text "$m" Message $refusal)
shot-window refusal
click ok
wait "$caption"
expect visible 1075 = 1
expect text 1 = $(text "$m" Setup Next)
shot 3-system-after
click 2
closed 10
exit
SCRIPT

# The English language set in place of the Chinese one.
english=$(mktemp -d)
cp -r "$medium/." "$english/"
cp "$english/language-en/setup.ini" "$english/language/setup.ini"
set_version winxp
en_caption=$(text "$english" Setup Caption)
session english "$english" <<SCRIPT
wait "$en_caption" 20
activate
expect text 1 = $(text "$english" Setup Next)
expect text 1057 = $(text "$english" Legal Accept)
shot 0-agreement
click 1057
click 1
expect text 1019 = $(text "$english" Series Receipt)
shot 1-printer
click 1
expect text 1066 = $(text "$english" Mode Typical)
shot 2-mode
click 1
shot 3-system
click 1
expect text 1098 = $(text "$english" Confirm BaudRate)
shot 4-port
click 2
closed 10
exit
SCRIPT
rm -rf "$english"
"$W" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
exit $status
