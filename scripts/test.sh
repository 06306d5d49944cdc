#!/usr/bin/env bash
# Sets up, builds every configuration and runs every test: the engine
# natively (plain, AddressSanitizer+UBSan, ThreadSanitizer), then the 32-bit
# Windows build under Wine on a private X server.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD

scripts/setup.sh

native_presets=(native native-asan native-tsan)
for preset in "${native_presets[@]}"; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  # ThreadSanitizer cannot map its shadow memory under a fully randomised
  # address space; setarch -R turns randomisation off for the run.
  if [ "$preset" = native-tsan ]; then
    setarch "$(uname -m)" -R ctest --preset "$preset"
  else
    ctest --preset "$preset"
  fi
done

echo "== win32"
cmake --preset win32 >/dev/null
cmake --build --preset win32

source scripts/start-display.sh
source scripts/wine-env.sh
export WINEPREFIX=$root/build/win32/wineprefix
kolvar_wine_prefix_ready
kolvar_start_display
cleanup() { wineserver -k 2>/dev/null || true; kolvar_stop_display; }
trap cleanup EXIT
# One warm Wine server for the whole run: every test program starts faster.
wineserver -p
ctest --preset win32
