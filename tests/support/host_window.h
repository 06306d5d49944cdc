#pragma once
#include <windows.h>

// A hidden top-level window to parent the dialogs and pages under test.
HWND CreateHostWindow();
