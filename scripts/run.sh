#!/usr/bin/env bash
# Builds Kolvar and starts it under Wine, as a user would run it.
#
#   scripts/run.sh [screenshot.png]
#
# On a display (DISPLAY set) the program opens there. Without one, a private
# Xvfb starts and Kolvar runs inside a Wine desktop (caption, taskbar and
# tray included); a screenshot of that desktop is written to the given path
# (default build/kolvar-screenshot.png) and its path printed. Either way the
# script keeps running until interrupted: Ctrl-C closes Kolvar as its close
# box does (its settings are saved) and ends the Wine server.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
scripts/setup.sh
source scripts/wine-env.sh
source scripts/start-display.sh

kolvar_choose_wine_preset
preset=$KOLVAR_PRESET
build=$root/build/$preset
kolvar_build_targets "$preset" Kolvar drevcore
program=$build/bin/Kolvar.exe

export WINEPREFIX=${KOLVAR_RUN_PREFIX:-$build/run-wineprefix}
kolvar_wine_prefix_ready

screenshot=$(realpath -m "${1:-$root/build/kolvar-screenshot.png}")
headless=
if [ -z "${DISPLAY:-}" ]; then
  kolvar_start_display
  headless=1
fi

wine_pid=
stop() {
  trap - INT TERM EXIT
  if [ -n "$wine_pid" ] && kill -0 "$wine_pid" 2>/dev/null; then
    # A close request, not a kill: the program saves its values on the way
    # out. taskkill sees only the windows of its own desktop.
    if [ -n "$headless" ]; then
      kolvar_wine explorer /desktop=Kolvar,1024x768 taskkill /im Kolvar.exe >/dev/null 2>&1 || true
    else
      kolvar_wine taskkill /im Kolvar.exe >/dev/null 2>&1 || true
    fi
    timeout 15 tail --pid="$wine_pid" -f /dev/null || true
  fi
  wineserver -k 2>/dev/null || true
  timeout 15 wineserver -w 2>/dev/null || true
  [ -n "$headless" ] && kolvar_stop_display
  exit 0
}
trap stop INT TERM EXIT

# Its own session, so that Ctrl-C reaches this script and not Wine directly.
if [ -n "$headless" ]; then
  setsid "$WINELOADER" explorer /desktop=Kolvar,1024x768 "$program" </dev/null >/dev/null 2>&1 &
else
  setsid "$WINELOADER" "$program" </dev/null >/dev/null 2>&1 &
fi
wine_pid=$!
echo "Kolvar is running ($preset build) on display $DISPLAY; Ctrl-C ends it."

if [ -n "$headless" ]; then
  # Give the desktop and the program time to draw.
  for _ in $(seq 1 40); do
    xwininfo -root -tree 2>/dev/null | grep -q 'Kolvar' && break
    sleep 0.25
  done
  sleep 4
  mkdir -p "$(dirname "$screenshot")"
  import -window root "$screenshot"
  echo "Screenshot: $screenshot"
fi

wait "$wine_pid" || true
