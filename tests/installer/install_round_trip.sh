#!/usr/bin/env bash
# Installs Kolvar silently into a fresh Wine prefix, checks what the
# installer made, starts the installed program, lets it register itself to
# start at log-on, installs again silently while it runs, starts it again,
# uninstalls silently while it runs and checks that nothing is left. A
# 32-bit setup runs in a 64-bit prefix where 64-bit Wine runs: it then
# installs the 64-bit pair over a 32-bit install laid down beforehand.
set -euo pipefail
setup=$1 work=$2 hold_file=$3 fake_restart_manager=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)

export WINEPREFIX=$work/prefix
source "$root/scripts/wine-session.sh"
kolvar_wine_bits_of "$setup"
if [ "$KOLVAR_WINE_BITS" = 32 ] && /usr/lib/wine/wine64 --version >/dev/null 2>&1; then
  export KOLVAR_WINE_BITS=64
fi
rm -rf "$work"
mkdir -p "$work"
kolvar_session_begin --keep-server

failures=0
check() {  # check "what" command...
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
absent() { ! "$@"; }
reg_has() { "$WINELOADER" reg query "$@"; }
# The Linux processes of the Kolvar programs running in this prefix.
kolvar_pids() {
  local pid
  for pid in $(pgrep -f '(^|[\\/])Kolvar\.exe' || true); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  return 0
}
none_alive() { local pid; for pid in "$@"; do ! kill -0 "$pid" 2>/dev/null || return 1; done; }
# Without a desktop, Wine shows the notification area as a window of its
# own, and only while it holds an icon.
tray_shown() { xdotool search --onlyvisible --name '^Wine System Tray$'; }
start_installed() {
  (cd "$instdir" && exec "$WINELOADER" Kolvar.exe) >/dev/null 2>&1 &
  kolvar_wait_until 30 xdotool search --onlyvisible --name '^Velkor Halvenmark'
}
# Holds the installed engine open from a stand-in program (with a window of
# the program's class that ignores close requests, when asked for).
holder=
hold_engine() {
  rm -f "$WINEPREFIX/drive_c/held"
  "$WINELOADER" "${hold_program:-$hold_file}" 'C:\Program Files\Kolvar\drevcore.dll' 'C:\held' "$@" >/dev/null 2>&1 &
  holder=$!
  kolvar_wait_until 30 test -e "$WINEPREFIX/drive_c/held"
}
release_engine() {
  kill "$holder" 2>/dev/null || true
  kolvar_wait_until 10 none_alive "$holder" || kill -9 "$holder" 2>/dev/null || true
  wait "$holder" 2>/dev/null || true
}
setting_names() { "$WINELOADER" reg query "$settings" 2>/dev/null | tr -d '\r' | awk '/REG_/ { print $1 }' | sort; }
reg_value() { "$WINELOADER" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'; }

instdir="$WINEPREFIX/drive_c/Program Files/Kolvar"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kolvar/Kolvar.lnk"
settings='HKLM\SOFTWARE\Velkor\Halven Mark'
uninstall='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Kolvar'
run_machine='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
run_user='HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
version=$(basename "$setup" | sed -E 's/^Kolvar-([0-9.]+).*/\1/')

# What a 32-bit Kolvar installed on 64-bit Windows left: files, a shortcut,
# and keys in the 32-bit registry view.
old_dir="$WINEPREFIX/drive_c/Program Files (x86)/Kolvar"
old_program='C:\Program Files (x86)\Kolvar\Kolvar.exe'
other_run='HKU\S-1-5-21-1111-2222-3333-1001\Software\Microsoft\Windows\CurrentVersion\Run'
settings32='HKLM\SOFTWARE\Wow6432Node\Velkor\Halven Mark'
uninstall32='HKLM\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Kolvar'
run_machine32='HKLM\SOFTWARE\Wow6432Node\Microsoft\Windows\CurrentVersion\Run'
reg_set() { "$WINELOADER" reg add "$1" /v "$2" /t "$3" /d "$4" /f >/dev/null 2>&1; }
lay_down_32bit_install() {
  mkdir -p "$old_dir" "$(dirname "$shortcut")"
  for file in Kolvar.exe drevcore.dll Uninstall.exe; do echo 1.0.0 >"$old_dir/$file"; done
  echo "$old_program" >"$shortcut"
  reg_set "$uninstall32" DisplayVersion REG_SZ 1.0.0
  reg_set "$uninstall32" InstallLocation REG_SZ 'C:\Program Files (x86)\Kolvar'
  reg_set "$uninstall32" UninstallString REG_SZ '"C:\Program Files (x86)\Kolvar\Uninstall.exe"'
  reg_set "$settings32" page41-01 REG_DWORD 0
  reg_set "$settings32" page41-02 REG_DWORD 640
  reg_set "$settings32" page41-04 REG_DWORD 30
  reg_set "$settings32" setting03 REG_DWORD 1
  reg_set "$settings32" path01 REG_SZ "$old_program"
  reg_set "$settings32" path02 REG_DWORD 1
  reg_set "$settings" page41-04 REG_DWORD 60
  reg_set "$run_machine32" Kolvar REG_SZ "\"$old_program\""
  reg_set "$run_user" Kolvar REG_SZ "$old_program"
  reg_set "$other_run" Kolvar REG_SZ "$old_program"
}
check_32bit_install_taken_over() {
  local program='C:\Program Files\Kolvar\Kolvar.exe'
  check "the 64-bit program is installed" test "$(file -b "$instdir/Kolvar.exe" | cut -c1-5)" = PE32+
  check "the 64-bit engine is installed" test "$(file -b "$instdir/drevcore.dll" | cut -c1-5)" = PE32+
  check "stored Regular Free values moved" test "$(reg_value "$settings" page41-02)" = 0x280
  check "a value the 64-bit key has is kept" test "$(reg_value "$settings" page41-04)" = 0x3c
  check "the stored path names the new program" test "$(reg_value "$settings" path01)" = "$program"
  check "no 32-bit settings key left" absent reg_has "$settings32"
  check "machine Run entry starts the new program" test "$(reg_value "$run_machine" Kolvar)" = "\"$program\""
  check "no 32-bit machine Run entry left" absent reg_has "$run_machine32" /v Kolvar
  check "user Run entry starts the new program" test "$(reg_value "$run_user" Kolvar)" = "\"$program\""
  check "another account's Run entry starts the new program" test "$(reg_value "$other_run" Kolvar)" = "\"$program\""
  check "no 32-bit file left" absent test -e "$old_dir"
  check "the shortcut names the new program" absent grep -qa 'x86' "$shortcut"
  check "no 32-bit uninstall entry left" absent reg_has "$uninstall32"
  # The Preferences step below makes its own entry.
  "$WINELOADER" reg delete "$run_machine" /v Kolvar /f >/dev/null 2>&1 || true
  "$WINELOADER" reg delete "$run_user" /v Kolvar /f >/dev/null 2>&1 || true
}

if [ "$KOLVAR_WINE_BITS" = 64 ]; then
  echo "== a 32-bit install to take over"
  lay_down_32bit_install
  check "the 32-bit install is in place" reg_has "$uninstall32"
fi

echo "== install"
timeout 120 "$WINELOADER" "$setup" /S
[ "$KOLVAR_WINE_BITS" = 32 ] || check_32bit_install_taken_over
check "program installed" test -f "$instdir/Kolvar.exe"
check "a silent install starts nothing" test -z "$(kolvar_pids)"
check "engine installed" test -f "$instdir/drevcore.dll"
check "uninstaller installed" test -f "$instdir/Uninstall.exe"
check "start-menu shortcut" test -f "$shortcut"
check "settings key made" reg_has "$settings"
check "uninstall entry" test "$(reg_value "$uninstall" DisplayVersion)" = "$version"
check "uninstall entry names the product" test "$(reg_value "$uninstall" DisplayName)" = Kolvar
check "uninstall entry has a publisher" test "$(reg_value "$uninstall" Publisher)" = Velkor
check "uninstall entry has a size" test -n "$(reg_value "$uninstall" EstimatedSize)"
check "uninstall command" test "$(reg_value "$uninstall" UninstallString)" = '"C:\Program Files\Kolvar\Uninstall.exe"'

echo "== run the installed program"
check "main window shown" start_installed
check "tray icon shown" kolvar_wait_until 10 tray_shown

# What the Preferences dialog writes when "Run at windows startup" is saved:
# driven through the program's own keyboard interface.
# Keys reach the window only once it has the input focus: wait for that,
# and should the menu path still miss, go round again a few times.
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
for attempt in 1 2 3; do
  window=$(xdotool search --onlyvisible --name '^Velkor Halvenmark' | head -1 || true)
  [ -n "$window" ] || break
  xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window" || true
  kolvar_wait_until 10 has_focus "$window" || echo "(the window did not report the input focus)"
  xdotool key --delay 150 F10 Right Down Return
  if kolvar_wait_until 15 xdotool search --onlyvisible --name '^Tools$'; then
    # Focus starts on Save; two tabs reach "Run at windows startup".
    xdotool key --delay 150 Tab Tab space shift+Tab shift+Tab space
    kolvar_wait_until 10 reg_has "$run_machine" /v Kolvar || true
    xdotool key --delay 150 Escape
    kolvar_wait_until 10 absent xdotool search --onlyvisible --name '^Tools$' || true
  else
    xdotool key Escape Escape
  fi
  reg_has "$run_machine" /v Kolvar >/dev/null 2>&1 && break
  echo "(attempt $attempt did not reach the Preferences dialog)"
done
check "Run entry is the installed program's quoted path" \
  test "$(reg_value "$run_machine" Kolvar)" = '"C:\Program Files\Kolvar\Kolvar.exe"'

echo "== install again while it runs"
old_pids=$(kolvar_pids)
check "the first copy runs" test -n "$old_pids"
names_before=$(setting_names)
touch "$work/before-upgrade"
check "silent install over the running copy succeeds" timeout 120 "$WINELOADER" "$setup" /S
check "program replaced" test "$instdir/Kolvar.exe" -nt "$work/before-upgrade"
check "engine replaced" test "$instdir/drevcore.dll" -nt "$work/before-upgrade"
check "the old copy has ended" kolvar_wait_until 10 none_alive $old_pids
check "no copy left running" test -z "$(kolvar_pids)"
check "tray icon removed" absent tray_shown
# A copy closed as a user closes it saves its page values on the way out.
names_after=$(setting_names)
check "stored settings kept" test -z "$(comm -23 <(echo "$names_before") <(echo "$names_after"))"
check "the closed copy saved its values" test -n "$(comm -13 <(echo "$names_before") <(echo "$names_after"))"
check "Run entry kept" test "$(reg_value "$run_machine" Kolvar)" = '"C:\Program Files\Kolvar\Kolvar.exe"'

echo "== a file in use stops the install"
if hold_engine; then
  touch "$work/before-blocked"
  status=0
  timeout 120 "$WINELOADER" "$setup" /S || status=$?
  check "silent install fails" test "$status" -ne 0
  check "no file replaced" absent test "$instdir/Kolvar.exe" -nt "$work/before-blocked"
  check "uninstall entry kept" reg_has "$uninstall"
else
  check "engine held open" false
fi
release_engine

echo "== a copy that ignores the close request is ended"
if hold_engine KolvarFrame; then
  touch "$work/before-forced"
  check "silent install succeeds" timeout 120 "$WINELOADER" "$setup" /S
  check "the copy was ended" kolvar_wait_until 10 none_alive "$holder"
  check "engine replaced" test "$instdir/drevcore.dll" -nt "$work/before-forced"
else
  check "engine held open behind a window" false
fi
release_engine

echo "== a copy out of reach of its window is closed through the Restart Manager"
# A Kolvar.exe with no window of the program's class, as one in another
# session is to setup, which learns of it from the stand-in Restart Manager
# only; another program holding the program file keeps it running.
# The setup loads the stand-in from its own bitness's system folder.
system32="$WINEPREFIX/drive_c/windows/system32"
if [ "$KOLVAR_WINE_BITS" = 64 ] && [ "$(file -b "$fake_restart_manager" | cut -c1-5)" != PE32+ ]; then
  system32="$WINEPREFIX/drive_c/windows/syswow64"
fi
cp "$system32/rstrtmgr.dll" "$work/rstrtmgr.dll.wine"
cp "$fake_restart_manager" "$system32/rstrtmgr.dll"
cp "$hold_file" "$work/Kolvar.exe"
"$WINELOADER" "$hold_file" 'C:\Program Files\Kolvar\Kolvar.exe' 'C:\held-too' >/dev/null 2>&1 &
other_holder=$!
if hold_program=$work/Kolvar.exe hold_engine && kolvar_wait_until 30 test -e "$WINEPREFIX/drive_c/held-too"; then
  export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;rstrtmgr=n"
  check "silent install fails while another program holds a file" absent timeout 120 "$WINELOADER" "$setup" /S
  check "the copy was left running" kill -0 "$holder"
  kill "$other_holder"
  wait "$other_holder" 2>/dev/null || true
  check "silent install succeeds" timeout 120 "$WINELOADER" "$setup" /S
  check "the copy was ended" kolvar_wait_until 10 none_alive "$holder"
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES%;rstrtmgr=n}
else
  check "engine held open by a Kolvar.exe" false
fi
kill "$other_holder" 2>/dev/null || true
release_engine
cp "$work/rstrtmgr.dll.wine" "$system32/rstrtmgr.dll"

# Another account's loaded hive, and this account's VirtualStore copy of the
# machine-wide settings (Windows keeps one when the program ran unelevated).
other_user='HKU\S-1-5-21-1111-2222-3333-1001'
other_store="${other_user}_Classes\VirtualStore\MACHINE\SOFTWARE\WOW6432Node\Velkor\Halven Mark"
own_store='HKCU\Software\Classes\VirtualStore\MACHINE\SOFTWARE\Velkor\Halven Mark'
"$WINELOADER" reg add "$other_user\Software\Microsoft\Windows\CurrentVersion\Run" /v Kolvar /d 'C:\K\Kolvar.exe' /f >/dev/null 2>&1
"$WINELOADER" reg add "$other_store" /v page41-02 /t REG_DWORD /d 640 /f >/dev/null 2>&1
"$WINELOADER" reg add "$own_store" /v page41-02 /t REG_DWORD /d 640 /f >/dev/null 2>&1
check "another account's entries are in place" reg_has "$other_store"
check "this account's VirtualStore copy is in place" reg_has "$own_store"
if [ "$KOLVAR_WINE_BITS" = 64 ]; then
  reg_set "$settings32" page41-02 REG_DWORD 640
  reg_set "$run_machine32" Kolvar REG_SZ "\"$old_program\""
  check "32-bit view entries are in place" reg_has "$settings32"
fi

# Profiles whose hives are not loaded: one whose hive files hold Kolvar's
# values, sorted after one with a damaged hive file and one with none. Wine
# writes nothing back to a loaded hive file, so what the uninstaller deleted
# is read from Wine's trace of its registry calls.
profile_list='HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList'
add_profile() {  # sid folder
  "$WINELOADER" reg add "$profile_list\\$1" /v ProfileImagePath /t REG_EXPAND_SZ /d "%SystemDrive%\\$2" /f \
    >/dev/null 2>&1
}
add_profile S-1-5-21-1111-2222-3333-1002 damaged
add_profile S-1-5-21-1111-2222-3333-1003 missing
add_profile S-1-5-21-1111-2222-3333-1004 away
mkdir -p "$WINEPREFIX/drive_c/damaged" "$WINEPREFIX/drive_c/away/AppData/Local/Microsoft/Windows"
head -c 4096 /dev/urandom >"$WINEPREFIX/drive_c/damaged/NTUSER.DAT"
printf '%s\n' 'WINE REGISTRY Version 2' '' '[Software\\Microsoft\\Windows\\CurrentVersion\\Run] 1' \
  '"Kolvar"="C:\\K\\Kolvar.exe"' '' '[Software\\Velkor\\Halven Mark] 1' '"page41-02"=dword:00000280' \
  >"$WINEPREFIX/drive_c/away/NTUSER.DAT"
printf '%s\n' 'WINE REGISTRY Version 2' '' '[VirtualStore\\MACHINE\\SOFTWARE\\Velkor\\Halven Mark] 1' \
  '"page41-02"=dword:00000280' >"$WINEPREFIX/drive_c/away/AppData/Local/Microsoft/Windows/UsrClass.dat"
# Whether the trace shows KEY opened (so present) and then deleted, or with
# a VALUE, that value deleted from it.
deleted_in_hive() {  # key [value], spelt as the trace spells them
  key=$1 value=${2-} awk '
    BEGIN { key = ENVIRON["key"]; value = ENVIRON["value"] }
    index($0, "NtOpenKeyEx (") { opening = index($0, ",L\"" key "\",") > 0; next }
    /NtOpenKeyEx <- / { if (opening) handle[$NF] = 1; else delete handle[$NF]; opening = 0; next }
    value == "" && /NtDeleteKey \(/ { h = $NF; gsub(/[()]/, "", h); if (h in handle) found = 1 }
    value != "" && index($0, "NtDeleteValueKey (") && index($0, ",L\"" value "\")") {
      h = $NF; sub(/^\(/, "", h); sub(/,.*/, "", h); if (h in handle) found = 1 }
    END { exit !found }' "$work/uninstall-trace"
}

echo "== uninstall while it runs"
check "the new copy starts" start_installed
check "tray icon shown again" kolvar_wait_until 10 tray_shown
running_pids=$(kolvar_pids)
WINEDEBUG=-all,trace+reg timeout 120 "$WINELOADER" "$instdir/Uninstall.exe" /S 2>"$work/uninstall-trace"
# The uninstaller finishes from a copy of itself in the temporary folder.
kolvar_wait_until 60 absent test -e "$instdir" || true
kolvar_wait_until 30 absent reg_has "$uninstall" || true
check "the running copy has ended" kolvar_wait_until 10 none_alive $running_pids
check "no copy left running" test -z "$(kolvar_pids)"
check "no tray icon left" absent tray_shown
check "program folder removed" absent test -e "$instdir"
check "shortcut removed" absent test -e "$shortcut"
check "start-menu folder removed" absent test -e "$(dirname "$shortcut")"
check "settings key removed" absent reg_has "$settings"
check "machine Run entry removed" absent reg_has "$run_machine" /v Kolvar
check "user Run entry removed" absent reg_has "$run_user" /v Kolvar
check "uninstall entry removed" absent reg_has "$uninstall"
check "another account's Run entry removed" absent reg_has "$other_user\Software\Microsoft\Windows\CurrentVersion\Run" /v Kolvar
check "another account's VirtualStore settings removed" absent reg_has "$other_store"
check "this account's VirtualStore settings removed" absent reg_has "$own_store"
if [ "$KOLVAR_WINE_BITS" = 64 ]; then
  check "32-bit settings key removed" absent reg_has "$settings32"
  check "32-bit machine Run entry removed" absent reg_has "$run_machine32" /v Kolvar
fi
away=Kolvar-uninstall-S-1-5-21-1111-2222-3333-1004
check "a signed-out account's Run entry removed" \
  deleted_in_hive "$away"'\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run' Kolvar
check "a signed-out account's settings removed" deleted_in_hive "$away"'\\SOFTWARE\\Velkor\\Halven Mark'
check "a signed-out account's VirtualStore settings removed" \
  deleted_in_hive "$away"'_Classes\\VirtualStore\\MACHINE\\SOFTWARE\\Velkor\\Halven Mark'
check "its hives unloaded" absent reg_has "HKU\\$away"

echo "== the wizard installs and starts Kolvar"
# Return takes each page's default button (Next, Install, then Finish with
# "Start Kolvar" ticked); it does nothing while the files are copied.
"$WINELOADER" "$setup" >/dev/null 2>&1 &
wizard=$!
window=
for attempt in $(seq 20); do
  kill -0 "$wizard" 2>/dev/null || break
  [ -n "$window" ] || window=$(xdotool search --onlyvisible --name '^Kolvar .* Setup$' 2>/dev/null | head -1 || true)
  [ -z "$window" ] || { xdotool windowactivate --sync "$window" || true; xdotool key Return || true; } 2>/dev/null
  sleep 2
done
check "the wizard has ended" none_alive "$wizard"
check "its last page started Kolvar" kolvar_wait_until 30 xdotool search --onlyvisible --name '^Velkor Halvenmark'
kill $(kolvar_pids) 2>/dev/null || true

echo "round trip: $failures check(s) failed"
[ "$failures" -eq 0 ]
