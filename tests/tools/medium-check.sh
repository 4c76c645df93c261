#!/usr/bin/env bash
# medium-check as a process: exit statuses, the finding lines, and --dump as JSON lines.
set -u
tool=$1
source_dir=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
status=0
pass() { echo "ok: $1"; }
fail() { echo "FAIL: $1"; status=1; }

"$tool" >/dev/null 2>&1; [ $? -eq 2 ] && pass "no medium is a usage error" || fail "no medium was accepted"
"$tool" --bogus "$source_dir/medium" >/dev/null 2>&1
[ $? -eq 2 ] && pass "an unknown option is refused" || fail "an unknown option was accepted"
mkdir -p "$dir/empty"
"$tool" "$dir/empty" >/dev/null 2>&1; [ $? -eq 2 ] && pass "a medium without setup.ini" || fail "a medium without setup.ini"
"$tool" --dump "$dir/empty" >/dev/null 2>&1; [ $? -eq 2 ] && pass "--dump without setup.ini" || fail "--dump without setup.ini"

# A broken copy: exit 1 and one line per finding, naming file, section and key.
cp -r "$source_dir/medium" "$dir/broken"
sed -i 's/^BaudRate=19200\r$/BaudRate=fast\r/' "$dir/broken/DRVCONFIG/setup_Ticket.ini"
out=$("$tool" --no-files "$dir/broken")
code=$?
[ $code -eq 1 ] && pass "findings exit with 1" || fail "findings exited with $code"
want='DRVCONFIG\setup_Ticket.ini [ZMX-T300.PORT] BaudRate: "fast" is not a number'
[ "$out" = "$want" ] && pass "the finding line" || fail "the finding line: got '$out', want '$want'"

# --dump: every line is JSON, 9 models x 6 generations x 2 kinds, with a known record.
"$tool" --dump "$source_dir/medium" > "$dir/dump.jsonl" || fail "--dump exited with $?"
python3 - "$dir/dump.jsonl" <<'PY' && pass "--dump is JSON with the expected records" || status=1
import json, sys
records = [json.loads(line) for line in open(sys.argv[1], encoding="utf-8")]
def check(ok, what):
    if not ok:
        print("FAIL: " + what)
        sys.exit(1)
check(len(records) == 108, "108 records, got %d" % len(records))
r = next(r for r in records if r["model"] == "ZMX-M530" and r["generation"] == 3 and r["kind"] == 1)
check(r["class"] == 0 and r["usesDdk"] is True, "class and usesDdk")
check(r["driver"] == {"cVersion": 3, "pName": "VORL ZMX-M530 Raster", "pEnvironment": None,
                      "pDriverPath": "UNIDRV.DLL", "pDataFile": "VLRCPT.GPD", "pConfigFile": "UNIDRVUI.DLL",
                      "pHelpFile": "UNIDRV.HLP",
                      "pDependentFiles": ["VLRCPT.GPD", "TTFSUB.GPD", "UNIRES.DLL", "STDNAMES.GPD", "VLRES.DLL",
                                          "VLOEMUI.DLL", "VLOEMUNI.DLL", "VLOEMUNI.INI"]}, "driver record")
check(r["printer"] == {"pPrinterName": "ZMX-M530", "pDriverName": "VORL ZMX-M530 Raster",
                       "pPrintProcessor": "VORLPrint", "Attributes": 576}, "printer record")
files = {f["name"]: (f["slot"], f["value"]) for f in r["files"]}
check(files["driverPath"] == (0, "UNIDRV.DLL") and files["processorDll"] == (1900, "VLPRTPRC.DLL")
      and files["oemUiDll"] == (2700, "VLOEMUI.DLL"), "file set")
check(r["monitors"]["com"] == {"pName": "VORL COM Monitor", "pEnvironment": None, "pDLLName": "VLCOMMON.DLL",
                               "uiDllName": "VLCOMUI.DLL", "version": 3}, "COM monitor")
r98 = next(r for r in records if r["model"] == "ZMX-M530" and r["generation"] == 0 and r["kind"] == 0)
check(r98["driver"]["pEnvironment"] == "Windows 4.0" and r98["driver"]["cVersion"] == 0
      and r98["driver"]["pDependentFiles"] == [] and r98["monitors"]["usb"]["pEnvironment"] == "Windows 4.0",
      "98/Me record")
PY

# Names in code page 936 come out as UTF-8, with JSON's escapes.
cp -r "$source_dir/medium" "$dir/chinese"
sed -i 's/^STDDriverName=VORL ZMX-M530\r$/STDDriverName=\xc4\xe3\xba\xc3 "Q"\r/' "$dir/chinese/DRVCONFIG/setup_receipt.ini"
"$tool" --dump "$dir/chinese" | python3 -c '
import json, sys
r = [json.loads(l) for l in sys.stdin]
names = {x["driver"]["pName"] for x in r if x["model"] == "ZMX-M530" and x["kind"] == 0 and x["generation"] > 0}
sys.exit(0 if names == {"\u4f60\u597d \"Q\""} else 1)' && pass "code page 936 becomes UTF-8" || fail "code page 936 text"
exit $status
