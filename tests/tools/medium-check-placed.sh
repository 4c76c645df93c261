#!/usr/bin/env bash
# medium-check finds nothing on the sample medium once its files are placed as the release build does.
set -u
tool=$1
source_dir=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp -r "$source_dir/medium" "$dir/medium"
printf 'stand-in\r\n' > "$dir/stand-in.dll"
cmake -DMEDIUM="$dir/medium" -DPLACEHOLDER_DLL="$dir/stand-in.dll" -DCOM_MONITOR="$dir/stand-in.dll" \
      -DUSB_MONITOR="$dir/stand-in.dll" -DPROCESSOR="$dir/stand-in.dll" \
      -P "$source_dir/stand-ins/drivers/PlaceDriverFiles.cmake" || exit 1
# What the medium target copies beside the product data: the programs and the USB kit.
mkdir -p "$dir/medium/USBDrv"
for file in setup.exe uninstall.exe KxUsbInt.dll USBDrv/Install.exe USBDrv/BULKUSB.INF USBDrv/bulkusb.sys; do
    cp "$dir/stand-in.dll" "$dir/medium/$file"
done
"$tool" "$dir/medium"
status=$?
[ $status -eq 0 ] && echo "ok: the placed sample medium is clean" || echo "FAIL: medium-check exited with $status"

# Without the colour library that setup copies by its own name for the ZMX-M530 on 98/Me.
rm "$dir/medium/win98/DMCOLOR.DLL" || exit 1
out=$("$tool" "$dir/medium")
code=$?
want='win98\DMCOLOR.DLL: is missing: on Windows 98/Me setup copies it by this name for ZMX-M530'
if [ $code -eq 1 ] && [ "$out" = "$want" ]; then
    echo "ok: a missing fixed-name file is named with its generation and model"
else
    echo "FAIL: without win98\DMCOLOR.DLL: exit $code, got '$out', want '$want'"
    status=1
fi
exit $status
