#!/usr/bin/env bash
# uninstall-printer$X.exe from the assembled medium under Wine: beside our printers stands one of another
# maker whose driver name holds a "0"; the listing shows only ours, --all removes ours with the monitors'
# files and leaves the other maker's printer, and the spooler runs afterwards.
set -u
medium=$1
here=$(cd "$(dirname "$0")" && pwd)
W="$here/wine-run.sh"
source "$here/edition.sh"
status=0
fail() { echo "FAIL: $*"; status=1; }
ok() { echo "ok: $*"; }
source "$here/removal-fixture.sh"
cd "$medium" || exit 2
"$W" reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
add_removal_printers "$medium"

listing=$("$W" uninstall-printer$X.exe --list 2>&1 | tr -d '\r')
grep -q '^printer ZMX-M530(S) (driver VORL ZMX-M530, port KXCOM2:)$' <<<"$listing" || fail "listing lacks ZMX-M530(S): $listing"
grep -q '^monitor VORL COM Monitor$' <<<"$listing" || fail "listing lacks the COM monitor: $listing"
grep -q 'Other 4000' <<<"$listing" && fail "the other maker's printer is listed: $listing"
[ $status -eq 0 ] && ok "listing: $(wc -l <<<"$listing") components of ours, none of the other maker's"

# --what-if tells what --all would remove and removes nothing; from another folder, --medium names the
# medium; a folder that is none is refused.
plan=$("$W" uninstall-printer$X.exe --all --what-if 2>&1)
code=$?
plan=$(tr -d '\r' <<<"$plan")
if [ $code -eq 0 ] && grep -q '^remove printer ZMX-M530(S) (driver VORL ZMX-M530, port KXCOM2:)' <<<"$plan" &&
    grep -q '^nothing was changed (--what-if)$' <<<"$plan" &&
    [ "$("$W" uninstall-printer$X.exe --list 2>&1 | tr -d '\r')" = "$listing" ]; then
    ok "--what-if: $(grep -c '^remove' <<<"$plan") removals told, nothing removed"
else
    fail "--what-if: exit $code: $plan"
fi
elsewhere=$(mktemp -d)
medium_win=$("$W" winepath -w "$medium" 2>/dev/null | tr -d '\r')
from_elsewhere=$(cd "$elsewhere" && "$W" "$medium/uninstall-printer$X.exe" --list --medium "$medium_win" 2>&1 | tr -d '\r')
[ "$from_elsewhere" = "$listing" ] && ok "--medium from another folder lists the same" ||
    fail "--medium from another folder: $from_elsewhere"
rmdir "$elsewhere"
"$W" uninstall-printer$X.exe --list --medium 'C:\windows' >/dev/null 2>&1
code=$?
[ $code -eq 2 ] && ok "--medium naming no medium: exit 2" || fail "--medium naming no medium: exit $code"

# Wine stops its services with its server, 3 s after the last program ends (Windows keeps the spooler
# running): the removal and the look at the service run in one session. The log lies in the medium, the
# current directory.
rm -f "$medium/removal.log"
# A batch file, so that uninstall-printer's own exit code is told in full before the spooler is asked.
printf '%s --all --log removal.log\r\n@echo uninstall-printer exit %%errorlevel%%\r\n@sc query Spooler\r\n' \
    "uninstall-printer$X.exe" >"$medium/removal-run.cmd"
out=$("$W" cmd /c removal-run.cmd 2>&1)
out=$(tr -d '\r' <<<"$out")
rm -f "$medium/removal-run.cmd"
code=$(sed -n 's/^uninstall-printer exit //p' <<<"$out")
logged=$(tr -d '\r' <"$medium/removal.log" 2>/dev/null | sed -n 's/.*exit code \([0-9]*\)$/\1/p' | tail -1)
# Everything of ours goes, so the run ends in 0, or in 3010 where Windows holds a file until a restart.
if [ "$code" = 0 ] || [ "$code" = 3010 ]; then ok "--all: exit $code"
else fail "--all: exit '$code'"; fi
if [ -f "$medium/removal.log" ] && iconv -f UTF-8 -t UTF-8 "$medium/removal.log" >/dev/null 2>&1 &&
    grep -q 'uninstall-printer --all --log removal.log' "$medium/removal.log" && [ "$logged" = "$code" ]; then
    ok "--log: $(wc -l <"$medium/removal.log") lines in UTF-8, exit code $logged as the run ended"
else
    fail "--log: exit code '$logged' logged, the run's '$code': $(cat "$medium/removal.log" 2>/dev/null)"
fi
rm -f "$medium/removal.log"
check_removal_left
grep -q RUNNING <<<"$out" || fail "the spooler does not run after the removal"
# Wine refuses DeletePrinterDriverExA's DPD_DELETE_UNUSED_FILES with 87 (Windows deletes the driver), and
# its DeletePrintProcessorA does nothing: the removal says so in its lines and goes on.
if [ $status -eq 0 ]; then ok "--all: ours removed, the other maker's printer kept, spooler running"
else echo "$out" | iconv -f gbk -t utf-8 -c; fi
"$W" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
exit $status
