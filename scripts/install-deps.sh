#!/usr/bin/env bash
# Installs everything the builds and tests need from Debian's packages; safe to run again.
set -euo pipefail

packages=(
    cmake g++ make googletest
    g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    wine wine32:i386 wine64
    xvfb xauth imagemagick
    locales fonts-wqy-microhei fonts-arphic-uming fonts-wine
    gcab file python3
    wixl msitools
)

sudo_() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    sudo_ dpkg --add-architecture i386
    missing=("${packages[@]}")
else
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
fi
if [ "${#missing[@]}" -gt 0 ]; then
    sudo_ apt-get update -q
    sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine reports code page 936 only when the Chinese locale exists.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
    sudo_ sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | sudo_ tee -a /etc/locale.gen >/dev/null
    sudo_ locale-gen
fi
