; Kolvar's installer and uninstaller. Built by the build's `installer`
; target, which passes:
;   VERSION   the project version        OUTFILE  the setup program to write
;   BINDIR64  folder of the 64-bit pair  BINDIR32 folder of the 32-bit pair
;   WIN64     defined for a 64-bit setup that carries only the 64-bit pair
; and, from the release command when it signs:
;   SIGN     a command that signs the file named by its first argument in
;            place, the program name shown for it being its second
Unicode true
SetCompressor /SOLID lzma
SetDateSave off
RequestExecutionLevel admin

; The product's names, read from the header the program and its resources
; use: PRODUCT, PUBLISHER, SETTINGS_KEY (under HKLM or HKCU), FRAME_CLASS
; (the main window's class), COPYRIGHT.
!include product_names.nsh
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
; The program's start-at-log-on value under RUN_KEY.
!define RUN_VALUE "${PRODUCT}"
!define UNINSTALL_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; How long a closing copy may take to save its values and end before it is
; ended by force.
!define CLOSE_WAIT_MS 10000

!include LogicLib.nsh
!include WinMessages.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!ifdef SIGN
  ; The uninstaller is signed before it is packed into the setup, and the
  ; setup once it is written; a signing that fails stops the build.
  !uninstfinalize '${SIGN} "%1" "${PRODUCT} uninstaller"' = 0
  !finalize '${SIGN} "%1" "${PRODUCT} setup"' = 0
!endif
; The folder is chosen in .onInit, by the bitness of Windows.
!ifdef WIN64
  Target amd64-unicode
!endif
ShowInstDetails nevershow
ShowUninstDetails nevershow
; A file that cannot be replaced ends the setup (silent: exit code 2) rather
; than leaving an old file beside new ones.
AllowSkipFiles off
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${COPYRIGHT}"

!include wizard.nsh

!include upgrade.nsh

; The program reads and writes its registry values through the view that
; matches its own bitness; so does the installer. The uninstaller cleans
; both views.
Function .onInit
  Call ChooseProgramBits
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

!include close_running.nsh

; Stops the setup, before it changes anything, when an installed file cannot
; be written (still in use): the user may close what holds it and retry.
; Silent, it ends with exit code 2. Takes the file's path on the stack.
!macro DefineRequireWritable un change
Function ${un}RequireWritable
  Exch $0
  Push $1
  ${If} ${FileExists} $0
  retry:
    ClearErrors
    FileOpen $1 $0 a
    ${If} ${Errors}
      MessageBox MB_RETRYCANCEL|MB_ICONSTOP "$0 is in use and cannot be ${change}.$\r$\n$\r$\nClose the program that uses it and click Retry, or Cancel to stop." /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Abort "Stopped: a file is in use. Nothing was changed."
    ${EndIf}
    FileClose $1
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DefineRequireWritable "" replaced
!insertmacro DefineRequireWritable "un." removed

Section "${PRODUCT}"
  Call CloseEveryCopy
  Push "$INSTDIR\Kolvar.exe"
  Call RequireWritable
  Push "$INSTDIR\drevcore.dll"
  Call RequireWritable
  Push "$INSTDIR\Uninstall.exe"
  Call RequireWritable
  Call FindOld32BitInstall
  Call RequireOldFilesWritable

  SetOutPath "$INSTDIR"
  Call InstallProgramFiles
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Kolvar.exe"

  ; The program keeps its settings only in a key that exists.
  WriteRegStr HKLM "${SETTINGS_KEY}" "" ""
  DeleteRegValue HKLM "${SETTINGS_KEY}" ""

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Kolvar.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  Call InstalledSizeKB
  Pop $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  Call TakeOverOld32BitInstall
SectionEnd

Section "Uninstall"
  ; A running copy would keep its files and re-add its tray icon.
  Call un.CloseEveryCopy
  Push "$INSTDIR\Kolvar.exe"
  Call un.RequireWritable
  Push "$INSTDIR\drevcore.dll"
  Call un.RequireWritable

  Delete "$INSTDIR\Kolvar.exe"
  Delete "$INSTDIR\drevcore.dll"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  Call un.RemoveRegistryEntriesOfBothViews

  ; Elevated with an administrator's password, HKCU above is that
  ; administrator's: every account whose hive is loaded is cleaned here,
  ; and every other profile through its hive files.
  Call un.CleanEveryLoadedUser
  Call un.CleanEveryUnloadedProfile
SectionEnd

!include every_profile.nsh
