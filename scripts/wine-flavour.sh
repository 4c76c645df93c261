#!/usr/bin/env bash
# Sourced: chooses the Wine flavour of this machine. The 32-bit one runs the product's PE32 build in a
# 32-bit prefix; machines that cannot execute 32-bit Linux programs (Wine's 32-bit loader among them) get
# the 64-bit one, the same sources built for x86-64 in a 64-bit prefix. WINE_FLAVOUR=32|64 forces it.
# Sets WINE_FLAVOUR, WINE_FLAVOUR_WHY, WINE_PRESET, WINE_LOADER and WINEARCH.
if [ -n "${WINE_FLAVOUR:-}" ]; then
    case "$WINE_FLAVOUR" in
        32|64) WINE_FLAVOUR_WHY="forced by WINE_FLAVOUR=$WINE_FLAVOUR" ;;
        *) echo "WINE_FLAVOUR must be 32 or 64, not '$WINE_FLAVOUR'" >&2; return 2 2>/dev/null || exit 2 ;;
    esac
elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINE_FLAVOUR=32 WINE_FLAVOUR_WHY="this machine runs Wine's 32-bit loader"
else
    WINE_FLAVOUR=64 WINE_FLAVOUR_WHY="this machine cannot execute 32-bit Linux programs (Wine's 32-bit loader fails)"
fi
if [ "$WINE_FLAVOUR" = 32 ]; then
    WINE_PRESET=windows WINE_LOADER=/usr/lib/wine/wine WINEARCH=win32
else
    WINE_PRESET=windows64 WINE_LOADER=/usr/lib/wine/wine64 WINEARCH=win64
fi
export WINE_FLAVOUR WINE_FLAVOUR_WHY WINE_PRESET WINE_LOADER WINEARCH
