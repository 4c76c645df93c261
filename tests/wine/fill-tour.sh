#!/usr/bin/env bash
# Prints a tour with each {{SECTION/KEY}} replaced by that text of a language file (code page 936), in
# UTF-8 as gui-session.sh reads its scripts, so that one tour serves every language.
# Usage: fill-tour.sh LANGUAGE_FILE TOUR
set -uo pipefail
iconv -f CP936 -t UTF-8 "$1" | tr -d '\r' | awk -v tour="$2" '
    /^\[/ { section = substr($0, 2, length($0) - 2); next }
    index($0, "=") > 0 { key = substr($0, 1, index($0, "=") - 1); text[section "/" key] = substr($0, index($0, "=") + 1) }
    END {
        while ((getline line < tour) > 0) {
            while (match(line, /\{\{[^}]*\}\}/)) {
                name = substr(line, RSTART + 2, RLENGTH - 4)
                line = substr(line, 1, RSTART - 1) text[name] substr(line, RSTART + RLENGTH)
            }
            print line
        }
    }'
