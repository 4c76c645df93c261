#!/usr/bin/env bash
# Assembles the full installation medium, the PE32 and the x64 editions, with both MinGW toolchains, and
# prints its folder. The x64 build's medium target builds the PE32 edition first (build/windows).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh >/dev/null
for preset in windows windows64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)" --target medium >/dev/null
done
echo "$(pwd)/build/windows64/medium"
