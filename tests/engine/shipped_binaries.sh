#!/usr/bin/env bash
# The shipped pair as built: the program and the engine need no compiler
# runtime DLL beside them (only system libraries and the engine), the
# program's replacements of the C++ library's throw helpers and terminate
# handler (app/lean_runtime.cpp) still keep the library's own out, and the
# engine exports its three classes whole, and neither imports a function
# that the oldest Windows the user's guide names lacks.
#
#   shipped_binaries.sh OBJDUMP Kolvar.exe drevcore.dll user-guide.md
set -uo pipefail
objdump=$1 program=$2 engine=$3 guide=$4
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

system_dlls='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|msvcrt|drevcore)\.dll$'
for binary in "$program" "$engine"; do
  imports=$("$objdump" -p "$binary" | awk '/DLL Name:/ { print tolower($3) }')
  [ -n "$imports" ] || fail "$(basename "$binary"): no imports read"
  for dll in $imports; do
    [[ $dll =~ $system_dlls ]] || fail "$(basename "$binary") needs $dll"
  done
done

# XP's own DLLs are not at hand, so what it lacks is a list: the functions
# that Windows Vista and later added and that this compiler's runtime, its
# threads library or the program could plausibly import.
post_xp='GetTickCount64 InitializeSRWLock AcquireSRWLockExclusive AcquireSRWLockShared
  ReleaseSRWLockExclusive ReleaseSRWLockShared InitializeConditionVariable SleepConditionVariableCS
  SleepConditionVariableSRW WakeConditionVariable WakeAllConditionVariable InitOnceExecuteOnce
  InitOnceBeginInitialize InitOnceComplete FlsAlloc FlsFree FlsGetValue FlsSetValue CreateEventExA
  CreateEventExW CreateMutexExA CreateMutexExW CreateSemaphoreExW GetSystemTimePreciseAsFileTime
  QueryUnbiasedInterruptTime GetCurrentProcessorNumber QueryFullProcessImageNameW GetErrorMode
  SetThreadErrorMode CompareStringEx GetLocaleInfoEx LCMapStringEx RegGetValueA RegGetValueW
  RegDeleteKeyExA ChangeWindowMessageFilter ChangeWindowMessageFilterEx SetProcessDPIAware
  GetDpiForWindow GetDpiForSystem SetProcessDpiAwarenessContext ShutdownBlockReasonCreate
  ShutdownBlockReasonDestroy LoadIconMetric LoadIconWithScaleDown TaskDialogIndirect'
oldest=$(grep -oiE 'made for Windows [A-Za-z0-9.]+' "$guide" | head -1 | awk '{ print $NF }')
case "$oldest" in
  XP) lacks=$post_xp ;;
  *) lacks=""; fail "the guide names no oldest Windows this check knows (\"$oldest\")" ;;
esac
for binary in "$program" "$engine"; do
  imported=$("$objdump" -p "$binary" | awk '/DLL Name:/ { dll = 1 } dll && /^\t[0-9a-f]+\t +[0-9]+ / { print $3 }')
  for function in $lacks; do
    grep -qx "$function" <<<"$imported" && fail "$(basename "$binary") imports $function, which Windows $oldest lacks"
  done
done

# What the library's own versions bring: the type names of the standard
# errors its throw helpers raise, and the verbose handler's message.
for marker in St12length_error St12out_of_range St11logic_error 'terminate called after throwing'; do
  ! grep -qaF "$marker" "$program" || fail "$(basename "$program") holds the C++ library's \"$marker\": its own throw code or terminate handler is linked in again"
done

exports=$("$objdump" -p "$engine" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p')
for class in 12CDSystemInfo 14CDMemoryStatus 12CDMemoryFree; do
  for member in "_ZN${class}C1Ev" "_ZN${class}C1ERKS_" "_ZN${class}aSERKS_" "_ZN${class}D1Ev" \
                "_ZN${class}D0Ev" "_ZTV${class}" "_ZTI${class}"; do
    grep -q "[] ]${member}\$" <<<"$exports" || fail "drevcore does not export $member"
  done
done
for method in getInfoPageSize getStatusPhyAvaiMB getStatusPhyAvaiPercent FreeMemoryThreadMB \
              getProgressPercent MinimalKeepModeThreadStop getReleaseFailures; do
  grep -q "[0-9]${method}E" <<<"$exports" || fail "drevcore does not export $method"
done

[ "$failures" = 0 ] && echo "shipped binaries: system imports only, none newer than Windows $oldest, lean runtime, engine classes exported whole"
exit $((failures > 0))
