#!/usr/bin/env bash
# Random call sequences against the engine for a given time, in one or more
# native configurations (default: native): three quarters of the time over
# the fake kernel, a quarter over the real platform. Prints, per program,
# the sequences tried, their steps and the calls per second; on a failure,
# its seed and the shortest sequence that still fails, and exits non-zero.
#   scripts/engine-sequences.sh SECONDS [native|native-asan|native-tsan ...]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:?usage: scripts/engine-sequences.sh SECONDS [preset ...]}
shift
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native)

fake_seconds=$((seconds * 3 / 4))
platform_seconds=$((seconds - fake_seconds))
status=0
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target engine_sequences engine_sequences_platform >/dev/null
  run=()
  threads=mixed
  # ThreadSanitizer needs the address space unrandomised (see test.sh), and
  # sees no race between serialised threads.
  if [ "$preset" = native-tsan ]; then
    run=(setarch "$(uname -m)" -R)
    threads=free
  fi
  for program in engine_sequences engine_sequences_platform; do
    options=(--seconds "$fake_seconds" --threads "$threads")
    [ "$program" = engine_sequences_platform ] && options=(--seconds "$platform_seconds")
    echo "== $preset $program ${options[*]}"
    "${run[@]}" "build/$preset/bin/$program" "${options[@]}" || status=1
  done
done
exit $status
