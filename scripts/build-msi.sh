#!/usr/bin/env bash
# Makes the MSI package of an assembled medium for deployment tools (scripts/printer-driver.wxs: the
# medium under Program Files\VORL, a Programs and Features entry, one printer from the public
# properties) and prints its path.
#   bash scripts/build-msi.sh MEDIUM_DIR [PACKAGE.msi]
# The default package lies beside the medium: VORL-printer-driver-VERSION.msi, with "-x64" for the
# 64-bit build's medium, which is for the Wine tests only.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: build-msi.sh MEDIUM_DIR [PACKAGE.msi]" >&2; exit 2; }
medium=$(cd "$1" && pwd)
for file in install-printer.exe uninstall-printer.exe setup.exe language/setup.ini DRVCONFIG/setup.ini Uninstall.ini; do
    [ -f "$medium/$file" ] || { echo "build-msi: $medium is no assembled medium: it lacks $file" >&2; exit 2; }
done
command -v wixl >/dev/null || { echo "build-msi: wixl is missing (bash scripts/install-deps.sh installs it)" >&2; exit 1; }

# The version the programs carry (resources/version.rci). Windows Installer compares only the first three
# fields, so the package has those.
version=$(python3 - "$medium/setup.exe" <<'EOF'
import struct, sys
data = open(sys.argv[1], 'rb').read()
at = data.find(struct.pack('<I', 0xFEEF04BD))  # VS_FIXEDFILEINFO's signature
if at < 0:
    sys.exit('build-msi: setup.exe has no version resource')
high, low = struct.unpack_from('<II', data, at + 16)  # dwProductVersionMS, dwProductVersionLS
print('%d.%d.%d' % (high >> 16, high & 0xffff, low >> 16))
EOF
)
# One ProductCode per version, under the package's fixed UpgradeCode (printer-driver.wxs says why).
product_code=$(python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' \
    A1ACEC77-9BE5-4FDC-AE11-721D19D4A82C "$version")

# The package's architecture is the medium's: the product's PE32 build goes to the 32-bit Program Files
# and runs the 32-bit cmd.exe; the 64-bit build of the Wine tests takes the 64-bit ones, as its programs
# cannot run in a 32-bit process.
case "$(file -b "$medium/install-printer.exe")" in
    PE32+*) arch=x64 program_files=ProgramFiles64Folder system=System64Folder win64=yes suffix=-x64 ;;
    PE32*) arch=x86 program_files=ProgramFilesFolder system=SystemFolder win64=no suffix= ;;
    *) echo "build-msi: $medium/install-printer.exe is no Windows program" >&2; exit 2 ;;
esac
package=${2:-$(dirname "$medium")/VORL-printer-driver-$version$suffix.msi}
package=$(cd "$(dirname "$package")" && pwd)/$(basename "$package")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every file of the medium but the two companions, which the package names itself to run them; logs a run
# from the medium folder may have left are no part of it. wixl takes the sources relative to where it runs.
cd "$medium"
find . -type f ! -name '*.log' ! -path ./install-printer.exe ! -path ./uninstall-printer.exe | LC_ALL=C sort |
    wixl-heat -p ./ --directory-ref INSTALLFOLDER --var var.Medium --component-group MediumFiles |
    sed "s/<Component /<Component Win64=\"$win64\" /" >"$work/medium.wxs"
# wixl leaves out what it does not know, with a warning, and still writes the package: a warning fails here.
wixl -a "$arch" -D Medium=. -D Version="$version" -D ProductCode="$product_code" -D ProgramFilesDir="$program_files" \
    -D SystemDir="$system" -D Win64="$win64" -o "$package" "$here/printer-driver.wxs" "$work/medium.wxs" 2>"$work/wixl.err" ||
    { cat "$work/wixl.err" >&2; rm -f "$package"; exit 1; }
if grep -q . "$work/wixl.err"; then cat "$work/wixl.err" >&2; rm -f "$package"; exit 1; fi
echo "$package"
