// The program's icons, loaded once per size and kept.
#pragma once
#include <windows.h>

// The program's own icon resources, each loaded once per size with
// LoadImage, which picks the image drawn for that size, and kept for the
// program's life: timers that show an icon each tick should not load it
// each time (under Wine every load asks the server).
HICON LoadProgramIcon(UINT id, int size);

// At the small (caption, tray) and large (buttons) icon size of the
// window's DPI.
HICON SmallProgramIcon(UINT id, HWND window);
HICON LargeProgramIcon(UINT id, HWND window);
