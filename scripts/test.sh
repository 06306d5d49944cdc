#!/usr/bin/env bash
# Sets up, builds every configuration and runs every test: the engine
# natively (plain, AddressSanitizer+UBSan, ThreadSanitizer), then the Windows
# tests under Wine on a private X server, in the shipped 32-bit build where
# this kernel runs 32-bit Wine, else in the 64-bit build of the same sources;
# it says which one ran.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup.sh
source scripts/wine-session.sh

native_presets=(native native-asan native-tsan)
for preset in "${native_presets[@]}"; do
  echo "== $preset"
  kolvar_build_targets "$preset"
  # ThreadSanitizer cannot map its shadow memory under a fully randomised
  # address space; setarch -R turns randomisation off for the run.
  if [ "$preset" = native-tsan ]; then
    setarch "$(uname -m)" -R ctest --preset "$preset"
  else
    ctest --preset "$preset"
  fi
done

# Both Windows builds: the 32-bit one is what ships, the 64-bit one must
# keep building.
for preset in win32 win64; do
  echo "== $preset build"
  kolvar_build_targets "$preset"
done

kolvar_choose_wine_preset
wine_preset=$KOLVAR_PRESET
[ "$wine_preset" = win32 ] || echo "== this kernel cannot run 32-bit programs: Windows tests run in the 64-bit build"
export WINEPREFIX=$PWD/build/$wine_preset/wineprefix
kolvar_session_begin --own-display --keep-server
echo "== $wine_preset tests under Wine ($KOLVAR_WINE_BITS-bit build)"
ctest --preset "$wine_preset"
echo "== Windows tests ran in the $KOLVAR_WINE_BITS-bit build ($wine_preset)"
