; Closes every running Kolvar that holds the installed files, in any
; session, before setup or the uninstaller writes or deletes anything.
;
; The Restart Manager finds the holders wherever they run (other users,
; remote desktops, a setup run as SYSTEM) and asks each to close with the
; session-end messages; a copy still there CLOSE_WAIT_MS after the request
; is ended by force. It closes nothing unless every holder it lists is
; Kolvar: another program's hold stops the setup at the file checks, with
; Kolvar left running. Where it is missing or finds nothing (older
; Windows, Wine), the window-class path of CloseRunningProgram follows.

; RM_PROCESS_INFO: an RM_UNIQUE_PROCESS (12 bytes), the names (256 and 64
; WCHARs) and four DWORDs; the pid comes first.
!define RM_PROCESS_INFO_SIZE 668
!define RM_SESSION_KEY_CHARS 33
!define ERROR_MORE_DATA 234
; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE
!define CLOSE_PROCESS_ACCESS 0x00101001

; Enables the privilege named on the stack in this process's token, when
; the token holds it.
!macro DefineEnablePrivilege un
Function ${un}EnablePrivilege
  Exch $0
  Push $1
  Push $2
  Push $3
  System::Call 'kernel32::GetCurrentProcess() p .r1'
  ; TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY
  System::Call 'advapi32::OpenProcessToken(p r1, i 0x28, *p .r1) i .r2'
  ${If} $2 <> 0
    System::Call 'advapi32::LookupPrivilegeValue(p 0, t r0, *l .r3) i .r2'
    ${If} $2 <> 0
      ; TOKEN_PRIVILEGES with one LUID_AND_ATTRIBUTES, SE_PRIVILEGE_ENABLED
      System::Call '*(i 1, l r3, i 2) p .r3'
      System::Call 'advapi32::AdjustTokenPrivileges(p r1, i 0, p r3, i 0, p 0, p 0) i'
      System::Free $3
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r1) i'
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend

!macro DefineCloseEveryCopy un
; Opens the listed process whose RM_PROCESS_INFO is at the address on the
; stack, and leaves its handle there when it runs a Kolvar.exe,
; else 0.
Function ${un}OpenKolvarProcess
  Exch $0
  Push $1
  Push $2
  System::Call '*$0(i .r1)'
  System::Call 'kernel32::OpenProcess(i ${CLOSE_PROCESS_ACCESS}, i 0, i r1) p .r0'
  ${If} $0 P<> 0
    StrCpy $1 ${NSIS_MAX_STRLEN}
    System::Call 'kernel32::QueryFullProcessImageName(p r0, i 0, w .r2, *i r1) i .r1'
    ; Its file name, whatever form of the folder's path it was started by.
    StrCpy $2 $2 "" -11
    ${If} $1 = 0
    ${OrIf} $2 != "\Kolvar.exe"
      System::Call 'kernel32::CloseHandle(p r0) i'
      StrCpy $0 0
    ${EndIf}
  ${EndIf}
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

; Waits for the process whose handle is below the wait (ms) on the stack to
; end, ends it by force when it has not, and closes the handle.
Function ${un}AwaitOrEnd
  Exch $0
  Exch
  Exch $1
  ${If} $0 < 0
    StrCpy $0 0
  ${EndIf}
  System::Call 'kernel32::WaitForSingleObject(p r1, i r0) i .r0'
  ${If} $0 <> 0
    DetailPrint "Kolvar did not close: ending it"
    System::Call 'kernel32::TerminateProcess(p r1, i 1) i'
    System::Call 'kernel32::WaitForSingleObject(p r1, i 5000) i'
  ${EndIf}
  System::Call 'kernel32::CloseHandle(p r1) i'
  Pop $1
  Pop $0
FunctionEnd

; Closes every running copy as its close box does, so that it removes its
; tray icon and saves its values; ends a copy by force only when it is still
; there after CLOSE_WAIT_MS. Bounded: a window that outlives all this, or
; copies that keep appearing, are left to the file checks that follow.
Function ${un}CloseRunningProgram
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $4 0
  StrCpy $5 0
  ${Do}
    FindWindow $0 "${FRAME_CLASS}"
    ${If} $0 = 0
    ${OrIf} $0 = $5
    ${OrIf} $4 >= 4
      ${Break}
    ${EndIf}
    StrCpy $5 $0
    IntOp $4 $4 + 1
    DetailPrint "Closing Kolvar"
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
    ; SYNCHRONIZE | PROCESS_TERMINATE
    System::Call 'kernel32::OpenProcess(i 0x00100001, i 0, i r1) p .r2'
    System::Call 'user32::PostMessage(p r0, i ${WM_CLOSE}, p 0, p 0) i'
    ${If} $2 P<> 0
      Push $2
      Push ${CLOSE_WAIT_MS}
      Call ${un}AwaitOrEnd
    ${Else}
      ; Not a process this setup may wait on: wait for its window instead.
      StrCpy $3 0
    wait_for_window:
      IsWindow $0 0 window_gone
      Sleep 100
      IntOp $3 $3 + 100
      IntCmp $3 ${CLOSE_WAIT_MS} window_gone wait_for_window window_gone
    window_gone:
    ${EndIf}
  ${Loop}
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; Closes through the Restart Manager the copies that hold the files, with
; the bound above; leaves things as they are where any call fails.
Function ${un}CloseWithRestartManager
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
  Push $8
  System::Call 'rstrtmgr::RmStartSession(*i .r0, i 0, w .r1) i .r2'
  ${If} $2 == 0
    System::Call '*(&w${NSIS_MAX_STRLEN} "$INSTDIR\Kolvar.exe") p .r3'
    System::Call '*(&w${NSIS_MAX_STRLEN} "$INSTDIR\drevcore.dll") p .r4'
    System::Call '*(p r3, p r4) p .r5'
    System::Call 'rstrtmgr::RmRegisterResources(i r0, i 2, p r5, i 0, p 0, i 0, p 0) i .r2'
    System::Free $5
    System::Free $4
    System::Free $3
    StrCpy $3 0
    ${If} $2 == 0
      System::Call 'rstrtmgr::RmGetList(i r0, *i .r3, *i 0, p 0, *i .r4) i .r2'
    ${EndIf}
    ${If} $2 == ${ERROR_MORE_DATA}
    ${AndIf} $3 > 0
      IntOp $4 $3 * ${RM_PROCESS_INFO_SIZE}
      System::Alloc $4
      Pop $4
      StrCpy $6 $3
      System::Call 'rstrtmgr::RmGetList(i r0, *i .r3, *i r6 r6, p r4, *i .r7) i .r2'
      ${If} $2 == 0
        ; Handles of the listed copies, one pointer each; a holder that is
        ; not Kolvar leaves a 0 and keeps every copy running.
        IntOp $2 $6 * 8
        System::Alloc $2
        Pop $5
        StrCpy $1 0
        StrCpy $7 1
        ${While} $1 < $6
          IntOp $2 $1 * ${RM_PROCESS_INFO_SIZE}
          IntPtrOp $2 $4 + $2
          Push $2
          Call ${un}OpenKolvarProcess
          Pop $2
          ${If} $2 P= 0
            StrCpy $7 0
          ${EndIf}
          IntOp $3 $1 * 8
          IntPtrOp $3 $5 + $3
          System::Call '*$3(p r2)'
          IntOp $1 $1 + 1
        ${EndWhile}
        ${If} $7 = 1
          DetailPrint "Closing Kolvar"
          System::Call 'kernel32::GetTickCount() i .r8'
          System::Call 'rstrtmgr::RmShutdown(i r0, i 0, p 0) i'
        ${EndIf}
        StrCpy $1 0
        ${While} $1 < $6
          IntOp $3 $1 * 8
          IntPtrOp $3 $5 + $3
          System::Call '*$3(p .r3)'
          ${If} $3 P<> 0
          ${AndIf} $7 = 1
            System::Call 'kernel32::GetTickCount() i .r2'
            IntOp $2 $2 - $8
            IntOp $2 ${CLOSE_WAIT_MS} - $2
            Push $3
            Push $2
            Call ${un}AwaitOrEnd
          ${ElseIf} $3 P<> 0
            System::Call 'kernel32::CloseHandle(p r3) i'
          ${EndIf}
          IntOp $1 $1 + 1
        ${EndWhile}
        System::Free $5
      ${EndIf}
      System::Free $4
    ${EndIf}
    System::Call 'rstrtmgr::RmEndSession(i r0) i'
  ${EndIf}
  Pop $8
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

Function ${un}CloseEveryCopy
  ; Another account's copy may be ended only with the debug privilege,
  ; which an administrator's token holds but has not enabled.
  Push SeDebugPrivilege
  Call ${un}EnablePrivilege
  Call ${un}CloseWithRestartManager
  Call ${un}CloseRunningProgram
FunctionEnd
!macroend
!insertmacro DefineEnablePrivilege ""
!insertmacro DefineEnablePrivilege "un."
!insertmacro DefineCloseEveryCopy ""
!insertmacro DefineCloseEveryCopy "un."
