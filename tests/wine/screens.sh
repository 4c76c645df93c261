#!/usr/bin/env bash
# Every screen of setup and uninstall under Wine, in one language set, photographed and checked for cut
# texts (gui-driver's `fits` after each window): the wizard's five pages (tour setup.gui); an installation
# on a USB port with the printer-ID question, the progress window, the closing message and the test-page
# question (setup-usb.gui); and the uninstaller before, during and after it removes all of ours, with its
# restart question (uninstall-removal.gui). The prefix ends with nothing of ours in it.
# The PNGs go to OUTPUT_DIR/LANGUAGE, named after their shots; each tour's log beside them.
# Usage: screens.sh DRIVER MEDIUM OUTPUT_DIR zh|en
set -u
driver=$1 medium=$2 out=$3 language=$4
here=$(cd "$(dirname "$0")" && pwd)
W="$here/wine-run.sh"
source "$here/edition.sh"
source "$here/installed-checks.sh"
case "$language" in zh|en) ;; *) echo "screens: the language is zh or en" >&2; exit 2 ;; esac
work=$(mktemp -d)
store=''
trap 'rm -rf "$work"; [ -z "$store" ] || rm -rf "$store"' EXIT
pictures=$out/$language
rm -rf "$pictures"
mkdir -p "$pictures"
status=0

# A scratch medium in the language, whose stand-in USB library has one printer answering to port 2.
cp -r "$medium" "$work/medium"
[ "$language" = zh ] || cp "$work/medium/language-en/"* "$work/medium/language/"
printf '[Devices]\r\n0=9\r\n' >"$work/medium/KxUsbInt.ini"
# Without the USB driver the port page shows its hint and Install runs the medium's USB driver installer.
rm -f "$WINEPREFIX/drive_c/windows/system32/drivers/bulkusb.sys"
# XP in the PE32 edition's prefix; the x64 edition knows only Vista and later, whose raster drivers take
# the Unidrv files from the driver store.
if [ -z "$X" ]; then "$W" reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
else plant_store "$work/medium"; fi

tour() {  # tour program
    local name=$1 program=$2 texts
    texts=$work/medium/language/${program%$X.exe}.ini
    "$here/fill-tour.sh" "$texts" "$here/gui/tours/$name.gui" >"$work/$name.gui" || return 1
    if "$here/gui-session.sh" --out "$work/$name" --script "$work/$name.gui" "$driver" "$work/medium/$program" \
        >"$pictures/$name.log" 2>&1; then
        echo "ok: $language $name: $(grep -c '^fits = ' "$pictures/$name.log") windows fit, $(ls "$work/$name"/*.png | wc -l) shots"
    else
        echo "FAIL: $language $name"
        grep -a -A8 '^gui-driver:' "$pictures/$name.log" || tail -5 "$pictures/$name.log"
        status=1
    fi
    cp "$work/$name"/*.png "$pictures/" 2>/dev/null
}
# Printers of ours that earlier work left and the uninstaller does not list stay; nothing of this run may.
before=$(subkeys "$printers_key" | grep -E '^ZMX-')
tour setup "setup$X.exe"
tour setup-usb "setup$X.exe"
tour uninstall-removal "uninstall$X.exe"
"$W" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
left=$(comm -13 <(echo "$before") <(subkeys "$printers_key" | grep -E '^ZMX-') | paste -sd' ')
subkeys "$printers_key" | grep -qxF 'ZMX-T310(U) 1' && left="$left ZMX-T310(U) 1"
[ -z "$left" ] || { echo "FAIL: $language: the uninstaller left$([ "${left:0:1}" = ' ' ] || echo ' ')$left"; status=1; }
exit $status
