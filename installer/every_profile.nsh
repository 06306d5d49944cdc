; What the uninstaller removes from each account: its start-at-log-on value,
; its own settings and its VirtualStore copy of the machine-wide ones. The
; accounts whose hives are loaded are under HKEY_USERS; every other profile
; Windows lists has its hives loaded here for the time of the cleaning.

!include x64.nsh

; The profile list is the system's own, in the native view. SetRegView 64
; makes every registry command fail where there is no 64-bit view, so it is
; used only on 64-bit Windows (where a 64-bit setup always is).
!macro NativeRegistryView view
  !if ${NSIS_PTR_SIZE} > 4
    SetRegView ${view}
  !else
    ${If} ${RunningX64}
      SetRegView ${view}
    ${EndIf}
  !endif
!macroend

!define PROFILE_LIST "SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList"
; HKEY_USERS as a handle, sign-extended as Windows defines it.
!define HKEY_USERS_HANDLE -2147483645
; Names under HKEY_USERS for a profile's hives while they are loaded, with
; its SID: a key a failed load leaves behind blocks no other profile.
!define HIVE_KEY "Kolvar-uninstall"

; The copy of the machine-wide settings that Windows keeps for an account
; whose Kolvar ran unelevated, under the VirtualStore key given on the stack
; (with WOW6432Node for the 32-bit program on 64-bit Windows).
Function un.CleanVirtualStore
  Exch $0
  DeleteRegKey HKU "$0\MACHINE\SOFTWARE\WOW6432Node\${SETTINGS_SUBKEY}"
  DeleteRegKey /ifempty HKU "$0\MACHINE\SOFTWARE\WOW6432Node\${PUBLISHER}"
  DeleteRegKey HKU "$0\MACHINE\${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKU "$0\MACHINE\${MAKER_KEY}"
  Pop $0
FunctionEnd

; For each hive under HKEY_USERS: the account's Run value and own settings,
; and its VirtualStore copy, which lives in the account's "_Classes" hive
; and shows through its Software\Classes too.
Function un.CleanEveryLoadedUser
  Push $0
  Push $1
  StrCpy $0 0
  ${Do}
    EnumRegKey $1 HKU "" $0
    ${If} $1 == ""
      ${Break}
    ${EndIf}
    IntOp $0 $0 + 1
    Push $1
    Call un.CleanUserHive
  ${Loop}
  Pop $1
  Pop $0
FunctionEnd

; Cleans the user hive, or the "_Classes" hive, under HKEY_USERS named on
; the stack. The VirtualStore copy lives in the "_Classes" hive, which shows
; in the user hive's Software\Classes too.
Function un.CleanUserHive
  Exch $0
  DeleteRegValue HKU "$0\${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKU "$0\${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKU "$0\${MAKER_KEY}"
  Push "$0\VirtualStore"
  Call un.CleanVirtualStore
  Push "$0\Software\Classes\VirtualStore"
  Call un.CleanVirtualStore
  Pop $0
FunctionEnd

; Loads the hive file named on the stack under the key named below it,
; cleans it and unloads it; a file that cannot be loaded is left alone.
Function un.CleanHiveFile
  Exch $0
  Exch
  Exch $1
  Push $2
  System::Call 'advapi32::RegLoadKey(p ${HKEY_USERS_HANDLE}, t r1, t r0) i .r2'
  ${If} $2 == 0
    Push $1
    Call un.CleanUserHive
    System::Call 'advapi32::RegUnLoadKey(p ${HKEY_USERS_HANDLE}, t r1) i'
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Function un.CleanEveryUnloadedProfile
  Push $0
  Push $1
  Push $2
  Push $3
  Push SeRestorePrivilege
  Call un.EnablePrivilege
  Push SeBackupPrivilege
  Call un.EnablePrivilege
  StrCpy $0 0
  ${Do}
    !insertmacro NativeRegistryView 64
    EnumRegKey $1 HKLM "${PROFILE_LIST}" $0
    ReadRegStr $2 HKLM "${PROFILE_LIST}\$1" "ProfileImagePath"
    !insertmacro NativeRegistryView lastused
    ${If} $1 == ""
      ${Break}
    ${EndIf}
    IntOp $0 $0 + 1
    ClearErrors
    EnumRegKey $3 HKU "$1" 0
    ${If} ${Errors}
    ${AndIf} $2 != ""
      ExpandEnvStrings $2 $2
      Push "${HIVE_KEY}-$1"
      Push "$2\NTUSER.DAT"
      Call un.CleanHiveFile
      Push "${HIVE_KEY}-$1_Classes"
      Push "$2\AppData\Local\Microsoft\Windows\UsrClass.dat"
      Call un.CleanHiveFile
    ${EndIf}
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
