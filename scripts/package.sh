#!/usr/bin/env bash
# Builds the shipped 32-bit setup program and portable zip into dist/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target installer
mkdir -p dist
cp build/win32/dist/Kolvar-*-setup.exe build/win32/dist/Kolvar-*-portable.zip dist/
ls -l dist/
scripts/shipped-size.sh build/win32
