# Sourced: starts a private Xvfb on a free display number and exports
# DISPLAY; kolvar_stop_display ends it.
kolvar_start_display() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  KOLVAR_XVFB_PID=$!
  local number
  read -r -t 20 number <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
  rm -f "$fifo"
  export DISPLAY=:$number
}
kolvar_stop_display() {
  [ -n "${KOLVAR_XVFB_PID:-}" ] && kill "$KOLVAR_XVFB_PID" 2>/dev/null || true
  KOLVAR_XVFB_PID=
}
