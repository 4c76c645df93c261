# Sourced by the Wine tests: the edition of the medium's programs that fits the test run's prefix. A 64-bit
# prefix is a 64-bit Windows, where the x64 edition (setup64.exe, install-printer64.exe...) does the work;
# a 32-bit one runs the PE32 programs. Sets X to the programs' suffix: "64" or "".
if grep -q '^#arch=win64' "${WINEPREFIX:?WINEPREFIX must name the prefix of the test run}/system.reg" 2>/dev/null; then
    X=64
else
    X=
fi
