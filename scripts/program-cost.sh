#!/usr/bin/env bash
# Prints what the running program costs under Wine and Xvfb, beside a minimal
# Win32 program with the same three timers doing nothing, in two states:
# shown (main window on screen) and hidden ("Run minimized" stored, so the
# program waits in the tray; the minimal program then shows no window).
# A third program, the minimal one with the common controls loaded as Kolvar
# loads them, shows what of the difference any program with Kolvar's
# controls and look pays under Wine.
# Each state runs in alternating rounds (minimal, Kolvar, controls, minimal,
# Kolvar...) so that all see the same machine load; a round launches the
# program, lets it settle, measures CPU over a window of steady running (the
# program's process and Wine's server, as a share of one core) and its
# private memory, then closes it. An idle window keeps Wine's desktop up
# throughout, as a desktop is on Windows. Printed: every round, the median of
# each and the ratio of the medians to the minimal program; then the size of
# the shipped binaries.
#
#   scripts/program-cost.sh [seconds=60] [rounds=5]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
seconds=${1:-60}
rounds=${2:-5}
source scripts/wine-session.sh
kolvar_session_build Kolvar drevcore minimal_timers minimal_controls idle_window >/dev/null
preset=$KOLVAR_PRESET
# Measured as shipped: stripped of debug information.
bin=$KOLVAR_BUILD/cost-stage
mkdir -p "$bin"
strip=$(kolvar_strip_tool "$KOLVAR_BUILD")
for file in Kolvar.exe drevcore.dll minimal_timers.exe minimal_controls.exe idle_window.exe; do
  "$strip" -o "$bin/$file" "$KOLVAR_BUILD/bin/$file"
done

export WINEPREFIX=$KOLVAR_BUILD/bench-wineprefix
kolvar_session_begin --own-display --keep-server
server=$(pgrep -n -x wineserver || pgrep -n wineserver64)
(cd "$bin" && exec "$WINELOADER" idle_window.exe) >/dev/null 2>&1 &
until xdotool search --onlyvisible --name '^Idle Window$' >/dev/null 2>&1; do sleep 0.1; done
hz=$(getconf CLK_TCK)
settings_key='HKLM\SOFTWARE\Velkor\Halven Mark'

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
private_kb() { awk '/^Private_(Clean|Dirty):/ { sum += $2 } END { print sum }' "/proc/$1/smaps_rollup"; }
now_ms() { date +%s%3N; }

# Starts a program; when its window is to be shown, waits for it. Prints
# "pid launch-ms" (launch 0 when nothing is shown, -1 when no window came
# within 30 s: about one start in a few dozen under Wine here never shows it).
launch() {
  local exe=$1 title=$2 state=$3 args=() start pid
  [ "$state" = hidden ] && [ "$(basename "$exe")" != Kolvar.exe ] && args=(hidden)
  start=$(now_ms)
  (cd "$(dirname "$exe")" && exec "$WINELOADER" "$exe" "${args[@]}") >/dev/null 2>&1 &
  pid=$!
  if [ "$state" = hidden ]; then
    echo "$pid 0"
    return
  fi
  while ! xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
    if [ $(( $(now_ms) - start )) -gt 30000 ]; then
      echo "$pid -1"
      return
    fi
    sleep 0.01
  done
  echo "$pid $(( $(now_ms) - start ))"
}

close() {
  local name=$1 pid=$2
  kolvar_close_program "$pid" "$WINELOADER" taskkill /im "$name" || kill "$pid" 2>/dev/null || true
}

# One round of one program: prints "cpu-percent private-MB launch-ms".
round() {
  local exe=$1 title=$2 state=$3 pid ms p0 s0 p1 s1 mem
  read -r pid ms < <(launch "$exe" "$title" "$state")
  if [ "$ms" = -1 ]; then
    close "$(basename "$exe")" "$pid"
    echo "failed"
    return
  fi
  # Past start-up, memory steady; a hidden start is not seen, so it gets
  # longer.
  if [ "$state" = hidden ]; then sleep 6; else sleep 3; fi
  p0=$(ticks "$pid"); s0=$(ticks "$server")
  sleep "$seconds"
  p1=$(ticks "$pid"); s1=$(ticks "$server")
  mem=$(private_kb "$pid")
  close "$(basename "$exe")" "$pid"
  awk -v p=$((p1 - p0)) -v s=$((s1 - s0)) -v hz="$hz" -v seconds="$seconds" -v mem="$mem" -v ms="$ms" \
    'BEGIN { printf "%.3f %.1f %d\n", (p + s) * 100 / hz / seconds, mem / 1024, ms }'
}

show_round() {
  local n=$1 name=$2 state=$3 cpu=$4 mem=${5:-} ms=${6:-}
  if [ "$cpu" = failed ]; then
    printf '  round %d  %-8s no window within 30 s: not counted\n' "$n" "$name"
    return
  fi
  printf '  round %d  %-8s CPU %6.2f %%  private %6.1f MB' "$n" "$name" "$cpu" "$mem"
  # A hidden start shows no window to time.
  [ "$state" = hidden ] || printf '  launch %5d ms' "$ms"
  printf '\n'
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# The programs of a round, in order: name, executable, window title.
programs=(minimal "$bin/minimal_timers.exe" '^Minimal Timers$'
          Kolvar "$bin/Kolvar.exe" '^Velkor Halvenmark'
          controls "$bin/minimal_controls.exe" '^Minimal Controls$')

# The median of one column over one program's rounds, failed ones left out.
column_median() {
  local column=$1; shift
  printf '%s\n' "$@" | grep -v failed | awk -v c="$column" '{ print $c }' | median
}

measure_state() {
  local state=$1 stored=$2 n i row
  local -a minimal_rows=() kolvar_rows=() controls_rows=()
  "$WINELOADER" reg add "$settings_key" /v setting02 /t REG_DWORD /d "$stored" /f >/dev/null 2>&1
  echo "== $state: $rounds rounds of ${seconds} s steady running; CPU = program + wineserver, % of one core"
  for n in $(seq "$rounds"); do
    for i in 0 3 6; do
      row=$(round "${programs[i + 1]}" "${programs[i + 2]}" "$state")
      case ${programs[i]} in
        minimal) minimal_rows+=("$row") ;;
        Kolvar) kolvar_rows+=("$row") ;;
        controls) controls_rows+=("$row") ;;
      esac
      show_round "$n" "${programs[i]}" "$state" $row
    done
  done
  local column m k c
  local -a names=(CPU private launch)
  for column in 1 2 3; do
    [ "$state" = hidden ] && [ $column = 3 ] && continue
    m=$(column_median $column "${minimal_rows[@]}")
    k=$(column_median $column "${kolvar_rows[@]}")
    c=$(column_median $column "${controls_rows[@]}")
    awk -v name="${names[column - 1]}" -v m="$m" -v k="$k" -v c="$c" 'BEGIN {
      unit = name == "CPU" ? "%" : name == "private" ? "MB" : "ms"
      printf "  median %-8s minimal %8.2f %-2s  Kolvar %8.2f %-2s  ratio %.2fx", name, m, unit, k, unit, (m > 0 ? k / m : 0)
      if (name == "private") printf "  (%+.1f MB)", k - m
      printf "   controls %.2f %s", c, unit
      if (name == "private") printf " (%+.1f MB)", c - m
      else printf " (%.2fx)", (m > 0 ? c / m : 0)
      printf "\n" }'
  done
}

echo "== $preset under Wine"
measure_state shown 0
measure_state hidden 1
"$WINELOADER" reg add "$settings_key" /v setting02 /t REG_DWORD /d 0 /f >/dev/null 2>&1

# The download is the 32-bit build, whichever build ran above.
kolvar_build_targets win32 Kolvar drevcore >/dev/null
scripts/shipped-size.sh build/win32
