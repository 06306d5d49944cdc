// User Interface Privilege Isolation: an elevated program's windows hear
// messages from unelevated programs only when they let them through.
#pragma once

#include <windows.h>

// ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW) where Windows
// has it (7 and later), else the process-wide ChangeWindowMessageFilter
// (Vista); before Vista there is no filter and nothing to do.
void LetThroughFromUnelevated(HWND window, UINT message);
