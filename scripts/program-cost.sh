#!/usr/bin/env bash
# Prints what the running program costs under Wine and Xvfb, beside a minimal
# Win32 program with the same three timers doing nothing, measured in the
# same run: CPU over a window of steady running (the program's process and
# Wine's server, as a share of one core), private memory, and the time from
# launch to the main window being shown.
#
#   scripts/program-cost.sh [seconds=60] [launches=5]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
seconds=${1:-60}
launches=${2:-5}
source scripts/wine-env.sh
source scripts/start-display.sh
kolvar_choose_wine_preset
preset=$KOLVAR_PRESET
[ -f build/$preset/CMakeCache.txt ] || cmake --preset $preset >/dev/null
cmake --build build/$preset -j2 --target Kolvar drevcore minimal_timers >/dev/null
# Measured as shipped: stripped of debug information.
bin=$root/build/$preset/cost-stage
mkdir -p "$bin"
strip=$(awk -F= '/^CMAKE_STRIP:/ { print $2 }' build/$preset/CMakeCache.txt)
for file in Kolvar.exe drevcore.dll minimal_timers.exe; do
  "$strip" -o "$bin/$file" "build/$preset/bin/$file"
done

export WINEPREFIX=$root/build/$preset/bench-wineprefix
kolvar_wine_prefix_ready
kolvar_start_display
trap 'wineserver -k 2>/dev/null || true; kolvar_stop_display' EXIT
wineserver -p
kolvar_wine_warm
server=$(pgrep -n -x wineserver || pgrep -n wineserver64)
hz=$(getconf CLK_TCK)

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
private_kb() { awk '/^Private_(Clean|Dirty):/ { sum += $2 } END { print sum }' "/proc/$1/smaps_rollup"; }
now_ms() { date +%s%3N; }

# Starts a program, waits for its window; prints "pid launch-ms".
launch() {
  local exe=$1 title=$2 start pid
  start=$(now_ms)
  (cd "$(dirname "$exe")" && exec "$WINELOADER" "$exe") >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 3000); do
    xdotool search --onlyvisible --name "$title" >/dev/null 2>&1 && break
    sleep 0.01
  done
  echo "$pid $(( $(now_ms) - start ))"
}

close() {
  local name=$1 pid=$2
  "$WINELOADER" taskkill /im "$name" >/dev/null 2>&1 || true
  timeout 15 tail --pid="$pid" -f /dev/null || kill "$pid" 2>/dev/null || true
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

measure() {
  local exe=$1 title=$2 name times=() pid ms
  name=$(basename "$exe")
  for _ in $(seq "$launches"); do
    read -r pid ms < <(launch "$exe" "$title")
    times+=("$ms")
    close "$name" "$pid"
  done
  read -r pid ms < <(launch "$exe" "$title")
  sleep 3  # past start-up, memory steady
  local p0 s0 p1 s1 mem
  p0=$(ticks "$pid"); s0=$(ticks "$server")
  sleep "$seconds"
  p1=$(ticks "$pid"); s1=$(ticks "$server")
  mem=$(private_kb "$pid")
  close "$name" "$pid"
  awk -v name="$name" -v launch="$(printf '%s\n' "${times[@]}" | median)" \
      -v program=$((p1 - p0)) -v server=$((s1 - s0)) -v hz="$hz" -v seconds="$seconds" -v mem="$mem" 'BEGIN {
    printf "%-20s launch median %5d ms | CPU program %5.2f %%, wineserver %5.2f %% of a core | private %6.1f MB\n",
      name, launch, program * 100 / hz / seconds, server * 100 / hz / seconds, mem / 1024 }'
}

echo "== $preset under Wine, ${seconds} s of steady running, $launches launches each"
measure "$bin/minimal_timers.exe" '^Minimal Timers$'
measure "$bin/Kolvar.exe" '^Velkor Halvenmark'
