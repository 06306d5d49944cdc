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
