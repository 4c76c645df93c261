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
# Fonts for the dialogs and their screenshots. Wine 8 as Debian ships it does not find its own fonts in
# /usr/share/wine/fonts (package fonts-wine): without Marlett the caption buttons show letters. The dialog
# templates ask for 宋体 (SimSun), which Debian has not: AR PL UMing is a Song face with SimSun's
# half-width Latin letters, so the dialogs keep SimSun's layout; other Chinese text falls back to
# WenQuanYi Micro Hei.
cp /usr/share/wine/fonts/*.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
{
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    for name in 宋体 SimSun 新宋体 NSimSun; do printf '"%s"="AR PL UMing CN"\r\n' "$name"; done
} | iconv -f UTF-8 -t UTF-16 >"$prefix/drive_c/fonts.reg"
"$WINE_LOADER" reg import 'C:\fonts.reg' >/dev/null 2>&1 || { echo "wine-prefix: the font settings were refused" >&2; exit 1; }
rm -f "$prefix/drive_c/fonts.reg"
wineserver -w
echo "$prefix"
