#!/usr/bin/env bash
# Runs a Windows program on a Wine virtual desktop and works it with gui-driver.exe, taking screenshots on
# the way; the dialogs' Wine tests and scripts/screenshots.sh use it.
#
#   gui-session.sh [--out DIR] [--size WxH] [--script FILE] DRIVER PROGRAM [ARGUMENT...]
#
# DRIVER is gui-driver.exe; PROGRAM (a path) is started from its own folder on a virtual desktop of WxH
# (800x600), so that captions and frames are drawn. The script (standard input without --script) holds
# gui-driver commands in UTF-8, one a line, plus two of this wrapper's own:
#   shot NAME           the whole desktop into DIR/NAME.png
#   shot-window NAME    only the window last waited for
# Every command and result goes to standard output and DIR/session.log in UTF-8. A display is started
# when DISPLAY is unset. Whatever happens, the program, the desktop, the prefix's wineserver and that
# display are stopped at the end; a failure leaves DIR/failure.png behind. Exit 0 when every command
# succeeded, 1 otherwise, 2 on bad usage.
set -u
# This script reads and writes code page 936 bytes: its own locale must not see characters in them (a
# UTF-8 one swallows line ends after some), and the programs it starts keep the locale Wine needs.
export -n LC_ALL
LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
W="$here/wine-run.sh"
out=. size=800x600 script=-
while [ $# -gt 0 ]; do
    case "$1" in
        --out) out=$2; shift 2 ;;
        --size) size=$2; shift 2 ;;
        --script) script=$(realpath "$2"); shift 2 ;;
        --) shift; break ;;
        -*) echo "gui-session: unknown option $1" >&2; exit 2 ;;
        *) break ;;
    esac
done
if [ $# -lt 2 ]; then
    echo "usage: gui-session.sh [--out DIR] [--size WxH] [--script FILE] DRIVER PROGRAM [ARGUMENT...]" >&2
    exit 2
fi
driver=$(realpath "$1") program=$(realpath "$2")
shift 2
[[ "$size" =~ ^[0-9]+x[0-9]+$ ]] || { echo "gui-session: --size wants WxH, not '$size'" >&2; exit 2; }
[ -f "$driver" ] || { echo "gui-session: no driver $driver" >&2; exit 2; }
[ -f "$program" ] || { echo "gui-session: no program $program" >&2; exit 2; }
[ "$script" = - ] || [ -f "$script" ] || { echo "gui-session: no script $script" >&2; exit 2; }
[ -n "${WINEPREFIX:-}" ] || { echo "gui-session: WINEPREFIX must name a prefix (scripts/wine-prefix.sh)" >&2; exit 2; }
mkdir -p "$out" || exit 2
out=$(cd "$out" && pwd)
codepage=${GUI_CODEPAGE:-CP936}  # the prefix's ANSI code page under zh_CN.UTF-8
work=$(mktemp -d)
log=$out/session.log
: >"$log"

xvfb_pid='' explorer_pid='' driver_pid=''
cleanup() {
    [ -n "$driver_pid" ] && kill "$driver_pid" 2>/dev/null
    [ -n "$explorer_pid" ] && kill "$explorer_pid" 2>/dev/null
    # Wine's own processes of the session (the desktop's explorer, services) end with the server.
    wineserver -k 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
# A driver that has ended makes writes to it fail, not end this script.
trap '' PIPE

say() { printf '%s\n' "$1" >>"$log"; printf '%s\n' "$1"; }
# The driver's lines in UTF-8; iconv only for those that need it, as it costs a process each.
utf8() {
    if [[ "$1" == *[$'\x80'-$'\xff']* ]]; then printf '%s' "$1" | iconv -f "$codepage" -t UTF-8 -c
    else printf '%s' "$1"; fi
}

if [ -z "${DISPLAY:-}" ]; then
    command -v Xvfb >/dev/null || { echo "gui-session: Xvfb is missing" >&2; exit 1; }
    # Xvfb picks a free display itself and writes its number to the descriptor.
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    [ -s "$work/display" ] || { echo "gui-session: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$(head -1 "$work/display")
fi

# A desktop of its own per session: Wine draws captions and frames only inside a virtual desktop (there is
# no window manager), and the desktop lives as long as a program is on it.
desktop=gui-session-$$
"$W" explorer "/desktop=$desktop,$size" >/dev/null 2>&1 &
explorer_pid=$!

program_dir=$(cd "$(dirname "$program")" && pwd)
program_name=$(basename "$program")
if [ "$script" = - ]; then iconv -f UTF-8 -t "$codepage" >"$work/script"
else iconv -f UTF-8 -t "$codepage" "$script" >"$work/script"; fi || { echo "gui-session: the script is no UTF-8 text" >&2; exit 2; }

coproc DRIVER { cd "$program_dir" && exec "$W" "$driver" 2>&1; }
# Bash drops the coprocess's descriptors and pid once it ends: keep a copy of its output to read its
# last words.
driver_pid=$DRIVER_PID to_driver=${DRIVER[1]}
exec {from_driver}<&"${DRIVER[0]}"
sync=0
# Sends one command and passes on what comes back up to the echo that follows it; false when the driver
# has ended (it ends at its first failure).
run() {
    sync=$((sync + 1))
    printf '%s\necho @sync %d\n' "$1" "$sync" >&"$to_driver" 2>/dev/null || return 1
    local line
    while IFS= read -r -t 120 -u "$from_driver" line; do
        [ "$line" = "@sync $sync" ] && return 0
        last_result=$line
        say "$(utf8 "$line")"
    done
    [ $? -gt 128 ] && say "gui-session: no answer from gui-driver in 120 s"
    return 1
}

screenshot() {  # file [geometry]
    if [ -n "${2:-}" ]; then import -display "$DISPLAY" -window root -crop "$2" +repage "$1"
    else import -display "$DISPLAY" -window root -crop "${size}+0+0" +repage "$1"; fi
}

shot() {  # name whole|window
    run paint || return 1
    local geometry=''
    if [ "$2" = window ]; then
        run rect || return 1
        read -r _ _ x y w h <<<"$last_result"
        geometry="${w}x${h}+${x}+${y}"
    fi
    # Wine copies what was painted to the X server from the program's own message loop, a moment later:
    # the picture is the first capture that the next one, 0.1 s on, agrees with. A window that animates
    # (the progress bar) never agrees with itself: its fourth capture is taken, while it is still there.
    settled_shot "$out/$1.png" "${geometry:-${size}+0+0}" && say "shot = $1.png"
}

settled_shot() {  # file geometry
    local previous='' current changing=1
    for _ in 1 2 3 4; do
        import -display "$DISPLAY" -window root -crop "$2" +repage "ppm:$work/capture.ppm" 2>/dev/null || return 1
        current=$(md5sum <"$work/capture.ppm")
        if [ "$current" = "$previous" ]; then changing=0; break; fi
        previous=$current
        sleep 0.1
    done
    [ $changing -eq 0 ] || say "gui-session: the screen still changes (an animation); shot as it is"
    convert "ppm:$work/capture.ppm" "$1"
}

status=0
last_result=''
run "desktop $desktop" && run "start $(printf '"%s" ' "$program_name" "$@")" || status=1
if [ $status -eq 0 ]; then
    while IFS= read -r line || [ -n "$line" ]; do
        line=${line%$'\r'}
        [[ "$line" =~ ^[[:space:]]*(#|$) ]] && continue
        say "> $(utf8 "$line")"
        read -r word name rest <<<"$line"
        case "$word" in
            shot) [ -n "$name" ] && [ -z "$rest" ] && shot "$name" whole || { status=1; break; } ;;
            shot-window) [ -n "$name" ] && [ -z "$rest" ] && shot "$name" window || { status=1; break; } ;;
            *) run "$line" || { status=1; break; } ;;
        esac
    done <"$work/script"
fi
if [ $status -ne 0 ]; then
    screenshot "$out/failure.png" 2>/dev/null && say "failure screenshot: $out/failure.png"
fi
# Without more commands the driver ends the program if it still runs, and says so. Wine's own processes
# may hold the pipe open after the driver has gone: read only what it left.
exec {to_driver}>&-
wait "$driver_pid" 2>/dev/null || status=1
driver_pid=''
while IFS= read -r -t 0.5 -u "$from_driver" line; do
    say "$(utf8 "$line")"
done
[ $status -eq 0 ] && say "session: passed" || say "session: FAILED"
exit $status
