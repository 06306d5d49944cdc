#pragma once
#include <windows.h>

// LoadIcon on the program's own resources, remembered per id. Such icons are
// shared and live as long as the program, and under Wine every LoadIcon asks
// the server for the system icon size: timers that show an icon each tick
// should not pay that each time.
HICON LoadProgramIcon(UINT id);
