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
exit $status
