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

# Both Windows builds: the 32-bit one is what ships; the tests run under Wine
# in the 32-bit build where this kernel can run 32-bit Wine, else in the
# 64-bit build of the same sources.
for preset in win32 win64; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

source scripts/start-display.sh
source scripts/wine-env.sh
kolvar_choose_wine_preset
wine_preset=$KOLVAR_PRESET
[ "$wine_preset" = win32 ] || echo "== this kernel cannot run 32-bit programs: Windows tests run in the 64-bit build"
export WINEPREFIX=$root/build/$wine_preset/wineprefix
kolvar_wine_prefix_ready
kolvar_start_display
cleanup() { wineserver -k 2>/dev/null || true; kolvar_stop_display; }
trap cleanup EXIT
# One warm Wine server for the whole run: every test program starts faster.
wineserver -p
kolvar_wine_warm
echo "== $wine_preset tests under Wine"
ctest --preset "$wine_preset"
