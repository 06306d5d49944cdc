#!/usr/bin/env bash
# Builds and runs the engine benchmark natively and under Wine; prints figures.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-env.sh
cmake --preset native >/dev/null && cmake --build --preset native --target engine_bench >/dev/null
echo "== native"
build/native/bin/engine_bench
kolvar_choose_wine_preset
preset=$KOLVAR_PRESET
cmake --preset $preset >/dev/null && cmake --build --preset $preset --target engine_bench >/dev/null
echo "== $preset under Wine"
scripts/wine-run build/$preset/bin/engine_bench.exe
