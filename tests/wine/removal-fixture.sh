# Sourced by the Wine tests of the removal (uninstall-printer.sh, uninstall-gui.sh): our printers beside one
# of another maker, and the look at what a removal of everything of ours leaves behind.
# The caller sets W (tests/wine/wine-run.sh) and defines fail MESSAGE; the prefix is WINEPREFIX.

removal_printers='HKLM\System\CurrentControlSet\Control\Print\Printers'

# Installs, from the medium folder MEDIUM, ZMX-M530 on KXCOM2: and ZMX-L58 on LPT2:, and a printer of
# another maker: the same files under another driver name that holds a "0", on Windows' own print
# processor, on LPT3:. The uninstallers must leave that one alone.
add_removal_printers() {
    local medium=$1 other
    other=$(mktemp -d)
    cp -r "$medium"/. "$other"
    sed -i -e 's/^\(STD\|GDI\)DriverName=VORL ZMX-T310.*/\1DriverName=Other 4000 Driver/' \
        -e 's/^\(STD\|GDI\)PrintProcessor=.*/\1PrintProcessor=WinPrint/' "$other/DRVCONFIG/setup_Ticket.ini"
    (cd "$other" && "$W" install-printer${X-}.exe --model ZMX-T310 --port LPT3: >/dev/null 2>&1) ||
        fail "the other maker's printer could not be installed"
    rm -rf "$other"
    (cd "$medium" && "$W" install-printer${X-}.exe --model ZMX-M530 --port KXCOM2: >/dev/null 2>&1) || fail "ZMX-M530 on KXCOM2:"
    (cd "$medium" && "$W" install-printer${X-}.exe --model ZMX-L58 --port LPT2: >/dev/null 2>&1) || fail "ZMX-L58 on LPT2:"
}

# After everything of ours was removed: the other maker's printer is still there, none of ours is, and
# the COM monitor is gone with its DLL. (Whether the spooler runs has to be asked while the prefix's
# programs still run: each caller does that in its own way.)
check_removal_left() {
    local left system32
    left=$("$W" reg query "$removal_printers" /s 2>/dev/null | tr -d '\r')
    grep -q 'Printer Driver    REG_SZ    Other 4000 Driver' <<<"$left" || fail "the other maker's printer is gone"
    grep -q 'VORL ZMX' <<<"$left" && fail "printers of ours are left: $(grep 'VORL ZMX' <<<"$left")"
    "$W" reg query 'HKLM\System\CurrentControlSet\Control\Print\Monitors\VORL COM Monitor' >/dev/null 2>&1 &&
        fail "the COM monitor is still registered"
    system32=$("$W" winepath -u 'C:\windows\system32' 2>/dev/null | tr -d '\r')
    [ -n "$system32" ] || fail "winepath names no system32"
    [ -n "$system32" ] && [ -e "$system32/VLCOMMON.DLL" ] && fail "VLCOMMON.DLL is still in system32"
    [ -n "$system32" ] && [ -e "$system32/VLCOMUI.DLL" ] && fail "VLCOMUI.DLL is still in system32"
}
