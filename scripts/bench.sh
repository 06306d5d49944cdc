#!/usr/bin/env bash
# Builds and runs the engine benchmark natively and under Wine; prints figures.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/wine-prefix.sh
kolvar_build_targets native engine_bench >/dev/null
echo "== native"
build/native/bin/engine_bench
kolvar_choose_wine_preset
preset=$KOLVAR_PRESET
kolvar_build_targets "$preset" engine_bench >/dev/null
echo "== $preset under Wine"
scripts/wine-run "build/$preset/bin/engine_bench.exe"
