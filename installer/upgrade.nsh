; Which pair of binaries this Windows gets, and how a 64-bit install takes
; over what the 32-bit Kolvar left: its settings, its start at log-on, its
; files and its uninstall entry. Included by kolvar.nsi after its defines.
!include x64.nsh
!include WinVer.nsh
!include FileFunc.nsh

; 64 or 32: the bitness of the program this setup installs, and so the
; program-files folder and the registry view it uses.
Var ProgramBits
; The 32-bit install this setup replaces on 64-bit Windows ("" if none), and
; its folder when that is not $INSTDIR.
Var OldUninstallLocation
Var OldInstDir

; Windows on ARM runs x64 programs from Windows 11 (build 22000) on; older
; ARM64 Windows and every 32-bit Windows get the 32-bit pair.
Function ChooseProgramBits
  !ifdef WIN64
    StrCpy $ProgramBits 64
  !else
    StrCpy $ProgramBits 32
    ${If} ${IsNativeARM64}
      ${If} ${AtLeastBuild} 22000
        StrCpy $ProgramBits 64
      ${EndIf}
    ${ElseIf} ${RunningX64}
      StrCpy $ProgramBits 64
    ${EndIf}
  !endif
  ; /D= sets $INSTDIR before this runs.
  ${If} $ProgramBits = 64
    SetRegView 64
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${EndIf}
  ${Else}
    SetRegView 32
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$PROGRAMFILES32\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

; Copies the pair this Windows gets into $INSTDIR (the output folder).
Function InstallProgramFiles
  ${If} $ProgramBits = 64
    File "${BINDIR64}\Kolvar.exe"
    File "${BINDIR64}\drevcore.dll"
  !ifdef BINDIR32
  ${Else}
    File "${BINDIR32}\Kolvar.exe"
    File "${BINDIR32}\drevcore.dll"
  !endif
  ${EndIf}
FunctionEnd

; Finds a 32-bit install (its uninstall entry in the 32-bit view) that a
; 64-bit install replaces. Ends in the program's own view.
Function FindOld32BitInstall
  StrCpy $OldUninstallLocation ""
  StrCpy $OldInstDir ""
  ${If} $ProgramBits = 64
    SetRegView 32
    ClearErrors
    ReadRegStr $OldUninstallLocation HKLM "${UNINSTALL_KEY}" "UninstallString"
    ${IfNot} ${Errors}
      ReadRegStr $OldUninstallLocation HKLM "${UNINSTALL_KEY}" "InstallLocation"
      ; An entry without a folder still goes.
      ${If} $OldUninstallLocation == ""
        StrCpy $OldUninstallLocation "$PROGRAMFILES32\${PRODUCT}"
      ${EndIf}
      ${If} $OldUninstallLocation != $INSTDIR
        StrCpy $OldInstDir $OldUninstallLocation
      ${EndIf}
    ${EndIf}
    SetRegView 64
  ${EndIf}
FunctionEnd

; The old files must be removable before anything changes.
Function RequireOldFilesWritable
  ${If} $OldInstDir != ""
    Push "$OldInstDir\Kolvar.exe"
    Call RequireWritable
    Push "$OldInstDir\drevcore.dll"
    Call RequireWritable
    Push "$OldInstDir\Uninstall.exe"
    Call RequireWritable
  ${EndIf}
FunctionEnd

; True (1) when the path on the stack, quoted or not, is the old program's.
Function NamesOldProgram
  Exch $0
  Push $1
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 "" 1
    StrCpy $1 $0 1 -1
    ${If} $1 == '"'
      StrCpy $0 $0 -1
    ${EndIf}
  ${EndIf}
  ; StrCmp, under ${If}, ignores case as Windows' paths do.
  ${If} $0 == "$OldUninstallLocation\Kolvar.exe"
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $1
  Exch $0
FunctionEnd

; Moves the 32-bit settings into the 64-bit key, value by value, where the
; 64-bit key lacks them. A "path01" naming the old program would be
; registered again by every later Save once "path02" is 1: it names the new
; program instead.
Function MoveSettingsTo64BitView
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $0 0
  ${Do}
    SetRegView 32
    EnumRegValue $1 HKLM "${SETTINGS_KEY}" $0
    ${If} $1 == ""
      ${Break}
    ${EndIf}
    IntOp $0 $0 + 1
    ; The program writes numbers as REG_DWORD and the path as REG_SZ.
    StrCpy $3 dword
    ClearErrors
    ReadRegDWORD $2 HKLM "${SETTINGS_KEY}" $1
    ${If} ${Errors}
      StrCpy $3 text
      ClearErrors
      ReadRegStr $2 HKLM "${SETTINGS_KEY}" $1
      ${If} ${Errors}
        ${Continue}
      ${EndIf}
    ${EndIf}
    SetRegView 64
    ; A missing value reads as "" with the error flag; a number read as
    ; text sets the flag too, but is not "".
    ClearErrors
    ReadRegStr $4 HKLM "${SETTINGS_KEY}" $1
    ${IfNot} ${Errors}
    ${OrIf} $4 != ""
      ${Continue}
    ${EndIf}
    ${If} $3 == dword
      WriteRegDWORD HKLM "${SETTINGS_KEY}" $1 $2
    ${Else}
      ${If} $1 == "path01"
        Push $2
        Call NamesOldProgram
        Pop $4
        ${If} $4 = 1
          StrCpy $2 "$INSTDIR\Kolvar.exe"
        ${EndIf}
      ${EndIf}
      WriteRegStr HKLM "${SETTINGS_KEY}" $1 $2
    ${EndIf}
  ${Loop}
  SetRegView 32
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${MAKER_KEY}"
  SetRegView 64
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; The old program's start at log-on starts the new one, in the same root:
; the machine's (a 32-bit value of its own on 64-bit Windows) or an
; account's (one value for both bitnesses).
Function MoveStartAtLogOn
  Push $0
  Push $1
  SetRegView 32
  ReadRegStr $0 HKLM "${RUN_KEY}" "${RUN_VALUE}"
  Push $0
  Call NamesOldProgram
  Pop $1
  ${If} $1 = 1
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
    SetRegView 64
    WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Kolvar.exe"'
  ${EndIf}
  SetRegView 64
  Pop $1
  Pop $0
  ; This account's hive is one of them.
  Call MoveStartAtLogOnOfEveryLoadedUser
FunctionEnd

; Another account's entry naming the removed program would start nothing at
; its next log-on, so its 64-bit Kolvar would never start to mend it: every
; account whose hive is loaded gets the new path now.
Function MoveStartAtLogOnOfEveryLoadedUser
  Push $0
  Push $1
  Push $2
  StrCpy $0 0
  ${Do}
    EnumRegKey $1 HKU "" $0
    ${If} $1 == ""
      ${Break}
    ${EndIf}
    IntOp $0 $0 + 1
    ReadRegStr $2 HKU "$1\${RUN_KEY}" "${RUN_VALUE}"
    Push $2
    Call NamesOldProgram
    Pop $2
    ${If} $2 = 1
      WriteRegStr HKU "$1\${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Kolvar.exe"'
    ${EndIf}
  ${Loop}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Takes over the 32-bit install found by FindOld32BitInstall, then removes
; it: one install, one uninstall entry.
Function TakeOverOld32BitInstall
  ${If} $OldUninstallLocation == ""
    Return
  ${EndIf}
  Call MoveSettingsTo64BitView
  Call MoveStartAtLogOn
  ${If} $OldInstDir != ""
    Delete "$OldInstDir\Kolvar.exe"
    Delete "$OldInstDir\drevcore.dll"
    Delete "$OldInstDir\Uninstall.exe"
    RMDir "$OldInstDir"
  ${EndIf}
  SetRegView 32
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  SetRegView 64
FunctionEnd

; The installed files' size in KB, for the uninstall entry.
Function InstalledSizeKB
  Push $0
  Push $1
  Push $2
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; What the program and its installers leave in the registry view in use.
Function un.RemoveRegistryEntries
  ; Wherever the program made them: machine-wide, or per-user where the
  ; machine-wide keys could not be written.
  DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "${MAKER_KEY}"
  DeleteRegKey /ifempty HKCU "${MAKER_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
FunctionEnd

; Either bitness may have left entries on 64-bit Windows. 32-bit Windows
; has one view, and under Wine there a 64-bit view's key does not open.
Function un.RemoveRegistryEntriesOfBothViews
  SetRegView 32
  Call un.RemoveRegistryEntries
  !ifdef WIN64
    SetRegView 64
    Call un.RemoveRegistryEntries
  !else
    ${If} ${RunningX64}
    ${OrIf} ${IsNativeARM64}
      SetRegView 64
      Call un.RemoveRegistryEntries
    ${EndIf}
  !endif
  SetRegView default
FunctionEnd
