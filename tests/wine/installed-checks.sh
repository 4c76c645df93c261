# What an installation leaves in a Wine prefix, checked alike by the tests that install printers
# (install-printer.sh, wizard-install.sh), which source this file. It needs W, the path of wine-run.sh, and
# WINEPREFIX. Each check_* prints what it found wrong on one line and returns 1; it is silent when all is
# as expected.

printers_key='HKLM\System\CurrentControlSet\Control\Print\Printers'
monitors_key='HKLM\System\CurrentControlSet\Control\Print\Monitors'
environments_key='HKLM\System\CurrentControlSet\Control\Print\Environments'
ports_key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Ports'
profile_key='HKCU\Software\Microsoft\Windows NT\CurrentVersion'

# A value as reg prints it, or nothing. The names' case is not ours to choose: Wine writes "device" where
# Windows has "Device".
query() { "$W" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | value "$2"; }
# The same from what `reg query KEY` printed, on standard input: several values for one run of reg.
value() { sed -n "s/^    $1    REG_[A-Z_]*    //Ip"; }

# Vista and later keep the system's Unidrv files in the driver store, which a Wine prefix has not: the
# stand-ins of them on the medium go into an ntprint folder of the store, of the prefix's edition, for the
# cases that install a raster driver there. Sets store to the folder, for the caller to remove.
plant_store() {  # medium
    local folder=ntprint.inf_x86_wine-tests files=I386 source=Vista
    [ -z "${X:-}" ] || folder=ntprint.inf_amd64_wine-tests files=Amd64 source=x64
    store="$WINEPREFIX/drive_c/windows/system32/DriverStore/FileRepository/$folder"
    mkdir -p "$store/$files"
    cp "$1/$source/"{UNIDRV.DLL,UNIDRVUI.DLL,UNIDRV.HLP,TTFSUB.GPD,STDNAMES.GPD,UNIRES.DLL} "$store/$files/"
}

# The names of a key's subkeys, one a line, sorted; reg names the key itself first.
subkeys() { "$W" reg query "$1" 2>/dev/null | tr -d '\r' | grep '^HKEY' | tail -n +2 | sed 's/.*\\//' | sort; }

# The spooler's native environment of this build ("Windows NT x86" or "Windows x64"), as setup-probe.exe (or setup-probe64.exe)
# names it; from the medium folder.
spooler_environment() { "$W" setup-probe${X-}.exe | tr -d '\r' | sed -n 's/^spooler environment: //p'; }

# check_printer NAME PORT DRIVER: the spooler's entry of the printer names this port (not checked when
# PORT is empty), this driver and our print processor.
check_printer() {
    local values wrong='' port driver processor
    values=$("$W" reg query "$printers_key\\$1" 2>/dev/null | tr -d '\r')
    port=$(value Port <<<"$values")
    driver=$(value 'Printer Driver' <<<"$values")
    processor=$(value 'Print Processor' <<<"$values")
    [ -z "$2" ] || [ "$port" = "$2" ] || wrong+=", port '$port', not $2"
    [ "$driver" = "$3" ] || wrong+=", driver '$driver', not $3"
    [ "$processor" = VORLPrint ] || wrong+=", print processor '$processor', not VORLPrint"
    [ -z "$wrong" ] || { echo "printer $1${wrong}"; return 1; }
}

# check_listed NAME DRIVER PORT: the spooler hands out the printer with this driver and port, as
# uninstall-printer.exe (or its x64 twin) of the medium lists it; from the medium folder.
check_listed() {
    local listing
    listing=$("$W" uninstall-printer${X-}.exe --list 2>&1 | tr -d '\r')
    grep -qxF "printer $1 (driver $2, port $3)" <<<"$listing" && return 0
    echo "the spooler does not list '$1 (driver $2, port $3)': $(grep '^printer' <<<"$listing" | paste -sd'|')"
    return 1
}

# check_stamps ENVIRONMENT MONITOR: the port monitor and our print processor carry their version stamps.
check_stamps() {
    local wrong=''
    [ -n "$(query "$monitors_key\\$2" DriverVersion)" ] || wrong+=", no DriverVersion of the monitor $2"
    [ -n "$(query "$environments_key\\$1\Print Processors\VORLPrint" DriverVersion)" ] ||
        wrong+=", no DriverVersion of the print processor VORLPrint"
    [ -z "$wrong" ] || { echo "${wrong#, }"; return 1; }
}

# check_serial_settings PORT SETTINGS: the serial port's settings string (COM1: "19200,n,8,1,p").
check_serial_settings() {
    local got
    got=$(query "$ports_key" "$1")
    [ "$got" = "$2" ] || { echo "serial settings of $1 '$got', not $2"; return 1; }
}

# check_default_printer NAME: the profile's default printer ([windows] device) is this one.
check_default_printer() {
    local device
    device=$(query "$profile_key\Windows" Device)
    case "$device" in "$1,"*) ;; *) echo "default printer '$device', not $1"; return 1 ;; esac
}

# check_profile NAME PORT: the profile's [Devices] list has the printer on this port: "winspool,PORT" on
# Windows, "wineps.drv,PORT" under Wine.
check_profile() {
    local entry
    entry=$(query "$profile_key\Devices" "$1")
    case "$entry" in *",$2") ;; *) echo "profile [Devices] $1 = '$entry', not on $2"; return 1 ;; esac
}

# check_edition_files: in a 64-bit prefix, the x64 edition's monitor is the 64-bit DLL that the medium's
# [COMMON-MONITOR.x64] names, in the real System32; the processor lies in prtprocs\x64; and the DLL of the
# 32-bit Vista section, which the x64 edition never reads, is nowhere in the system. Needs medium.
check_edition_files() {
    [ -n "${X:-}" ] || return 0
    local system=$WINEPREFIX/drive_c/windows wrong='' x64 vista found
    monitor_dll() { tr -d '\r' <"$medium/DRVCONFIG/setup.ini" | awk -v section="[COMMON-MONITOR.$1]" '
        $0 == section { on = 1; next } /^\[/ { on = 0 } on && /^COMMONitorPDLLName=/ { sub(/^[^=]*=/, ""); print; exit }'; }
    x64=$(monitor_dll x64) vista=$(monitor_dll Vista)
    found=$(find "$system/system32" -maxdepth 1 -iname "$x64" 2>/dev/null | head -1)
    if [ -z "$x64" ] || [ -z "$found" ]; then wrong+=", no x64 monitor DLL '$x64' in System32"
    elif ! file -b "$found" | grep -q '^PE32+'; then wrong+=", $x64 in System32 is no 64-bit DLL: $(file -b "$found")"; fi
    ls "$system/system32/spool/prtprocs/x64" 2>/dev/null | grep -qi '^VL' || wrong+=", no processor in prtprocs\\x64"
    if [ -n "$vista" ] && [ "$vista" != "$x64" ] &&
        [ -n "$(find "$system/system32" "$system/syswow64" -maxdepth 1 -iname "$vista" 2>/dev/null)" ]; then
        wrong+=", the 32-bit Vista section's $vista was installed"
    fi
    [ -z "$wrong" ] || { echo "${wrong#, }"; return 1; }
}
