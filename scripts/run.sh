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
scripts/setup.sh
source scripts/wine-session.sh

kolvar_session_build Kolvar drevcore
program=$KOLVAR_BUILD/bin/Kolvar.exe
screenshot=$(realpath -m "${1:-$PWD/build/kolvar-screenshot.png}")

# Without a display of the user's, Kolvar runs in a Wine desktop on a
# private one.
headless=
[ -n "${DISPLAY:-}" ] || headless=1
launcher=()

# A close request, not a kill: the program saves its values on the way out.
# taskkill sees only the windows of its own desktop.
wine_pid=
close_kolvar() {
  [ -z "$wine_pid" ] || kolvar_close_program "$wine_pid" "${launcher[@]}" taskkill /im Kolvar.exe || true
}
kolvar_session_on_exit close_kolvar
export WINEPREFIX=${KOLVAR_RUN_PREFIX:-$KOLVAR_BUILD/run-wineprefix}
kolvar_session_begin
launcher=("$WINELOADER")
[ -z "$headless" ] || launcher+=(explorer /desktop=Kolvar,1024x768)
# Interrupting is how a user ends this script: not a failure.
trap 'exit 0' INT TERM

# Its own session, so that Ctrl-C reaches this script and not Wine directly.
setsid "${launcher[@]}" "$program" </dev/null >/dev/null 2>&1 &
wine_pid=$!
echo "Kolvar is running ($KOLVAR_PRESET build) on display $DISPLAY; Ctrl-C ends it."

if [ -n "$headless" ]; then
  # Give the desktop and the program time to draw.
  drawn() { xwininfo -root -tree | grep -q Kolvar; }
  kolvar_wait_until 10 drawn || true
  sleep 4
  mkdir -p "$(dirname "$screenshot")"
  import -window root "$screenshot"
  echo "Screenshot: $screenshot"
fi

wait "$wine_pid" || true
