# Sourced: the environment every Wine run of this project shares.
# WINEPREFIX must be set by the caller.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEARCH=win32

# Creates the prefix once (serialised, since CTest may start several tests at
# once) and turns off window-manager management, which costs about two
# seconds per hidden top-level window on a bare X server.
kolvar_wine_prefix_ready() {
  [ -f "$WINEPREFIX/.kolvar-ready" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.kolvar-ready" ]; then
      DISPLAY= wineboot -i >/dev/null 2>&1 || true
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.kolvar-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}
