; The wizard pages of setup and of the uninstaller, in Kolvar's icon.
; Silent runs show no page, so they never start the program.
!include MUI2.nsh

!define MUI_ICON "${__FILEDIR__}\..\resources\images\app_chip.ico"
!define MUI_UNICON "${MUI_ICON}"
; Setup closes a running Kolvar itself: the stock advice to close every
; program first would be wrong here.
!define WELCOME_WHAT "Setup will install $(^NameDA) on this computer."
!define WELCOME_CLOSE "If Kolvar is running, in this session or in another user's, Setup closes it first, and it keeps its settings."
!define MUI_WELCOMEPAGE_TEXT "${WELCOME_WHAT}$\r$\n$\r$\n${WELCOME_CLOSE}$\r$\n$\r$\nClick Next to continue."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Kolvar"
!define MUI_FINISHPAGE_RUN_FUNCTION StartKolvarAsDesktopUser

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "English"

; Setup runs elevated, perhaps as another account than the one signed in:
; the running shell starts the program for the desktop's user, unelevated.
Function StartKolvarAsDesktopUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\Kolvar.exe"'
FunctionEnd
