#!/usr/bin/env bash
# Takes screenshots of a program of the assembled medium under Wine: it runs on a virtual desktop and is
# worked through its windows by its tour, a gui-driver script, one PNG per `shot` of the tour.
#
#   scripts/screenshots.sh [--language zh|en] [--out DIR] [--size WxH] [--tour FILE] PROGRAM [ARGUMENT...]
#   scripts/screenshots.sh --all [--out DIR]
#
# --all takes every screen of setup and uninstall in both language sets (tests/wine/screens.sh: the five
# pages, an installation on a USB port with its questions and the progress window, a removal with the
# restart question) into DIR/zh and DIR/en (build/<preset>/screenshots), and fails on a cut text; the
# README's pictures are made with --all --out docs/screenshots.
#
# PROGRAM is a path inside build/<preset>/medium (setup.exe, USBDrv/Install.exe) or any other path; its
# tour is tests/wine/gui/tours/NAME.gui (NAME: the program's file name in lower case, without .exe) unless
# --tour names one. The medium is used from a scratch copy; --language en puts the English texts of
# language-en/ in place of the Chinese ones. The PNGs and session.log go to DIR
# (build/<preset>/screenshots/<language>/NAME). Without WINEPREFIX a throwaway prefix is made and removed.
# In a tour, {{SECTION/KEY}} stands for that text of the language file language/NAME.ini (NAME without the
# x64 edition's 64) of the medium in
# use, so one tour serves every language (window captions, texts to expect).
# Builds what it needs first; the Wine flavour is this machine's (scripts/wine-flavour.sh).
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
language=zh out='' size=800x600 tour='' all=no
while [ $# -gt 0 ]; do
    case "$1" in
        --all) all=yes; shift ;;
        --language) language=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        --size) size=$2; shift 2 ;;
        --tour) tour=$(realpath "$2"); shift 2 ;;
        -*) echo "screenshots: unknown option $1" >&2; exit 2 ;;
        *) break ;;
    esac
done
[ $all = yes ] || [ $# -ge 1 ] || { sed -n '5,6p' "$0" | sed 's/^#  *//' >&2; exit 2; }
case "$language" in zh|en) ;; *) echo "screenshots: --language is zh or en" >&2; exit 2 ;; esac
if [ $all = no ]; then
    program=$1
    shift
    name=$(basename "$program")
    name=${name%.[eE][xX][eE]}
    name=${name,,}
    # The x64 edition (setup64.exe) has the PE32 program's tour and language file.
    [[ "$name" =~ ^(setup|uninstall)64$ ]] && name=${name%64}
    [ -n "$tour" ] || tour=$root/tests/wine/gui/tours/$name.gui
    [ -f "$tour" ] || { echo "screenshots: no tour $tour" >&2; exit 2; }
fi

source scripts/wine-flavour.sh || exit 2
echo "Wine flavour: ${WINE_FLAVOUR}-bit, preset ${WINE_PRESET}: ${WINE_FLAVOUR_WHY}"
build=$root/build/$WINE_PRESET
{ cmake --preset "$WINE_PRESET" >/dev/null && cmake --build --preset "$WINE_PRESET" -j2 --target medium gui-driver; } \
    >"${TMPDIR:-/tmp}/screenshots-build.log" 2>&1 || { cat "${TMPDIR:-/tmp}/screenshots-build.log"; exit 1; }

scratch=$(mktemp -d)
made_prefix=''
cleanup() {
    rm -rf "$scratch"
    [ -n "$made_prefix" ] && rm -rf "$(dirname "$made_prefix")"
}
trap cleanup EXIT
if [ -z "${WINEPREFIX:-}" ]; then
    made_prefix=$(bash scripts/wine-prefix.sh) || { echo "screenshots: could not make a Wine prefix" >&2; exit 1; }
    export WINEPREFIX=$made_prefix
fi

if [ $all = yes ]; then
    [ -n "$out" ] || out=$build/screenshots
    status=0
    for set in zh en; do
        tests/wine/screens.sh "$build/gui-driver.exe" "$build/medium" "$out" $set || status=1
        rm -f "$out/$set/"*.log
    done
    echo "screenshots: $(ls "$out"/zh/*.png "$out"/en/*.png 2>/dev/null | wc -l) in $out/zh and $out/en"
    exit $status
fi

cp -r "$build/medium" "$scratch/medium"
# The English set replaces the Chinese files one for one.
[ "$language" = en ] && cp "$scratch/medium/language-en/"* "$scratch/medium/language/"
if [ -f "$scratch/medium/$program" ]; then target=$scratch/medium/$program
elif [ -f "$program" ]; then target=$(realpath "$program")
else echo "screenshots: no program $program in the medium or elsewhere" >&2; exit 2; fi
[ -n "$out" ] || out=$build/screenshots/$language/$name
rm -rf "$out"
texts=$scratch/medium/language/$name.ini
filled=$scratch/tour.gui
if [ -f "$texts" ]; then
    tests/wine/fill-tour.sh "$texts" "$tour" >"$filled"
else
    cp "$tour" "$filled"
fi
tests/wine/gui-session.sh --out "$out" --size "$size" --script "$filled" "$build/gui-driver.exe" "$target" "$@"
status=$?
echo "screenshots: $(ls "$out"/*.png 2>/dev/null | wc -l) in $out"
exit $status
