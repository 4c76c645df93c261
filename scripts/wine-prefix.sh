#!/usr/bin/env bash
# Makes a throwaway 32-bit Wine prefix and prints its path. Stop it with: WINEPREFIX=... wineserver -k
set -euo pipefail
prefix=$(mktemp -d "${TMPDIR:-/tmp}/posprn-wine.XXXXXX")/prefix
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all LANG=zh_CN.UTF-8
# No .NET or HTML engine is needed, and their installers would ask on a display.
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
wineserver -w
echo "$prefix"
