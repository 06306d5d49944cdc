// A hidden host window for the dialogs and pages under test.
#pragma once
#include <windows.h>

// Registers the common control classes the program's templates use, as the
// program's own start does; once is enough, more is harmless.
void StartCommonControls();

// A hidden top-level window to parent the dialogs and pages under test; the
// common controls are started first.
HWND CreateHostWindow();
