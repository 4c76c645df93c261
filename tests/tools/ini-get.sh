#!/usr/bin/env bash
# ini-get prints what the profile reader returns, bytes unchanged, and a newline.
set -u
tool=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '[Main]\r\nName = "Receipt printer"  \r\nText=\xc4\xe3\xba\xc3\r\n' > "$dir/a.ini"
status=0
check() {
    local want=$1; shift
    local got
    got=$("$tool" "$@" | od -An -c | tr -s ' ')
    want=$(printf "$want" | od -An -c | tr -s ' ')
    if [ "$got" = "$want" ]; then echo "ok: $*"; else echo "FAIL: $*: got '$got', want '$want'"; status=1; fi
}
check 'Receipt printer\n' "$dir/a.ini" main NAME x 200
check 'Rece\n' "$dir/a.ini" Main Name x 5
check '\xc4\xe3\xba\xc3\n' "$dir/a.ini" Main Text x 200
check 'def\n' "$dir/a.ini" Main Missing 'def  ' 200
check 'def\n' "$dir/missing.ini" Main Name 'def' 200
"$tool" "$dir/a.ini" Main Name x notanumber >/dev/null 2>&1
[ $? -eq 2 ] && echo "ok: a bad size is refused" || { echo "FAIL: a bad size was accepted"; status=1; }
exit $status
