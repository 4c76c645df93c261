#!/usr/bin/env bash
# Makes a throwaway Wine prefix of this machine's flavour (scripts/wine-flavour.sh) and prints its path.
# Stop it with: WINEPREFIX=... wineserver -k
set -euo pipefail
source "$(dirname "$0")/wine-flavour.sh"
prefix=$(mktemp -d "${TMPDIR:-/tmp}/posprn-wine.XXXXXX")/prefix
export WINEPREFIX=$prefix WINEDEBUG=-all LANG=zh_CN.UTF-8 WINELOADER=$WINE_LOADER
# Debian's wineboot script names the 32-bit loader, so the flavour's loader starts it.
# No .NET or HTML engine is needed, and their installers would ask on a display.
WINEDLLOVERRIDES="mscoree,mshtml=" "$WINE_LOADER" wineboot -i >/dev/null 2>&1
wineserver -w
[ -f "$prefix/system.reg" ] || { echo "wine-prefix: wineboot made no prefix with $WINE_LOADER" >&2; exit 1; }
echo "$prefix"
