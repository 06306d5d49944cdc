# Sourced: the environment every Wine run of this project shares, and the
# prefix it runs in (created once, from a pristine copy its build folder keeps).
# WINEPREFIX must be set by the caller, and KOLVAR_WINE_BITS to 32 or 64
# (the bitness of the programs this prefix runs: kolvar_wine_bits_of sets it
# from a program).
source "$(dirname "${BASH_SOURCE[0]}")/build-folder.sh"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# True when this kernel runs 32-bit Linux programs, which 32-bit Wine is.
kolvar_wine32_works() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Exports KOLVAR_WINE_BITS as the bitness of the Windows program given, so
# that the loader which can run it is chosen.
kolvar_wine_bits_of() {
  case "$(file -b "$1")" in
    PE32+*) KOLVAR_WINE_BITS=64 ;;
    *) KOLVAR_WINE_BITS=32 ;;
  esac
  export KOLVAR_WINE_BITS
}

# Sets KOLVAR_PRESET to the Windows build this machine's Wine runs (the
# shipped 32-bit one where it can, else the 64-bit one of the same sources)
# and exports KOLVAR_WINE_BITS to match.
kolvar_choose_wine_preset() {
  if kolvar_wine32_works; then
    KOLVAR_PRESET=win32 KOLVAR_WINE_BITS=32
  else
    KOLVAR_PRESET=win64 KOLVAR_WINE_BITS=64
  fi
  export KOLVAR_WINE_BITS
}

# Picks the loader straight away: Debian's wine wrapper always prefers the
# 32-bit one when it is installed, even where it cannot run.
kolvar_wine_select() {
  if [ "${KOLVAR_WINE_BITS:-32}" = 64 ]; then
    export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
  else
    export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine
  fi
}

kolvar_wine() {
  kolvar_wine_select
  "$WINELOADER" "$@"
}

# Where Debian's fonts-wine puts Wine's own fonts. Wine 8 as Debian builds it
# reads fonts from the prefix's Windows font folder and from fontconfig, never
# from here, and its wineboot copies none of them into a new prefix.
KOLVAR_WINE_FONT_DIR=${KOLVAR_WINE_FONT_DIR:-/usr/share/wine/fonts}

# Copies all of Wine's own fonts into the prefix and registers them as
# Windows does, so that a program sees the faces Windows would give it:
# Marlett for the caption's minimise, maximise and close boxes (without it
# Wine draws them as the letters 0, 1 and r), MS Sans Serif, Tahoma (the
# face behind "MS Shell Dlg") and the rest, instead of wider substitutes.
# A prefix made before a font was added gets it on its next use. Safe to run
# from several processes at once: each file appears whole or not at all.
kolvar_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  local stamp="$WINEPREFIX/.kolvar-wine-fonts"
  [ -f "$stamp" ] && [ ! "$KOLVAR_WINE_FONT_DIR" -nt "$stamp" ] && return 0
  if [ ! -f "$KOLVAR_WINE_FONT_DIR/marlett.ttf" ]; then
    echo "wine: no fonts in $KOLVAR_WINE_FONT_DIR (package fonts-wine): dialogs use substitutes, caption buttons draw as letters" >&2
    return 0
  fi
  mkdir -p "$fonts"
  local reg="$WINEPREFIX/.kolvar-wine-fonts.$$.reg" file name
  {
    printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\n'
    for file in "$KOLVAR_WINE_FONT_DIR"/*.ttf "$KOLVAR_WINE_FONT_DIR"/*.fon; do
      name=$(basename "$file")
      case "$name" in
        *.ttf) printf '"%s (TrueType)"="%s"\n' "${name%.ttf}" "$name" ;;
        *) printf '"%s"="%s"\n' "${name%.fon}" "$name" ;;
      esac
      [ -f "$fonts/$name" ] && cmp -s "$file" "$fonts/$name" && continue
      cp "$file" "$fonts/$name.$$"
      mv -f "$fonts/$name.$$" "$fonts/$name"
    done
  } >"$reg"
  "$WINELOADER" regedit /S "$(kolvar_wine_path "$reg")" >/dev/null 2>&1
  rm -f "$reg"
  touch "$stamp"
}

# Sets the display DPI the prefix's programs get (Wine reads LogPixels at
# each program's start), unless it already has it.
kolvar_wine_dpi() {  # dpi
  local stamp="$WINEPREFIX/.kolvar-dpi"
  [ "$(cat "$stamp" 2>/dev/null)" = "$1" ] && return 0
  "$WINELOADER" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 &&
    echo "$1" >"$stamp"
}

# The Windows path of a file of this machine, for programs run under Wine.
kolvar_wine_path() {
  printf 'Z:%s' "$(realpath "$1" | tr / '\\')"
}

# Creates the prefix once (serialised, since CTest may start several tests at
# once). Building one costs Wine ten seconds or more, so a new prefix inside
# a build folder is a copy of a pristine one that folder keeps, built once
# and never run in. A prefix made before Wine's fonts were copied gets them
# on its next use.
kolvar_wine_prefix_ready() {
  kolvar_wine_select
  if [ -f "$WINEPREFIX/.kolvar-ready" ]; then
    kolvar_wine_fonts
    return 0
  fi
  mkdir -p "$(dirname "$WINEPREFIX")"
  local build
  build=$(kolvar_build_folder_of "$(dirname "$WINEPREFIX")")
  if [ -z "$build" ]; then
    kolvar_wine_prefix_locked kolvar_wine_prefix_build
    return
  fi
  local pristine=$build/pristine-wine${KOLVAR_WINE_BITS:-32}
  (export WINEPREFIX=$pristine; kolvar_wine_prefix_locked kolvar_wine_prefix_build) || return 1
  kolvar_wine_prefix_locked kolvar_wine_prefix_copy "$pristine"
}

# Runs the command given unless the prefix is ready, holding its lock.
kolvar_wine_prefix_locked() {
  (
    flock 9
    [ -f "$WINEPREFIX/.kolvar-ready" ] || "$@"
  ) 9>"$WINEPREFIX.lock"
}

# Makes the prefix a copy of the one given; one left half made is built in
# place instead.
kolvar_wine_prefix_copy() {
  if [ -n "$(ls -A "$WINEPREFIX" 2>/dev/null)" ]; then
    kolvar_wine_prefix_build
    return
  fi
  rm -rf "$WINEPREFIX.partial"
  cp -a "$1" "$WINEPREFIX.partial" && mv -T "$WINEPREFIX.partial" "$WINEPREFIX"
}

# Builds a prefix in place and turns off window-manager management, which
# costs about two seconds per hidden top-level window on a bare X server.
kolvar_wine_prefix_build() {
  DISPLAY= "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
  if ! "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 ||
     ! kolvar_wine_fonts || ! wineserver -w || [ ! -d "$WINEPREFIX/drive_c" ]; then
    echo "wine: could not create $WINEPREFIX" >&2
    return 1
  fi
  touch "$WINEPREFIX/.kolvar-ready"
}

# Starts Wine's background processes (services, explorer) with no terminal
# attached: started by a test program, they would inherit its output pipe and
# keep CTest waiting on it until the server ends.
kolvar_wine_warm() {
  kolvar_wine_select
  "$WINELOADER" cmd /c exit </dev/null >/dev/null 2>&1 || true
  export KOLVAR_WINE_WARM=1
}
