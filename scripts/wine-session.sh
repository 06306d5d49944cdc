# Sourced: one Wine session of a script, from choosing the build to cleaning
# up at exit, so that each script says only its own steps.
#
#   source scripts/wine-session.sh
#   kolvar_session_build Kolvar drevcore     # KOLVAR_PRESET, KOLVAR_BUILD
#   export WINEPREFIX=$KOLVAR_BUILD/my-wineprefix
#   kolvar_session_on_exit my_cleanup       # optional, runs first at exit
#   kolvar_session_begin [--own-display] [--keep-server | --shared-server]
#   kolvar_run_retrying "my run" "$WINELOADER" program.exe
#
# At exit (normal end, error, Ctrl-C or kill) the session runs the script's
# own clean-up, ends the prefix's Wine server (unless shared) and stops the
# display it started; the script's exit status is kept.
kolvar_session_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$kolvar_session_dir/wine-prefix.sh"
source "$kolvar_session_dir/start-display.sh"
kolvar_session_hook=
kolvar_session_shared_server=
KOLVAR_SESSION_DISPLAY=

# Builds the targets given in the Windows build this machine's Wine runs
# (see kolvar_choose_wine_preset), from the source tree; sets KOLVAR_PRESET
# and KOLVAR_BUILD (absolute).
kolvar_session_build() {  # target...
  kolvar_choose_wine_preset
  KOLVAR_BUILD=$PWD/build/$KOLVAR_PRESET
  kolvar_build_targets "$KOLVAR_PRESET" "$@"
}

# Readies $WINEPREFIX (KOLVAR_WINE_BITS set beforehand), starts a private X
# server when asked to or when DISPLAY is unset, and arms the clean-up.
# --keep-server keeps one warm Wine server for the whole session: every
# program then starts faster. --shared-server leaves the prefix's server
# running at exit, for the other programs CTest runs in it at the same time.
kolvar_session_begin() {  # [--own-display] [--keep-server | --shared-server]
  local own_display= keep_server=
  while [ $# -gt 0 ]; do
    case $1 in
      --own-display) own_display=1 ;;
      --keep-server) keep_server=1 ;;
      --shared-server) kolvar_session_shared_server=1 ;;
      *) echo "kolvar_session_begin: unknown option $1" >&2; return 2 ;;
    esac
    shift
  done
  trap kolvar_session_end EXIT
  trap 'exit 130' INT TERM
  kolvar_wine_prefix_ready
  if [ -n "$own_display" ] || [ -z "${DISPLAY:-}" ]; then
    kolvar_start_display
    KOLVAR_SESSION_DISPLAY=1
  fi
  if [ -n "$keep_server" ]; then
    wineserver -p
    kolvar_wine_warm
  fi
}

# Names a function of the script to run first at exit.
kolvar_session_on_exit() {  # function
  kolvar_session_hook=$1
}

kolvar_session_end() {
  local status=$?
  trap - EXIT INT TERM
  [ -z "${kolvar_session_hook:-}" ] || "$kolvar_session_hook" || true
  if [ -z "$kolvar_session_shared_server" ]; then
    wineserver -k 2>/dev/null || true
    timeout 15 wineserver -w 2>/dev/null || true
  fi
  if [ -n "${KOLVAR_SESSION_DISPLAY:-}" ]; then
    local xvfb=${KOLVAR_XVFB_PID:-}
    kolvar_stop_display
    if [ -n "$xvfb" ] && ! timeout 10 tail --pid="$xvfb" -f /dev/null; then
      kill -KILL "$xvfb" 2>/dev/null || true
    fi
  fi
  exit "$status"
}

# Runs the command given every fifth of a second, its output hidden, until
# it succeeds; fails after the seconds given.
kolvar_wait_until() {  # seconds, command...
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}

# Asks a program to close as its close box would, by the command given, and
# waits up to 15 s for its process to end; fails if it is still there.
kolvar_close_program() {  # pid, close command...
  local pid=$1
  shift
  kill -0 "$pid" 2>/dev/null || return 0
  "$@" >/dev/null 2>&1 || true
  timeout 15 tail --pid="$pid" -f /dev/null
}

# Runs the command given, its output shown, and returns its status. A Wine
# process very rarely dies at start-up before the program runs any code
# (seen about once in a few hundred starts here): a run that fails without
# having written anything is therefore started once more, and says so; one
# that wrote anything is never run again, so a failing test fails.
kolvar_run_retrying() {  # what runs (for the message), command...
  local what=$1 output start status
  shift
  output=$(mktemp)
  for start in 1 2; do
    status=0
    "$@" | tee "$output" || status=${PIPESTATUS[0]}
    if [ "$status" -eq 0 ] || [ -s "$output" ] || [ "$start" -eq 2 ]; then break; fi
    echo "$what ended with status $status before writing anything: starting it once more"
  done
  rm -f "$output"
  return "$status"
}
