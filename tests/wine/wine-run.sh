#!/usr/bin/env bash
# Runs a Windows program under Wine in the test run's prefix (WINEPREFIX, made by scripts/wine-prefix.sh),
# with the loader of the prefix's flavour: a 64-bit prefix needs the 64-bit loader.
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-run: WINEPREFIX must name a prefix made by scripts/wine-prefix.sh" >&2
    exit 2
fi
if grep -q '^#arch=win64' "$WINEPREFIX/system.reg"; then
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
else
    export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine
fi
export WINEDEBUG=${WINEDEBUG:--all} LANG=${WINE_LANG:-zh_CN.UTF-8}
exec "$WINELOADER" "$@"
