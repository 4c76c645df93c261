#!/usr/bin/env bash
# The MSI package of scripts/build-msi.sh under Wine's msiexec, as a deployment tool runs it (/qn): a
# failing printer rolls everything back, no properties install only the files, the properties reach
# install-printer as its options, a restart asked for is no failure, and the removal takes the printers,
# the files and the Programs and Features entry. Usage: msi.sh MEDIUM_DIR
set -u
medium=$(cd "$1" && pwd) || exit 2
here=$(cd "$(dirname "$0")" && pwd)
W="$here/wine-run.sh"
source "$here/edition.sh"
source "$here/installed-checks.sh"
status=0
fail() { echo "FAIL: $*"; status=1; }
ok() { echo "ok: $*"; }
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A missing wixl is a failure, not a skip: scripts/install-deps.sh installs it.
# A 64-bit prefix tests the x64 package of the full medium, which runs the x64 companions.
arch=x86
[ -z "$X" ] || arch=x64
if ! bash "$here/../../scripts/build-msi.sh" --arch $arch "$medium" "$work/printer-driver.msi" >"$work/build.out" 2>&1; then
    echo "FAIL: build-msi.sh: $(cat "$work/build.out")"
    exit 1
fi
package=$("$W" winepath -w "$work/printer-driver.msi" 2>/dev/null | tr -d '\r')
property() { msiinfo export "$work/printer-driver.msi" Property | tr -d '\r' | sed -n "s/^$1\t//p"; }
product_code=$(property ProductCode)
product_version=$(property ProductVersion)
entry="$uninstall_key\\$product_code"
folder=$("$W" winepath -u 'C:\Program Files\VORL' 2>/dev/null | tr -d '\r')
temp=$("$W" winepath -u "$("$W" cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')" 2>/dev/null | tr -d '\r')
install_log="$temp/VORL-install-printer.log"
removal_log="$temp/VORL-uninstall-printer.log"
[ -n "$product_code" ] && [ -n "$folder" ] && [ -d "$temp" ] ||
    { echo "FAIL: no ProductCode ('$product_code'), Program Files ('$folder') or temporary folder ('$temp')"; exit 1; }

# msiexec's exit code in full: a Unix exit status keeps only its low byte, and 1603 and 3010 need more.
printf '@%%*\r\n@echo msiexec exit %%errorlevel%%\r\n' >"$work/exit-code.cmd"
exit_code_cmd=$("$W" winepath -w "$work/exit-code.cmd" 2>/dev/null | tr -d '\r')
run_msiexec() {
    rm -f "$install_log" "$removal_log"
    "$W" cmd /c "$exit_code_cmd" msiexec "$@" 2>&1 | tr -d '\r' | sed -n 's/^msiexec exit //p' | tail -1
}
# Our printers (driver "VORL ...") as "name port", one a line.
our_printers() {
    "$W" reg query "$printers_key" /s 2>/dev/null | tr -d '\r' | awk '
        /^HKEY/ { name = $0; sub(/.*\\/, "", name); port = "" }
        /^    Port    REG_SZ/ { port = $3 }
        /^    Printer Driver    REG_SZ    VORL / { print name, port }' | sort
}
registered() { "$W" reg query "$entry" /v DisplayName >/dev/null 2>&1; }
# What the package must install: the medium, as build-msi.sh takes it.
expected_files=$(cd "$medium" && find . -type f ! -name '*.log' | LC_ALL=C sort)
installed_files() { (cd "$folder" 2>/dev/null && find . -type f | LC_ALL=C sort); }
# Where the package's files went instead, when they are not in the folder the test expects.
elsewhere() {
    local found
    found=$(cd "$WINEPREFIX/drive_c" && find . -maxdepth 3 -type d -name VORL 2>/dev/null | paste -sd' ')
    echo "VORL folders in drive C: ${found:-none}; the entry's InstallLocation: $(query "$entry" InstallLocation)"
}
# A companion's log as lines without their carriage returns, or nothing.
log_text() { tr -d '\r' <"$1" 2>/dev/null; }
# The options install-printer was given, as its log's first line records them, without the log's own.
logged_options() { log_text "$install_log" | head -1 | sed -n 's/^.*  install-printer \(.*\) --log .*/\1/p'; }

"$W" reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
before=$(our_printers)

# Refusals. A printer install-printer cannot install rolls the files and the entry back: Windows ends a
# failed custom action with 1603, Wine 8's msiexec with 1627 (ERROR_FUNCTION_FAILED), the same failure.
code=$(run_msiexec /i "$package" /qn MODEL=NO-SUCH-MODEL PORT=KXCOM2:)
if { [ "$code" = 1603 ] || [ "$code" = 1627 ]; } && ! registered && [ ! -e "$folder" ] &&
    log_text "$install_log" | grep -q 'not in the device list' && log_text "$install_log" | grep -q 'exit code 2$'; then
    ok "a model not in the device list: exit $code, install-printer's exit 2 rolled the files and the entry back"
else
    fail "a model not in the device list: exit '$code', entry: $(registered && echo yes || echo no), folder exists: $([ -e "$folder" ] && echo yes || echo no), log: $(log_text "$install_log")"
fi
# A setting without a printer, or a flag that is neither 0 nor 1, stops before anything runs.
for properties in "MODEL=ZMX-T310" "BAUD=9600" "MODEL=ZMX-T310 PORT=KXCOM2: DEFAULT=yes"; do
    # shellcheck disable=SC2086
    code=$(run_msiexec /i "$package" /qn $properties)
    if [ "$code" = 1603 ] && ! registered && [ ! -e "$folder" ] && [ ! -e "$install_log" ]; then
        ok "$properties: exit 1603 before anything changed"
    else
        fail "$properties: exit '$code', entry: $(registered && echo yes || echo no), folder exists: $([ -e "$folder" ] && echo yes || echo no)"
    fi
done

# No MODEL and PORT: the files and the entry only, for a technician who installs the printers later; the
# removal then has no printer of ours to take beyond those other tests left.
code=$(run_msiexec /i "$package" /qn)
if [ "$code" = 0 ] && registered && [ "$(installed_files)" = "$expected_files" ] && [ ! -e "$install_log" ] &&
    [ "$(our_printers)" = "$before" ]; then
    ok "no MODEL and PORT: exit 0, $(wc -l <<<"$expected_files") files of the medium and the entry, no printer"
else
    fail "no MODEL and PORT: exit '$code', entry: $(registered && echo yes || echo no), printers: $(our_printers | paste -sd'|'), files: $(diff <(echo "$expected_files") <(installed_files) | head -5 | paste -sd' '); $(elsewhere)"
fi
code=$(run_msiexec /x "$package" /qn)
if [ "$code" = 0 ] && ! registered && [ ! -e "$folder" ] && log_text "$removal_log" | grep -q 'exit code 0$'; then
    ok "its removal: exit 0, uninstall-printer --all ran, the files and the entry are gone"
else
    fail "its removal: exit '$code', entry: $(registered && echo yes || echo no), folder exists: $([ -e "$folder" ] && echo yes || echo no), log: $(log_text "$removal_log" | tail -2)"
fi

# A serial printer with its settings as the default printer: each property becomes its option, the ones
# not given none; the entry names the product.
# With a test page, whose job Wine's spooler sends where HKCU\Software\Wine\Printing\Spooler names for
# the port (it calls no port monitor).
port_file=$work/KXCOM1.prn
"$W" reg add 'HKCU\Software\Wine\Printing\Spooler' /v KXCOM1: /d "$port_file" /f >/dev/null 2>&1
code=$(run_msiexec /i "$package" /qn MODEL=ZMX-T310 PORT=KXCOM1: BAUD=19200 DATABITS=7 STOPBITS=2 PARITY=e FLOW=x DEFAULT=1 TESTPAGE=1)
"$W" reg delete 'HKCU\Software\Wine\Printing\Spooler' /v KXCOM1: /f >/dev/null 2>&1
options=$(logged_options)
wanted='--model ZMX-T310 --port KXCOM1: --baud 19200 --data-bits 7 --stop-bits 2 --parity e --flow x --default --test-page'
if [ "$code" = 0 ] && [ "$options" = "$wanted" ]; then ok "the properties as install-printer's options: $options"
else fail "serial printer: exit '$code', options '$options', not '$wanted'"; fi
grep -qa 'Printer: ZMX-T310(S)' "$port_file" 2>/dev/null && ok "TESTPAGE=1: the test page reached KXCOM1:" ||
    fail "TESTPAGE=1: no test page reached KXCOM1:"
why=$(check_printer "ZMX-T310(S)" KXCOM1: "VORL ZMX-T310") || fail "$why"
why=$(check_serial_settings COM1: "19200,e,7,2,x") || fail "$why"
why=$(check_default_printer "ZMX-T310(S)") || fail "$why"
[ "$(installed_files)" = "$expected_files" ] || fail "the installed files differ from the medium: $(diff <(echo "$expected_files") <(installed_files) | head -5 | paste -sd' '); $(elsewhere)"
values=$("$W" reg query "$entry" 2>/dev/null | tr -d '\r')
name=$(value DisplayName <<<"$values") publisher=$(value Publisher <<<"$values")
version=$(value DisplayVersion <<<"$values") location=$(value InstallLocation <<<"$values")
# The version the programs carry, its first three fields: all Windows Installer compares.
program_version=$(sed -n 's/^FILEVERSION \([0-9]*\), *\([0-9]*\), *\([0-9]*\),.*/\1.\2.\3/p' "$here/../../resources/version.rci")
if [ "$name" = "VORL thermal printer driver" ] && [ "$publisher" = VORL ] && [ "$version" = "$product_version" ] &&
    [ "$version" = "$program_version" ] && [ "$location" = 'C:\Program Files\VORL\' ]; then
    ok "Programs and Features: $name $version by $publisher in $location"
else
    fail "Programs and Features entry $product_code: '$name' '$version' (programs: $program_version) by '$publisher' in '$location'"
fi
[ $status -eq 0 ] && ok "serial printer: ZMX-T310(S) on KXCOM1:, COM1: 19200,e,7,2,x, default printer, the medium in Program Files"

# The package again on the installed product adds another printer. On 98/Me every installation asks for a
# restart: install-printer's 3010 is no failure, and msiexec passes it on. The tests before may leave the
# print processor of "Windows 4.0" registered without its file (Wine's DeletePrintProcessorA does
# nothing); updating it copies into spool\prtprocs\win40, which Wine does not make.
# There is no 64-bit 98/Me: the x64 package's restart comes from Windows holding a file, which this test
# cannot cause, so it adds the printer without one.
mkdir -p "$WINEPREFIX/drive_c/windows/system32/spool/prtprocs/win40"
restart=3010 version=win98 kind=1
# (On Vista and later the raster driver would need the driver store that a prefix lacks.)
[ -z "$X" ] || restart=0 version=win10 kind=0
"$W" reg add 'HKCU\Software\Wine' /v Version /d $version /f >/dev/null 2>&1
code=$(run_msiexec /i "$package" /qn MODEL=ZMX-L58 PORT=LPT1: CLASS=0 KIND=$kind TESTPAGE=0)
options=$(logged_options)
"$W" reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
if [ "$code" = $restart ] && registered && [ "$options" = "--model ZMX-L58 --port LPT1: --class 0 --kind $kind" ] &&
    log_text "$install_log" | grep -q "exit code $restart\$"; then
    ok "$version on the installed product: install-printer's $restart kept the installation, msiexec exit $code"
else
    fail "$version: exit '$code', options '$options', entry: $(registered && echo yes || echo no), log: $(log_text "$install_log" | tail -2)"
fi

code=$(run_msiexec /x "$package" /qn)
left=$(our_printers)
if [ "$code" = 0 ] && ! registered && [ ! -e "$folder" ] && [ -z "$left" ] &&
    log_text "$removal_log" | grep -q 'uninstall-printer --all'; then
    ok "msiexec /x: exit 0, uninstall-printer --all took our printers, the files and the entry are gone"
else
    fail "msiexec /x: exit '$code', entry: $(registered && echo yes || echo no), folder exists: $([ -e "$folder" ] && echo yes || echo no), printers left: $(paste -sd'|' <<<"$left"), log: $(log_text "$removal_log" | tail -2)"
fi
"$W" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
exit $status
