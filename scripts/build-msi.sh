#!/usr/bin/env bash
# Makes an MSI package of an assembled medium for deployment tools (scripts/printer-driver.wxs: the
# medium under Program Files\VORL, a Programs and Features entry, one printer from the public
# properties) and prints its path.
#   bash scripts/build-msi.sh [--arch x86|x64] MEDIUM_DIR [PACKAGE.msi]
# x86 (the default) is the PE32 edition's package: 32-bit Program Files, install-printer.exe, which on
# 64-bit Windows hands over to install-printer64.exe. x64 is the package for 64-bit Windows, from a full
# medium: the 64-bit Program Files and install-printer64.exe, so that a 64-bit deployment tool runs 64-bit
# programs only. The default package lies beside the medium: VORL-printer-driver-VERSION.msi, with "-x64"
# for the x64 one.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
arch=x86
if [ "${1:-}" = --arch ]; then arch=${2:-}; shift 2 || true; fi
[ "$arch" = x86 ] || [ "$arch" = x64 ] || { echo "build-msi: --arch takes x86 or x64, not '$arch'" >&2; exit 2; }
[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: build-msi.sh [--arch x86|x64] MEDIUM_DIR [PACKAGE.msi]" >&2; exit 2; }
medium=$(cd "$1" && pwd)
suffix=
[ "$arch" = x86 ] || suffix=64
install_printer=install-printer$suffix.exe uninstall_printer=uninstall-printer$suffix.exe
for file in "$install_printer" "$uninstall_printer" setup.exe language/setup.ini DRVCONFIG/setup.ini Uninstall.ini; do
    [ -f "$medium/$file" ] || { echo "build-msi: $medium is no assembled medium for $arch: it lacks $file" >&2; exit 2; }
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

# Each package's companions must be of its architecture: a 64-bit package's custom actions run in the
# 64-bit cmd.exe, whose programs must be 64-bit where Windows runs no 32-bit ones.
case "$arch:$(file -b "$medium/$install_printer")" in
    x64:PE32+*) program_files=ProgramFiles64Folder system=System64Folder win64=yes suffix=-x64 ;;
    x86:PE32\ *) program_files=ProgramFilesFolder system=SystemFolder win64=no suffix= ;;
    *) echo "build-msi: $medium/$install_printer is no $arch Windows program" >&2; exit 2 ;;
esac
package=${2:-$(dirname "$medium")/VORL-printer-driver-$version$suffix.msi}
package=$(cd "$(dirname "$package")" && pwd)/$(basename "$package")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every file of the medium but the two companions, which the package names itself to run them; logs a run
# from the medium folder may have left are no part of it. wixl takes the sources relative to where it runs.
cd "$medium"
find . -type f ! -name '*.log' ! -path "./$install_printer" ! -path "./$uninstall_printer" | LC_ALL=C sort |
    wixl-heat -p ./ --directory-ref INSTALLFOLDER --var var.Medium --component-group MediumFiles |
    sed "s/<Component /<Component Win64=\"$win64\" /" >"$work/medium.wxs"
# wixl leaves out what it does not know, with a warning, and still writes the package: a warning fails here.
wixl -a "$arch" -D Medium=. -D Version="$version" -D ProductCode="$product_code" -D ProgramFilesDir="$program_files" \
    -D SystemDir="$system" -D Win64="$win64" -D InstallPrinter="$install_printer" -D UninstallPrinter="$uninstall_printer" -o "$package" "$here/printer-driver.wxs" "$work/medium.wxs" 2>"$work/wixl.err" ||
    { cat "$work/wixl.err" >&2; rm -f "$package"; exit 1; }
if grep -q . "$work/wixl.err"; then cat "$work/wixl.err" >&2; rm -f "$package"; exit 1; fi
echo "$package"
