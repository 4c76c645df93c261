#!/usr/bin/env bash
# gui-driver.exe on gui-fixture.exe, a dialog shaped like the wizard, through gui-session.sh: every command
# a wizard test needs, keys as the dialog manager takes them (Tab and Shift+Tab across the child page,
# arrows, Enter to the default button, Esc, F1, Alt+letter), a message box read and answered, screenshots;
# then a session that must fail, with its screenshot, and the driver's own refusals.
# Usage: gui-driver.sh DRIVER FIXTURE OUTPUT_DIR
set -u
driver=$1 fixture=$2 out=$3
here=$(cd "$(dirname "$0")" && pwd)
status=0
fail() { echo "FAIL: $*"; status=1; }
ok() { echo "ok: $*"; }
rm -rf "$out"
mkdir -p "$out"

"$here/gui-session.sh" --out "$out/tour" "$driver" "$fixture" >"$out/tour.log" 2>&1 <<'SCRIPT'
# The first window of the program, whatever its caption.
wait-any
expect caption = 驱动程序测试
activate
expect focus = 1010
# Controls of the visible page win over those of the hidden one with the same id.
expect text 1094 = 选择端口
expect visible 1094 = 1
expect enabled 1002 = 0
expect checked 1010 = 1
list 1012
shot page-one
fits
# Arrows move in a radio group; Tab and Shift+Tab walk the page's controls from the frame's dialog loop.
key Down
expect focus = 1011
expect checked 1011 = 1
key Up
expect checked 1010 = 1
key Tab
expect focus = 1012
key Tab Shift+Tab Down
expect focus = 1012
expect text 1012 = LPT1:
expect text 1003 = LPT1:
key F1
expect text 1003 = 帮助
select 1012 打印机端口
expect selected 1012 = 3
expect text 1003 = 打印机端口
select-index 1012 1
expect text 1003 = LPT1:
click 1011
expect checked 1011 = 1
expect checked 1010 = 0
click 1013
key Tab
expect focus = 1014
type "收据 Printer"
expect text 1014 = 收据 Printer
# Enter reaches the frame's default button from inside the page; its message box takes Esc as Cancel.
# The box is timed from the key on.
mark
key Enter
appeared-box 驱动程序测试
expect message = 确定要安装吗？\n端口：LPT1:
expect focus = 1
shot-window question
key Esc
closed
wait 驱动程序测试
expect text 1003 = 未安装
click ok
wait-box 驱动程序测试
click ok
closed
wait 驱动程序测试
expect text 1094 = 安装完成
expect visible 1010 = 0
expect text 1015 = 端口：LPT1:\r\n默认：是\r\n名称：收据 Printer
expect enabled 1002 = 1
shot page-two
key Alt+B
expect text 1094 = 选择端口
expect text 1003 = 上一步
mouse 2
closed
exit
SCRIPT
code=$?
log=$out/tour.log
appeared=$(sed -n 's/^appeared = \([0-9]*\)\..*/\1/p' "$log")
# How long the box took says nothing on a loaded machine; that the driver timed it from the mark does.
[ -n "$appeared" ] || fail "appeared-box reported no time since the mark"
if [ $code -eq 0 ] && grep -q '^exit = 3$' "$log"; then ok "tour of the fixture: $(grep -c '^> ' "$log") commands, cancelled with exit code 3"
else fail "tour of the fixture (exit $code):"; cat "$log"; fi
for shot in page-one page-two question; do
    size=$(identify -format '%wx%h %k' "$out/tour/$shot.png" 2>/dev/null)
    # A screenshot of a drawn dialog has many colours; a blank or black one has one or two.
    if [ "${size#* }" -gt 8 ] 2>/dev/null; then ok "screenshot $shot.png: ${size% *}, ${size#* } colours"
    else fail "screenshot $shot.png: '$size'"; fi
done
[ "$(identify -format '%wx%h' "$out/tour/page-one.png" 2>/dev/null)" = 800x600 ] || fail "page-one.png is not the whole desktop"

# A failing command ends the session with exit 1, its message, a screenshot, and the program ended.
"$here/gui-session.sh" --out "$out/refused" "$driver" "$fixture" >"$out/refused.log" 2>&1 <<'SCRIPT'
wait 驱动程序测试
click 1002
echo not reached
SCRIPT
code=$?
log=$out/refused.log
if [ $code -eq 1 ] && grep -q 'control 1002 is disabled' "$log" && ! grep -q 'not reached' "$log" &&
    grep -q '^terminated = ' "$log" && [ -s "$out/refused/failure.png" ]; then
    ok "a click on a disabled button fails the session, with failure.png"
else
    fail "the refused click (exit $code):"; cat "$log"
fi
# fits measures the visible controls: page one's texts fit; page two's summary, three lines high, wraps a
# long name onto a fourth.
"$here/gui-session.sh" --out "$out/cut" "$driver" "$fixture" >"$out/cut.log" 2>&1 <<'SCRIPT'
wait 驱动程序测试
activate
fits
click 1013
key Tab
expect focus = 1014
type 收据打印机收据打印机收据打印机收据打印机收据打印机收据打印机收据打印机收据打印机
expect text 1014 = 收据打印机收据打印机收据打印机收据打印机收据打印机收据打印机收据打印机收据打印机
click ok
wait-box 驱动程序测试
click ok
closed
wait 驱动程序测试
expect text 1094 = 安装完成
text 1015
fits
echo not reached
SCRIPT
code=$?
log=$out/cut.log
if [ $code -eq 1 ] && grep -q '^fits = [1-9]' "$log" && grep -q "texts cut in '驱动程序测试'" "$log" &&
    grep -q '  control 1015 Static ' "$log" && ! grep -q 'not reached' "$log"; then
    ok "fits passes page one and fails on the summary the long name overflows"
else
    fail "the cut text (exit $code):"; cat "$log"
fi
# One command on the command line; a wait that times out names what it saw instead.
err=$("$here/wine-run.sh" "$driver" wait "No such window" 0.3 2>&1 >/dev/null)
code=$?
if [ $code -eq 1 ] && grep -q "^gui-driver: wait: no window 'No such window' after 300 ms; visible: " <<<"$err"; then
    ok "a wait in vain fails with what is visible"
else
    fail "the wait in vain: exit $code, '$err'"
fi
exit $status
