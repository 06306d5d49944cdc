#!/usr/bin/env bash
# Makes the pictures of README.md and docs/user-guide.md from the program as
# built: Kolvar runs in a Wine desktop on a private X server, and each page,
# the Preferences window and the tray icon with its tip are photographed and
# cut to their window.
#
#   scripts/screenshots.sh [folder]      (default: docs/screenshots)
#
# Writes memory-status, free-memory, automation, regular-free, preferences,
# tray, setup (its first page), memory-status-150 and memory-status-175 (the
# first page at 150 % and 175 % scaling) (.png) from the 64-bit build, the
# one 64-bit Windows users get, and names that build ("64-bit build under
# Wine 8.0") in the captions of README.md and docs/user-guide.md when
# writing to docs/screenshots.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
out=$(realpath -m "${1:-$root/docs/screenshots}")
started=$SECONDS
scripts/setup.sh
source scripts/wine-session.sh

echo "Building Kolvar..."
build_log=$(mktemp)
# 64-bit Wine starts wherever 32-bit Wine does, and on more machines.
export KOLVAR_PRESET=win64 KOLVAR_WINE_BITS=64
KOLVAR_BUILD=$PWD/build/$KOLVAR_PRESET
if ! kolvar_build_targets "$KOLVAR_PRESET" Kolvar drevcore kolvar_e2e_driver installer >"$build_log" 2>&1; then
  cat "$build_log" >&2
  rm -f "$build_log"
  exit 1
fi
rm -f "$build_log"
preset=$KOLVAR_PRESET
build=$KOLVAR_BUILD
program=$build/bin/Kolvar.exe
driver=$build/bin/kolvar_e2e_driver.exe

fail() {
  echo "screenshots: $*" >&2
  exit 1
}

# The menu commands, by their names in resources/resource.h: a command that
# is renamed or gone stops the script instead of photographing another page.
command_id() {  # name
  local id
  id=$(awk -v name="$1" '$1 == "#define" && $2 == name { print $3 }' resources/resource.h)
  [[ $id =~ ^[0-9]+$ ]] || fail "no command $1 in resources/resource.h"
  echo "$id"
}
view_memory_status=$(command_id ID_VIEW_MEMORY_STATUS)
view_free_memory=$(command_id ID_VIEW_FREE_MEMORY)
view_automation=$(command_id ID_VIEW_AUTOMATION)
view_regular_free=$(command_id ID_VIEW_REGULAR_FREE)
tools_preference=$(command_id ID_TOOLS_PREFERENCE)
file_exit=$(command_id ID_FILE_EXIT)

# A new prefix each time: no settings left from an earlier run, and the
# set-up today's scripts give every prefix.
export WINEPREFIX=$build/screenshots-wineprefix
rm -rf "$WINEPREFIX"
work=$(mktemp -d)
wine_pid=
finish() {
  [ -z "$wine_pid" ] || kolvar_close_program "$wine_pid" post "$file_exit" || true
  rm -rf "$work"
}
kolvar_session_on_exit finish
kolvar_session_begin --own-display
wine_version=$("$WINELOADER" --version | sed -E 's/^wine-([0-9]+\.[0-9]+).*/\1/')
shows="${KOLVAR_WINE_BITS}-bit build under Wine $wine_version"

desktop_name=Kolvar
desktop=(explorer "/desktop=$desktop_name,800x600")
desktop_title="$desktop_name - Wine desktop"
frame_title="Velkor Halvenmark"
preferences_title="Tools"

# A shown window's outer rectangle on the X screen, as W H X Y. Without a
# window manager Wine draws caption and frame into the window itself.
rectangle_of() {  # xwininfo's window choice: -name TITLE or -id ID
  xwininfo "$@" 2>/dev/null | awk '
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF }
    /Map State:/ { shown = ($NF == "IsViewable") }
    END { if (!shown || w < 2) exit 1; print w, h, x, y }'
}
shown() { rectangle_of -name "$1" >/dev/null; }
gone() { ! shown "$1"; }

# The shown top-level windows of the Wine desktop, one "ID W H X Y" a line.
desktop_windows() {
  local id
  xwininfo -children -name "$desktop_title" | awk '/^ +0x[0-9a-f]+ / { print $1 }' |
    while read -r id; do
      rectangle_of -id "$id" | sed "s/^/$id /" || true
    done
}

# A menu command to the running Kolvar. The driver must run on Kolvar's
# desktop to find its window.
post() {  # command id
  timeout 20 "$WINELOADER" "${desktop[@]}" "$driver" --post "$1" </dev/null >/dev/null 2>&1
}

photograph() {  # file name, W H X Y
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${2}x${3}+${4}+${5}" +repage "$out/$1.png"
  echo "  $out/$1.png (${2}x${3})"
}

photograph_window() {  # file name, window title
  local w h x y
  read -r w h x y < <(rectangle_of -name "$2") || fail "no window \"$2\" to photograph"
  photograph "$1" "$w" "$h" "$x" "$y"
}

# A click on a window's caption. A window opened on a command from another
# process is not always the active one, and would show a greyed caption.
activate() {  # window title
  local w h x y
  read -r w h x y < <(rectangle_of -name "$1") || fail "no window \"$1\" to activate"
  xdotool mousemove $((x + w / 2)) $((y + 8)) click 1
  xdotool mousemove "$((screen_w - 1))" "$((screen_h - 1))"
}

photograph_page() {  # file name, command id
  post "$2" || fail "the command $2 did not reach Kolvar"
  sleep 1.5
  photograph_window "$1" "$frame_title"
}

# The tray icon with its tip: the pointer rests on the icon, and the
# picture takes the tip, the icon and the end of the taskbar.
photograph_tray() {  # file name
  local desk_w desk_h desk_x desk_y bar tip
  read -r desk_w desk_h desk_x desk_y < <(rectangle_of -name "$desktop_title")
  # The taskbar spans the desktop's width along its bottom edge.
  bar=$(desktop_windows | awk -v w="$desk_w" -v bottom=$((desk_y + desk_h)) \
    '$2 == w && $5 + $3 == bottom { print; exit }')
  [ -n "$bar" ] || fail "no taskbar on the Wine desktop"
  local bar_id bar_w bar_h bar_x bar_y
  read -r bar_id bar_w bar_h bar_x bar_y <<<"$bar"
  # The first tray icon takes the taskbar's right-most small-icon slot.
  xdotool mousemove $((bar_x + bar_w - 10)) $((bar_y + bar_h / 2))
  find_tip() {
    tip=$(desktop_windows | awk -v bar="$bar_id" '$1 != bar && $3 < 40 { print; exit }')
    [ -n "$tip" ]
  }
  kolvar_wait_until 10 find_tip || fail "the tray icon showed no tip"
  sleep 0.5
  local tip_x tip_y
  read -r _ _ _ tip_x tip_y <<<"$tip"
  local left=$((tip_x - 16)) top=$((tip_y - 16))
  ((left <= desk_x + desk_w - 300)) || left=$((desk_x + desk_w - 300))
  photograph "$1" $((desk_x + desk_w - left)) $((desk_y + desk_h - top)) "$left" "$top"
  xdotool mousemove "$((screen_w - 1))" "$((screen_h - 1))"
}

photograph_preferences() {  # file name
  post "$tools_preference" || fail "the command $tools_preference did not reach Kolvar"
  kolvar_wait_until 10 shown "$preferences_title" || fail "the Preferences window did not open"
  activate "$preferences_title"
  sleep 1
  photograph_window "$1" "$preferences_title"
  # Cancel, as a user would close it.
  xdotool key Escape
  kolvar_wait_until 10 gone "$preferences_title" || fail "the Preferences window did not close"
}

# Out of every window's way, so that no tooltip opens by chance.
read -r screen_w screen_h _ _ < <(rectangle_of -root)
xdotool mousemove "$((screen_w - 1))" "$((screen_h - 1))"

# A freeing run asks for nearly all the machine's memory: the data cap keeps
# Kolvar from taking it from everything else here.
start_kolvar() {
  setsid prlimit --data=1610612736:1610612736 "$WINELOADER" "${desktop[@]}" "$program" \
    </dev/null >/dev/null 2>&1 &
  wine_pid=$!
  kolvar_wait_until 60 shown "$frame_title" || fail "Kolvar's window did not appear"
  activate "$frame_title"
  # The figures and the tray tip fill in on the first timer ticks.
  sleep 3
}
start_kolvar

mkdir -p "$out"
echo "Screenshots of the $shows ($preset build), display $DISPLAY:"
photograph_page memory-status "$view_memory_status"
photograph_page free-memory "$view_free_memory"
photograph_page automation "$view_automation"
photograph_page regular-free "$view_regular_free"
post "$view_memory_status"
photograph_tray tray
photograph_preferences preferences

# The setup program's first page, left with Cancel.
setup=$(ls -t "$build"/dist/Kolvar-*-setup.exe | head -1)
setup_title="Kolvar $(basename "$setup" | sed -E 's/^Kolvar-([0-9.]+)-.*/\1/') Setup"
"$WINELOADER" "${desktop[@]}" "$setup" </dev/null >/dev/null 2>&1 &
setup_pid=$!
kolvar_wait_until 60 shown "$setup_title" || fail "the setup's window did not appear"
activate "$setup_title"
sleep 1
photograph_window setup "$setup_title"
xdotool key Escape
timeout 15 tail --pid="$setup_pid" -f /dev/null || kill "$setup_pid"

# The Memory Status page once more at 150 % display scaling: Kolvar started
# again with the prefix's DPI at 144.
post "$file_exit"
timeout 15 tail --pid="$wine_pid" -f /dev/null || fail "Kolvar did not end"
kolvar_wine_dpi 144
start_kolvar
photograph_page memory-status-150 "$view_memory_status"

# And at 175 %, where Windows asks for icons of 28 and 56 pixels.
post "$file_exit"
timeout 15 tail --pid="$wine_pid" -f /dev/null || fail "Kolvar did not end"
kolvar_wine_dpi 168
start_kolvar
photograph_page memory-status-175 "$view_memory_status"

# The captions under the docs' pictures name the build they show.
if [ "$out" = "$root/docs/screenshots" ]; then
  sed -i -E "s/[0-9]+-bit build under Wine [0-9]+\.[0-9]+/$shows/g" README.md docs/user-guide.md
  echo "Captions in README.md and docs/user-guide.md: \"$shows\"."
else
  echo "Captions for these pictures: \"$shows\"."
fi
echo "Done in $((SECONDS - started)) s."
