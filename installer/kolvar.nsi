; Kolvar's installer and uninstaller. Built by the build's `installer`
; target, which passes:
;   VERSION  the project version        BINDIR  folder holding the binaries
;   OUTFILE  the setup program to write  WIN64   defined for a 64-bit build
Unicode true
SetCompressor /SOLID lzma
SetDateSave off
RequestExecutionLevel admin

!define PRODUCT "Kolvar"
!define PUBLISHER "Velkor"
!define SETTINGS_KEY "SOFTWARE\Velkor\Halven Mark"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Kolvar"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!ifdef WIN64
  Target amd64-unicode
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES32\${PRODUCT}"
!endif
ShowInstDetails nevershow
ShowUninstDetails nevershow
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2025 Velkor"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The program reads and writes its registry values through the view that
; matches its own bitness; so do the installer and the uninstaller.
!macro UseProgramRegistryView
  !ifdef WIN64
    SetRegView 64
  !else
    SetRegView 32
  !endif
!macroend

Function .onInit
  !insertmacro UseProgramRegistryView
  SetShellVarContext all
FunctionEnd

Function un.onInit
  !insertmacro UseProgramRegistryView
  SetShellVarContext all
FunctionEnd

Section "Kolvar"
  SetOutPath "$INSTDIR"
  File "${BINDIR}\Kolvar.exe"
  File "${BINDIR}\drevcore.dll"
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
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  ; A running copy would keep its files and re-add its tray icon.
  nsExec::Exec 'taskkill /f /im Kolvar.exe'
  Pop $0

  Delete "$INSTDIR\Kolvar.exe"
  Delete "$INSTDIR\drevcore.dll"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  ; Wherever the program made them: machine-wide, or per-user where the
  ; machine-wide keys could not be written.
  DeleteRegValue HKLM "${RUN_KEY}" "Kolvar"
  DeleteRegValue HKCU "${RUN_KEY}" "Kolvar"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Velkor"
  DeleteRegKey /ifempty HKCU "SOFTWARE\Velkor"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
