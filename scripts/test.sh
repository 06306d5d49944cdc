#!/usr/bin/env bash
# Sets up, builds every configuration and runs every test: the engine
# natively (plain, AddressSanitizer+UBSan, ThreadSanitizer), then the Windows
# tests under Wine on a private X server, in the 32-bit build where this
# kernel runs 32-bit Wine and in the 64-bit build; it says which ran.
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

# Both Windows builds: the 64-bit one ships for 64-bit Windows, the 32-bit
# one for 32-bit Windows.
for preset in win32 win64; do
  echo "== $preset build"
  kolvar_build_targets "$preset"
done

# The Windows tests of one build under Wine, in a session of its own.
windows_tests() {  # preset bits
  (
    export KOLVAR_WINE_BITS=$2 WINEPREFIX=$PWD/build/$1/wineprefix
    kolvar_session_begin --own-display --keep-server
    echo "== $1 tests under Wine ($2-bit build)"
    ctest --preset "$1"
  )
}
ran=()
if kolvar_wine32_works; then
  windows_tests win32 32
  ran+=(32-bit)
else
  echo "== this kernel cannot run 32-bit programs: the 32-bit build is built, not tested"
fi
windows_tests win64 64
ran+=(64-bit)
echo "== Windows tests ran in the $(IFS=/; echo "${ran[*]}") build"
