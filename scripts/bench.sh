#!/usr/bin/env bash
# Builds and runs the engine benchmark natively and under Wine; prints figures.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-env.sh
cmake --preset native >/dev/null && cmake --build --preset native --target engine_bench >/dev/null
echo "== native"
build/native/bin/engine_bench
if kolvar_wine32_works; then preset=win32; else preset=win64; fi
cmake --preset $preset >/dev/null && cmake --build --preset $preset --target engine_bench >/dev/null
echo "== $preset under Wine"
scripts/wine-run build/$preset/bin/engine_bench.exe
