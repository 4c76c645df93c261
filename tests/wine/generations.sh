#!/usr/bin/env bash
# The generation setup detects for each Windows version Wine can pretend to be.
set -u
probe=$1
here=$(cd "$(dirname "$0")" && pwd)
declare -A expected=([win98]=0 [winme]=0 [nt40]=1 [win2k]=2 [winxp]=3 [win2003]=4 [vista]=5 [win7]=5)
status=0
for version in win98 winme nt40 win2k winxp win2003 vista win7; do
    "$here/wine-run.sh" reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1
    got=$("$here/wine-run.sh" "$probe" | sed -n 's/^generation: \([0-9-]*\).*/\1/p' | tr -d '\r')
    if [ "$got" = "${expected[$version]}" ]; then
        echo "ok: $version -> generation $got"
    else
        echo "FAIL: $version -> generation '$got', expected ${expected[$version]}"
        status=1
    fi
done
"$here/wine-run.sh" reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1
exit $status
