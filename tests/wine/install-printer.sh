#!/usr/bin/env bash
# install-printer$X.exe from the assembled medium under Wine, for each Windows version Wine can pretend to
# be: the printer on its port with its driver and processor, the version stamps, the serial settings,
# the default printer; then the update path of an older monitor with the real spooler service.
set -u
medium=$1
here=$(cd "$(dirname "$0")" && pwd)
W="$here/wine-run.sh"
source "$here/edition.sh"
source "$here/installed-checks.sh"
status=0
fail() { echo "FAIL: $*"; status=1; }
ok() { echo "ok: $*"; }
monitor="$monitors_key\VORL COM Monitor"
cd "$medium" || exit 2
# "Windows NT x86" in the product's build, "Windows x64" in the 64-bit one: the build says which.
environment=$(spooler_environment)
[ -n "$environment" ] || { echo "FAIL: setup-probe$X.exe names no spooler environment"; exit 1; }

# The PE32 edition's Windows, or the 64-bit ones of the x64 edition: XP x64 and Server 2003 x64 report 5.2.
versions="winxp win2k win2003 vista"
[ -z "$X" ] || versions="win2003 vista win7 win10"
n=0
for version in $versions; do
    n=$((n + 1))
    "$W" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1
    port="KXCOM$n:"
    out=$("$W" install-printer$X.exe --model ZMX-T310 --port "$port" --baud 19200 --default 2>&1)
    code=$?
    out=$(tr -d '\r' <<<"$out")
    [ $code -eq 0 ] || { fail "$version: install-printer exit $code: $(iconv -f gbk -t utf-8 -c <<<"$out")"; continue; }
    name="ZMX-T310(S)"
    why=$(check_printer "$name" "$port" "VORL ZMX-T310") || fail "$version: $why"
    why=$(check_stamps "$environment" "VORL COM Monitor") || fail "$version: $why"
    why=$(check_edition_files) || fail "$version: $why"
    com="COM$n:"
    why=$(check_serial_settings "$com" "19200,n,8,1,p") || fail "$version: $why"
    why=$(check_default_printer "$name") || fail "$version: $why"
    [ $status -eq 0 ] && ok "$version: $name on $port, stamps, $com settings, default printer"
    # Each version's run is checked on its own: the next one must not find this printer and its driver.
    removed=$("$W" uninstall-printer$X.exe --remove "$name" 2>&1)
    code=$?
    [ $code -eq 0 ] && [ -z "$(query "$printers_key\\$name" Port)" ] ||
        fail "$version: uninstall-printer --remove $name: exit $code: $(tr -d '\r' <<<"$removed" | iconv -f gbk -t utf-8 -c)"
done

# NT 4 and 98/Me as far as Wine allows: its spooler stays an NT one whatever version it reports. It takes
# the NT 4 driver (cVersion 2) but files it under Version-3, as it does every NT driver; it takes the
# 98/Me driver under the "Windows 4.0" environment, Version-0, as Windows NT does for its 98 clients.
# There is no 64-bit NT 4 or 98/Me: the x64 edition refuses instead a model without x64 drivers.
if [ -n "$X" ]; then
    "$W" reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
    out=$("$W" install-printer$X.exe --model ZMX-T300 --port LPT1: 2>&1)
    code=$?
    refusal=$(iconv -f CP936 -t UTF-8 "$medium/language/setup.ini" | tr -d '\r' | sed -n 's/^IDS_NOTSUPPORTX64=//p')
    if [ $code -eq 3 ] && [ -n "$refusal" ] && iconv -f CP936 -t UTF-8 <<<"$out" | tr -d '\r' | grep -qxF "$refusal" &&
        [ -z "$(query "$printers_key\\ZMX-T300(P)" Port)" ]; then
        ok "win10: ZMX-T300 without x64 drivers refused with exit 3 and its text"
    else
        fail "win10: ZMX-T300: exit $code, text '$refusal': $(iconv -f CP936 -t UTF-8 -c <<<"$out")"
    fi
fi
for version in nt40 win98; do
    [ -z "$X" ] || break
    "$W" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1
    "$W" install-printer$X.exe --model ZMX-T310 --port LPT1: >/dev/null 2>&1
    code=$?
    # 98/Me take the new driver at a restart: exit 3010, of which a Unix exit status keeps 3010 % 256.
    if [ "$version" = nt40 ]; then key="$environments_key\\$environment\Drivers\Version-3\VORL ZMX-T310 Raster"; expected=0
    else key="$environments_key\Windows 4.0\Drivers\Version-0\VORL ZMX-T310 Raster"; expected=$((3010 % 256)); fi
    if [ $code -eq $expected ] && [ -n "$(query "$key" Driver)" ]; then ok "$version: exit $code, driver filed under $key"
    else fail "$version: exit $code, no driver under $key"; fi
done

# The update path: an older stamp makes the next installation stop the real spooler, copy, stamp,
# start it and find it running.
"$W" reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
"$W" reg add "$monitor" /v DriverVersion /t REG_DWORD /d 1 /f >/dev/null 2>&1
"$W" install-printer$X.exe --model ZMX-M530 --port LPT2: >/dev/null 2>&1
# Wine stops its services with its server, 3 s after the last program of the prefix ends (Windows keeps
# the spooler running): the installation and the look at the service run in one session.
session=$("$W" cmd /c "install-printer$X.exe --model ZMX-M530 --port KXCOM5: & sc query Spooler" 2>/dev/null | tr -d '\r')
installed=$(grep -c '^installed$' <<<"$session")
stamp=$(query "$monitor" DriverVersion)
running=$(grep -c RUNNING <<<"$session")
if [ "$installed" -eq 1 ] && [ "$stamp" = "0x3" ] && [ "$running" -ge 1 ]; then
    ok "update: stamp 1 -> $stamp, spooler running"
else
    fail "update: installed $installed, stamp '$stamp', spooler running: $running"
fi
# The console companions' own options. --what-if tells the plan and adds nothing.
plan=$("$W" install-printer$X.exe --what-if --model ZMX-L58 --port LPT3: 2>&1)
code=$?
plan=$(tr -d '\r' <<<"$plan")
if [ $code -eq 0 ] && grep -q '^add printer ZMX-L58(P) on port LPT3:' <<<"$plan" &&
    grep -q '^nothing was changed (--what-if)$' <<<"$plan" && [ -z "$(query "$printers_key\\ZMX-L58(P)" Port)" ]; then
    ok "--what-if: the plan names the printer and adds nothing"
else
    fail "--what-if: exit $code, printer port '$(query "$printers_key\\ZMX-L58(P)" Port)': $plan"
fi
# From another current directory: the medium by --medium, the log relative to where the caller stands,
# in UTF-8 with the language file's Chinese closing text.
elsewhere=$(mktemp -d)
medium_win=$("$W" winepath -w "$medium" 2>/dev/null | tr -d '\r')
(cd "$elsewhere" && "$W" "$medium/install-printer$X.exe" --medium "$medium_win" --model ZMX-L58 --port LPT3: \
    --log install.log >/dev/null 2>&1)
code=$?
log="$elsewhere/install.log"
if [ $code -eq 0 ] && [ "$(query "$printers_key\\ZMX-L58(P)" Port)" = LPT3: ] && [ -f "$log" ] &&
    iconv -f UTF-8 -t UTF-8 "$log" >/dev/null 2>&1 && grep -q 'added printer ZMX-L58(P) on port LPT3:' "$log" &&
    grep -q 'exit code 0' "$log" && LC_ALL=C grep -q $'[\x80-\xff]' "$log"; then
    ok "--medium from another folder, --log in UTF-8: $(wc -l <"$log") lines"
else
    fail "--medium/--log: exit $code, log: $(cat "$log" 2>/dev/null)"
fi
"$W" install-printer$X.exe --medium 'C:\windows' --model ZMX-L58 --port LPT3: >/dev/null 2>&1
code=$?
[ $code -eq 2 ] && ok "--medium naming no medium: exit 2" || fail "--medium naming no medium: exit $code"
rm -rf "$elsewhere"
# --test-page: the spooler takes a RAW receipt for the new printer. Windows would hand it to the port's
# monitor; Wine never calls a port monitor and sends a job where HKCU\Software\Wine\Printing\Spooler names
# for its port (else it fails the job of a port it does not know), so the port goes to a file here.
port_file=$(mktemp)
"$W" reg add 'HKCU\Software\Wine\Printing\Spooler' /v KXCOM6: /d "$port_file" /f >/dev/null 2>&1
said=$("$W" install-printer$X.exe --model ZMX-M530 --port KXCOM6: --test-page 2>&1)
code=$?
said=$(tr -d '\r' <<<"$said")
# (Wine adds a printer under a name that exists, so the printer may be ZMX-M530(S) once more.)
if [ $code -eq 0 ] && grep -qa '^printed a test page on ZMX-M530(S).*: the spooler accepted job' <<<"$said" &&
    grep -qa 'Printer: ZMX-M530(S)' "$port_file" && grep -qa '^Port:    KXCOM6:$' "$port_file" &&
    [ "$(tail -c 4 "$port_file" | od -An -tx1 | tr -d ' \n')" = 1d564200 ]; then
    ok "--test-page: exit 0, $(wc -c <"$port_file") bytes reached KXCOM6: ending with the cut"
else
    fail "--test-page: exit $code, $(wc -c <"$port_file") bytes at the port: $(cat -v "$port_file"); said: $said"
fi
"$W" reg delete 'HKCU\Software\Wine\Printing\Spooler' /v KXCOM6: /f >/dev/null 2>&1
rm -f "$port_file"
"$W" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
exit $status
