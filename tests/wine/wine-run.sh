#!/usr/bin/env bash
# Runs a Windows program under Wine in the test run's prefix (WINEPREFIX, made by scripts/wine-prefix.sh).
set -euo pipefail
if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX" ]; then
    echo "wine-run: WINEPREFIX must name a prefix made by scripts/wine-prefix.sh" >&2
    exit 2
fi
export WINEDEBUG=${WINEDEBUG:--all} WINEARCH=win32 LANG=${WINE_LANG:-zh_CN.UTF-8}
exec wine "$@"
